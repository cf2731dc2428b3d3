#include <QScrollBar>
#include <QTest>

#include "EffectListBodyWnd.h"
#include "EffectListItemWnd.h"
#include "EffectListMainWnd.h"
#include "ImageButton.h"
#include "InstrumentTestSupport.h"
#include "OscillatorListBodyWnd.h"
#include "OscillatorListItemWnd.h"
#include "OscillatorListMainWnd.h"
#include "VolumeBarWnd.h"

namespace rix {
namespace {

using InstrumentUndo = instrumenttest::CInstrumentTest;

void DragAlong(QWidget* widget, int y, int fromX, int toX)
{
    QTest::mousePress(widget, Qt::LeftButton, {}, QPoint(fromX, y));
    QCoreApplication::processEvents();
    for (int x = fromX + 10; x < toX; x += 10) {
        QTest::mouseMove(widget, QPoint(x, y));
        QCoreApplication::processEvents();
    }
    QTest::mouseRelease(widget, Qt::LeftButton, {}, QPoint(toX, y));
}

// Each gesture in the instrument windows, however many changes it makes, is
// one undo step that gives back the instrument from before it, and the
// lists show the channel again after the undo.
TEST_F(InstrumentUndo, EachGestureIsOneStep)
{
    COscillatorListMainWnd oscillators(editor, nullptr);
    CEffectListMainWnd effects(editor, nullptr);
    effects.OnAddEffectCommand(CEffectListMainWnd::ADD_LOWPASS);
    const struct { const char* step; std::function<void()> gesture; } gestures[] = {
        {"Oscillator Volume", [&] { DragAlong(oscillators.List()->Item(0), 40, 80, 190); }},
        {"Low-pass Frequency", [&] { DragAlong(effects.List()->Item(0)->Bar(1), 5, 20, 150); }},
        {"Envelope", [&] {
             prompts.editEnvelope = [](TRixEnvelope& envelope) { envelope.speed = 300; };
             effects.List()->Item(0)->findChild<CImageButton*>("Envelope 1")->click();
         }},
        {"Pitch", [&] {  // an arrow of the pitch bar held: several changes
             QScrollBar* bar = oscillators.List()->Item(0)->PitchScrollBar();
             const int start = bar->value();
             QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(7, bar->height() - 3));
             QTest::qWait(800);
             QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(7, bar->height() - 3));
             EXPECT_GT(bar->value(), start + 1);
         }},
        {"Frequency Modulation", [&] { oscillators.List()->Item(0)->findChild<CImageButton*>("fmBt")->click(); }},
    };
    for (const auto& g : gestures) {
        SCOPED_TRACE(g.step);
        const CRixModuleChannel before = Channel(0);
        g.gesture();
        QCoreApplication::processEvents();
        EXPECT_NE(Channel(0), before);
        controller.SelectChannel(4);
        EXPECT_EQ(editor.Undo(), g.step);
        EXPECT_EQ(Channel(0), before);
        EXPECT_EQ(oscillators.Channel(), 0);
        editor.Redo();
    }
    EXPECT_EQ(oscillators.List()->ItemCount(), 2u) << "the carrier and its transition oscillator";
}

} // namespace
} // namespace rix
