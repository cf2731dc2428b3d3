#include "RixExportReportText.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace rix {

namespace {

// Appends printf-formatted text; every line of the report is short.
void Append(std::string& text, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Append(std::string& text, const char* format, ...)
{
    char line[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof(line), format, arguments);
    va_end(arguments);
    text += line;
}

std::string Signed(double value)
{
    char text[32];
    if (std::isinf(value))
        std::snprintf(text, sizeof(text), "%s", value < 0 ? "silence" : "inf");
    else
        std::snprintf(text, sizeof(text), "%+.2f", value);
    return text;
}

void AppendLevel(std::string& text, const std::string& name, const TRixLevelDifference& level)
{
    if (level.identical) {
        Append(text, "  %-10s identical\n", name.c_str());
        return;
    }
    Append(text, "  %-10s %s dB at %.2f s, difference %s dBFS\n", name.c_str(), Signed(level.worstDb).c_str(),
           level.worstSecond, Signed(level.differenceDbfs).c_str());
}

} // namespace

std::string ExportReportText(const std::string& song, const TRixExportReport& report)
{
    std::string text = song;
    Append(text, ": %.2f s (%llu samples), editor against replay routine\n",
           static_cast<double>(report.samples) / 44100.0, static_cast<unsigned long long>(report.samples));
    text += "Level difference, worst 50 ms window (routine over editor):\n";
    for (int c = 0; c < 8; ++c)
        AppendLevel(text, "channel " + std::to_string(c + 1), report.channels[static_cast<std::size_t>(c)]);
    AppendLevel(text, "mix", report.mix);
    text += "Pitch error of octave and fine tune, worst played note:\n";
    if (report.pitches.empty())
        text += "  no oscillator plays a note\n";
    for (const TRixPitchError& pitch : report.pitches) {
        const std::string name = "channel " + std::to_string(pitch.channel + 1) +
                                 (pitch.transition ? " transition oscillator " : " oscillator ") +
                                 std::to_string(pitch.oscillator + 1);
        Append(text, "  %-36s pitch %6d cents: %s cents\n", name.c_str(), pitch.pitch, Signed(pitch.worstCents).c_str());
    }
    text += "Not carried by the tables:\n";
    if (report.features.empty())
        text += "  nothing\n";
    for (const TRixExportFeature& feature : report.features) {
        if (feature.channel >= 0)
            Append(text, "  channel %d, ", feature.channel + 1);
        else
            text += "  ";
        text += feature.place + ": " + feature.problem + "\n";
    }
    if (report.exact)
        Append(text, "%s (exact export: every sample equal, nothing left out)\n",
               report.Passes() ? "Identical" : "Differs");
    else
        Append(text, "%s (thresholds: level %.1f dB, pitch %.1f cents, nothing left out)\n",
               report.Passes() ? "Within the thresholds" : "Differs", CRixExportVerifier::kLevelThresholdDb,
               CRixExportVerifier::kPitchThresholdCents);
    return text;
}

} // namespace rix
