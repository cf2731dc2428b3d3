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

TEST_F(CPatternWndTest, NoteKeysCountByPlaceNotByLayout)
{
    // AZERTY: the key at Q's place types "a", the one at Z's place "w".
    PressPlaced(pattern, 24, Qt::Key_A, "a");
    PressPlaced(pattern, 52, Qt::Key_W, "w");
    // QWERTZ: the key left of Z (Key_Less) stops the note.
    PressPlaced(pattern, 94, Qt::Key_Less, "<");
    const CRixModuleData song = Song();
    const uint32_t* cells = song.patterns[0][1];
    EXPECT_EQ(std::vector<uint32_t>(cells, cells + 3), (std::vector<uint32_t>{61, 49, 255}));
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

    // A paste reaching that channel is refused as a whole.
    Drag(pattern, PatternCell(1, 0), PatternCell(2, 0));
    pattern->Copy();
    Controller().SelectChannel(1);
    pattern->Paste();
    EXPECT_EQ(Song(), before);
    EXPECT_EQ(errors.last(), "No empty patterns available in channel 3.\nSelect existing channel first.");
}

TEST_F(CPatternWndTest, DraggingMovesTheBlockAndAClickOnlyMovesTheCursor)
{
    EditSong([](CRixModuleData& data) {
        data.orderTable[0][0] = 1;
        data.patterns[0][1][0] = 7, data.patterns[0][1][1] = 8, data.patterns[0][1][2] = 9;
    });
    Controller().SetRow(8);  // a press outside the selection selects
    Drag(pattern, PatternCell(0, 0), PatternCell(0, 1));
    const CRixModuleData before = Song();
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
