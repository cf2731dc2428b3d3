#include <QTest>

#include "EffectListBodyWnd.h"
#include "EffectListItemWnd.h"
#include "EffectListMainWnd.h"
#include "ImageButton.h"
#include "InPlaceEdit.h"
#include "InstrumentTestSupport.h"
#include "OscillatorListBodyWnd.h"
#include "OscillatorListItemWnd.h"
#include "OscillatorListMainWnd.h"
#include "VolumeBarWnd.h"

namespace rix {
namespace {

using InstrumentUndo = instrumenttest::CInstrumentTest;

// Each gesture is one step: undoing them one by one gives back every
// earlier instrument exactly, and shows the channel that changed.
TEST_F(InstrumentUndo, RestoresEachEarlierInstrumentAndRedoesThem)
{
    COscillatorListMainWnd oscillators(editor, nullptr);
    CEffectListMainWnd effects(editor, nullptr);
    std::vector<CRixModuleChannel> states{Channel(0)};
    const auto gesture = [&](const std::function<void()>& edit) {
        edit();
        QCoreApplication::processEvents();
        states.push_back(Channel(0));
    };
    gesture([&] { oscillators.findChild<CImageButton*>("Add")->click(); });
    gesture([&] {
        QWidget* item = oscillators.List()->Item(1);
        QTest::mousePress(item, Qt::LeftButton, {}, QPoint(80, 40));
        for (int x = 90; x < 190; x += 10)
            QTest::mouseMove(item, QPoint(x, 40));
        QTest::mouseRelease(item, Qt::LeftButton, {}, QPoint(190, 40));
    });
    gesture([&] {
        oscillators.List()->Item(0)->OpenPitchEdit();
        oscillators.List()->Item(0)->PitchEdit()->setText("7.25");
        QTest::keyClick(oscillators.List()->Item(0)->PitchEdit(), Qt::Key_Return);
    });
    gesture([&] { oscillators.List()->Item(0)->findChild<CImageButton*>("fmBt")->click(); });
    gesture([&] { effects.OnAddEffectCommand(CEffectListMainWnd::ADD_LOWPASS); });
    gesture([&] {
        CVolumeBarWnd* bar = effects.List()->Item(0)->Bar(1);
        QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(20, 5));
        QCoreApplication::processEvents();
        for (int x = 30; x < 150; x += 20) {
            QTest::mouseMove(bar, QPoint(x, 5));
            QCoreApplication::processEvents();
        }
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(150, 5));
    });
    gesture([&] {
        prompts.editEnvelope = [](TRixEnvelope& envelope) { envelope.speed = 300; };
        effects.List()->Item(0)->findChild<CImageButton*>("Envelope 1")->click();
    });
    controller.SelectChannel(4);
    for (std::size_t step = states.size() - 1; step > 0; --step) {
        ASSERT_TRUE(editor.CanUndo()) << step;
        editor.Undo();
        EXPECT_EQ(Channel(0), states[step - 1]) << step;
        EXPECT_EQ(controller.GetCurrentChannel(), 0);
        EXPECT_EQ(oscillators.Channel(), 0);
    }
    EXPECT_FALSE(editor.CanUndo());
    for (std::size_t step = 1; step < states.size(); ++step) {
        editor.Redo();
        EXPECT_EQ(Channel(0), states[step]) << step;
    }
    EXPECT_EQ(effects.List()->Items().size(), 1u);
}

} // namespace
} // namespace rix
