#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "ExportTestSongs.h"

namespace rix {
namespace {

namespace fs = std::filesystem;

// Compiles an exported file as a replay routine would include it, with the
// table sizes checked against the defines. Returns the compiler's output,
// empty on success.
std::string CompileExport(const std::string& exportText, const std::string& name)
{
    const fs::path directory = fs::temp_directory_path() / ("sonrix-export-" + name + "-" + std::to_string(::getpid()));
    fs::create_directories(directory);
    std::ofstream(directory / "RixSongData.cpp", std::ios::binary) << exportText;
    std::ofstream(directory / "check.cpp")
        << "#include \"RixSongData.cpp\"\n"
           "#define Count(table) static_cast<int>(sizeof(table) / sizeof((table)[0]))\n"
           "static_assert(Count(RixSongEnvList) == RIXSONG_ENVLISTSIZE);\n"
           "static_assert(Count(RixSongEnvCounterList) == RIXSONG_ENVCOUNTERLISTSIZE);\n"
           "static_assert(Count(RixSongOscillatorList) == RIXSONG_OSCLISTSIZE);\n"
           "static_assert(Count(RixSongEffectList) == RIXSONG_EFFECTLISTSIZE);\n"
           "static_assert(Count(RixSongOrderTable) == RIXSONG_LEN);\n"
           "static_assert(Count(RixSongPatternData) % 16 == 0);\n"
           "int main() { return RixSongChannelStopNote[0] ? RixSongChannelVol[0] : RixSongEnvCounterList[0].value; }\n";
    const fs::path log = directory / "compiler.log";
    const std::string command = std::string("\"") + SONRIX_CXX_COMPILER + "\" -std=c++20 -fsyntax-only -Wall -Wextra -Werror -I \"" +
                                SONRIX_SOURCE_DIR + "/replay\" \"" + (directory / "check.cpp").string() + "\" > \"" +
                                log.string() + "\" 2>&1";
    const int status = std::system(command.c_str());
    std::stringstream output;
    output << std::ifstream(log).rdbuf();
    fs::remove_all(directory);
    return status == 0 ? std::string() : "status " + std::to_string(status) + ":\n" + output.str();
}

TEST(ExportCompile, FeatureRichSongCompilesWithTheReplayTypes)
{
    const std::string text = test::ExportText(*test::FeatureRichSong());
    // Guard that the song really exercises every table.
    ASSERT_NE(text.find("RIXSONGEFFECTTYPE_OVERDRIVE"), std::string::npos);
    ASSERT_NE(text.find("RIXSONGOSCTYPE_NOISE"), std::string::npos);
    ASSERT_NE(text.find("#define RIXSONG_ENABLE_DELAYEFFECT"), std::string::npos);
    EXPECT_EQ(CompileExport(text, "rich"), "");
}

TEST(ExportCompile, EmptySongCompiles)
{
    EXPECT_EQ(CompileExport(test::ExportText(CRixModuleData()), "empty"), "");
}

} // namespace
} // namespace rix
