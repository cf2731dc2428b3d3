#include <QPointer>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "ImageButton.h"
#include "InPlaceEdit.h"
#include "InstrumentListGeometry.h"
#include "InstrumentTestSupport.h"
#include "OscillatorListBodyWnd.h"
#include "OscillatorListItemWnd.h"
#include "OscillatorListMainWnd.h"

namespace rix {
namespace {

// Channel 0 holds three oscillators pitched 0, 100 and 200.
class OscillatorList : public instrumenttest::CInstrumentTest {
protected:
    OscillatorList()
    {
        CRixModuleChannel three;
        three.AddOscillator();
        three.AddOscillator();
        for (int32_t i = 0; i < 3; ++i)
            three.oscillators[i].pitch = 100 * i;
        SetChannel(0, three);
        panel.resize(368, 529);
        panel.show();
    }
    COscillatorListItemWnd* Item(std::size_t position) { return panel.List()->Item(position); }
    void Click(QWidget* window, const char* button) { window->findChild<CImageButton*>(button)->click(); }
    // As the items show them.
    std::vector<int32_t> Pitches()
    {
        std::vector<int32_t> pitches;
        for (std::size_t i = 0; Item(i); ++i)
            pitches.push_back(Item(i)->Oscillator().pitch);
        return pitches;
    }

    COscillatorListMainWnd panel{editor, nullptr};
};

TEST_F(OscillatorList, ItemButtonsMoveDuplicateAndDeleteInBothLists)
{
    // The first cannot move up nor the last down.
    EXPECT_FALSE(Item(0)->findChild<CImageButton*>("Up")->isEnabled());
    EXPECT_FALSE(Item(2)->findChild<CImageButton*>("Down")->isEnabled());
    Click(Item(0), "Up");
    Click(Item(2), "Down");
    EXPECT_EQ(Pitches(), (std::vector<int32_t>{0, 100, 200}));
    Click(Item(0), "Down");
    Click(Item(1), "Copy");
    Click(Item(3), "Close");
    EXPECT_EQ(Pitches(), (std::vector<int32_t>{100, 0, 0}));
    EXPECT_EQ(Channel(0).transitionOscillators.size(), 3u);
}

TEST_F(OscillatorList, NewAsksFirst)
{
    for (bool yes : {false, true}) {
        prompts.answer = yes;
        Click(&panel, "New");
        EXPECT_EQ(Channel(0).oscillators.size(), yes ? 0u : 3u);
        EXPECT_EQ(Channel(0).transitionOscillators.size(), yes ? 0u : 3u);
    }
    EXPECT_EQ(prompts.questions.value(0), "Do you want to delete all the oscillators in this channel?");
    EXPECT_EQ(panel.List()->ItemCount(), 0u);
}

TEST_F(OscillatorList, FmShowsTheTransitionOscillatorBelowItsCarrier)
{
    Click(Item(1), "fmBt");
    ASSERT_EQ(panel.List()->ItemCount(), 4u);
    EXPECT_TRUE(Item(2)->Ref().transition && Item(2)->Ref().index == 1);
    EXPECT_EQ(Item(2)->y() - Item(1)->y(), 62);
    Item(2)->SetType(RIXOSC_SQUARE);
    Click(Item(1), "fmBt");
    EXPECT_EQ(panel.List()->ItemCount(), 3u);
    EXPECT_EQ(Channel(0).transitionOscillators[1].type, RIXOSC_SQUARE);
}

TEST_F(OscillatorList, MouseAndTypingEditTheOscillator)
{
    Item(1)->OpenPitchEdit();
    EXPECT_EQ(Item(1)->PitchEdit()->text(), "1.00");
    Item(1)->PitchEdit()->setText("-0.5");
    QTest::keyClick(Item(1)->PitchEdit(), Qt::Key_Return);
    EXPECT_EQ(Channel(0).oscillators[1].pitch, -50);
    // The upper arrow raises the pitch a semitone; so does a notch of the
    // wheel on the pitch.
    Item(1)->PitchScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(Channel(0).oscillators[1].pitch, 100);
    QWheelEvent notch(QPointF(190, 15), Item(1)->mapToGlobal(QPointF(190, 15)), {}, QPoint(0, 120), Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(Item(1), &notch);
    EXPECT_EQ(Channel(0).oscillators[1].pitch, 200);

    QTest::mousePress(Item(0), Qt::LeftButton, {}, QPoint(100, 40));
    EXPECT_EQ(Channel(0).oscillators[0].volume, 70);
    QTest::mouseMove(Item(0), QPoint(300, 40));
    EXPECT_EQ(Channel(0).oscillators[0].volume, 255);
    QTest::mouseMove(Item(0), QPoint(2, 40));
    QTest::mouseRelease(Item(0), Qt::LeftButton, {}, QPoint(2, 40));
    EXPECT_EQ(Channel(0).oscillators[0].volume, 0);

    QTest::mouseDClick(Item(0), Qt::LeftButton, {}, QPoint(30, 15));
    prompts.menuChoice = "Noise";
    QTest::mouseClick(Item(1), Qt::RightButton, {}, QPoint(30, 15));
    EXPECT_EQ(Channel(0).oscillators[0].type, RIXOSC_SAW);
    EXPECT_EQ(Channel(0).oscillators[1].type, RIXOSC_NOISE);
    // A double click on the pitch edits it and leaves the waveform.
    QTest::mouseDClick(Item(1), Qt::LeftButton, {}, QPoint(190, 15));
    EXPECT_EQ(Channel(0).oscillators[1].type, RIXOSC_NOISE);
    EXPECT_TRUE(Item(1)->PitchEdit()->isVisible());
}

TEST_F(OscillatorList, TransposeAllMovesEveryOscillator)
{
    Click(&panel, "Trans");
    panel.OpenAmountEdit();
    panel.AmountEdit()->setText("12");
    QTest::keyClick(panel.AmountEdit(), Qt::Key_Return);
    Click(&panel, "OK");
    EXPECT_FALSE(panel.IsTransposeShown());
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(Channel(0).oscillators[i].pitch, int32_t(100 * i + 1200));
        EXPECT_EQ(Channel(0).transitionOscillators[i].pitch, 1200);
    }
}

// 3,000 oscillators, every other one with its transition oscillator: only
// the items in view get windows, wherever the list is scrolled; a window
// holding an open pitch edit stays while scrolled away, and its edit lands.
TEST_F(OscillatorList, ALongListMakesWindowsOnlyForTheItemsInView)
{
    CRixModuleChannel many;
    while (many.oscillators.size() < 3000)
        many.AddOscillator();
    for (std::size_t i = 0; i < many.oscillators.size(); i += 2)
        many.oscillators[i].transition = true;
    SetChannel(0, many);
    COscillatorListBodyWnd& list = *panel.List();
    ASSERT_EQ(list.ItemCount(), 4500u);
    const std::size_t inView = std::size_t(list.height()) / (OSCILLATOR_ITEM_HEIGHT + LIST_ITEM_GAP) + 2;
    EXPECT_LE(list.ItemWindows().size(), inView);

    list.ScrollToItem(4498);
    ASSERT_NE(Item(4498), nullptr);
    EXPECT_TRUE(Item(4498)->Ref().transition && Item(4498)->Ref().index == 2998);
    EXPECT_TRUE(list.rect().contains(Item(4498)->geometry()));
    EXPECT_EQ(Item(0), nullptr);
    EXPECT_LE(list.ItemWindows().size(), inView);

    Item(4497)->OpenPitchEdit();
    QPointer<CInPlaceEdit> edit = Item(4497)->PitchEdit();
    list.SetScrollPosition(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(edit);
    EXPECT_EQ(list.ItemWindows().back(), edit->parentWidget());
    EXPECT_LE(list.ItemWindows().size(), inView + 1);
    edit->setText("2");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(Channel(0).oscillators[2998].pitch, 200);

    Click(Item(2), "Close");
    EXPECT_EQ(list.ItemCount(), 4499u);
    EXPECT_LE(list.ItemWindows().size(), inView);
}

// The list rebuilt while an item's envelope editor runs: the item stays
// (hidden) under its handler until a layout after the dialog.
TEST_F(OscillatorList, AnItemOutlivesARebuildWhileItsDialogRuns)
{
    QPointer<COscillatorListItemWnd> item = Item(2);
    prompts.whileEditing = [this] { editor.Instruments().RemoveOscillator(0, 0); };
    Click(item, "VolEnv");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(item);
    EXPECT_FALSE(item->isVisible());
    EXPECT_EQ(Pitches(), (std::vector<int32_t>{100, 200}));
    editor.Instruments().AddOscillator(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(item);
}

TEST_F(OscillatorList, CopyMenuTakesChannelsByTheirIds)
{
    CRixModuleChannel third;
    third.volume = 33;
    SetChannel(2, third);
    prompts.menuChoice = "Copy from channel 3";
    Click(&panel, "Copy");
    EXPECT_EQ(Channel(0), third);
    EXPECT_EQ(panel.List()->ItemCount(), 1u);
    panel.OnCopyCommand(CInstrumentPanelWnd::CopyToCommand(5));
    EXPECT_EQ(Channel(5), third);
}

} // namespace
} // namespace rix
