#include <QDir>
#include <QTest>

#include "EffectListMainWnd.h"
#include "InstrumentFile.h"
#include "InstrumentTestSupport.h"
#include "OscillatorListMainWnd.h"

namespace rix {
namespace {

// Both panels showing the "fm-bell" and "pad" presets, saved as PNG files
// into the folder SONRIX_SCREENSHOTS names (for docs/; run under Xvfb with
// QT_QPA_PLATFORM=xcb). Skipped without it.
TEST(Screenshots, BothPanels)
{
    const QString folder = qEnvironmentVariable("SONRIX_SCREENSHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "SONRIX_SCREENSHOTS not set";
    CPlaybackController controller;
    CInstrumentFile::Load(SONRIX_SOURCE_DIR "/presets/fm-bell.sonrixi", controller.GetSongModule(), 0);
    CInstrumentFile::Load(SONRIX_SOURCE_DIR "/presets/chord-stab.sonrixi", controller.GetSongModule(), 1);
    {
        CRixModuleLock lock(controller.GetSongModule(), nexilon::LOCKMODE_WRITE);
        lock->channels[1].effects.insert(lock->channels[1].effects.begin(),
                                         TRixEffect::OfType(RIXEFFECT_RESONANCE));
    }
    COscillatorListMainWnd oscillators(controller, nullptr);
    oscillators.resize(368, 529);
    oscillators.show();
    controller.SelectChannel(1);
    CEffectListMainWnd effects(controller, nullptr);
    effects.resize(368, 529);
    effects.show();
    controller.SelectChannel(0);
    oscillators.ToggleTranspose();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&effects));
    QTest::qWait(200);
    EXPECT_TRUE(oscillators.grab().save(QDir(folder).filePath("oscillator-panel.png")));
    controller.SelectChannel(1);
    QTest::qWait(100);
    EXPECT_TRUE(effects.grab().save(QDir(folder).filePath("effect-panel.png")));
}

} // namespace
} // namespace rix
