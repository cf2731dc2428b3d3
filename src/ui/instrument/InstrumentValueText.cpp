#include "InstrumentValueText.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace rix {

namespace {

// The C library's string-to-integer rule (leading blanks, an optional sign,
// then digits; 0 without digits), saturating instead of overflowing.
int64_t ReadInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<int64_t>(value * 10 + (text[i] - '0'), int64_t(1) << 40);
    return negative ? -value : value;
}

int32_t ToInt32(int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// The hundredths after a decimal point: two or more characters give their
// first two digits, one gives tenths, none gives 0.
int64_t ReadHundredths(std::string_view fraction)
{
    if (fraction.size() >= 2)
        return ReadInteger(fraction.substr(0, 2));
    if (fraction.size() == 1)
        return ReadInteger(fraction) * 10;
    return 0;
}

std::string FormatHundredths(int64_t value)
{
    const int64_t magnitude = value < 0 ? -value : value;
    char text[32];
    std::snprintf(text, sizeof text, "%s%lld.%lld%lld", value < 0 ? "-" : "",
                  static_cast<long long>(magnitude / 100), static_cast<long long>(magnitude / 10 % 10),
                  static_cast<long long>(magnitude % 10));
    return text;
}

} // namespace

std::string FormatPitch(int32_t cents)
{
    return FormatHundredths(cents);
}

int32_t ParsePitch(std::string_view text)
{
    text = text.substr(0, 8);
    const bool negative = !text.empty() && text[0] == '-';
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos)
        return ToInt32(ReadInteger(text) * 100);
    const std::string_view whole = text.substr(negative ? 1 : 0, point - (negative ? 1 : 0));
    const int64_t semitones = ReadInteger(whole) * 100;
    const int64_t cents = ReadHundredths(text.substr(point + 1));
    return ToInt32(negative ? -semitones - cents : semitones + cents);
}

std::string FormatDelayLength(int32_t hundredths)
{
    return FormatHundredths(hundredths);
}

int32_t ParseDelayLength(std::string_view text)
{
    text = text.substr(0, 7);
    const std::size_t point = text.find('.');
    int64_t value = 0;
    if (point == std::string_view::npos)
        value = ReadInteger(text) * 100;
    else
        value = ReadInteger(text.substr(0, point)) * 100 + ReadHundredths(text.substr(point + 1));
    return static_cast<int32_t>(std::clamp<int64_t>(value, 0, RIX_MAX_DELAY_LENGTH));
}

int32_t StepDelayLength(int32_t length, int32_t step)
{
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{length} + step, 0, RIX_MAX_DELAY_LENGTH));
}

} // namespace rix
