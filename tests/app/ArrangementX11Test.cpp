// The editor on a real X server (run under xvfb-run with QT_QPA_PLATFORM=xcb;
// skipped elsewhere): started on a song file, a click on a pattern cell and
// note keys as key events of the X server (xdotool, XTEST), Ctrl+S, then the
// notes are looked for in the saved file, typed with a US and a French
// keyboard layout.
#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

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

TEST(ArrangementX11, NotesTypedOnTheXServerAreSaved)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb") ||
        QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        GTEST_SKIP() << "needs an X server (xvfb-run, QT_QPA_PLATFORM=xcb) and xdotool";
    rixtest::CTemporaryFolder folder;
    ::setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(folder / "config"));
    const std::string song = folder / "song.sonrix";
    nexilon::q.Init();
    rixtest::WriteWholeFile(song, rixtest::SaveBytes(rix::CRixModuleData()));
    nexilon::q.Close();

    rix::CRixApp app;
    ASSERT_TRUE(app.InitInstance({QString::fromStdString(song)}));
    rix::CMainFrame& frame = *app.MainFrame();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    auto* pattern = frame.findChild<rix::CPatternWnd*>();
    ASSERT_NE(pattern, nullptr);
    // Channel 3, row 4 of the grid.
    const QPoint cell = pattern->mapToGlobal(QPoint(25 + 40 * 2 + 20, 21 + 14 * 4 + 7));
    ASSERT_TRUE(XDoTool({"mousemove", "--sync", QString::number(cell.x()), QString::number(cell.y()), "click", "1"}));
    ASSERT_TRUE(pattern->hasFocus());
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
    app.ExitInstance();
}
