// A seeded storm of keys, clicks, drags, clipboard commands, undo and redo on
// both windows, checking after every step what must always hold.
#include <random>

#include "ArrangementFixture.h"

using namespace rix;

namespace {

constexpr int kActionsPerSeed = 250;

const int kPatternKeys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End, Qt::Key_F1,
                            Qt::Key_F8, Qt::Key_F5, Qt::Key_Delete, Qt::Key_Insert, Qt::Key_Backspace, Qt::Key_CapsLock,
                            Qt::Key_Z, Qt::Key_P, Qt::Key_Q, Qt::Key_M, Qt::Key_2, Qt::Key_Plus, Qt::Key_Minus};
const int kOrderKeys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right, Qt::Key_PageUp, Qt::Key_PageDown,
                          Qt::Key_Home, Qt::Key_End, Qt::Key_Delete, Qt::Key_Insert, Qt::Key_Backspace, Qt::Key_1,
                          Qt::Key_F, Qt::Key_0, Qt::Key_Plus, Qt::Key_Minus};

} // namespace

class CRandomEditingTest : public CArrangementFixture, public ::testing::WithParamInterface<int> {};

TEST_P(CRandomEditingTest, KeepsItsInvariantsAndUndoesToTheStart)
{
    std::mt19937 random(GetParam());
    const auto pick = [&](int count) { return int(random() % unsigned(count)); };
    EditSong([&](CRixModuleData& data) {
        for (int cell = 0; cell < 40; ++cell)
            data.orderTable[pick(8)][pick(20)] = 1 + pick(15);
        for (int number = 1; number < 16; ++number)
            data.patterns[6][number][pick(16)] = 1 + pick(113);  // no room in channel 7
    });
    const CRixModuleData first = Song();

    for (int action = 0; action < kActionsPerSeed; ++action) {
        const Qt::KeyboardModifiers modifiers = pick(4) == 0 ? Qt::ShiftModifier : Qt::NoModifier;
        switch (pick(7)) {
        case 0: QTest::keyClick(pattern, Qt::Key(kPatternKeys[pick(std::size(kPatternKeys))]), modifiers); break;
        case 1: QTest::keyClick(order, Qt::Key(kOrderKeys[pick(std::size(kOrderKeys))]), modifiers); break;
        case 2: Drag(pattern, PatternCell(pick(8), pick(16)), PatternCell(pick(9) - 1, pick(18) - 1)); break;
        case 3: Drag(order, OrderCell(pick(8), pick(38)), OrderCell(pick(9) - 1, pick(40) - 1)); break;
        case 4: {
            IClipboardTarget* target = pick(2) ? static_cast<IClipboardTarget*>(pattern) : order;
            const int command = pick(3);
            command == 0 ? target->Cut() : command == 1 ? target->Copy() : target->Paste();
            break;
        }
        case 5: Editor().Undo(); break;
        default: Editor().Redo(); break;
        }
        const CRixModuleData song = Song();
        const TCell cursor{Controller().GetCurrentChannel(), Controller().GetCurrentRow()};
        ASSERT_TRUE(cursor.channel >= 0 && cursor.channel < 8 && cursor.row >= 0 && cursor.row < 16) << action;
        ASSERT_TRUE(Controller().GetCurrentOrder() >= 0 && Controller().GetCurrentOrder() < 256) << action;
        for (int channel = 0; channel < 8; ++channel) {
            for (int row = 0; row < 16; ++row)
                ASSERT_EQ(song.patterns[channel][0][row], 0u) << "pattern 0 written, action " << action;
            for (uint32_t entry : song.orderTable[channel])
                ASSERT_LE(entry, 15u) << action;
        }
        for (const CCellSelection* selection : {&pattern->Selection(), &order->Selection()})
            ASSERT_TRUE(selection->LowChannel() >= 0 && selection->HighChannel() < 8 && selection->LowRow() >= 0)
                << action;
    }

    while (Editor().CanRedo())
        Editor().Redo();
    const CRixModuleData last = Song();
    while (Editor().CanUndo())
        Editor().Undo();
    EXPECT_TRUE(Song() == first);
    while (Editor().CanRedo())
        Editor().Redo();
    EXPECT_TRUE(Song() == last);
}

INSTANTIATE_TEST_SUITE_P(Seeds, CRandomEditingTest, ::testing::Range(1, 11));
