// Every operation of the edit layer, without windows: applied, undone and
// done again, each time the song is exactly the expected one, the listeners
// heard exactly the data that changed, and the undo step has the
// operation's name and puts the cursor back.
#include <functional>

#include "ArrangementEditor.h"
#include "EditTestSupport.h"
#include "InstrumentEditor.h"

namespace rix {
namespace {

using edittest::Channels;
constexpr int32_t kAll = CArrangementEditor::kAllChannels;

// Channel 0 plays patterns 1, 2, 1 (notes 49..52 in pattern 1), channel 1
// and channel 3 one pattern each at position 0; channel 2 has two
// oscillators (the first with frequency modulation), a delay and a
// resonance, at volume 90.
CRixModuleData BaseSong()
{
    CRixModuleData song;
    song.orderTable[0][0] = 1, song.orderTable[0][1] = 2, song.orderTable[0][2] = 1;
    song.orderTable[1][0] = 1, song.orderTable[3][0] = 3;
    for (uint32_t row = 0; row < 4; ++row)
        song.patterns[0][1][row] = 49 + row;
    song.patterns[0][2][0] = 61, song.patterns[1][1][4] = 37, song.patterns[3][3][0] = 13;
    CRixModuleChannel& two = song.channels[2];
    two.volume = 90;
    two.AddOscillator();
    two.oscillators[0].transition = true;
    two.oscillators[1].pitch = 700;
    two.effects = {TRixEffect::OfType(RIXEFFECT_DELAY), TRixEffect::OfType(RIXEFFECT_RESONANCE)};
    return song;
}

struct TOperation {
    const char* name;  // the undo step's
    std::function<bool(CSongEditor&)> apply;
    std::function<void(CRixModuleData&)> expect;
    TSongChange change;
};

bool Done(int32_t missingChannel)
{
    return missingChannel == CArrangementEditor::kDone;
}

CCellSelection Block(TCell low, int32_t width, int32_t height)
{
    CCellSelection selection;
    selection.SetBlock(low, width, height);
    return selection;
}

const TOperation kOperations[] = {
    // The pattern editor's.
    {"Note", [](CSongEditor& e) { return Done(e.Arrangement().EnterValue(2, 0, 5, 49)); },
     [](CRixModuleData& s) { s.orderTable[2][0] = 1, s.patterns[2][1][5] = 49; },
     {SONG_ORDER_TABLE | SONG_PATTERNS, Channels(2)}},
    {"Note Stop", [](CSongEditor& e) { return Done(e.Arrangement().EnterValue(0, 0, 1, RIX_NOTE_STOP)); },
     [](CRixModuleData& s) { s.patterns[0][1][1] = RIX_NOTE_STOP; }, {SONG_PATTERNS, Channels(0)}},
    {"Delete", [](CSongEditor& e) { return Done(e.Arrangement().EnterValue(0, 2, 0, 0)); },
     [](CRixModuleData& s) { s.patterns[0][1][0] = 0; }, {SONG_PATTERNS, Channels(0)}},
    {"Insert Row", [](CSongEditor& e) { return e.Arrangement().InsertRow(0, 0, 1); },
     [](CRixModuleData& s) { s.InsertRow(0, 1, 1); }, {SONG_PATTERNS, Channels(0)}},
    {"Delete Row", [](CSongEditor& e) { return e.Arrangement().DeleteRow(kAll, 0, 0); },
     [](CRixModuleData& s) { s.DeleteRow(0, 1, 0), s.DeleteRow(1, 1, 0), s.DeleteRow(3, 3, 0); },
     {SONG_PATTERNS, Channels(0, 1, 3)}},
    // Channel 1's rows 0..3 are empty already: only channel 0 changes.
    {"Clear", [](CSongEditor& e) { return e.Arrangement().ClearPatternBlock(0, Block({0, 0}, 2, 4), "Clear"); },
     [](CRixModuleData& s) { std::fill_n(s.patterns[0][1], 4, 0u); }, {SONG_PATTERNS, Channels(0)}},
    // Cells past channel 7 and row 15 are dropped.
    {"Paste", [](CSongEditor& e) { return Done(e.Arrangement().PastePatternBlock(0, {2, 2, {1, 2, 3, 4}}, {7, 15})); },
     [](CRixModuleData& s) { s.orderTable[7][0] = 1, s.patterns[7][1][15] = 1; }, {SONG_ORDER_TABLE | SONG_PATTERNS, Channels(7)}},
    {"Paste", [](CSongEditor& e) { return Done(e.Arrangement().PastePatternBlock(0, {2, 1, {7, 8}}, {4, 2})); },
     [](CRixModuleData& s) { s.orderTable[4][0] = s.orderTable[5][0] = 1, s.patterns[4][1][2] = 7, s.patterns[5][1][2] = 8; },
     {SONG_ORDER_TABLE | SONG_PATTERNS, Channels(4, 5)}},
    {"Move", [](CSongEditor& e) { return Done(e.Arrangement().MovePatternBlock(0, Block({0, 0}, 1, 2), {0, 2})); },
     [](CRixModuleData& s) { s.patterns[0][1][0] = s.patterns[0][1][1] = 0, s.patterns[0][1][2] = 49, s.patterns[0][1][3] = 50; },
     {SONG_PATTERNS, Channels(0)}},
    // The order table's.
    {"Pattern Number", [](CSongEditor& e) { return e.Arrangement().SetOrderEntry(5, 10, 7); },
     [](CRixModuleData& s) { s.orderTable[5][10] = 7; }, {SONG_ORDER_TABLE, Channels(5)}},
    {"Pattern Number", [](CSongEditor& e) { return e.Arrangement().StepOrderEntry(0, 1, 1); },
     [](CRixModuleData& s) { s.orderTable[0][1] = 3; }, {SONG_ORDER_TABLE, Channels(0)}},
    {"Insert Entry", [](CSongEditor& e) { return e.Arrangement().InsertOrderEntry(0, 1); },
     [](CRixModuleData& s) { s.orderTable[0][1] = 0, s.orderTable[0][2] = 2, s.orderTable[0][3] = 1; },
     {SONG_ORDER_TABLE, Channels(0)}},
    {"Delete Entry", [](CSongEditor& e) { return e.Arrangement().DeleteOrderEntry(3, 0); },
     [](CRixModuleData& s) { s.orderTable[3][0] = 0; }, {SONG_ORDER_TABLE, Channels(3)}},
    {"Insert Position", [](CSongEditor& e) { return e.Arrangement().InsertOrderEntry(kAll, 0); },
     [](CRixModuleData& s) { s.InsertOrderPosition(0); }, {SONG_ORDER_TABLE, Channels(0, 1, 3)}},
    {"Delete Position", [](CSongEditor& e) { return e.Arrangement().DeleteOrderEntry(kAll, 0); },
     [](CRixModuleData& s) { s.DeleteOrderPosition(0); }, {SONG_ORDER_TABLE, Channels(0, 1, 3)}},
    {"Cut", [](CSongEditor& e) { return e.Arrangement().ClearOrderBlock(Block({0, 0}, 1, 2), "Cut"); },
     [](CRixModuleData& s) { s.orderTable[0][0] = s.orderTable[0][1] = 0; }, {SONG_ORDER_TABLE, Channels(0)}},
    // Only position 255 of the two lies in the table.
    {"Paste", [](CSongEditor& e) { return e.Arrangement().PasteOrderBlock({1, 2, {4, 5}}, {7, 255}); },
     [](CRixModuleData& s) { s.orderTable[7][255] = 4; }, {SONG_ORDER_TABLE, Channels(7)}},
    // Onto an overlapping place: the whole block is read before it is written.
    {"Move", [](CSongEditor& e) { return e.Arrangement().MoveOrderBlock(Block({0, 0}, 2, 3), {1, 1}); },
     [](CRixModuleData& s) {
         s.orderTable[0][0] = s.orderTable[0][1] = s.orderTable[0][2] = 0;
         s.orderTable[1][0] = 0, s.orderTable[1][1] = 1, s.orderTable[1][2] = 2, s.orderTable[1][3] = 1;
         s.orderTable[2][1] = 1;
     },
     {SONG_ORDER_TABLE, Channels(0, 1, 2)}},
    // Volumes and tempo.
    {"Channel Volume", [](CSongEditor& e) { return e.SetChannelVolume(2, 140); },
     [](CRixModuleData& s) { s.channels[2].volume = 140; }, {SONG_CHANNEL_VOLUME, Channels(2)}},
    {"Master Volume", [](CSongEditor& e) { return e.SetMasterVolume(300); },
     [](CRixModuleData& s) { s.masterVolume = 255; }, {SONG_MASTER_VOLUME, 0}},
    {"Tempo", [](CSongEditor& e) { return e.SetTempo(30); }, [](CRixModuleData& s) { s.bpm = 40; }, {SONG_TEMPO, 0}},
    {"Tempo", [](CSongEditor& e) { return e.StepTempo(1); }, [](CRixModuleData& s) { s.bpm = 121; }, {SONG_TEMPO, 0}},
    // The instrument editors' (channel 2).
    {"Add Oscillator", [](CSongEditor& e) { return e.Instruments().AddOscillator(2); },
     [](CRixModuleData& s) { s.channels[2].AddOscillator(); }, {SONG_INSTRUMENT, Channels(2)}},
    {"Delete Oscillators", [](CSongEditor& e) { return e.Instruments().ClearOscillators(2); },
     [](CRixModuleData& s) { s.channels[2].oscillators.clear(), s.channels[2].transitionOscillators.clear(); },
     {SONG_INSTRUMENT, Channels(2)}},
    {"Delete Oscillator", [](CSongEditor& e) { return e.Instruments().RemoveOscillator(2, 0); },
     [](CRixModuleData& s) { s.channels[2].RemoveOscillator(0); }, {SONG_INSTRUMENT, Channels(2)}},
    {"Move Oscillator", [](CSongEditor& e) { return e.Instruments().SwapOscillators(2, 0, 1); },
     [](CRixModuleData& s) { s.channels[2].MoveOscillator(0, 1); }, {SONG_INSTRUMENT, Channels(2)}},
    {"Copy Oscillator", [](CSongEditor& e) { return e.Instruments().DuplicateOscillator(2, 1); },
     [](CRixModuleData& s) { s.channels[2].AddOscillator(), s.channels[2].oscillators[2].pitch = 700; },
     {SONG_INSTRUMENT, Channels(2)}},
    {"Frequency Modulation", [](CSongEditor& e) { return e.Instruments().ToggleTransition(2, 0); },
     [](CRixModuleData& s) { s.channels[2].oscillators[0].transition = false; }, {SONG_INSTRUMENT, Channels(2)}},
    {"Transpose", [](CSongEditor& e) { return e.Instruments().TransposeAll(2, -1200); },
     [](CRixModuleData& s) {
         for (auto* list : {&s.channels[2].oscillators, &s.channels[2].transitionOscillators})
             for (TRixOscillator& oscillator : *list)
                 oscillator.pitch -= 1200;
     },
     {SONG_INSTRUMENT, Channels(2)}},
    {"Waveform", [](CSongEditor& e) { return e.Instruments().SetOscillatorType(2, {1, false}, RIXOSC_SAW); },
     [](CRixModuleData& s) { s.channels[2].oscillators[1].type = RIXOSC_SAW; }, {SONG_INSTRUMENT, Channels(2)}},
    {"Pitch", [](CSongEditor& e) { return e.Instruments().SetOscillatorPitch(2, {0, true}, 250); },
     [](CRixModuleData& s) { s.channels[2].transitionOscillators[0].pitch = 250; }, {SONG_INSTRUMENT, Channels(2)}},
    {"Oscillator Volume", [](CSongEditor& e) { return e.Instruments().SetOscillatorVolume(2, {1, false}, 30); },
     [](CRixModuleData& s) { s.channels[2].oscillators[1].volume = 30; }, {SONG_INSTRUMENT, Channels(2)}},
    {"Add Effect", [](CSongEditor& e) { return e.Instruments().AddEffect(2, RIXEFFECT_OVERDRIVE); },
     [](CRixModuleData& s) { s.channels[2].effects.push_back(TRixEffect::OfType(RIXEFFECT_OVERDRIVE)); },
     {SONG_INSTRUMENT, Channels(2)}},
    {"Delete Effects", [](CSongEditor& e) { return e.Instruments().ClearEffects(2); },
     [](CRixModuleData& s) { s.channels[2].effects.clear(); }, {SONG_INSTRUMENT, Channels(2)}},
    {"Delete Effect", [](CSongEditor& e) { return e.Instruments().RemoveEffect(2, 0); },
     [](CRixModuleData& s) { s.channels[2].effects.erase(s.channels[2].effects.begin()); },
     {SONG_INSTRUMENT, Channels(2)}},
    {"Move Effect", [](CSongEditor& e) { return e.Instruments().SwapEffects(2, 0, 1); },
     [](CRixModuleData& s) { std::swap(s.channels[2].effects[0], s.channels[2].effects[1]); },
     {SONG_INSTRUMENT, Channels(2)}},
    {"Copy Effect", [](CSongEditor& e) { return e.Instruments().DuplicateEffect(2, 1); },
     [](CRixModuleData& s) { s.channels[2].effects.push_back(s.channels[2].effects[1]); }, {SONG_INSTRUMENT, Channels(2)}},
    {"Resonance Amount", [](CSongEditor& e) { return e.Instruments().SetEffectParameter(2, 1, 2, 99); },
     [](CRixModuleData& s) { s.channels[2].effects[1].param2 = 99; }, {SONG_INSTRUMENT, Channels(2)}},
    {"Envelope",
     [](CSongEditor& e) { return e.Instruments().SetEnvelope({2, TEnvelopeAddress::EFFECTS, 1, 2}, {1, 2, 3, 0, 4, 5, 6, false, true}); },
     [](CRixModuleData& s) { s.channels[2].effects[1].envelope2 = {1, 2, 3, 0, 4, 5, 6, false, true}; },
     {SONG_INSTRUMENT, Channels(2)}},
    {"Envelope",
     [](CSongEditor& e) {
         return e.Instruments().SetEnvelope({2, TEnvelopeAddress::TRANSITION_OSCILLATORS, 0, 1}, TRixEnvelope::ChannelDefault());
     },
     [](CRixModuleData& s) { s.channels[2].transitionOscillators[0].transitionEnvelope = TRixEnvelope::ChannelDefault(); },
     {SONG_INSTRUMENT, Channels(2)}},
    {"Copy Instrument", [](CSongEditor& e) { return e.Instruments().CopyInstrument(2, 6); },
     [](CRixModuleData& s) { s.channels[6] = s.channels[2]; }, {SONG_INSTRUMENT | SONG_CHANNEL_VOLUME, Channels(6)}},
    {"Load Instrument", [](CSongEditor& e) { return e.Instruments().LoadInstrument(0, BaseSong().channels[2]); },
     [](CRixModuleData& s) { s.channels[0] = s.channels[2]; }, {SONG_INSTRUMENT | SONG_CHANNEL_VOLUME, Channels(0)}},
};

using EditOperations = edittest::CEditFixture;

TEST_F(EditOperations, ApplyUndoAndRedoEach)
{
    for (const TOperation& operation : kOperations) {
        SCOPED_TRACE(operation.name);
        const CRixModuleData before = BaseSong();
        CRixModuleData after = before;
        operation.expect(after);
        Load(before);
        controller->SelectChannel(1), controller->SetOrderPosition(3), controller->SetRow(5);

        log.heard.clear();
        ASSERT_TRUE(operation.apply(*editor));
        const auto step = [&](const char* what, const CRixModuleData& expected) {
            EXPECT_TRUE(Song() == expected) << what << " " << Difference(Song(), expected);
            ASSERT_EQ(log.heard.size(), 1u) << what;
            EXPECT_EQ(log.heard[0], operation.change) << what;
            log.heard.clear();
        };
        step("applied", after);
        EXPECT_EQ(editor->UndoName(), operation.name);

        controller->SelectChannel(7), controller->SetOrderPosition(9), controller->SetRow(11);
        EXPECT_EQ(editor->Undo(), operation.name);
        step("undone", before);
        // An arrangement step puts the whole cursor back, an instrument step
        // shows its channel; tempo and master volume leave it.
        const uint32_t arrangement = SONG_ORDER_TABLE | SONG_PATTERNS;
        const uint32_t channel = SONG_INSTRUMENT | SONG_CHANNEL_VOLUME;
        if (operation.change.data & arrangement)
            EXPECT_EQ((std::array{controller->GetCurrentChannel(), controller->GetCurrentOrder(), controller->GetCurrentRow()}),
                      (std::array{1, 3, 5}));
        else if (operation.change.data & channel)
            EXPECT_EQ(1u << controller->GetCurrentChannel(), operation.change.channels);
        else
            EXPECT_EQ(controller->GetCurrentChannel(), 7);

        EXPECT_EQ(editor->RedoName(), operation.name);
        EXPECT_EQ(editor->Redo(), operation.name);
        step("done again", after);
    }
}

// Operations that find no room for a pattern say which channel lacks it,
// and empty cells need none: both leave the song, the history and the
// listeners alone. (That every operation whose arguments name nothing
// there, or whose change is no change, does the same is the edit sequence
// fuzz target's check, replayed by ctest.)
TEST_F(EditOperations, PatternsPlacedWhereNoneFitsOrNoneIsNeededChangeNothing)
{
    CRixModuleData full = BaseSong();
    for (uint32_t pattern = 1; pattern < RIX_PATTERNS; ++pattern)
        full.patterns[6][pattern][0] = 1;  // channel 6 has no empty pattern
    Load(full);
    const std::pair<const char*, std::function<void(CSongEditor&)>> nothing[] = {
        {"no empty pattern for a note", [](CSongEditor& e) { EXPECT_EQ(e.Arrangement().EnterValue(6, 0, 0, 49), 6); }},
        {"nor for a paste", [](CSongEditor& e) { EXPECT_EQ(e.Arrangement().PastePatternBlock(0, {2, 1, {7, 8}}, {5, 0}), 6); }},
        {"empty cells pasted or dropped where no pattern is", [](CSongEditor& e) {
             EXPECT_TRUE(Done(e.Arrangement().PastePatternBlock(0, {1, 1, {0}}, {4, 0})));
             EXPECT_TRUE(Done(e.Arrangement().MovePatternBlock(0, Block({2, 0}, 1, 1), {4, 0})));
         }},
    };
    for (const auto& [name, operation] : nothing) {
        SCOPED_TRACE(name);
        operation(*editor);
        EXPECT_TRUE(Song() == full) << Difference(Song(), full);
    }
    EXPECT_TRUE(log.heard.empty());
    EXPECT_FALSE(editor->CanUndo());
}

} // namespace
} // namespace rix
