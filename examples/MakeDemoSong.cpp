// Writes examples/demo.sonrix, the song "./sonrix run" opens: thirteen
// bars in A minor at 125 BPM that show the synthesizer's range: a bass
// under a filter that opens over every four bars, a frequency-modulated
// lead with echoes, an echoing pluck arpeggio, a pad with a slow filter
// sweep, noise percussion (snare and hi-hat) over a sine kick, and FM bells.
// The instruments are the editor's presets. Prints the render's peak and
// RMS level so that a change can be judged by number before it is
// committed. Usage: sonrix3-make-demo PRESET_FOLDER OUT.sonrix
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "IRixModulePlayer.h"
#include "ModuleArchive.h"
#include "ModuleFiles.h"
#include "RixModule.h"
#include "RixModuleData.h"
#include "nexilon/Exceptions.h"
#include "nexilon/Nexilon.h"

using namespace rix;

namespace {

enum TChannel { KICK, SNARE, HAT, BASS, LEAD, ARP, PAD, BELL };

const char* const kPresets[RIX_CHANNELS] = {"kick", "snare", "hi-hat", "bass", "fm-lead", "pluck", "pad", "fm-bell"};
const int32_t kVolumes[RIX_CHANNELS] = {140, 140, 80, 130, 90, 60, 70, 60};

constexpr uint32_t _ = RIX_NOTE_EMPTY;
constexpr uint32_t X = RIX_NOTE_STOP;

// A note by name and octave: "A", 4 is 440 Hz (58).
uint32_t N(const char* name, int octave)
{
    static const char* const names[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
    for (int semitone = 0; semitone < 12; ++semitone)
        if (std::strcmp(names[semitone], name) == 0)
            return static_cast<uint32_t>(1 + octave * 12 + semitone);
    return RIX_NOTE_EMPTY;
}

using TRows = std::vector<uint32_t>;

void SetPattern(CRixModuleData& song, int channel, int pattern, const TRows& rows)
{
    for (int row = 0; row < RIX_ROWS && row < static_cast<int>(rows.size()); ++row)
        song.patterns[channel][pattern][row] = rows[static_cast<std::size_t>(row)];
}

// Syncopated bass on one root: hits with short stops between.
TRows BassLine(uint32_t root)
{
    return {root, _, X, root, _, X, root, X, root, _, X, root, _, X, root + 12, X};
}

// Up and down the chord, one note per row.
TRows Arpeggio(uint32_t a, uint32_t b, uint32_t c)
{
    return {a, b, c, a + 12, c, b, a, b, c, a + 12, c + 12, a + 12, c, b, a, b};
}

void WriteSong(CRixModuleData& song)
{
    song.bpm = 125;
    song.masterVolume = 110;

    SetPattern(song, KICK, 1, {49, _, _, _, 49, _, _, _, 49, _, _, _, 49, _, _, _});
    SetPattern(song, KICK, 2, {49, _, _, _, 49, _, _, _, 49, _, _, _, 49, _, 49, _});
    SetPattern(song, SNARE, 1, {_, _, _, _, 49, _, _, _, _, _, _, _, 49, _, _, _});
    SetPattern(song, SNARE, 2, {_, _, _, _, 49, _, _, _, _, _, _, _, 49, 49, 49, 49});
    SetPattern(song, HAT, 1, {_, _, 61, _, _, _, 61, _, _, _, 61, _, _, _, 61, _});
    SetPattern(song, HAT, 2, {61, _, 61, 61, 61, _, 61, _, 61, _, 61, 61, 61, _, 61, 61});

    // Am, F, C, G.
    const uint32_t roots[4] = {N("A", 1), N("F", 1), N("C", 2), N("G", 1)};
    for (int chord = 0; chord < 4; ++chord)
        SetPattern(song, BASS, 1 + chord, BassLine(roots[chord]));
    SetPattern(song, BASS, 5, {N("A", 1), _, _, _, _, _, _, _, X, _, _, _, _, _, _, _});

    SetPattern(song, ARP, 1, Arpeggio(N("A", 4), N("C", 5), N("E", 5)));
    SetPattern(song, ARP, 2, Arpeggio(N("F", 4), N("A", 4), N("C", 5)));
    SetPattern(song, ARP, 3, Arpeggio(N("C", 5), N("E", 5), N("G", 5)));
    SetPattern(song, ARP, 4, Arpeggio(N("G", 4), N("B", 4), N("D", 5)));

    // One held note a bar: the line E, F, G, G over the chords.
    SetPattern(song, PAD, 1, {N("E", 4)});
    SetPattern(song, PAD, 2, {N("F", 4)});
    SetPattern(song, PAD, 3, {N("G", 4)});
    SetPattern(song, PAD, 4, {N("G", 4), _, _, _, _, _, _, _, _, _, _, _, X});
    SetPattern(song, PAD, 5, {N("A", 3), _, _, _, _, _, _, _, _, _, _, _, _, _, _, X});

    // The lead's tune, first half and answer.
    SetPattern(song, LEAD, 1, {N("A", 4), _, _, N("C", 5), _, _, N("E", 5), _, N("D", 5), _, N("C", 5), _, N("A", 4), _, X, _});
    SetPattern(song, LEAD, 2, {N("C", 5), _, _, N("A", 4), _, _, N("F", 4), _, N("A", 4), _, N("C", 5), _, N("D", 5), _, X, _});
    SetPattern(song, LEAD, 3, {N("E", 5), _, _, N("G", 5), _, _, N("E", 5), _, N("D", 5), _, N("C", 5), _, N("E", 5), _, X, _});
    SetPattern(song, LEAD, 4, {N("D", 5), _, _, N("B", 4), _, _, N("G", 4), _, N("B", 4), _, N("D", 5), _, N("G", 5), _, _, X});
    SetPattern(song, LEAD, 5, {N("A", 5), _, _, _, N("G", 5), _, N("E", 5), _, N("D", 5), _, N("E", 5), _, N("C", 5), _, X, _});
    SetPattern(song, LEAD, 6, {N("A", 4), _, _, _, _, _, _, _, _, _, _, _, X});

    SetPattern(song, BELL, 1, {N("E", 6), _, _, _, _, _, _, _, N("A", 5)});
    SetPattern(song, BELL, 2, {N("C", 6), _, _, _, _, _, _, _, N("G", 5)});

    // The arrangement: 4 bars of groove, 4 with the tune, 4 with everything,
    // one closing bar.
    for (int position = 0; position < 13; ++position) {
        const int chord = position % 4;
        const bool ending = position == 12;
        song.orderTable[KICK][position] = ending ? 0 : (position == 11 ? 2 : 1);
        song.orderTable[HAT][position] = ending ? 0 : (position >= 8 ? 2 : 1);
        song.orderTable[SNARE][position] = position >= 4 && !ending ? (position == 11 ? 2 : 1) : 0;
        song.orderTable[BASS][position] = ending ? 5 : static_cast<uint32_t>(1 + chord);
        song.orderTable[PAD][position] = ending ? 5 : static_cast<uint32_t>(1 + chord);
        song.orderTable[ARP][position] = position >= 4 && !ending ? static_cast<uint32_t>(1 + chord) : 0;
        if (position >= 4 && position < 8)
            song.orderTable[LEAD][position] = static_cast<uint32_t>(1 + chord);
        else if (position >= 8 && position < 12)
            song.orderTable[LEAD][position] = chord == 0 ? 5 : static_cast<uint32_t>(1 + chord);
        else if (ending)
            song.orderTable[LEAD][position] = 6;
        if (position >= 8)
            song.orderTable[BELL][position] = chord % 2 == 0 ? 1 : 2;
    }
}

void ShapeInstruments(CRixModuleData& song)
{
    // The bass's low-pass opens over every four bars (restarting at order
    // positions divisible by 4): a rising half cycle of 32768 counter units
    // at speed 4 takes 8192 steps of 44 samples, about four bars at 125 BPM.
    for (TRixEffect& effect : song.channels[BASS].effects)
        if (effect.type == RIXEFFECT_LOWPASS) {
            effect.param1 = 220;
            effect.envelope1 = {30, 256, 4, RIXRESET_FOUR_PATTERNS, 49152, 32768, 0, true, false};
        }
    // The pluck's echo on the dotted eighth (three rows) and a bit louder.
    for (TRixEffect& effect : song.channels[ARP].effects)
        if (effect.type == RIXEFFECT_DELAY) {
            effect.param1 = 300;
            effect.param2 = 110;
        }
}

// solo: the one channel to hear, -1 for the mix.
void PrintLevels(IRixModule& module, int solo)
{
    auto player = nexilon::CreateInstance<IRixModulePlayer>(RIX_MODULE_PLAYER_CLASS);
    player->Connect(&module);
    for (int channel = 0; channel < RIX_CHANNELS; ++channel)
        player->SetChannelEnabled(channel, solo < 0 || solo == channel);
    std::vector<int16_t> block(4096);
    double sum = 0;
    uint64_t count = 0;
    int peak = 0;
    for (;;) {
        const uint32_t bytes = player->Read(block.data(), static_cast<uint32_t>(block.size() * 2));
        if (bytes == 0)
            break;
        for (uint32_t i = 0; i < bytes / 2; ++i) {
            peak = std::max(peak, std::abs(static_cast<int>(block[i])));
            sum += static_cast<double>(block[i]) * block[i];
        }
        count += bytes / 2;
    }
    const double rms = count ? std::sqrt(sum / static_cast<double>(count)) : 0;
    const double peakDb = 20 * std::log10(std::max(peak, 1) / 32768.0);
    const double rmsDb = 20 * std::log10(std::max(rms, 1.0) / 32768.0);
    std::printf("%-8s %.1f s, peak %d (%.1f dBFS), RMS %.0f (%.1f dBFS)\n", solo < 0 ? "mix" : kPresets[solo],
                static_cast<double>(count) / RIX_SAMPLE_RATE, peak, peakDb, rms, rmsDb);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: sonrix3-make-demo PRESET_FOLDER OUT.sonrix\n");
        return 2;
    }
    nexilon::q.Init();
    RegisterModuleClass();
    RegisterPlayerClass();
    RegisterArchiveStreamClasses();
    int status = 0;
    try {
        auto module = nexilon::CreateInstance<IRixModule>(CRixModule::ClassId);
        {
            CRixModuleLock song(*module, nexilon::LOCKMODE_WRITE);
            song->Reset();
            for (int channel = 0; channel < RIX_CHANNELS; ++channel) {
                CRixModuleChannel& instrument = song->channels[channel];
                instrument.oscillators.clear();
                instrument.transitionOscillators.clear();
                ReadInstrumentFile(std::string(argv[1]) + "/" + kPresets[channel] + ".sonrixi", instrument);
                instrument.volume = kVolumes[channel];
            }
            ShapeInstruments(*song);
            WriteSong(*song);
        }
        SaveModuleFile(argv[2], *module);
        for (int solo = -1; solo < RIX_CHANNELS; ++solo)
            PrintLevels(*module, solo);
    } catch (const nexilon::CException& error) {
        std::fprintf(stderr, "sonrix3-make-demo: %s\n", error.GetMessage().c_str());
        status = 1;
    }
    nexilon::q.Close();
    return status;
}
