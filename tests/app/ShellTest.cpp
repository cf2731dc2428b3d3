#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <functional>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QTest>
#include <QUrl>
#include <QWidget>

#include "AppLook.h"
#include "Autosave.h"
#include "BpmWnd.h"
#include "CommandIds.h"
#include "FileSizeLimit.h"
#include "IClipboardTarget.h"
#include "PatternWnd.h"
#include "PlaybackStatus.h"
#include "RixDoc.h"
#include "RixView.h"
#include "ShellFixture.h"
#include "WavExportDlg.h"

namespace {

TEST_F(CShellFixture, StartUpMakesEveryCommand)
{
    EXPECT_EQ(frame->size(), QSize(930, 700));
    const auto keys = [](const char* text) { return QKeySequence(QString::fromLatin1(text)); };
    const std::pair<int, QKeySequence> commands[] = {
        {rix::ID_FILE_NEW, keys("Ctrl+N")},  {rix::ID_FILE_OPEN, keys("Ctrl+O")}, {rix::ID_FILE_SAVE, keys("Ctrl+S")},
        {rix::ID_EDIT_UNDO, keys("Ctrl+Z")}, {rix::ID_EDIT_REDO, keys("Ctrl+Y")}, {rix::ID_EDIT_CUT, keys("Ctrl+X")},
        {rix::ID_EDIT_COPY, keys("Ctrl+C")}, {rix::ID_EDIT_PASTE, keys("Ctrl+V")}, {rix::ID_FILE_SAVE_AS, {}},
        {rix::ID_EXPORT_CPP, {}}, {rix::ID_EXPORT_WAV, {}}, {rix::ID_APP_ABOUT, {}}, {rix::ID_APP_EXIT, {}},
        {rix::ID_VIEW_AUDIO_OUTPUT, {}},
    };
    for (const auto& [id, shortcut] : commands) {
        QAction* action = frame->Action(id);
        ASSERT_NE(action, nullptr) << id;
        EXPECT_EQ(action->property("commandId").toInt(), id);
        EXPECT_EQ(action->shortcut(), shortcut) << id;
    }
    EXPECT_TRUE(frame->Action(rix::ID_EDIT_REDO)->shortcuts().contains(keys("Ctrl+Shift+Z")));
    for (int look = rix::ID_VIEW_APPLOOK_WIN_2000; look <= rix::ID_VIEW_APPLOOK_OFF_2007_AQUA; ++look)
        EXPECT_EQ(frame->Action(look)->isChecked(), look == rix::kDefaultApplicationLook) << look;
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Untitled[*] - sonrix3"));
}

TEST_F(CShellFixture, NewOpenAndSaveRoundTripThroughTheDocument)
{
    SetCell(42);
    EXPECT_TRUE(frame->Document().IsModified());
    EXPECT_TRUE(frame->isWindowModified());
    ASSERT_TRUE(frame->SaveTo(Path("song.sonrix")));
    EXPECT_FALSE(frame->Document().IsModified());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("song.sonrix[*] - sonrix3"));

    ASSERT_TRUE(frame->OnFileNew());
    EXPECT_EQ(Cell(), 0u);
    EXPECT_TRUE(frame->Document().GetPathName().isEmpty());
    // Not even while the windows take in the opened song (a long while for
    // a big one) does the window show it modified.
    struct CTitleWatch : rix::IMessageTarget {
        void PostMessage(uint32_t, uintptr_t, intptr_t) override {}
        void OnSongChanged(const rix::TSongChange&) override { shownModified |= frame->isWindowModified(); }
        QWidget* frame;
        bool shownModified = false;
    } watch;
    watch.frame = frame.get();
    Controller().AddListener(&watch);
    ASSERT_TRUE(frame->OpenFile(Path("song.sonrix")));
    Controller().RemoveListener(&watch);
    EXPECT_EQ(Cell(), 42u);
    EXPECT_FALSE(frame->Document().IsModified());
    EXPECT_FALSE(watch.shownModified);

    // A broken file is reported by name and leaves the song as it was.
    rixtest::WriteWholeFile(folder / "broken.sonrix", "not a song");
    SetCell(7);
    frame->Document().ClearModified();
    const auto message = AnswerNextMessageBox(QMessageBox::Ok);
    EXPECT_FALSE(frame->OpenFile(Path("broken.sonrix")));
    EXPECT_TRUE(message->contains(QStringLiteral("broken.sonrix"))) << message->toStdString();
    EXPECT_EQ(Cell(), 7u);
    EXPECT_EQ(frame->Document().GetPathName(), Path("song.sonrix"));

    // A song dropped on the window opens as well.
    ASSERT_TRUE(frame->OnFileNew());
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(Path("song.sonrix"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &drop);
    QApplication::processEvents();
    EXPECT_EQ(Cell(), 42u);
}

TEST_F(CShellFixture, ModifiedSongAsksBeforeItIsReplaced)
{
    ASSERT_TRUE(frame->SaveTo(Path("kept.sonrix")));
    const struct { QMessageBox::StandardButton answer; bool replaced; bool saved; } cases[] = {
        {QMessageBox::Cancel, false, false},
        {QMessageBox::No, true, false},
        {QMessageBox::Yes, true, true},
    };
    for (const auto& test : cases) {
        frame->Document().ClearModified();
        ASSERT_TRUE(frame->OpenFile(Path("kept.sonrix")));
        const std::string before = rixtest::ReadWholeFile(folder / "kept.sonrix");
        SetCell(9);
        const auto question = AnswerNextMessageBox(test.answer);
        EXPECT_EQ(frame->OnFileNew(), test.replaced) << test.answer;
        EXPECT_TRUE(question->contains(QStringLiteral("kept.sonrix"))) << question->toStdString();
        EXPECT_EQ(Cell(), test.replaced ? 0u : 9u) << test.answer;
        EXPECT_EQ(rixtest::ReadWholeFile(folder / "kept.sonrix") != before, test.saved) << test.answer;
    }
}

TEST_F(CShellFixture, LookAndRecentFilesSurviveARestart)
{
    ASSERT_TRUE(frame->SaveTo(Path("first.sonrix")));
    ASSERT_TRUE(frame->SaveTo(Path("second.sonrix")));
    frame->OnApplicationLook(rix::ID_VIEW_APPLOOK_OFF_2007_BLACK);
    RestartFrame();

    EXPECT_EQ(frame->ApplicationLook(), rix::ID_VIEW_APPLOOK_OFF_2007_BLACK);
    EXPECT_TRUE(frame->Action(rix::ID_VIEW_APPLOOK_OFF_2007_BLACK)->isChecked());
    const auto* black = rix::CAppLook::Find(rix::ID_VIEW_APPLOOK_OFF_2007_BLACK);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), rix::CAppLook::PaletteOf(*black).color(QPalette::Window));
    const QString recent[] = {Path("second.sonrix"), Path("first.sonrix")};
    for (int i = 0; i < 2; ++i) {
        QAction* action = frame->Action(rix::ID_FILE_MRU_FILE1 + i);
        EXPECT_TRUE(action->isVisible());
        EXPECT_TRUE(action->text().endsWith(recent[i])) << action->text().toStdString();
    }
    EXPECT_FALSE(frame->Action(rix::ID_FILE_MRU_FILE1 + 2)->isVisible());
    frame->OnApplicationLook(rix::kDefaultApplicationLook);
}

TEST_F(CShellFixture, WritersOnAFullDiskLeaveTheOldFileIntact)
{
    SetCell(1);
    ASSERT_TRUE(frame->SaveTo(Path("old.sonrix")));
    SetCell(2);
    frame->Autosave().SaveNow();
    SetCell(3);
    const QString failure = QString::fromLatin1(std::strerror(EFBIG));
    const struct { const char* writer; QString path; std::function<void()> write; } writers[] = {
        {"save", Path("old.sonrix"),
         [&] {
             const auto message = AnswerNextMessageBox(QMessageBox::Ok);
             EXPECT_FALSE(frame->SaveTo(Path("old.sonrix")));
             EXPECT_TRUE(message->contains(QStringLiteral("old.sonrix")) && message->contains(failure))
                 << message->toStdString();
         }},
        // A failed autosave keeps the previous one.
        {"autosave", frame->Autosave().FilePath(), [&] { frame->Autosave().SaveNow(); }},
    };
    for (const auto& [writer, path, write] : writers) {
        const std::string before = rixtest::ReadWholeFile(path.toStdString());
        ASSERT_FALSE(before.empty()) << writer;
        const QDir place = QFileInfo(path).dir();
        const QStringList entries = place.entryList(QDir::Files | QDir::Hidden);
        // The disk fills before the first byte and half-way through the file.
        for (const std::size_t room : {std::size_t{0}, before.size() / 2}) {
            {
                rixtest::CFileSizeLimit fullDisk(room);
                write();
            }
            EXPECT_EQ(rixtest::ReadWholeFile(path.toStdString()), before) << writer << ", room " << room;
            EXPECT_EQ(place.entryList(QDir::Files | QDir::Hidden), entries) << "no temporary file left by " << writer;
        }
    }
    EXPECT_TRUE(frame->Document().IsModified());
    EXPECT_EQ(Cell(), 3u);
}

// A run's autosave is offered back once its lock is gone (the system drops
// it with the process), and a recovered one stays until the recovered song
// is autosaved or saved, so a second crash still finds it.
TEST_F(CShellFixture, AutosaveIsOfferedBackAfterACrashAndKeptUntilAutosavedAgain)
{
    SetCell(33);
    QString crashedFile;
    {
        rix::CAutosave crashed(frame->Document(), Controller().GetSongModule(), nullptr, 0x7FFFFFF0);
        crashed.SaveNow();
        crashedFile = crashed.FilePath();
        ASSERT_TRUE(QFile::exists(crashedFile));
        EXPECT_TRUE(rix::CAutosave::FindOrphans().isEmpty()) << "the run that writes it still lives";
    }
    {
        rix::CAutosave rescuer(frame->Document(), Controller().GetSongModule(), nullptr, 0x7FFFFFF1);
        rescuer.Adopt(crashedFile);
        EXPECT_TRUE(rix::CAutosave::FindOrphans().isEmpty()) << "held by the run that recovered it";
    }
    EXPECT_EQ(rix::CAutosave::FindOrphans(), QStringList{crashedFile}) << "the rescuing run crashed too";

    ASSERT_TRUE(frame->SaveTo(Path("original.sonrix")));
    const std::string original = rixtest::ReadWholeFile(folder / "original.sonrix");
    ASSERT_TRUE(frame->OnFileNew());
    const auto question = AnswerNextMessageBox(QMessageBox::Yes);
    ASSERT_TRUE(frame->OfferRecovery());
    EXPECT_FALSE(question->isEmpty());
    EXPECT_EQ(Cell(), 33u);
    EXPECT_TRUE(frame->Document().IsModified());
    EXPECT_TRUE(frame->Document().GetPathName().isEmpty());
    EXPECT_EQ(rixtest::ReadWholeFile(folder / "original.sonrix"), original);
    EXPECT_TRUE(QFile::exists(crashedFile));
    EXPECT_TRUE(rix::CAutosave::FindOrphans().isEmpty());

    frame->Autosave().SaveNow();
    EXPECT_TRUE(QFile::exists(frame->Autosave().FilePath()));
    EXPECT_FALSE(QFile::exists(crashedFile)) << "the recovered song is in the editor's own autosave now";
    // The running editor's own autosave goes away with a clean exit.
    const auto prompt = AnswerNextMessageBox(QMessageBox::No);
    EXPECT_TRUE(frame->close());
    EXPECT_FALSE(QFile::exists(frame->Autosave().FilePath()));
    EXPECT_TRUE(rix::CAutosave::FindOrphans().isEmpty());
}

// Takes the clipboard commands while it has the focus; a copy gives it
// something to paste.
class CClipboardProbe : public QWidget, public rix::IClipboardTarget {
public:
    using QWidget::QWidget;
    void Cut() override { calls += 'x'; }
    void Copy() override { calls += 'c', copied = true; }
    void Paste() override { calls += 'v'; }
    bool CanPaste() const override { return copied; }
    std::string calls;
    bool copied = false;
};

// The clipboard commands go to the focused window and are enabled only
// where they can act: Paste once there is something to paste.
TEST_F(CShellFixture, ClipboardCommandsActOnlyWhereTheyCan)
{
    frame->show();
    auto* probe = new CClipboardProbe(&frame->View());
    auto* other = new QWidget(&frame->View());
    for (QWidget* widget : {static_cast<QWidget*>(probe), other}) {
        widget->setFocusPolicy(Qt::StrongFocus);
        widget->show();
    }
    QApplication::setActiveWindow(frame.get());
    const auto enabled = [this] {
        std::string states;
        for (int id : {rix::ID_EDIT_CUT, rix::ID_EDIT_COPY, rix::ID_EDIT_PASTE})
            states += frame->Action(id)->isEnabled() ? '1' : '0';
        return states;
    };
    const auto triggerAll = [this] {
        for (int id : {rix::ID_EDIT_CUT, rix::ID_EDIT_COPY, rix::ID_EDIT_PASTE})
            frame->Action(id)->trigger();
    };
    other->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(enabled(), "000");
    triggerAll();
    probe->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(enabled(), "110");
    triggerAll();  // the copy enables Paste before its turn
    EXPECT_EQ(enabled(), "111");
    EXPECT_EQ(probe->calls, "xcv");

    // A right click in a grid opens the Edit menu the frame holds.
    auto* pattern = frame->View().findChild<rix::CPatternWnd*>();
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(50, 30), pattern->mapToGlobal(QPoint(50, 30)));
    QApplication::sendEvent(pattern, &click);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_EQ(menu, &frame->EditContextMenu());
    QStringList items;
    for (const QAction* action : menu->actions())
        items << action->objectName();
    EXPECT_EQ(items, (QStringList{"Cut", "Copy", "Paste"}));
    menu->close();
}

// A window closed with a tempo being typed keeps the tempo; the edit ends
// while the window's parts go, and the command states it announces to
// must not touch the buttons already gone.
TEST_F(CShellFixture, ClosingTheWindowKeepsAnOpenEdit)
{
    frame->show();
    QApplication::setActiveWindow(frame.get());
    auto* tempo = frame->findChild<rix::CBpmWnd*>();
    QTest::mouseClick(tempo, Qt::LeftButton, {}, QPoint(50, 15));
    auto* edit = QApplication::focusWidget();
    ASSERT_TRUE(edit && tempo->isAncestorOf(edit));
    QTest::keyClicks(edit, "99");
    frame.reset();
    EXPECT_EQ(ReadSong<int32_t>([](const rix::CRixModuleData& song) { return song.bpm; }), 99);
}

TEST_F(CShellFixture, WavExportLeavesNoHalfWrittenFile)
{
    // One order position at 120 BPM: 16 rows of 5512 samples.
    EditSong([](rix::CRixModuleData& song) {
        song.orderTable[0][0] = 1;
        song.patterns[0][1][0] = 58;
    });
    rixtest::WriteWholeFile(folder / "older.wav", "older");
    const struct {
        const char* name;
        bool cancel;
        bool completed;
        std::string expectedBytes; // empty: the whole export
        const char* result;        // what the box after the dialog says; none after a cancel
    } cases[] = {
        {"older.wav", true, false, "older", ""},
        {"missing-folder/song.wav", false, false, "", "WAV export failed!"},
        {"older.wav", false, true, "", "WAV export completed!"},
    };
    for (const auto& test : cases) {
        rix::CWavExportDlg dialog(&frame->View(), Controller().GetSongModule(), Path(test.name));
        if (test.cancel)
            dialog.reject();
        dialog.exec();
        EXPECT_EQ(dialog.Completed(), test.completed) << test.name;
        // The progress dialog is gone before its result is told.
        EXPECT_FALSE(dialog.isVisible());
        if (*test.result) {
            const auto result = AnswerNextMessageBox(QMessageBox::Ok);
            dialog.ShowResult();
            EXPECT_TRUE(result->startsWith(QString::fromLatin1(test.result))) << result->toStdString();
        }
        // No temporary file is left beside the file either.
        EXPECT_EQ(QDir(Path("")).entryList(QDir::Files | QDir::Hidden).join(','), QStringLiteral("older.wav"))
            << test.name;
        const std::string bytes = rixtest::ReadWholeFile(folder / test.name);
        if (test.completed)
            EXPECT_EQ(bytes.size(), 44u + 16u * 5512u * 2u);
        else
            EXPECT_EQ(bytes, test.expectedBytes) << test.name;
    }
}

// The quick C++ export refuses a folder of its name that another user could
// write into, or a link to elsewhere; else it makes a private one.
TEST_F(CShellFixture, CppExportGoesOnlyToTheUsersOwnFolder)
{
    const std::unique_ptr<void, void (*)(void*)> restoreTemp(
        (::setenv("TMPDIR", (folder / "").c_str(), 1), this), [](void*) { ::unsetenv("TMPDIR"); });
    const QString own = Path("sonrix3-%1").arg(::geteuid());
    ASSERT_TRUE(frame->SaveTo(Path("tune.v2.sonrix")));
    QDir(Path("")).mkdir(QStringLiteral("elsewhere"));
    const auto plant = [&](const std::string& what) {
        if (what == "link")
            QFile::link(Path("elsewhere"), own);
        else if (what == "open folder")
            QDir().mkdir(own) && QFile::setPermissions(own, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                                 QFile::WriteOther);
    };
    for (const std::string what : {"link", "open folder", ""}) {
        plant(what);
        const auto message = AnswerNextMessageBox(QMessageBox::Ok);
        frame->Action(rix::ID_EXPORT_CPP)->trigger();
        EXPECT_EQ(QFileInfo::exists(own + QStringLiteral("/tune.v2.cpp")), what.empty()) << what;
        EXPECT_EQ(message->startsWith(QStringLiteral("Failed to export\n")), !what.empty()) << message->toStdString();
        EXPECT_TRUE(QDir(Path("elsewhere")).isEmpty()) << what;
        QFile::remove(own);
        QDir().rmdir(own);
    }
}

// The transport buttons drive the playback; the status bar says what plays,
// then "Ready" again, and a note that times out while the song plays gives
// way to what plays.
TEST_F(CShellFixture, TransportButtonsDriveThePlaybackAndTheStatusBarSaysWhatPlays)
{
    EXPECT_EQ(rix::CPlaybackStatus::PlayingText(false, 3 * 16), "Playing song");
    EXPECT_EQ(rix::CPlaybackStatus::PlayingText(false, 26 * 16 + 11), "Playing song from position 1A, row B");
    EditSong([](rix::CRixModuleData& song) {
        for (int position = 0; position < 4; ++position)
            song.orderTable[0][position] = 1;
        song.patterns[0][1][0] = 58;
    });
    Controller().SetOrderPosition(3);
    Controller().PlayPatternLoop();
    const auto says = [this](const char* text) {
        for (int waited = 0; frame->statusBar()->currentMessage() != QLatin1String(text) && waited < 2000; waited += 10)
            QTest::qWait(10);
        return frame->statusBar()->currentMessage().toStdString();
    };
    EXPECT_EQ(says("Looping position 3"), "Looping position 3");
    frame->statusBar()->showMessage(QStringLiteral("a note"), 1);
    EXPECT_EQ(says("Looping position 3"), "Looping position 3");
    Controller().Stop();
    EXPECT_EQ(says("Ready"), "Ready");
    Controller().SetOrderPosition(0);
    const struct { const char* button; bool playing; bool loop; } steps[] = {
        {"Play", true, false}, {"Pattern play", true, true}, {"Play from cursor", true, false},
        {"Play", true, false}, {"Stop", false, false},
    };
    for (const auto& step : steps) {
        auto* button = frame->View().findChild<QAbstractButton*>(QString::fromUtf8(step.button));
        ASSERT_NE(button, nullptr) << step.button;
        button->click();
        // Playing starts on the playback thread once its sound runs.
        for (int waited = 0; Controller().IsPlaying() != step.playing && waited < 2000; waited += 10)
            QTest::qWait(10);
        EXPECT_EQ(Controller().IsPlaying(), step.playing) << step.button;
        if (step.playing) {
            EXPECT_EQ(Controller().IsLoopPattern(), step.loop) << step.button;
        }
    }
    // Enabled only when they can act: Stop while playing, the plays while
    // the song has a position to play.
    const auto enabled = [this](const char* name) {
        return frame->View().findChild<QAbstractButton*>(QString::fromUtf8(name))->isEnabled();
    };
    EXPECT_FALSE(enabled("Stop"));
    EditSong([](rix::CRixModuleData& song) { song.Reset(); });
    for (const char* play : {"Play", "Play from cursor", "Pattern play"})
        EXPECT_FALSE(enabled(play)) << play;
}

} // namespace
