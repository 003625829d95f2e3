#include "model/numbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace zs {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view SkipBlanks(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && IsBlank(text[at])) ++at;
    return text.substr(at);
}

std::string_view TrimBlanks(std::string_view text) {
    text = SkipBlanks(text);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// The value of one digit in the given base, or -1 when c is not such a digit.
int DigitValue(char c, unsigned base) {
    int value = -1;
    if (c >= '0' && c <= '9') value = c - '0';
    else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
    return value >= 0 && static_cast<unsigned>(value) < base ? value : -1;
}

// Digits are accumulated in unsigned arithmetic; a value too wide for 64 bits stays at the
// largest one, so that it reads as the nearest value in range and never wraps around.
std::uint64_t ReadDigits(std::string_view digits, unsigned base) {
    constexpr std::uint64_t kLargest = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t value = 0;
    for (char c : digits) {
        const int digit = DigitValue(c, base);
        if (digit < 0) break;
        const auto digitValue = static_cast<unsigned>(digit);
        value = value > (kLargest - digitValue) / base ? kLargest : value * base + digitValue;
    }
    return value;
}

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

bool EqualsIgnoringCase(std::string_view text, std::string_view lowerWord) {
    if (text.size() != lowerWord.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != lowerWord[i]) return false;
    }
    return true;
}

// Decides whether an out-of-range decimal text (digits, optional point, optional exponent) is
// too large (true) or too small (false) for a float: the decimal position of its first
// significant digit plus its exponent tells.
bool DecimalMagnitudeIsLarge(std::string_view text) {
    long position = 0;  // power of ten of the first significant digit, plus one
    bool seenPoint = false, seenSignificant = false;
    std::size_t at = 0;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '.') { seenPoint = true; continue; }
        if (!IsAsciiDigit(c)) break;
        if (!seenPoint && (seenSignificant || c != '0')) ++position;
        if (seenPoint && !seenSignificant && c == '0') --position;
        if (c != '0') seenSignificant = true;
    }
    long exponent = 0;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        const bool negative = at < text.size() && text[at] == '-';
        if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
        for (; at < text.size() && IsAsciiDigit(text[at]) && exponent < 100000; ++at)
            exponent = exponent * 10 + (text[at] - '0');
        if (negative) exponent = -exponent;
    }
    return position + exponent > 0;
}

// Reads an unsigned decimal number (digits, optional "." and fraction, optional exponent) at the
// start of text, stopping at the first character that does not fit. Overflow gives infinity and
// underflow 0. Returns false when text does not start with a number.
bool ReadUnsignedDecimal(std::string_view text, float& value) {
    const bool startsWithNumber =
        !text.empty() && (IsAsciiDigit(text[0]) ||
                          (text[0] == '.' && text.size() > 1 && IsAsciiDigit(text[1])));
    if (!startsWithNumber) return false;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        const std::string_view matched(text.data(), static_cast<std::size_t>(stop - text.data()));
        value = DecimalMagnitudeIsLarge(matched) ? std::numeric_limits<float>::infinity() : 0.0f;
        return true;
    }
    return error == std::errc();
}

// A sign, then an unsigned decimal number; blanks and tabs before it are skipped.
bool ReadSignedDecimal(std::string_view text, float& value) {
    text = SkipBlanks(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (!ReadUnsignedDecimal(text, value)) return false;
    if (negative) value = -value;
    return true;
}

// The words the editor accepts for the non-finite values, any case, as the whole text.
bool ReadNonFiniteWord(std::string_view text, float& value) {
    if (EqualsIgnoringCase(text, "nan")) {
        value = std::numeric_limits<float>::quiet_NaN();
        return true;
    }
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) text.remove_prefix(1);
    if (!EqualsIgnoringCase(text, "infinity")) return false;
    value = negative ? -std::numeric_limits<float>::infinity()
                     : std::numeric_limits<float>::infinity();
    return true;
}

}  // namespace

std::int64_t ReadInteger64(std::string_view text) {
    text = SkipBlanks(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    unsigned base = 10;
    if (!text.empty() && (text[0] == '$' || text[0] == '%')) {
        base = text[0] == '$' ? 16 : 2;
        text.remove_prefix(1);
    }
    const std::uint64_t magnitude = ReadDigits(text, base);
    constexpr auto kLargest = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (!negative) return static_cast<std::int64_t>(std::min(magnitude, kLargest));
    if (magnitude > kLargest) return std::numeric_limits<std::int64_t>::min();
    return -static_cast<std::int64_t>(magnitude);
}

std::int32_t ReadInteger(std::string_view text) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        ReadInteger64(text), std::numeric_limits<std::int32_t>::min(),
        std::numeric_limits<std::int32_t>::max()));
}

float ReadFileDelay(std::string_view text) {
    float value = 0.0f;
    return ReadSignedDecimal(text, value) ? value : 0.0f;
}

// Leading and trailing blanks are ignored; a number is read up to the first character that does
// not fit, as the file reading does, so "1,5 s" gives 1.5. The non-finite words must stand alone.
float ReadEditorDecimal(std::string_view text) {
    const std::string_view trimmed = TrimBlanks(text);
    float value = 0.0f;
    if (ReadNonFiniteWord(trimmed, value)) return value;
    std::string withPoints(trimmed);
    for (char& c : withPoints)
        if (c == ',') c = '.';
    return ReadSignedDecimal(withPoints, value) ? value : 0.0f;
}

// NaN is written "0.0" and an infinite delay as the largest float, so that the text always reads
// back as a number; "-0.0" is written "0.0".
std::string FormatDelay(float seconds) {
    if (std::isnan(seconds)) seconds = 0.0f;
    if (std::isinf(seconds))
        seconds = std::copysign(std::numeric_limits<float>::max(), seconds);
    std::array<char, 64> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), seconds,
                                            std::chars_format::fixed, 1);
    if (error != std::errc()) return "0.0";
    std::string text(buffer.data(), end);
    if (text == "-0.0") text = "0.0";
    return text;
}

}  // namespace zs
