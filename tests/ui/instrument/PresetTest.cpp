#include <QDir>
#include <cmath>

#include "ModuleFiles.h"
#include "InstrumentTestSupport.h"
#include "TemporaryFolder.h"

namespace rix {
namespace {

// Every preset loads, is more than a default oscillator, sounds at C-4
// without clipping, and comes back unchanged from a save.
TEST(Presets, LoadSoundAndSurviveASave)
{
    const QFileInfoList files = QDir(SONRIX_SOURCE_DIR "/presets").entryInfoList({"*.sonrixi"}, QDir::Files);
    EXPECT_GE(files.size(), 16);
    rixtest::CTemporaryFolder folder;
    for (const QFileInfo& file : files) {
        SCOPED_TRACE(file.fileName().toStdString());
        CRixModuleChannel preset;
        ASSERT_NO_THROW(ReadInstrumentFile(file.filePath().toStdString(), preset));
        EXPECT_NE(preset, CRixModuleChannel());
        EXPECT_EQ(preset.oscillators.size(), preset.transitionOscillators.size());

        auto module = nexilon::CreateInstance<IRixModule>(CRixModule::ClassId);
        {
            CRixModuleLock lock(*module, nexilon::LOCKMODE_WRITE);
            lock->channels[0] = preset;
            lock->orderTable[0][0] = 1;
            lock->patterns[0][1][0] = 49;
            lock->patterns[0][1][8] = RIX_NOTE_STOP;
        }
        auto player = nexilon::CreateInstance<IRixModulePlayer>(RIX_MODULE_PLAYER_CLASS);
        player->Connect(module.Get());
        std::vector<int16_t> samples(8 * 5512);
        ASSERT_EQ(player->Read(samples.data(), samples.size() * 2), samples.size() * 2);
        double sum = 0;
        int peak = 0;
        for (int16_t sample : samples) {
            sum += double(sample) * sample;
            peak = std::max(peak, std::abs(int(sample)));
        }
        EXPECT_GT(std::sqrt(sum / double(samples.size())), 250.0);
        EXPECT_LT(peak, 32767);

        const std::string copy = folder / "copy.sonrixi";
        SaveInstrumentFile(copy, *module, 0);
        CRixModuleChannel reloaded;
        ReadInstrumentFile(copy, reloaded);
        EXPECT_EQ(reloaded, preset);
    }
}

} // namespace
} // namespace rix
