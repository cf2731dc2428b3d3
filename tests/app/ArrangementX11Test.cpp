// The editor on a real X server (run under xvfb-run with QT_QPA_PLATFORM=xcb;
// skipped elsewhere), started on a song file, driven by mouse clicks and
// key events of the X server (xdotool, XTEST): note keys typed with a US and
// a French keyboard layout end up in the saved file; Scroll Lock keeps the
// pattern editor in place while the song plays.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

#include "CommandIds.h"
#include "LockKeyIndicators.h"
#include "MainFrame.h"
#include "PatternWnd.h"
#include "RixApp.h"
#include "RixDoc.h"
#include "RixFileTestData.h"
#include "RixModuleData.h"
#include "TemporaryFolder.h"
#include "nexilon/Nexilon.h"

namespace {

// Runs xdotool with arguments while the editor keeps handling its events.
bool XDoTool(const QStringList& arguments)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    for (int waited = 0; tool.state() != QProcess::NotRunning && waited < 5000; waited += 20)
        QTest::qWait(20);
    QTest::qWait(100);
    return tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

} // namespace

// The editor started on a song file in a folder of its own, on the US
// keyboard layout; skips without an X server or xdotool.
class ArrangementX11 : public ::testing::Test {
protected:
    void Start(const rix::CRixModuleData& data)
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb") ||
            QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            GTEST_SKIP() << "needs an X server (xvfb-run, QT_QPA_PLATFORM=xcb) and xdotool";
        ASSERT_EQ(QProcess::execute(QStringLiteral("setxkbmap"), {"us"}), 0);
        ::setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(folder / "config"));
        nexilon::q.Init();
        rixtest::WriteWholeFile(song, rixtest::SaveBytes(data));
        nexilon::q.Close();
        ASSERT_TRUE(app.InitInstance({QString::fromStdString(song)}));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(app.MainFrame()));
        pattern = app.MainFrame()->findChild<rix::CPatternWnd*>();
        ASSERT_NE(pattern, nullptr);
    }
    void TearDown() override
    {
        if (app.MainFrame())
            app.ExitInstance();
    }
    // Clicks the pattern editor's cell (channel, row).
    void ClickCell(int channel, int row)
    {
        const QPoint cell = pattern->mapToGlobal(QPoint(25 + 40 * channel + 20, 21 + 14 * row + 7));
        ASSERT_TRUE(XDoTool({"mousemove", "--sync", QString::number(cell.x()), QString::number(cell.y()), "click", "1"}));
        ASSERT_TRUE(pattern->hasFocus());
    }

    rixtest::CTemporaryFolder folder;
    const std::string song = folder / "song.sonrix";
    rix::CRixApp app;
    rix::CPatternWnd* pattern = nullptr;
};

TEST_F(ArrangementX11, NotesTypedOnTheXServerAreSaved)
{
    Start(rix::CRixModuleData());
    if (IsSkipped())
        return;
    rix::CMainFrame& frame = *app.MainFrame();
    ClickCell(2, 4);
    // Z S X and Q of a US layout: C, C#, D in octave 5's lower row and the C above.
    ASSERT_TRUE(XDoTool({"key", "--delay", "30", "z", "s", "x", "q"}));
    // AZERTY: "a" and "w" sit where a US keyboard has Q and Z.
    ASSERT_EQ(QProcess::execute(QStringLiteral("setxkbmap"), {"fr"}), 0);
    ASSERT_TRUE(XDoTool({"key", "--delay", "30", "a", "w"}));
    ASSERT_TRUE(XDoTool({"key", "ctrl+s"}));
    for (int waited = 0; frame.Document().IsModified() && waited < 3000; waited += 50)
        QTest::qWait(50);
    EXPECT_FALSE(frame.Document().IsModified());

    const rix::CRixModuleData saved = rixtest::Loaded<rix::CRixModuleData>(rixtest::ReadWholeFile(song));
    EXPECT_EQ(saved.orderTable[2][0], 1u);
    const std::vector<uint32_t> notes(saved.patterns[2][1] + 4, saved.patterns[2][1] + 10);
    EXPECT_EQ(notes, (std::vector<uint32_t>{49, 50, 51, 61, 61, 49}));
}

// Scroll Lock turns View > Follow Playback off (SCRL lit): while the song
// plays on through its positions, the pattern editor keeps showing the
// cursor's; on again, it shows the playing one.
TEST_F(ArrangementX11, FollowOffKeepsThePatternInPlaceWhilePlaying)
{
    rix::CRixModuleData data;
    data.bpm = 255;  // a position lasts less than a second
    for (uint32_t position = 0; position < 8; ++position)
        data.orderTable[0][position] = 1;
    Start(data);
    if (IsSkipped())
        return;
    rix::CMainFrame& frame = *app.MainFrame();
    ClickCell(0, 0);
    ASSERT_TRUE(XDoTool({"key", "Scroll_Lock"}));
    EXPECT_FALSE(frame.Action(rix::ID_VIEW_FOLLOW_PLAYBACK)->isChecked());
    EXPECT_TRUE(frame.LockKeys().ScrollLockShown());
    ASSERT_TRUE(XDoTool({"key", "Return"}));
    for (int waited = 0; pattern->PlayOrder() < 2 && waited < 5000; waited += 20) {
        QTest::qWait(20);
        ASSERT_EQ(pattern->ShownOrder(), 0) << "while position " << pattern->PlayOrder() << " plays";
    }
    EXPECT_GE(pattern->PlayOrder(), 2);
    ASSERT_TRUE(XDoTool({"key", "Scroll_Lock"}));
    EXPECT_TRUE(frame.Action(rix::ID_VIEW_FOLLOW_PLAYBACK)->isChecked());
    EXPECT_FALSE(frame.LockKeys().ScrollLockShown());
    EXPECT_GE(pattern->ShownOrder(), 2);
    ASSERT_TRUE(XDoTool({"key", "Return"}));
}
