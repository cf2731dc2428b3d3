#pragma once

// The edit layer on a fresh controller (dummy audio driver), with a
// listener that records what every song change named.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "PlaybackController.h"
#include "RixModule.h"
#include "SongEditor.h"
#include "nexilon/Nexilon.h"

namespace rix {

inline void PrintTo(const TSongChange& change, std::ostream* out)
{
    *out << "{data " << change.data << ", channels " << change.channels << "}";
}

} // namespace rix

namespace edittest {

class CChangeLog final : public rix::IMessageTarget {
public:
    void PostMessage(uint32_t, uintptr_t, intptr_t) override {}
    void OnSongChanged(const rix::TSongChange& change) override { heard.push_back(change); }

    std::vector<rix::TSongChange> heard;
};

// The channels named, as TSongChange's mask.
template <class... TChannels> constexpr uint32_t Channels(TChannels... channels)
{
    return ((1u << channels) | ... | 0u);
}

class CEditFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("SONRIX_AUDIO_DRIVER", "dummy", 1);
        nexilon::q.Init();
        rix::RegisterModuleClass();
        rix::RegisterPlayerClass();
        controller = std::make_unique<rix::CPlaybackController>();
        editor = std::make_unique<rix::CSongEditor>(*controller);
        controller->AddListener(&log);
    }
    void TearDown() override
    {
        editor.reset();
        controller.reset();
        nexilon::q.Close();
    }

    // Puts a song in place as a load would, outside the history.
    void Load(const rix::CRixModuleData& song)
    {
        rix::CRixModuleLock data(controller->GetSongModule(), nexilon::LOCKMODE_WRITE);
        *data = song;
    }
    rix::CRixModuleData Song() const
    {
        return editor->Read([](const rix::CRixModuleData& song) { return song; });
    }
    // What differs from expected, for a failure message.
    static std::string Difference(const rix::CRixModuleData& song, const rix::CRixModuleData& expected)
    {
        return "differs in " + ::testing::PrintToString(rix::SongDifference(expected, song));
    }

    std::unique_ptr<rix::CPlaybackController> controller;
    std::unique_ptr<rix::CSongEditor> editor;
    CChangeLog log;
};

} // namespace edittest
