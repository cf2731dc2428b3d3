#include <gtest/gtest.h>

#include <filesystem>

#include "RixFileTestData.h"
#include "RixModuleData.h"
#include "TemporaryFolder.h"

// The loader fuzzers start from these files in fuzz/seeds/<target>/. A seed
// is written only when it is missing or out of date.
namespace {

TEST(FuzzSeedCorpus, SeedsLoadAndAreUpToDate)
{
    const struct {
        const char* target;
        const char* name;
        std::string bytes;
    } seeds[] = {
        {"module", "features.sonrix", rixtest::SaveBytes(rixtest::MakeFeatureModule())},
        {"module", "legacy.sonrix", rixtest::LegacyModuleFile().Bytes()},
        {"module", "version2.sonrix", rixtest::Version2ModuleFile().Bytes()},
        {"instrument", "features.sonrixi", rixtest::SaveBytes(rixtest::MakeFeatureChannel(2))},
        {"instrument", "legacy.sonrixi", rixtest::LegacyInstrumentFile().Bytes()},
        {"instrument", "version2.sonrixi", rixtest::Version2InstrumentFile().Bytes()},
    };
    for (const auto& seed : seeds) {
        SCOPED_TRACE(seed.name);
        if (std::string_view(seed.target) == "module")
            EXPECT_NO_THROW(rixtest::Loaded<rix::CRixModuleData>(seed.bytes));
        else
            EXPECT_NO_THROW(rixtest::Loaded<rix::CRixModuleChannel>(seed.bytes));

        const std::filesystem::path folder = std::filesystem::path(SONRIX_SOURCE_DIR) / "fuzz" / "seeds" / seed.target;
        const std::string path = (folder / seed.name).string();
        if (std::filesystem::exists(path) && rixtest::ReadWholeFile(path) == seed.bytes)
            continue;
        // Written beside and renamed, so a fuzzer never sees half a seed.
        std::filesystem::create_directories(folder);
        const std::string temporary = (folder / ("." + std::string(seed.name) + ".tmp")).string();
        rixtest::WriteWholeFile(temporary, seed.bytes);
        std::filesystem::rename(temporary, path);
    }
}

} // namespace
