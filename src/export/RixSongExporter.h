#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>

#include "RixModuleData.h"
#include "RixSongTables.h"
#include "nexilon/Stream.h"

namespace rix {

// Turns a song into the C++ tables ("RixSongData.cpp") of the intro replay
// routine: a defines block, the order table, the used patterns, the merged
// envelope shapes with their running counters, the oscillators, the effects
// of the played channels and the channel settings.
//
// One exporter serves one export, on the caller's thread; the caller holds
// the module's read lock for the whole call. Export throws whatever the
// stream throws; text written before a failure stays in the stream. The
// tables are built first and the text printed from them, so the replay
// routine can play exactly what the text holds.
class CRixSongExporter {
public:
    // Effect types 0..5 have a form in the tables; Band-pass (6) and unknown
    // types are left out entirely: no row, no envelopes, no enable define.
    static constexpr int kExportedEffectTypes = 6;

    // Build, then Write: throws whatever the stream throws.
    void Export(const CRixModuleData& moduleData, nexilon::IOutputStream& stream, bool exact = false);
    // The tables the text holds, for the replay routine and the size figures.
    // The plain form, or with `exact` the form that plays every song as the
    // editor does: the plain tables themselves when they already do.
    TRixSongTables Build(const CRixModuleData& moduleData, bool exact = false);
    // The text of RixSongData.cpp, each block through its own writer.
    static void Write(const TRixSongTables& tables, nexilon::IOutputStream& stream);

    // The envelope's value at counter 0, in the player's 32-bit arithmetic
    // (/256 scale when minValue and maxValue are).
    static int32_t InitialValue(const TRixEnvelope& envelope);
    // keepEnabled with keep 0: the plain form holds the counter at 0, so the
    // value never moves. The player agrees unless the envelope runs
    // backwards or a note holds it at a sustain point below 0; the exact
    // form lets those run.
    static bool IsConstant(const TRixEnvelope& envelope) { return envelope.keepEnabled && envelope.keep == 0; }
    static bool IsExactConstant(const TRixEnvelope& envelope)
    {
        return IsConstant(envelope) && envelope.speed >= 0 && (!envelope.sustainEnabled || envelope.sustain >= 0);
    }
    // Whether the plain form's octave and fine tune give every note that
    // the song plays on each oscillator the player's step.
    static bool PlainPitchesExact(const CRixModuleData& moduleData);
    // A pitch in cents as the replay routine's octave (8 = the played note's
    // octave) and fine tune (0..255, 256 × 2^(cents within the octave / 1200) − 256).
    static int32_t PitchOctave(int32_t pitch);
    static int32_t PitchFine(int32_t pitch);

private:
    TRixSongTables BuildForm(const CRixModuleData& moduleData, bool exact);
    // Preparation passes, in the order Export runs them.
    void MarkUsedPatterns();
    void MarkUsedEffectTypes();
    void CollectEnvelopes();
    // listIndex: the envelope's place among those the player moves for the
    // channel (channel envelope 0, four per oscillator pair, two per effect).
    void VisitEnvelope(const TRixEnvelope& envelope, int channel, std::size_t listIndex);
    bool Constant(const TRixEnvelope& envelope) const;
    // The transition oscillator that the player pairs with a carrier.
    const TRixOscillator* TransitionOscillator(const CRixModuleChannel& channel, std::size_t index) const;
    int32_t ValueOf(const TRixEnvelope& envelope) const;
    // The played pattern number as the tables write it: entries above 15
    // play nothing, and the exact form moves a pattern 0 that holds notes
    // to a free number.
    uint32_t OrderEntry(int channel, int position) const;
    void AssignCounters();

    // The tables, from the passes' results.
    void BuildOrderTable(TRixSongTables& tables) const;
    void BuildPatterns(TRixSongTables& tables) const;
    void BuildEnvelopes(TRixSongTables& tables) const;
    void BuildCounters(TRixSongTables& tables) const;
    void BuildOscillators(TRixSongTables& tables) const;
    void BuildEffects(TRixSongTables& tables) const;
    void BuildChannels(TRixSongTables& tables) const;

    // Lookups of the three envelope maps; 0 for an envelope never visited.
    int ShapeIndexOf(const TRixEnvelope& envelope) const;
    int CounterIndexOf(const TRixEnvelope& envelope) const;
    int ChannelOf(const TRixEnvelope& envelope) const;

    const CRixModuleData* moduleData = nullptr;
    bool exactForm = false;

    int songLength = 0;
    int32_t rowLength = 0;

    // Keyed by the envelope's address inside the module: every envelope of
    // the song is its own key, whatever its contents.
    std::vector<const TRixEnvelope*> shapeList;
    std::vector<const TRixEnvelope*> counterList;
    std::vector<const TRixEnvelope*> visitedEnvelopes;
    std::unordered_map<const TRixEnvelope*, int> shapeIndex;
    std::unordered_map<const TRixEnvelope*, int> counterIndex;
    std::unordered_map<const TRixEnvelope*, int> envelopeChannel;
    // Content -> first position in shapeList, so the merge stays linear for
    // songs with very many envelopes; the result equals a search from the start.
    std::map<std::array<int32_t, 9>, int> shapeByContent;

    // Exact form: envelopes the player never moves (beyond its 256 per
    // channel), held at 256.
    std::unordered_map<const TRixEnvelope*, bool> frozen;
    // Exact form: the pattern number that carries a channel's pattern 0, or 0.
    uint32_t zeroPatternSlot[RIX_CHANNELS] = {};
    bool patternUsed[RIX_CHANNELS][RIX_PATTERNS] = {};
    bool channelUsed[RIX_CHANNELS] = {};
    bool effectTypeUsed[kExportedEffectTypes] = {};
};

} // namespace rix
