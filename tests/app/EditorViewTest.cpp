// The windows of the main view show the song as it is after what a
// musician does: each case acts through the windows and the Edit menu,
// then compares what the windows show with the song.
#include <functional>

#include <QAction>
#include <QApplication>
#include <QStatusBar>
#include <QTest>

#include "BpmWnd.h"
#include "CommandIds.h"
#include "InstrumentEditor.h"
#include "MixerWnd.h"
#include "OrderTableWnd.h"
#include "OscillatorListMainWnd.h"
#include "PanelMath.h"
#include "PatternWnd.h"
#include "RixView.h"
#include "ShellFixture.h"
#include "SpinWnd.h"
#include "TimeCounterWnd.h"

namespace {

using namespace rix;

class EditorView : public CShellFixture {
protected:
    template <class TWindow> TWindow& Window() { return *frame->View().findChild<TWindow*>(); }
    void Trigger(int command) { frame->Action(command)->trigger(); }
    QString StatusText() { return frame->statusBar()->currentMessage(); }
    // A press on channel's fader at volume, dragged to each next volume.
    void DragFader(int32_t channel, std::initializer_list<int32_t> volumes)
    {
        const auto at = [channel](int32_t volume) { return QPoint(24 + 40 * channel + 20, 125 - volume * 100 / 256); };
        CMixerWnd& mixer = Window<CMixerWnd>();
        QTest::mousePress(&mixer, Qt::LeftButton, {}, at(*volumes.begin()));
        for (int32_t volume : volumes)
            QTest::mouseMove(&mixer, at(volume));
        QTest::mouseRelease(&mixer, Qt::LeftButton, {}, at(*(volumes.end() - 1)));
    }
    // A click on the tempo's spin: up (+1) or down (-1).
    void ClickTempo(int direction)
    {
        auto* spin = Window<CBpmWnd>().findChild<CSpinWnd*>();
        QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(6, direction > 0 ? 3 : 16));
        QCoreApplication::processEvents();
    }
    // Every fader shows its channel's volume.
    void ExpectFadersShowTheSong()
    {
        const CRixModuleData song = ReadSong<CRixModuleData>([](const CRixModuleData& data) { return data; });
        for (int32_t c = 0; c < 8; ++c)
            EXPECT_EQ(Window<CMixerWnd>().ShownVolume(c), song.channels[c].volume) << "fader " << c + 1;
    }
    int32_t Volume(int32_t channel)
    {
        return ReadSong<int32_t>([channel](const CRixModuleData& data) { return data.channels[channel].volume; });
    }
};

TEST_F(EditorView, WindowsShowTheSongAfterEachGesture)
{
    const struct { const char* name; std::function<void()> act; std::function<void()> check; } cases[] = {
        {"a preset loaded on channel 2 moves its fader",
         [this] {
             Controller().SelectChannel(1);
             Window<COscillatorListMainWnd>().LoadInstrumentFrom(QStringLiteral(SONRIX_SOURCE_DIR "/presets/lead.sonrixi"));
         },
         [this] {
             EXPECT_EQ(Volume(1), 140);
             ExpectFadersShowTheSong();
         }},
        {"a fader drag is one undo step, and Undo and Redo move the fader",
         [this] {
             DragFader(3, {100, 150, 192});
             EXPECT_EQ(Volume(3), 192);
             Trigger(ID_EDIT_UNDO);
             EXPECT_EQ(Volume(3), 100);
             ExpectFadersShowTheSong();
             Trigger(ID_EDIT_REDO);
         },
         [this] {
             EXPECT_EQ(Volume(3), 192);
             ExpectFadersShowTheSong();
             EXPECT_EQ(frame->Action(ID_EDIT_UNDO)->text(), "&Undo Channel Volume");
             EXPECT_FALSE(frame->Action(ID_EDIT_REDO)->isEnabled());
         }},
        {"Undo takes back the last tempo click, not an older edit, and says so",
         [this] {
             Editor().Instruments().AddEffect(0, RIXEFFECT_DELAY);
             ClickTempo(1);
             ClickTempo(1);
             Trigger(ID_EDIT_UNDO);
         },
         [this] {
             EXPECT_EQ(ReadSong<int32_t>([](const CRixModuleData& data) { return data.bpm; }), 121);
             EXPECT_EQ(Editor().Instruments().ReadChannel(0).effects.size(), 1u);
             EXPECT_EQ(StatusText(), "Undone: Tempo");
             EXPECT_EQ(frame->Action(ID_EDIT_REDO)->text(), "&Redo Tempo");
         }},
        {"the time counter follows a tempo change at the cursor",
         [this] {
             Controller().SetOrderPosition(2);
             Controller().SetRow(8);
             ClickTempo(-1);
         },
         [this] {
             EXPECT_EQ(Window<CTimeCounterWnd>().GetTime(), CPanelMath::TimeOfRow(2 * 16 + 8, 119));
         }},
    };
    for (int command : {ID_EDIT_UNDO, ID_EDIT_REDO})
        EXPECT_FALSE(frame->Action(command)->isEnabled()) << "with nothing to take";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        frame->Document().OnNewDocument();
        c.act();
        c.check();
    }
}


TEST_F(EditorView, TabSwitchesBetweenTheGrids)
{
    frame->show();
    QApplication::setActiveWindow(frame.get());
    QWidget* grids[] = {&Window<COrderTableWnd>(), &Window<CPatternWnd>()};
    grids[0]->setFocus();
    for (int press = 1; press <= 2; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), grids[press % 2]) << press;
    }
}

} // namespace
