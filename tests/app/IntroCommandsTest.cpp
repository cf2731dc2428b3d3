#include <QAction>
#include <QDir>
#include <QLabel>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>

#include "CommandIds.h"
#include "IntroCommands.h"
#include "RixExportSize.h"
#include "RixView.h"
#include "RixSongEvents.h"
#include "ShellFixture.h"
#include "SongSizeWnd.h"
#include "VerifyExportDlg.h"
#include "WavExportDlg.h"

namespace {

class IntroCommandsTest : public CShellFixture {
protected:
    void OpenDemo()
    {
        QString reason;
        ASSERT_TRUE(frame->Document().OnOpenDocument(QStringLiteral(SONRIX_SOURCE_DIR "/examples/demo.sonrix"), reason))
            << reason.toStdString();
    }
    void SetExact(bool exact) { frame->Action(rix::ID_EXPORT_EXACT)->setChecked(exact); }
    rix::TExportSize Measured(bool exact)
    {
        return ReadSong<rix::TExportSize>(
            [exact](const rix::CRixModuleData& song) { return rix::MeasureExportSize(song, exact); });
    }
    // The numbers of a status bar pane's text.
    std::vector<uint32_t> PaneNumbers(const char* pane)
    {
        std::vector<uint32_t> numbers;
        const QString text = frame->statusBar()->findChild<QLabel*>(QLatin1String(pane))->text();
        for (const QRegularExpressionMatch& match : QRegularExpression(QStringLiteral("\\d+")).globalMatch(text))
            numbers.push_back(match.captured().toUInt());
        return numbers;
    }
};

// The panel follows the form chosen and the song's edits, and its parts add
// up, raw and packed, to the total the status bar shows and an export has.
TEST_F(IntroCommandsTest, SongSizePanelAddsUpToTheExportedTotal)
{
    OpenDemo();
    frame->show();
    frame->Action(rix::ID_VIEW_SONG_SIZE)->trigger();
    rix::CSongSizeWnd& panel = frame->Intro().SongSize();
    ASSERT_TRUE(panel.isVisible());
    const auto* table = panel.findChild<QTableWidget*>(QStringLiteral("Breakdown"));
    const auto cell = [table](int row, int column) { return table->item(row, column)->text().toUInt(); };
    for (const bool exact : {false, true}) {
        SCOPED_TRACE(exact ? "exact" : "plain");
        SetExact(exact);
        for (const bool edited : {false, true}) {
            if (edited)
                EditSong([](rix::CRixModuleData& song) { song.patterns[5][2][3] = 70; });
            ASSERT_TRUE(QTest::qWaitFor([&] { return panel.HasBreakdown() && !panel.IsUpdating(); }, 10000));
            const rix::TExportSize total = Measured(exact);
            const int parts = static_cast<int>(panel.Shown().parts.size());
            ASSERT_EQ(table->rowCount(), parts + 3);
            uint32_t raw = 0;
            int32_t packed = 0;
            for (int row = 0; row < parts; ++row) {
                raw += cell(row, 1);
                packed += table->item(row, 2)->text().toInt();
            }
            EXPECT_EQ(raw, total.rawBytes);
            EXPECT_EQ(static_cast<uint32_t>(packed), total.compressedBytes);
            EXPECT_EQ(cell(parts, 1), total.rawBytes);
            EXPECT_EQ(cell(parts, 2), total.compressedBytes);
            EXPECT_EQ(cell(parts + 2, 2), total.compressedBytes + cell(parts + 1, 2));
            const std::vector<uint32_t> meter{total.rawBytes, total.compressedBytes};
            EXPECT_TRUE(QTest::qWaitFor([&] { return PaneNumbers("Intro size") == meter; }, 2000));
        }
    }
}

// Verify shows the report of the form chosen, its verdict on top: the demo's
// detuned pad differs in the plain tables, the exact ones are identical.
TEST_F(IntroCommandsTest, VerifyShowsTheReportOfTheFormChosen)
{
    OpenDemo();
    for (const auto& [exact, verdict] : {std::pair{false, "Differs"}, std::pair{true, "Identical"}}) {
        rix::CVerifyExportDlg dialog(frame.get(), Controller(), QStringLiteral("demo"), exact);
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.IsFinished(); }, 20000));
        EXPECT_TRUE(dialog.Report().startsWith(QStringLiteral("demo: 24.96 s"))) << dialog.Report().toStdString();
        EXPECT_TRUE(dialog.findChild<QLabel*>(QStringLiteral("Verdict"))->text().startsWith(QLatin1String(verdict)))
            << dialog.Report().toStdString();
    }
}

// The toolbar's A/B switch plays the intro's render while the song plays,
// and the status bar says how it compares: a channel 10 cents sharp
// differs in the plain tables.
TEST_F(IntroCommandsTest, HearTheIntroSaysHowItCompares)
{
    EditSong([](rix::CRixModuleData& song) {
        for (int position = 0; position < 8; ++position)
            song.orderTable[0][position] = 1;
        for (uint32_t row = 0; row < 16; row += 4)
            song.patterns[0][1][row] = 49 + row;
        song.channels[0].oscillators[0].pitch = 10;
    });
    frame->Action(rix::ID_HEAR_INTRO)->setChecked(true);
    EXPECT_TRUE(Controller().IntroRender().IsEnabled());
    const auto* pane = frame->statusBar()->findChild<QLabel*>(QStringLiteral("Intro render"));
    Controller().PlaySong();
    const QRegularExpression expected(
        QStringLiteral(R"(^Intro render: differs by up to \d+ \(-\d+\.\d dBFS\) at 0:\d\d\.\d\d)"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return expected.match(pane->text()).hasMatch(); }, 20000))
        << pane->text().toStdString();
    Controller().Stop();
    frame->Action(rix::ID_HEAR_INTRO)->setChecked(false);
    EXPECT_FALSE(Controller().IntroRender().IsEnabled());
}

// One file per channel: each channel that plays, named as the command-line
// tool names its stems, under one progress bar.
TEST_F(IntroCommandsTest, WavExportWritesOneFilePerChannel)
{
    EditSong([](rix::CRixModuleData& song) {
        for (const int channel : {1, 4}) {
            song.orderTable[channel][0] = 1;
            song.patterns[channel][1][0] = 50;
        }
    });
    const QStringList expected = ReadSong<QStringList>([](const rix::CRixModuleData& song) {
        return QStringList{QString::fromStdString(rix::StemFileName(song, 1)),
                           QString::fromStdString(rix::StemFileName(song, 4))};
    });
    const auto dialog = rix::CWavExportDlg::ForStems(&frame->View(), Controller().GetSongModule(), Path(""), 2);
    dialog->exec();
    EXPECT_TRUE(dialog->Completed());
    EXPECT_EQ(QDir(Path("")).entryList({QStringLiteral("*.wav")}, QDir::Files, QDir::Name), expected);
    const auto result = AnswerNextMessageBox(QMessageBox::Ok);
    dialog->ShowResult();
    EXPECT_TRUE(result->contains(QStringLiteral("2 files in"))) << result->toStdString();
}

} // namespace
