#include <gtest/gtest.h>

#include "MidiInput.h"
#include "NoteKeys.h"
#include "OrderTableGeometry.h"
#include "PatternGeometry.h"

using namespace rix;

TEST(EditorGeometry, PointsMapToCellsAndTheOrderTableScrollsWithinItsRange)
{
    COrderTableGeometry order;
    order.SetClientHeight(560);
    EXPECT_EQ(order.CellAt({144, 21 + 14 * 5 + 13}), (TCell{7, 5}));
    EXPECT_EQ(CPatternGeometry::CellAt({344, 21 + 14 * 16 - 1}), (TCell{7, 15}));
    for (QPoint outside : {QPoint(32, 40), QPoint(145, 40), QPoint(50, 20)})
        EXPECT_FALSE(order.CellAt(outside));
    for (QPoint outside : {QPoint(24, 40), QPoint(345, 40), QPoint(40, 20), QPoint(40, 21 + 14 * 16)})
        EXPECT_FALSE(CPatternGeometry::CellAt(outside));
    EXPECT_EQ(CPatternGeometry::ClampedCellAt({400, -3}), (TCell{7, 0}));

    EXPECT_EQ(order.SetScrollPosition(99999), 3608 - 560);
    EXPECT_EQ(order.WheelTarget(120), 3608 - 560 - 56);
    EXPECT_EQ(order.ClampedCellAt({-5, 9000}), (TCell{0, 255}));
    order.BringIntoView(3);  // above the first visible row: becomes the top row
    EXPECT_EQ(order.ScrollPosition(), 3 * 14);
    EXPECT_EQ(order.CellAt({40, 21}), (TCell{0, 3}));
    order.BringIntoView(200);  // (560 - 34) / 14 = 37 rows visible
    EXPECT_EQ(order.ScrollPosition(), (200 - 37) * 14);
    order.BringIntoView(190);
    EXPECT_EQ(order.ScrollPosition(), (200 - 37) * 14);
}

TEST(EditorGeometry, NoteNamesNoteKeysAndMidiNotes)
{
    const std::pair<uint32_t, const char*> names[] = {{0, ""}, {1, "C-0"}, {2, "C#0"}, {13, "C-1"},
                                                      {58, "A-4"}, {113, "E-9"}, {255, "off"}};
    for (const auto& [value, name] : names)
        EXPECT_EQ(CPatternGeometry::NoteName(value), QString::fromLatin1(name)) << value;
    // X keycodes of a US keyboard's Z, M, Q, 2, P, the key left of Z, Caps Lock, A.
    const std::pair<uint32_t, int> places[] = {{52, 1}, {58, 12}, {24, 13}, {11, 14}, {33, 29},
                                               {94, CNoteKeys::STOP_NOTE}, {66, CNoteKeys::STOP_NOTE},
                                               {38, CNoteKeys::NO_NOTE}};
    for (const auto& [keycode, offset] : places)
        EXPECT_EQ(CNoteKeys::OffsetFromScanCode(keycode), offset) << keycode;
    const std::pair<int, uint32_t> midi[] = {{60, 49}, {12, 1}, {124, 113}, {11, 0}, {125, 0}};
    for (const auto& [note, value] : midi)
        EXPECT_EQ(CNoteKeys::CellFromMidiNote(note), value) << note;
    EXPECT_TRUE(CMidiInput::SamePort("Keys:Keys MIDI 1 24:0", "Keys:Keys MIDI 1 20:0"));
    EXPECT_FALSE(CMidiInput::SamePort("Keys:Keys MIDI 1 24:0", "Keys:Keys MIDI 2 24:0"));
}
