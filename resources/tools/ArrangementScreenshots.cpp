// Screenshots of the order table and the pattern editor for the
// documentation and for review: a small song, a block selected in the
// focused window and a playing row in both. Run on a real X server:
//   xvfb-run -a -s "-screen 0 1280x1024x24" sonrix_arrangement_screenshots OUTPUT_FOLDER
#include <QApplication>
#include <QDir>
#include <QTest>
#include <cstdio>
#include <memory>

#include "OrderTableWnd.h"
#include "PatternWnd.h"
#include "PlaybackController.h"
#include "RixModule.h"
#include "SongEditor.h"
#include "Theme.h"
#include "ToolSession.h"

namespace {

// Four channels over twelve order positions, a bass line, chords and a
// melody with stops.
void WriteSong(rix::CRixModuleData& data)
{
    for (uint32_t position = 0; position < 12; ++position) {
        data.orderTable[0][position] = 1 + position % 2;
        data.orderTable[1][position] = 1;
        data.orderTable[2][position] = position < 4 ? 0 : 1 + position / 4;
        data.orderTable[3][position] = position % 4 == 3 ? 2 : 1;
    }
    for (uint32_t row = 0; row < 16; row += 2)
        data.patterns[0][1][row] = 25 + (row % 8 == 0 ? 0 : 7);
    for (uint32_t row = 0; row < 16; row += 4)
        data.patterns[0][2][row] = 30;
    for (uint32_t row = 0; row < 16; row += 8)
        data.patterns[1][1][row] = 49, data.patterns[1][1][row + 6] = 255;
    const uint32_t melody[16] = {61, 0, 64, 0, 68, 0, 255, 0, 66, 0, 64, 63, 61, 0, 255, 0};
    for (uint32_t row = 0; row < 16; ++row)
        data.patterns[3][1][row] = melody[row], data.patterns[2][2][row] = row % 3 ? 0 : 73 + row;
}

bool Save(QWidget& window, const QDir& folder, const char* name)
{
    QTest::qWait(100);
    return window.grab().save(folder.filePath(QString::fromLatin1(name)));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: sonrix_arrangement_screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const CToolSession session;
    bool saved = true;
    {
        auto controller = std::make_unique<rix::CPlaybackController>();
        {
            rix::CRixModuleLock data(controller->GetSongModule(), nexilon::LOCKMODE_WRITE);
            WriteSong(*data);
        }
        rix::CSongEditor editor(*controller);
        QWidget view;
        view.resize(530, 570);
        auto* order = new rix::COrderTableWnd(editor, &view);
        order->setGeometry(0, 0, 165, 560);
        auto* pattern = new rix::CPatternWnd(editor, &view);
        pattern->setGeometry(164, 310, 356, 250);
        view.show();
        saved = QTest::qWaitForWindowExposed(&view);
        view.activateWindow();
        controller->SetOrderPosition(2);

        // The order table: positions 4..6 of channels 2..3 selected, position
        // 8 playing.
        order->setFocus();
        QTest::mousePress(order, Qt::LeftButton, {}, {33 + 14 * 1 + 7, 21 + 14 * 4 + 7});
        QTest::mouseMove(order, {33 + 14 * 2 + 7, 21 + 14 * 6 + 7});
        QTest::mouseRelease(order, Qt::LeftButton, {}, {33 + 14 * 2 + 7, 21 + 14 * 6 + 7});
        rix::SendMessageTo(order, rix::MSG_PLAYING_POSITION, 8 * 16, 0);
        saved = Save(*order, folder, "order-table.png") && saved;

        // The pattern editor: rows 8..11 of channels 1..2 selected, row 5
        // of position 2 playing, octave 4.
        rix::SendMessageTo(order, rix::MSG_PLAYING_POSITION, rix::NO_PLAYING_POSITION, 0);
        pattern->setFocus();
        QTest::keyClick(pattern, Qt::Key_F4);
        QTest::mousePress(pattern, Qt::LeftButton, {}, {25 + 40 * 1 + 20, 21 + 14 * 8 + 7});
        QTest::mouseMove(pattern, {25 + 40 * 2 + 20, 21 + 14 * 11 + 7});
        QTest::mouseRelease(pattern, Qt::LeftButton, {}, {25 + 40 * 2 + 20, 21 + 14 * 11 + 7});
        rix::SendMessageTo(pattern, rix::MSG_PLAYING_POSITION, 2 * 16 + 5, 0);
        saved = Save(*pattern, folder, "pattern-editor.png") && saved;
    }
    return saved ? 0 : 1;
}
