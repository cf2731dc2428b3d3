#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "IRixModulePlayer.h"
#include "RixModule.h"
#include "nexilon/Nexilon.h"

namespace enginetest {

// Every test of this program runs with the framework initialised and both
// engine classes registered.
struct EngineEnvironment : ::testing::Environment {
    void SetUp() override
    {
        nexilon::q.Init();
        rix::RegisterModuleClass();
        rix::RegisterPlayerClass();
    }
};
inline ::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new EngineEnvironment());

// Made through the class store, as the program does.
inline auto NewModule() { return nexilon::CreateInstance<rix::IRixModule>(rix::CRixModule::ClassId); }
inline auto NewPlayer() { return nexilon::CreateInstance<rix::IRixModulePlayer>(rix::RIX_MODULE_PLAYER_CLASS); }

// Changes the song under the module's write lock (the change counter moves).
inline void Edit(rix::IRixModule& module, const std::function<void(rix::CRixModuleData&)>& change)
{
    rix::CRixModuleLock lock(module, nexilon::LOCKMODE_WRITE);
    change(*lock);
}

// Up to `samples` samples; fewer at the end of the song.
inline std::vector<int16_t> ReadSamples(rix::IRixModulePlayer& player, uint32_t samples)
{
    std::vector<int16_t> result(samples + 1);
    result.resize(player.Read(result.data(), uint64_t(samples) * 2) / 2);
    return result;
}

} // namespace enginetest
