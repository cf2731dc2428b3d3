// Takes the main window's screenshots for docs/ on a song (the demo song),
// with settings and data of its own: the window at its first size
// (main-window.png), while the song plays (playing.png), maximised on the
// screen (maximised.png), in the Black look (black-look.png), with the Edit
// menu open after an undo (undo-menu.png), the oscillator and effect panels
// (oscillator-panel.png, effect-panel.png), Help > Keys and Mouse
// (keys.png) and the Song Size panel while the intro's render plays
// (song-size.png); with --zoom-200 only zoom-200.png, the window at zoom 200 %.
// Run on a real X server whose screen is the size to maximise to:
//   xvfb-run -a -s "-screen 0 1600x1000x24" sonrix_window_screenshots SONG OUTPUT_FOLDER [--zoom-200]
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMenuBar>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <cstring>

#include "CommandIds.h"
#include "KeyListDlg.h"
#include "MainFrame.h"
#include "MixerWnd.h"
#include "PlaybackController.h"
#include "RixApp.h"
#include "RixView.h"
#include "SideWnd.h"
#include "SpinWnd.h"

namespace {

class CShots {
public:
    CShots(rix::CMainFrame& frame, const QDir& folder) : frame(frame), folder(folder) {}

    void Take(QWidget& window, const char* name)
    {
        QTest::qWait(300);
        Check(window.grab().save(Path(name)), name);
    }
    // The screen where the window is, with the menus open over it.
    void TakeScreen(const char* name)
    {
        QTest::qWait(300);
        const QRect area = frame.frameGeometry();
        Check(frame.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).save(Path(name)), name);
    }
    bool AllSaved() const { return allSaved; }

private:
    QString Path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
    void Check(bool saved, const char* name)
    {
        if (!saved)
            std::fprintf(stderr, "sonrix_window_screenshots: %s not saved\n", name);
        allSaved = allSaved && saved;
    }

    rix::CMainFrame& frame;
    const QDir folder;
    bool allSaved = true;
};

void TakeAll(rix::CMainFrame& frame, rix::CPlaybackController& controller, CShots& shots)
{
    auto& side = *frame.View().findChild<rix::CSideWnd*>();
    controller.SelectChannel(6);
    shots.Take(frame, "main-window.png");

    // Channel 8's oscillators (one modulated) with the transpose row,
    // channel 6's effects.
    controller.SelectChannel(7);
    const auto click = [&](const char* button) { side.OscillatorList().findChild<QAbstractButton*>(button)->click(); };
    click("Trans");
    shots.Take(side.OscillatorList(), "oscillator-panel.png");
    click("Trans");
    controller.SelectChannel(5);
    side.SelectTab(rix::CSideWnd::TAB_EFFECTS);
    shots.Take(side.EffectList(), "effect-panel.png");

    controller.SetOrderPosition(4);
    controller.PlaySong();
    QTest::qWait(1500);
    shots.Take(frame, "playing.png");
    controller.Stop();
    side.SelectTab(rix::CSideWnd::TAB_OSCILLATORS);
    controller.SetOrderPosition(0);

    // Fader 4 dragged up, the tempo one up twice, then Undo.
    controller.SelectChannel(0);
    auto& mixer = *frame.View().findChild<rix::CMixerWnd*>();
    const int fader = 24 + 40 * 3 + 20;
    QTest::mousePress(&mixer, Qt::LeftButton, {}, QPoint(fader, 90));
    QTest::mouseMove(&mixer, QPoint(fader, 50));
    QTest::mouseRelease(&mixer, Qt::LeftButton, {}, QPoint(fader, 50));
    auto* tempoUp = frame.View().findChild<QWidget*>(QString::fromLatin1(rix::CRixView::kBpm.text))
                        ->findChild<rix::CSpinWnd*>();
    // The spin's steps arrive as posted messages, each its own step.
    for (int i = 0; i < 2; ++i) {
        QTest::mouseClick(tempoUp, Qt::LeftButton, {}, QPoint(6, 4));
        QTest::qWait(100);
    }
    frame.Action(rix::ID_EDIT_UNDO)->trigger();
    // The Edit menu opened as a click on the menu bar opens it.
    for (QAction* menu : frame.menuBar()->actions())
        if (menu->menu() && menu->menu()->actions().contains(frame.Action(rix::ID_EDIT_UNDO)))
            frame.menuBar()->setActiveAction(menu);
    shots.TakeScreen("undo-menu.png");
    QApplication::activePopupWidget()->close();

    frame.OnApplicationLook(rix::ID_VIEW_APPLOOK_OFF_2007_BLACK);
    controller.SelectChannel(6);
    shots.Take(frame, "black-look.png");
    frame.OnApplicationLook(rix::kDefaultApplicationLook);

    frame.OnKeyList();
    shots.Take(*frame.KeyList(), "keys.png");
    frame.KeyList()->close();

    // The Song Size panel of the exact tables while the intro's render plays
    // in place of the editor's.
    frame.resize(1170, 700);
    controller.SelectChannel(0);
    const int introCommands[] = {rix::ID_EXPORT_EXACT, rix::ID_VIEW_SONG_SIZE, rix::ID_HEAR_INTRO};
    for (const int id : introCommands)
        frame.Action(id)->setChecked(true);
    controller.PlaySong();
    QTest::qWait(6500);
    shots.Take(frame, "song-size.png");
    controller.Stop();
    for (const int id : introCommands)
        frame.Action(id)->setChecked(false);

    frame.resize(frame.screen()->availableSize());
    shots.Take(frame, "maximised.png");
}

} // namespace

int main(int argc, char** argv)
{
    const bool zoom = argc == 4 && std::strcmp(argv[3], "--zoom-200") == 0;
    if (argc != 3 && !zoom) {
        std::fprintf(stderr, "usage: sonrix_window_screenshots SONG OUTPUT_FOLDER [--zoom-200]\n");
        return 2;
    }
    const QTemporaryDir home;
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME"})
        qputenv(variable, QFile::encodeName(home.path()));
    qputenv("SONRIX_AUDIO_DRIVER", "dummy");
    if (zoom)
        qputenv("QT_SCALE_FACTOR", "2");
    QApplication application(argc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[2]));
    rix::CRixApp app;
    if (!app.InitInstance({QString::fromLocal8Bit(argv[1])}))
        return 1;
    rix::CMainFrame& frame = *app.MainFrame();
    frame.resize(930, 700);
    if (!QTest::qWaitForWindowExposed(&frame))
        return 1;
    QTest::qWait(1500);  // the status bar's song size is worked out meanwhile
    CShots shots(frame, folder);
    if (zoom) {
        rix::CRixApp::Controller()->SelectChannel(6);
        shots.Take(frame, "zoom-200.png");
    } else {
        TakeAll(frame, *rix::CRixApp::Controller(), shots);
    }
    return shots.AllSaved() ? 0 : 1;
}
