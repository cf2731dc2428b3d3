#pragma once

#include <cstdlib>
#include <memory>
#include <random>

#include "RixModuleData.h"
#include "RixSongExporter.h"

namespace rixtest {

// Random songs of a few order positions at a quick tempo, for comparing the
// replay routine with the editor's player.
class CRandomSong {
public:
    explicit CRandomSong(uint32_t seed) : random(seed) {}

    // Within what the plain tables carry exactly: pitch 0, envelope phases
    // and limits on the 2048 grid, notes 2..192, no band-pass, noise only
    // where it is exported, overdrive parameters whose volume the routine
    // can recover. Effects only of the types in `effectTypes` (bit per type).
    std::unique_ptr<rix::CRixModuleData> Plain(uint32_t effectTypes)
    {
        auto data = std::make_unique<rix::CRixModuleData>();
        data->bpm = Pick(200, 400);
        data->masterVolume = Pick(40, 300);
        for (int c = 0; c < rix::RIX_CHANNELS; ++c) {
            rix::CRixModuleChannel& channel = data->channels[c];
            channel.volume = Pick(0, 255);
            channel.envelope = GridEnvelope(300);
            channel.oscillators.clear();
            channel.transitionOscillators.clear();
            for (int i = Pick(1, 3); i > 0; --i) {
                rix::TRixOscillator carrier{Pick(0, 3), Pick(0, 256), 0, GridEnvelope(300), GridEnvelope(600),
                                            Pick(0, 1) == 1};
                rix::TRixOscillator modulator{Pick(0, carrier.transition ? 3 : 2), Pick(0, 400), 0, GridEnvelope(300),
                                              GridEnvelope(600), false};
                channel.oscillators.push_back(carrier);
                channel.transitionOscillators.push_back(modulator);
            }
            for (int i = Pick(0, 3); i > 0; --i) {
                const int type = Pick(0, 5);
                if (!(effectTypes & (1u << type)))
                    continue;
                rix::TRixEffect effect = rix::TRixEffect::OfType(type);
                effect.param1 = type == rix::RIXEFFECT_DELAY ? Pick(0, 150)
                                                             : Pick(0, type == rix::RIXEFFECT_OVERDRIVE ? 258 : 255);
                effect.param2 = Pick(0, 400);
                effect.envelope1 = GridEnvelope(type == rix::RIXEFFECT_FLANGE ? 200 : 300);
                effect.envelope2 = GridEnvelope(300);
                channel.effects.push_back(effect);
            }
            for (int p = 1; p <= 3; ++p) {
                for (int row = 0; row < rix::RIX_ROWS; ++row) {
                    const int kind = Pick(0, 9);
                    data->patterns[c][p][row] = kind < 5 ? 0u : kind == 5 ? 255u : static_cast<uint32_t>(Pick(2, 192));
                }
            }
            for (int position = 0; position < 2; ++position)
                data->orderTable[c][position] = static_cast<uint32_t>(Pick(0, 3));
        }
        data->orderTable[0][1] = 1;
        return data;
    }

    // Anything the editor plays: pitches in cents far beyond an octave,
    // every note, pattern 0 with notes, order entries that play nothing,
    // envelopes with arbitrary points, speeds and reset modes, every
    // oscillator and effect type (unknown ones too), noise transition
    // oscillators without the flag, missing partners, unusual volumes and
    // overdrive settings, now and then a channel with more envelopes than
    // the player moves or a flange beyond its echo limit.
    std::unique_ptr<rix::CRixModuleData> Any()
    {
        auto data = std::make_unique<rix::CRixModuleData>();
        data->bpm = Pick(180, 420);
        data->masterVolume = Pick(0, 400);
        const int crowded = Pick(0, 39) == 0 ? Pick(0, 7) : -1;
        for (int c = 0; c < rix::RIX_CHANNELS; ++c) {
            rix::CRixModuleChannel& channel = data->channels[c];
            channel.volume = Pick(0, 9) == 0 ? Pick(256, 600) : Pick(0, 255);
            channel.envelope = AnyEnvelope(300);
            channel.oscillators.clear();
            channel.transitionOscillators.clear();
            for (int i = c == crowded ? 70 : Pick(0, 3); i > 0; --i) {
                channel.oscillators.push_back(AnyOscillator(Pick(0, 1) == 1));
                channel.transitionOscillators.push_back(AnyOscillator(false));
            }
            if (!channel.transitionOscillators.empty() && Pick(0, 9) == 0)
                channel.transitionOscillators.pop_back();
            for (int i = Pick(0, 3); i > 0; --i)
                channel.effects.push_back(AnyEffect());
            for (int p = 0; p <= 3; ++p) {
                for (int row = 0; row < rix::RIX_ROWS; ++row) {
                    const int kind = Pick(0, 9);
                    const bool silentZero = p == 0 && Pick(0, 2) != 0;
                    data->patterns[c][p][row] =
                        kind < 5 || silentZero ? 0u : kind == 5 ? 255u : static_cast<uint32_t>(Pick(1, 254));
                }
            }
            for (int position = 0; position < 3; ++position)
                data->orderTable[c][position] = Pick(0, 19) == 0 ? static_cast<uint32_t>(Pick(16, 1000))
                                                                 : static_cast<uint32_t>(Pick(0, 3));
        }
        data->orderTable[0][2] = 1;
        return data;
    }

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    rix::TRixEnvelope GridEnvelope(int maxValue)
    {
        rix::TRixEnvelope e;
        e.maxValue = Pick(0, maxValue);
        e.minValue = Pick(0, e.maxValue);
        e.speed = Pick(-200, 900);
        e.resetMode = Pick(0, 4);
        e.phase = 2048 * Pick(0, 40);
        e.keepEnabled = Pick(0, 2) == 0;
        e.keep = e.keepEnabled && Pick(0, 3) == 0 ? 0 : 2048 * Pick(0, 60);
        e.sustainEnabled = Pick(0, 1) == 1;
        e.sustain = 2048 * Pick(0, 20);
        // A constant that runs backwards moves in the editor.
        if (rix::CRixSongExporter::IsConstant(e))
            e.speed = std::abs(e.speed);
        return e;
    }

    rix::TRixEnvelope AnyEnvelope(int maxValue)
    {
        rix::TRixEnvelope e;
        e.maxValue = Pick(-50, maxValue);
        e.minValue = Pick(-100, maxValue);
        e.speed = Pick(-400, 1500);
        e.resetMode = Pick(0, 9) == 0 ? 7 : Pick(0, 4);
        e.phase = Pick(-200000, 200000);
        e.keepEnabled = Pick(0, 2) == 0;
        e.keep = Pick(0, 3) == 0 ? 0 : Pick(-70000, 200000);
        e.sustainEnabled = Pick(0, 1) == 1;
        e.sustain = Pick(-40000, 100000);
        return e;
    }

    rix::TRixOscillator AnyOscillator(bool transition)
    {
        const int kind = Pick(0, 9);
        const int pitch = kind < 3 ? 0 : kind < 6 ? Pick(-60, 60) : kind < 9 ? Pick(-6000, 6000) : Pick(-400000, 400000);
        return {Pick(0, 19) == 0 ? 4 : Pick(0, 3), Pick(-20, 300), pitch, AnyEnvelope(300), AnyEnvelope(600),
                transition};
    }

    rix::TRixEffect AnyEffect()
    {
        const int type = Pick(0, 19) == 0 ? 9 : Pick(0, 6);
        rix::TRixEffect effect = rix::TRixEffect::OfType(type);
        effect.envelope1 = AnyEnvelope(300);
        effect.envelope2 = AnyEnvelope(300);
        effect.param1 = Pick(-20, 300);
        effect.param2 = Pick(-50, 400);
        switch (type) {
        case rix::RIXEFFECT_DELAY:
            effect.param1 = Pick(0, 150);
            break;
        case rix::RIXEFFECT_FLANGE:
            effect.envelope1.maxValue = Pick(0, 49) == 0 ? Pick(4194300, 5000000) : Pick(-5, 250);
            break;
        case rix::RIXEFFECT_OVERDRIVE:
            effect.param1 = Pick(-300, 800);
            effect.param2 = Pick(-1000, 300000);
            break;
        default:
            break;
        }
        return effect;
    }

    std::mt19937 random;
};

} // namespace rixtest
