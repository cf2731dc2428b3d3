#include <gtest/gtest.h>

#include <filesystem>

#include "RixFileTestData.h"
#include "RixModuleData.h"
#include "TemporaryFolder.h"

// The loader fuzzers start from these files (fuzz/seeds/<target>/): every
// record kind of both versions of both formats. A seed is written only when
// it is missing or out of date.
namespace {

using rixtest::CFileBytes;

std::string LegacyModule()
{
    const rix::TRixEnvelope e = rixtest::MakeEnvelope(3);
    CFileBytes file(u"sonrix v3.0");
    file.Int(1).Int(140).Int(4).Int(0).Int(90).Envelope(e);
    file.Int(5).Int(0).Int(1).Int(80).Int(-300).Envelope(e).Envelope(e);
    file.Int(6).Int(1).Int(2).Int(70).Int(5).Bool(true).Envelope(e).Envelope(e);
    file.Int(7).Int(1).Int(3).Int(60).Int(0).Envelope(e).Envelope(e);
    file.Int(12).Int(2).Unsigned(7).Int(13).Int(2).Unsigned(8).Unsigned(9);
    file.Int(8).Int(3).Int(100).Int(50).Int(9).Int(3).Envelope(e);
    file.Int(10).Int(3).Int(5).Envelope(e).Int(11).Int(3).Int(6).Envelope(e);
    file.Int(14).Int(4).Int(1).Int(2).Envelope(e).Envelope(e).Int(15).Int(4).Int(3).Int(4).Envelope(e).Envelope(e);
    file.Int(17).Int(4).Unsigned(5).Unsigned(6).Envelope(e).Int(18).Int(16).Int(125).Int(99);
    return file.Int(255).Bytes();
}

std::string Version2Module()
{
    CFileBytes file(u"sonrix v2.0");
    file.Int(1).Int(125).Float(0.75f).WideString(u"t").WideString(u"").WideString(u"a");
    file.Int(4).Int(0).Float(0.5f).Envelope2({0, 1, 1, 0, 0, 0}, true, false, true);
    file.Int(7).Int(0).Int(0).Int(2).Envelope2({0, 1, 1, 1, 2, 3}).Envelope2({-12, 12, 1, 0, 0, 0});
    file.Float(1.0f).Float(0.5f).Int(5).Int(0).Bool(true).Float(1.0f).Float(1.0f);
    file.Int(6).Int(0).Bool(true).Float(0.0f).Envelope2({100, 200, 1, 0, 0, 0});
    file.Int(9).Int(0).Bool(false).Int(0).Int(10).Bool(false).Float(0).Float(0).Envelope2({0, 1, 1, 0, 0, 0});
    return file.Int(8).Bytes();
}

std::string LegacyInstrument()
{
    const rix::TRixEnvelope e = rixtest::MakeEnvelope(6);
    CFileBytes file(u"sonrixi v3.0");
    file.Int(4).Int(80).Envelope(e).Int(6).Int(1).Int(2).Int(3).Bool(true).Envelope(e).Envelope(e);
    file.Int(7).Int(1).Int(2).Int(3).Envelope(e).Envelope(e);
    file.Int(13).Unsigned(1).Unsigned(2).Int(8).Int(3).Int(4).Int(9).Envelope(e);
    file.Int(10).Int(5).Envelope(e).Int(11).Int(6).Envelope(e).Int(14).Int(1).Int(2).Envelope(e).Envelope(e);
    file.Int(15).Int(3).Int(4).Envelope(e).Envelope(e).Int(17).Unsigned(5).Unsigned(6).Envelope(e);
    return file.Int(255).Bytes();
}

std::string Version2Instrument()
{
    CFileBytes file(u"sonrixi v2.0");
    file.Int(4).Float(0.5f).Envelope2({0, 1, 1, 0, 0, 0});
    file.Int(7).Int(0).Int(3).Envelope2({0, 1, 1, 0, 0, 0}).Envelope2({0, 7, 1, 0, 0, 0}).Float(1).Float(0);
    file.Int(5).Bool(true).Float(1).Float(1).Int(6).Bool(true).Float(0).Envelope2({1, 2, 1, 0, 0, 0});
    file.Int(9).Bool(true).Float(0).Int(10).Bool(true).Float(0).Float(0).Envelope2({0, 1, 1, 0, 0, 0});
    return file.Int(8).Bytes();
}

TEST(FuzzSeedCorpus, SeedsLoadAndAreUpToDate)
{
    const struct {
        const char* target;
        const char* name;
        std::string bytes;
    } seeds[] = {
        {"module", "features.sonrix", rixtest::SaveBytes(rixtest::MakeFeatureModule())},
        {"module", "legacy.sonrix", LegacyModule()},
        {"module", "version2.sonrix", Version2Module()},
        {"instrument", "features.sonrixi", rixtest::SaveBytes(rixtest::MakeFeatureChannel(2))},
        {"instrument", "legacy.sonrixi", LegacyInstrument()},
        {"instrument", "version2.sonrixi", Version2Instrument()},
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
