#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "DiskAudioCapture.h"
#include "IRixModulePlayer.h"
#include "PlaybackController.h"
#include "RixModule.h"
#include "nexilon/Nexilon.h"

// Records what the controller tells one editor window, from any thread.
class CRecordingTarget final : public rix::IMessageTarget {
public:
    struct TPost {
        uint32_t message;
        uintptr_t wParam;
        bool operator==(const TPost&) const = default;
    };

    void PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override
    {
        std::lock_guard guard(mutex);
        posts.push_back({message, wParam});
        if (lParam != 0)
            nonZeroLParam = true;
    }
    void SetChannelCursor(int32_t channel) override { Call("channel " + std::to_string(channel)); }
    void SetOrderCursor(int32_t order) override { Call("order " + std::to_string(order)); }
    void SetRowCursor(int32_t row) override { Call("row " + std::to_string(row)); }
    void ShowChannel(int32_t channel) override { Call("show " + std::to_string(channel)); }
    void Refresh() override { Call("refresh"); }
    void Repaint() override { Call("repaint"); }

    std::vector<TPost> Posts() const
    {
        std::lock_guard guard(mutex);
        return posts;
    }
    // The first parameters of the posts of one message.
    std::vector<uintptr_t> Params(uint32_t message) const
    {
        std::vector<uintptr_t> params;
        for (const TPost& post : Posts())
            if (post.message == message)
                params.push_back(post.wParam);
        return params;
    }
    std::vector<std::string> Calls() const
    {
        std::lock_guard guard(mutex);
        return calls;
    }
    bool SawNonZeroLParam() const
    {
        std::lock_guard guard(mutex);
        return nonZeroLParam;
    }
    void Clear()
    {
        std::lock_guard guard(mutex);
        posts.clear();
        calls.clear();
    }

private:
    void Call(std::string what)
    {
        std::lock_guard guard(mutex);
        calls.push_back(std::move(what));
    }

    mutable std::mutex mutex;
    std::vector<TPost> posts;
    std::vector<std::string> calls;
    bool nonZeroLParam = false;
};

// A controller playing into a disk capture, with a recording window in
// every role. Songs are short and fast (960 BPM: 689 samples per row, a
// quarter of a second per order position) to keep real time small.
class PlaybackTest : public ::testing::Test {
protected:
    static constexpr int32_t kFastBpm = 960;

    void SetUp() override
    {
        nexilon::q.Init();
        rix::RegisterModuleClass();
        rix::RegisterPlayerClass();
        controller = std::make_unique<rix::CPlaybackController>();
        for (int role = 0; role < rix::EDITOR_ROLES; ++role)
            controller->RegisterTarget(static_cast<rix::TEditorRole>(role), &targets[static_cast<std::size_t>(role)]);
    }
    void TearDown() override
    {
        controller.reset();
        nexilon::q.Close();
    }

    CRecordingTarget& Target(rix::TEditorRole role) { return targets[static_cast<std::size_t>(role)]; }
    std::size_t PostCount()
    {
        std::size_t count = 0;
        for (const CRecordingTarget& target : targets)
            count += target.Posts().size();
        return count;
    }
    void EditSong(const std::function<void(rix::CRixModuleData&)>& edit)
    {
        rix::CRixModuleLock data(controller->GetSongModule(), nexilon::LOCKMODE_WRITE);
        edit(*data);
    }
    // Two order positions: channel 0 plays patterns 1 and 2, channel 1
    // pattern 1 at position 0 only.
    static void TwoPositionSong(rix::CRixModuleData& data)
    {
        data.Reset();
        data.bpm = kFastBpm;
        data.orderTable[0][0] = 1;
        data.orderTable[0][1] = 2;
        data.orderTable[1][0] = 1;
        data.patterns[0][1][0] = 49;
        data.patterns[0][1][8] = 56;
        data.patterns[0][2][0] = 61;
        data.patterns[0][2][12] = rix::RIX_NOTE_STOP;
        data.patterns[1][1][4] = 37;
        data.channels[1].volume = 180;
    }
    // What a player of its own reads from the module, from an absolute row
    // to the end, with the given channels enabled.
    static std::vector<int16_t> RenderOffline(rix::IRixModule& module, uint32_t absoluteRow,
                                              const std::array<bool, 8>& enabled = {true, true, true, true, true,
                                                                                    true, true, true})
    {
        auto player = nexilon::CreateInstance<rix::IRixModulePlayer>(rix::RIX_MODULE_PLAYER_CLASS);
        player->Connect(&module);
        for (int channel = 0; channel < 8; ++channel)
            player->SetChannelEnabled(channel, enabled[static_cast<std::size_t>(channel)]);
        player->SeekToRow(absoluteRow);
        std::vector<int16_t> samples;
        uint8_t bytes[4096];
        while (const uint64_t got = player->Read(bytes, sizeof bytes))
            for (uint64_t i = 0; i + 1 < got; i += 2)
                samples.push_back(static_cast<int16_t>(static_cast<uint16_t>(bytes[i] | bytes[i + 1] << 8)));
        return samples;
    }

    // Chooses the disk driver before the controller opens the device.
    CDiskAudioCapture capture{::testing::UnitTest::GetInstance()->current_test_info()->name()};
    std::array<CRecordingTarget, rix::EDITOR_ROLES> targets;
    std::unique_ptr<rix::CPlaybackController> controller;
};
