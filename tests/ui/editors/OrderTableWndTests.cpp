#include <functional>

#include "ArrangementFixture.h"

using namespace rix;

namespace {

// Channels 2 and 3 play 1..15 over and over.
void Column(CRixModuleData& data)
{
    for (uint32_t position = 0; position < 256; ++position)
        data.orderTable[1][position] = data.orderTable[2][position] = position % 15 + 1;
}

} // namespace

using COrderTableWndTest = CArrangementFixture;

TEST_F(COrderTableWndTest, Keys)
{
    const struct {
        const char* name;
        std::function<void(CRixModuleData&)> song;
        TCell start;  // channel, order position
        const char* keys;
        std::vector<std::array<uint32_t, 3>> entries;  // channel, position, value afterwards
        int32_t cursorPosition;
    } cases[] = {
        {"typing fills a column downwards", {}, {0, 0}, "1, 2, B", {{0, 0, 1}, {0, 1, 2}, {0, 2, 11}}, 3},
        {"+ stops at 15", [](CRixModuleData& d) { d.orderTable[4][3] = 14; }, {4, 3}, "+, +", {{4, 3, 15}}, 3},
        {"- stops at 0", [](CRixModuleData& d) { d.orderTable[4][3] = 1; }, {4, 3}, "-, -", {{4, 3, 0}}, 3},
        {"End on an empty table goes to 0", {}, {0, 40}, "End", {}, 0},
        {"End goes to the last used position", [](CRixModuleData& d) { d.orderTable[3][9] = 1; }, {0, 40}, "End",
         {}, 9},
        {"Delete on one cell empties it and advances", Column, {1, 4}, "Del", {{1, 4, 0}}, 5},
        {"Insert moves the cursor channel down", Column, {1, 4}, "Ins", {{1, 4, 0}, {1, 5, 5}, {2, 4, 5}}, 4},
        {"Backspace at 0 does nothing", Column, {1, 0}, "Backspace", {{1, 0, 1}}, 0},
        {"Shift+Backspace deletes a position", Column, {1, 4}, "Shift+Backspace", {{1, 3, 5}, {2, 3, 5}}, 3},
        {"Page Down moves 16 positions", {}, {0, 3}, "PgDown", {}, 19},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        EditSong([&](CRixModuleData& data) {
            data.Reset();
            if (test.song)
                test.song(data);
        });
        Controller().SelectChannel(test.start.channel);
        Controller().SetOrderPosition(test.start.row);
        const QKeySequence keys = QKeySequence::fromString(QString::fromLatin1(test.keys));
        for (int index = 0; index < keys.count(); ++index)
            QTest::keyClick(order, keys[index].key(), keys[index].keyboardModifiers());
        const CRixModuleData song = Song();
        for (const auto& [channel, position, value] : test.entries)
            EXPECT_EQ(song.orderTable[channel][position], value) << channel << "/" << position;
        EXPECT_EQ(Controller().GetCurrentOrder(), test.cursorPosition);
    }
}

TEST_F(COrderTableWndTest, FollowsThePlayingPositionAndReturnsToTheCursor)
{
    SendMessageTo(order, MSG_PLAYING_POSITION, 200 * 16 + 9, 0);
    EXPECT_EQ(order->PlayPosition(), 200);
    EXPECT_GT(order->Geometry().ScrollPosition(), 0);
    SendMessageTo(order, MSG_PLAYING_POSITION, NO_PLAYING_POSITION, 0);
    EXPECT_EQ(order->PlayPosition(), -1);
    EXPECT_EQ(order->Geometry().ScrollPosition(), 0);
    QTest::mouseClick(order, Qt::LeftButton, {}, OrderCell(5, 7));
    EXPECT_EQ(Controller().GetCurrentChannel(), 5);
    EXPECT_EQ(Controller().GetCurrentOrder(), 7);
    QWheelEvent wheel(QPointF(50, 100), order->mapToGlobal(QPointF(50, 100)), {}, {0, -120}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(order, &wheel);
    EXPECT_EQ(order->Geometry().ScrollPosition(), 56);
}
