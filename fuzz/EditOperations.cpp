#include "EditOperations.h"

#include <cstdint>

#include "ArrangementEditor.h"
#include "InstrumentEditor.h"

namespace fuzzing {

namespace {

using rix::CArrangementEditor;
using rix::CSongEditor;
using A = CEditArguments;

// The lists of an instrument are short in the songs fuzzed; indexes reach
// a little past them.
constexpr int32_t kListIndexes = 12;

TEditResult Said(bool changed, rix::TEditStep step = rix::TEditStep::New)
{
    return {changed, step};
}

// A pattern operation that found a channel without room changed nothing;
// one that found room may still change nothing (the value was there).
TEditResult Placed(int32_t missing)
{
    if (missing != CArrangementEditor::kDone)
        return {false};
    return {};
}

int32_t Channel(A& a)
{
    return a.Index(rix::RIX_CHANNELS);
}

int32_t ChannelOrAll(A& a)
{
    return (a.Byte() & 1) != 0 ? CArrangementEditor::kAllChannels : Channel(a);
}

std::size_t ListIndex(A& a)
{
    return static_cast<std::size_t>(static_cast<uint32_t>(a.Index(kListIndexes)));
}

rix::TGrid Grid(A& a)
{
    return (a.Byte() & 1) != 0 ? rix::TGrid::OrderTable() : rix::TGrid::PatternsAt(a.Index(rix::RIX_ORDER_POSITIONS));
}

rix::TCell Cell(A& a, const rix::TGrid& grid)
{
    const int32_t channel = Channel(a);
    return {channel, a.Index(grid.Rows())};
}

// Both corners anywhere, so the end may lie before the anchor.
rix::CCellSelection Selection(A& a, const rix::TGrid& grid)
{
    rix::CCellSelection selection = rix::CCellSelection::On(Cell(a, grid));
    selection.SetEnd(Cell(a, grid));
    return selection;
}

// Sometimes short of cells, or of a size no selection has.
rix::TCellBlock Block(A& a)
{
    rix::TCellBlock block;
    block.width = a.Index(rix::RIX_CHANNELS + 1);
    block.height = a.Index(rix::RIX_ROWS + 1);
    const int count = a.Byte() % 40;
    for (int i = 0; i < count; ++i)
        block.cells.push_back(a.Byte());
    return block;
}

rix::TOscillatorRef Oscillator(A& a)
{
    const std::size_t index = ListIndex(a);
    return {index, (a.Byte() & 1) != 0};
}

rix::TRixEnvelope Envelope(A& a)
{
    rix::TRixEnvelope envelope;
    for (int32_t* field : {&envelope.minValue, &envelope.maxValue, &envelope.speed, &envelope.resetMode,
                           &envelope.phase, &envelope.keep, &envelope.sustain})
        *field = a.Value();
    const uint8_t flags = a.Byte();
    envelope.keepEnabled = (flags & 1) != 0;
    envelope.sustainEnabled = (flags & 2) != 0;
    return envelope;
}

rix::CInstrumentEditor& Instruments(CSongEditor& e)
{
    return e.Instruments();
}

const std::vector<TEditOperation> kOperations = {
    // The pattern editor's and the order table's, through the grid either
    // window shows.
    {"cell", [](CSongEditor& e, A& a) {
         const rix::TGrid grid = Grid(a);
         const rix::TCell cell = Cell(a, grid);
         const auto value = static_cast<uint32_t>((a.Byte() & 1) != 0 ? a.Value() : a.Byte());
         return Placed(e.Arrangement().SetCell(grid, cell.channel, cell.row, value));
     }},
    {"insert cell", [](CSongEditor& e, A& a) {
         const rix::TGrid grid = Grid(a);
         const int32_t channel = ChannelOrAll(a);
         return Said(e.Arrangement().InsertCell(grid, channel, a.Index(grid.Rows())));
     }},
    {"delete cell", [](CSongEditor& e, A& a) {
         const rix::TGrid grid = Grid(a);
         const int32_t channel = ChannelOrAll(a);
         return Said(e.Arrangement().DeleteCell(grid, channel, a.Index(grid.Rows())));
     }},
    {"clear block", [](CSongEditor& e, A& a) {
         const rix::TGrid grid = Grid(a);
         const rix::CCellSelection selection = Selection(a, grid);
         return Said(e.Arrangement().ClearBlock(grid, selection, (a.Byte() & 1) != 0 ? "Cut" : "Clear"));
     }},
    {"paste block", [](CSongEditor& e, A& a) {
         const rix::TGrid grid = Grid(a);
         const rix::TCellBlock block = Block(a);
         return Placed(e.Arrangement().PasteBlock(grid, block, Cell(a, grid)));
     }},
    {"move block", [](CSongEditor& e, A& a) {
         const rix::TGrid grid = Grid(a);
         const rix::CCellSelection selection = Selection(a, grid);
         return Placed(e.Arrangement().MoveBlock(grid, selection, Cell(a, grid)));
     }},
    {"step order entry", [](CSongEditor& e, A& a) {
         const int32_t channel = Channel(a);
         const int32_t position = a.Index(rix::RIX_ORDER_POSITIONS);
         return Said(e.Arrangement().StepOrderEntry(channel, position, a.Value()));
     }},
    // Volumes and tempo.
    {"channel volume", [](CSongEditor& e, A& a) {
         const int32_t channel = Channel(a);
         const int32_t volume = a.Value();
         const rix::TEditStep step = a.Step();
         return Said(e.SetChannelVolume(channel, volume, step), step);
     }},
    {"master volume", [](CSongEditor& e, A& a) {
         const int32_t volume = a.Value();
         const rix::TEditStep step = a.Step();
         return Said(e.SetMasterVolume(volume, step), step);
     }},
    {"tempo", [](CSongEditor& e, A& a) { return Said(e.SetTempo(a.Value())); }},
    {"tempo step", [](CSongEditor& e, A& a) {
         const int32_t delta = a.Value();
         const rix::TEditStep step = a.Step();
         return Said(e.StepTempo(delta, step), step);
     }},
    // The oscillator editor's.
    {"add oscillator", [](CSongEditor& e, A& a) { return Said(Instruments(e).AddOscillator(Channel(a))); }},
    {"clear oscillators", [](CSongEditor& e, A& a) { return Said(Instruments(e).ClearOscillators(Channel(a))); }},
    {"remove oscillator", [](CSongEditor& e, A& a) {
         const int32_t channel = Channel(a);
         return Said(Instruments(e).RemoveOscillator(channel, ListIndex(a)));
     }},
    {"swap oscillators", [](CSongEditor& e, A& a) {
         const int32_t channel = Channel(a);
         const std::size_t index = ListIndex(a);
         return Said(Instruments(e).SwapOscillators(channel, index, ListIndex(a)));
     }},
    {"duplicate oscillator", [](CSongEditor& e, A& a) {
         const int32_t channel = Channel(a);
         return Said(Instruments(e).DuplicateOscillator(channel, ListIndex(a)));
     }},
    {"frequency modulation", [](CSongEditor& e, A& a) {
         const int32_t channel = Channel(a);
         return Said(Instruments(e).ToggleTransition(channel, ListIndex(a)));
     }},
    {"transpose", [](CSongEditor& e, A& a) {
         const int32_t channel = Channel(a);
         return Said(Instruments(e).TransposeAll(channel, a.Value()));
     }},
    {"waveform", [](CSongEditor& e, A& a) {
         const int32_t channel = Channel(a);
         const rix::TOscillatorRef ref = Oscillator(a);
         return Said(Instruments(e).SetOscillatorType(channel, ref, a.Value()));
     }},
    {"pitch", [](CSongEditor& e, A& a) {
         const int32_t channel = Channel(a);
         const rix::TOscillatorRef ref = Oscillator(a);
         const int32_t cents = a.Value();
         const rix::TEditStep step = a.Step();
         return Said(Instruments(e).SetOscillatorPitch(channel, ref, cents, step), step);
     }},
    {"oscillator volume", [](CSongEditor& e, A& a) {
         const int32_t channel = Channel(a);
         const rix::TOscillatorRef ref = Oscillator(a);
         const int32_t volume = a.Value();
         const rix::TEditStep step = a.Step();
         return Said(Instruments(e).SetOscillatorVolume(channel, ref, volume, step), step);
     }},
    // The effect editor's.
    {"add effect", [](CSongEditor& e, A& a) {
         const int32_t channel = Channel(a);
         return Said(Instruments(e).AddEffect(channel, a.Index(8)));
     }},
    {"clear effects", [](CSongEditor& e, A& a) { return Said(Instruments(e).ClearEffects(Channel(a))); }},
    {"remove effect", [](CSongEditor& e, A& a) {
         const int32_t channel = Channel(a);
         return Said(Instruments(e).RemoveEffect(channel, ListIndex(a)));
     }},
    {"swap effects", [](CSongEditor& e, A& a) {
         const int32_t channel = Channel(a);
         const std::size_t index = ListIndex(a);
         return Said(Instruments(e).SwapEffects(channel, index, ListIndex(a)));
     }},
    {"duplicate effect", [](CSongEditor& e, A& a) {
         const int32_t channel = Channel(a);
         return Said(Instruments(e).DuplicateEffect(channel, ListIndex(a)));
     }},
    {"effect setting", [](CSongEditor& e, A& a) {
         const int32_t channel = Channel(a);
         const std::size_t index = ListIndex(a);
         const int field = a.Byte() % 4;
         const int32_t value = a.Value();
         const rix::TEditStep step = a.Step();
         return Said(Instruments(e).SetEffectParameter(channel, index, field, value, step), step);
     }},
    // The envelope editor's, on any envelope of the song (or none).
    {"envelope", [](CSongEditor& e, A& a) {
         rix::TEnvelopeAddress address;
         address.channel = Channel(a);
         address.list = static_cast<rix::TEnvelopeAddress::TList>(a.Byte() % 4);
         address.index = ListIndex(a);
         address.which = a.Index(3);
         const rix::TRixEnvelope envelope = Envelope(a);
         const rix::TEditStep step = a.Step();
         return Said(Instruments(e).SetEnvelope(address, envelope, step), step);
     }},
    // Whole instruments: copied between channels, or loaded (one of the
    // song's own, its volume changed).
    {"copy instrument", [](CSongEditor& e, A& a) {
         const int32_t from = Channel(a);
         return Said(Instruments(e).CopyInstrument(from, Channel(a)));
     }},
    {"load instrument", [](CSongEditor& e, A& a) {
         const int32_t channel = Channel(a);
         rix::CRixModuleChannel instrument = Instruments(e).ReadChannel(Channel(a));
         instrument.volume = a.Value();
         return Said(Instruments(e).LoadInstrument(channel, instrument));
     }},
};

} // namespace

const std::vector<TEditOperation>& EditOperations()
{
    return kOperations;
}

rix::CRixModuleData BuiltInSong()
{
    rix::CRixModuleData song;
    song.orderTable[0][0] = 1, song.orderTable[0][1] = 2, song.orderTable[0][2] = 1;
    song.orderTable[1][0] = 1, song.orderTable[3][0] = 3;
    for (uint32_t row = 0; row < 4; ++row)
        song.patterns[0][1][row] = 49 + row;
    song.patterns[0][2][0] = 61, song.patterns[1][1][4] = 37, song.patterns[3][3][0] = 13;
    rix::CRixModuleChannel& two = song.channels[2];
    two.volume = 90;
    two.AddOscillator();
    two.oscillators[0].transition = true;
    two.oscillators[1].pitch = 700;
    two.effects = {rix::TRixEffect::OfType(rix::RIXEFFECT_DELAY), rix::TRixEffect::OfType(rix::RIXEFFECT_RESONANCE)};
    return song;
}

} // namespace fuzzing
