#pragma once

// The shared fixture of the editor tests that need the playback controller:
// CControllerFixture (tests/support/ControllerFixture.h). Derive a test class
// from it (or use it with TEST_F directly); every test gets the framework
// initialised, the program's framework classes registered and a fresh
// controller on the dummy audio driver (QtTestMain sets it).
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "ModuleArchive.h"
#include "PlaybackController.h"
#include "RixModule.h"
#include "RixModuleData.h"
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
    }
    void TearDown() override
    {
        controller.reset();
        nexilon::q.Close();
    }

    rix::CPlaybackController& Controller() { return *controller; }
    // Changes the song under the write lock (moves the change counter).
    void EditSong(const std::function<void(rix::CRixModuleData&)>& edit)
    {
        rix::CRixModuleLock data(controller->GetSongModule(), nexilon::LOCKMODE_WRITE);
        edit(*data);
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
};
