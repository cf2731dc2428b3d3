#include <QContextMenuEvent>
#include <functional>

#include "ArrangementFixture.h"

using namespace rix;

namespace {

// Channel 1 plays pattern 1 and channel 4 pattern 2, both holding 1..16.
void TwoChannels(CRixModuleData& data)
{
    data.orderTable[0][0] = 1, data.orderTable[3][0] = 2;
    for (uint32_t row = 0; row < 16; ++row)
        data.patterns[0][1][row] = data.patterns[3][2][row] = row + 1;
}

} // namespace

using CPatternWndTest = CArrangementFixture;

TEST_F(CPatternWndTest, Keys)
{
    const struct {
        const char* name;
        std::function<void(CRixModuleData&)> song;
        int32_t startRow;
        const char* keys;
        std::vector<std::array<uint32_t, 4>> cells;  // channel, pattern, row, value afterwards
        int32_t cursorRow;
    } cases[] = {
        {"octave 8, P is E-9", {}, 0, "F8, P", {{0, 1, 0, 113}}, 1},
        {"octave 1, Z is C-0", {}, 0, "F1, Z", {{0, 1, 0, 1}}, 1},
        {"a note on row 15 stays there", {}, 15, "F5, Q", {{0, 1, 15, 61}}, 15},
        {"the first empty pattern is placed, used elsewhere or not",
         [](CRixModuleData& d) { d.patterns[0][1][3] = 5, d.orderTable[0][9] = 2; }, 0, "Z", {{0, 2, 0, 49}}, 1},
        {"Caps Lock enters the stop note", TwoChannels, 2, "CapsLock", {{0, 1, 2, 255}}, 3},
        {"Delete on one cell empties it and advances", TwoChannels, 2, "Del", {{0, 1, 2, 0}}, 3},
        {"Backspace on row 0 does nothing", TwoChannels, 0, "Backspace", {{0, 1, 0, 1}}, 0},
        {"Backspace on row 5 deletes row 4", TwoChannels, 5, "Backspace", {{0, 1, 4, 6}, {3, 2, 4, 5}}, 4},
        {"Insert moves the cursor channel's rows down", TwoChannels, 3, "Ins", {{0, 1, 4, 4}, {3, 2, 3, 4}}, 3},
        {"Shift+Insert on row 15 clears row 15 only", TwoChannels, 15, "Shift+Ins",
         {{0, 1, 15, 0}, {3, 2, 15, 0}, {0, 1, 14, 15}}, 15},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        EditSong([&](CRixModuleData& data) {
            data.Reset();
            if (test.song)
                test.song(data);
        });
        Controller().SetRow(test.startRow);
        const QKeySequence keys = QKeySequence::fromString(QString::fromLatin1(test.keys));
        for (int index = 0; index < keys.count(); ++index)
            QTest::keyClick(pattern, keys[index].key(), keys[index].keyboardModifiers());
        const CRixModuleData song = Song();
        for (const auto& [channel, number, row, value] : test.cells)
            EXPECT_EQ(song.patterns[channel][number][row], value) << channel << "/" << number << "/" << row;
        EXPECT_EQ(Controller().GetCurrentRow(), test.cursorRow);
        EXPECT_TRUE(errors.isEmpty());
    }
}

TEST_F(CPatternWndTest, NoEmptyPatternLeavesTheCellAndSaysSo)
{
    EditSong([](CRixModuleData& data) {
        for (uint32_t number = 1; number < 16; ++number)
            data.patterns[2][number][0] = 1;
    });
    Controller().SelectChannel(2);
    const CRixModuleData before = Song();
    QTest::keyClick(pattern, Qt::Key_Z);
    EXPECT_EQ(Song(), before);
    EXPECT_EQ(errors, QStringList{"No empty pattern available.\nSelect pattern to edit with + and - keys."});

    // A paste that puts a note into that channel is refused as a whole.
    EditSong([](CRixModuleData& data) { data.orderTable[1][0] = 1, data.patterns[1][1][0] = 5; });
    const CRixModuleData withNote = Song();
    Drag(pattern, PatternCell(1, 0), PatternCell(2, 0));
    pattern->Copy();
    Controller().SelectChannel(2);
    pattern->Paste();
    EXPECT_EQ(Song(), withNote);
    EXPECT_EQ(errors.last(), "No empty patterns available in channel 3.\nSelect existing channel first.");
}

TEST_F(CPatternWndTest, DraggingMovesTheBlockAndAClickOnlyMovesTheCursor)
{
    EditSong([](CRixModuleData& data) {
        data.orderTable[0][0] = 1;
        data.patterns[0][1][0] = 7, data.patterns[0][1][1] = 8, data.patterns[0][1][2] = 9;
    });
    // A press on the one-cell selection (the cursor cell) selects, as one
    // outside the selection does.
    Controller().SetRow(0);
    const CRixModuleData before = Song();
    Drag(pattern, PatternCell(0, 0), PatternCell(0, 1));
    EXPECT_EQ(Song(), before);
    EXPECT_EQ(pattern->Selection().Height(), 2);
    QTest::mouseClick(pattern, Qt::LeftButton, {}, PatternCell(0, 1));
    EXPECT_EQ(Song(), before);
    EXPECT_EQ(Controller().GetCurrentRow(), 1);
    EXPECT_TRUE(pattern->Selection().IsSingleCell());

    Drag(pattern, PatternCell(0, 0), PatternCell(0, 2));
    Drag(pattern, PatternCell(0, 0), PatternCell(0, 1));  // one row down, onto itself
    CRixModuleData song = Song();
    EXPECT_EQ(std::vector<uint32_t>(song.patterns[0][1], song.patterns[0][1] + 4), (std::vector<uint32_t>{0, 7, 8, 9}));
    EXPECT_EQ(pattern->Selection().Low(), (TCell{0, 1}));

    Drag(pattern, PatternCell(0, 1), PatternCell(1, 1));  // into a channel without a pattern
    song = Song();
    EXPECT_EQ(song.orderTable[1][0], 1u);
    EXPECT_EQ(song.patterns[1][1][3], 9u);
    EXPECT_EQ(song.patterns[0][1][3], 0u);
}

// Shift with the cursor keys draws the selection out from its anchor (the
// cursor moving with its end), Ctrl+A selects the whole grid, a plain move
// collapses it, in both windows.
TEST_F(CPatternWndTest, SelectionKeysInBothGrids)
{
    EditSong([](CRixModuleData& data) { data.orderTable[0][9] = 1; });  // a song of ten positions
    const struct {
        const char* window;
        TCell start;
        const char* keys;
        TCell low;
        int32_t width, height;
        TCell cursor;
    } cases[] = {
        {"pattern", {1, 2}, "Shift+Down, Shift+Down, Shift+Right", {1, 2}, 2, 3, {2, 4}},
        {"pattern", {1, 2}, "Shift+Down, Shift+Up, Shift+Up, Shift+Left", {0, 1}, 2, 2, {0, 1}},
        {"pattern", {1, 5}, "Shift+PgUp", {1, 0}, 1, 6, {1, 0}},
        {"pattern", {0, 3}, "Shift+PgDown", {0, 3}, 1, 13, {0, 15}},
        {"pattern", {4, 4}, "Ctrl+A", {0, 0}, 8, 16, {4, 4}},
        {"pattern", {4, 4}, "Shift+Down, Down", {4, 6}, 1, 1, {4, 6}},
        {"order table", {2, 3}, "Shift+PgDown, Shift+Left", {1, 3}, 2, 17, {1, 19}},
        {"order table", {2, 3}, "Ctrl+A", {0, 0}, 8, 10, {2, 3}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(std::string(test.window) + " " + test.keys);
        CGridWnd* grid = test.window == std::string("pattern") ? static_cast<CGridWnd*>(pattern) : order;
        grid->setFocus();
        Controller().SetOrderPosition(0);
        Controller().SelectChannel(test.start.channel + 1);  // a cursor move collapses the last selection
        Controller().SelectChannel(test.start.channel);
        (grid == pattern ? Controller().SetRow(test.start.row) : Controller().SetOrderPosition(test.start.row));
        const QKeySequence keys = QKeySequence::fromString(QString::fromLatin1(test.keys));
        for (int index = 0; index < keys.count(); ++index)
            QTest::keyClick(grid, keys[index].key(), keys[index].keyboardModifiers());
        const CCellSelection& selection = grid->Selection();
        EXPECT_EQ(selection.Low(), test.low);
        EXPECT_EQ(std::pair(selection.Width(), selection.Height()), std::pair(test.width, test.height));
        const int32_t cursorRow = grid == pattern ? Controller().GetCurrentRow() : Controller().GetCurrentOrder();
        EXPECT_EQ((TCell{Controller().GetCurrentChannel(), cursorRow}), test.cursor);
    }
}

// With nothing selected the clipboard takes the cursor cell; an empty cell
// pasted where no pattern is places none.
TEST_F(CPatternWndTest, ClipboardWithNothingSelectedTakesTheCursorCell)
{
    EditSong([](CRixModuleData& data) { data.orderTable[0][0] = 1, data.patterns[0][1][2] = 30; });
    Controller().SetRow(2);
    pattern->Copy();
    Controller().SetRow(5);
    pattern->Paste();
    Controller().SelectChannel(3);
    pattern->Copy();
    Controller().SelectChannel(4);
    pattern->Paste();
    const CRixModuleData song = Song();
    EXPECT_EQ(song.patterns[0][1][5], 30u);
    EXPECT_EQ(song.orderTable[4][0], 0u);
}

// A right click moves the cursor onto a cell outside the selection and
// asks for the Edit menu there; one inside the selection keeps it.
TEST_F(CPatternWndTest, RightClickAsksForTheEditMenu)
{
    std::vector<QPoint> asked;
    QObject::connect(pattern, &CGridWnd::EditMenuWanted, [&](QPoint at) { asked.push_back(at); });
    Drag(pattern, PatternCell(0, 0), PatternCell(1, 1));
    for (const auto& [cell, low] : {std::pair{PatternCell(1, 1), TCell{0, 0}}, {PatternCell(3, 6), TCell{3, 6}}}) {
        QContextMenuEvent menu(QContextMenuEvent::Mouse, cell, pattern->mapToGlobal(cell));
        QApplication::sendEvent(pattern, &menu);
        EXPECT_EQ(pattern->Selection().Low(), low);
    }
    EXPECT_EQ(asked, (std::vector<QPoint>{pattern->mapToGlobal(PatternCell(1, 1)), pattern->mapToGlobal(PatternCell(3, 6))}));
    EXPECT_EQ(Controller().GetCurrentRow(), 6);
}

// Following playback, the pattern editor shows the playing patterns; not
// following, those at the cursor's order position, marking the playing row
// only when they are the ones playing; the order table stays where it is.
TEST_F(CPatternWndTest, FollowOffKeepsBothWindowsWhereTheCursorIs)
{
    Controller().SetOrderPosition(2);
    SendMessageTo(pattern, MSG_PLAYING_POSITION, 5 * 16 + 3, 0);
    EXPECT_EQ(std::pair(pattern->ShownOrder(), pattern->PlayRow()), std::pair(5, 3));
    for (CGridWnd* grid : {static_cast<CGridWnd*>(pattern), static_cast<CGridWnd*>(order)})
        grid->SetFollowPlayback(false);
    EXPECT_EQ(std::pair(pattern->ShownOrder(), pattern->PlayRow()), std::pair(2, -1));
    SendMessageTo(pattern, MSG_PLAYING_POSITION, 2 * 16 + 4, 0);
    EXPECT_EQ(std::pair(pattern->ShownOrder(), pattern->PlayRow()), std::pair(2, 4));
    SendMessageTo(order, MSG_PLAYING_POSITION, 200 * 16, 0);
    EXPECT_EQ(order->PlayPosition(), 200);
    EXPECT_EQ(order->Geometry().ScrollPosition(), 0);
}

TEST_F(CPatternWndTest, WhilePlayingBothWindowsFollowThePlaybackButNotesGoToTheCursor)
{
    EditSong([](CRixModuleData& data) {
        for (uint32_t position = 0; position < 10; ++position)
            data.orderTable[1][position] = 1;
    });
    Controller().SetOrderPosition(5);
    Controller().PlaySong();
    QTRY_VERIFY(pattern->PlayOrder() >= 5 && pattern->PlayRow() >= 0);
    QTRY_VERIFY(order->PlayPosition() >= 5);
    Controller().SetOrderPosition(2);
    QTest::keyClick(pattern, Qt::Key_Z);
    EXPECT_GE(pattern->PlayOrder(), 5);
    const CRixModuleData song = Song();
    EXPECT_EQ(song.orderTable[0][2], 1u);
    EXPECT_EQ(song.patterns[0][1][0], 49u);
    Controller().Stop();
    QTRY_COMPARE(pattern->PlayRow(), -1);
    QTRY_COMPARE(order->PlayPosition(), -1);
    EXPECT_EQ(pattern->PlayOrder(), -1);
}
