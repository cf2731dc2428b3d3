#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The texts the instrument editors show for pitches and delay lengths, and
// how they read what the user types back. No Qt: the rules are tested on
// their own. Any 32-bit value a file holds is shown and stepped without
// overflow.
namespace rix {

// Cents as "%s%d.%d%d" (sign, semitones, the two digits of the remaining
// cents): 1250 is "12.50", -105 is "-1.05", 7 is "0.07".
std::string FormatPitch(int32_t cents);

// Reads at most the first 8 characters. "a.bc" is a semitones and bc cents
// (one digit after the point counts tens, further digits are ignored); a
// leading "-" negates both parts. Numbers follow the C string-to-integer
// rule, so text without leading digits counts 0: "-0.5" is -50, "2.123" is
// 212, "x" is 0. The result is not limited (beyond the int32 range).
int32_t ParsePitch(std::string_view text);

// Hundredths of a row as "%d.%d%d": 400 is "4.00".
std::string FormatDelayLength(int32_t hundredths);

// Reads at most the first 7 characters: whole rows, then after a "." the
// hundredths (one digit counts tenths, more than two are ignored). The
// result is limited to 0..RIX_MAX_DELAY_LENGTH: "4.257" is 425, ".5" is 50,
// "40" is 3200, "-1" is 0.
int32_t ParseDelayLength(std::string_view text);

// The delay length the editor lets the user set: 32 rows.
constexpr int32_t RIX_MAX_DELAY_LENGTH = 3200;

// The delay length after a spin step of step hundredths, limited to
// 0..RIX_MAX_DELAY_LENGTH whatever length a file gave.
int32_t StepDelayLength(int32_t length, int32_t step);

} // namespace rix
