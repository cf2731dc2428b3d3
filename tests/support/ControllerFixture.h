#pragma once

// The shared fixture of the editor tests that need the playback controller:
// CControllerFixture (tests/support/ControllerFixture.h). Derive a test class
// from it (or use it with TEST_F directly); every test gets the framework
// initialised, the program's framework classes registered and a fresh
// controller on the dummy audio driver (QtTestMain sets it) with its edit
// layer.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "ModuleArchive.h"
#include "PlaybackController.h"
#include "RixModule.h"
#include "RixModuleData.h"
#include "SongEditor.h"
#include "nexilon/Nexilon.h"

class CControllerFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        nexilon::q.Init();
        rix::RegisterModuleClass();
        rix::RegisterPlayerClass();
        rix::RegisterArchiveStreamClasses();
        controller = std::make_unique<rix::CPlaybackController>();
        editor = std::make_unique<rix::CSongEditor>(*controller);
    }
    void TearDown() override
    {
        editor.reset();
        controller.reset();
        nexilon::q.Close();
    }

    rix::CPlaybackController& Controller() { return *controller; }
    rix::CSongEditor& Editor() { return *editor; }
    // Changes the song under the write lock (moves the change counter) and
    // tells the windows the whole song changed, outside the edit layer and
    // its history: what a load does.
    void EditSong(const std::function<void(rix::CRixModuleData&)>& edit)
    {
        {
            rix::CRixModuleLock data(controller->GetSongModule(), nexilon::LOCKMODE_WRITE);
            edit(*data);
        }
        controller->AnnounceSongChange(rix::TSongChange::Everything());
    }
    // A copy of the song, read under the read lock.
    template <class TResult> TResult ReadSong(const std::function<TResult(const rix::CRixModuleData&)>& read)
    {
        rix::CRixModuleLock data(controller->GetSongModule(), nexilon::LOCKMODE_READ);
        return read(*data);
    }
    uint32_t ChangeCount() const { return controller->GetSongModule().GetChangeCount(); }

private:
    std::unique_ptr<rix::CPlaybackController> controller;
    std::unique_ptr<rix::CSongEditor> editor;
};
