// The texts of Comport steps: the settings text of "Initialise" and the telegram encodings.
#include <cstddef>
#include <string>
#include <string_view>

#include "model/numbers.h"
#include "player/actions.h"

namespace zs {
namespace {

// Field `n` (1-based) of a text split at single blanks: the text between the (n-1)-th and the
// n-th blank, empty when the text has fewer blanks.
std::string_view BlankField(std::string_view text, int n) {
    std::size_t start = 0;
    for (int i = 1; i < n; ++i) {
        const std::size_t blank = text.find(' ', start);
        if (blank == std::string_view::npos) return {};
        start = blank + 1;
    }
    const std::size_t end = text.find(' ', start);
    return text.substr(start, end == std::string_view::npos ? text.size() - start : end - start);
}

std::int32_t ParityCode(std::string_view field) {
    if (field == "O") return 1;
    if (field == "E") return 2;
    return 0;  // "N" and anything else: no parity
}

bool IsValueSeparator(char c) { return c == ' ' || c == '\t'; }

// The values of a telegram, separated by runs of blanks or tabs.
template <typename Visit>
void ForEachValue(std::string_view text, Visit visit) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (IsValueSeparator(text[pos])) {
            ++pos;
            continue;
        }
        std::size_t end = pos;
        while (end < text.size() && !IsValueSeparator(text[end])) ++end;
        if (!visit(text.substr(pos, end - pos))) return;
        pos = end;
    }
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// One or two hexadecimal digits in either case, e.g. "F4", "3", "0a".
bool ReadHexValue(std::string_view value, std::uint8_t& byte) {
    if (value.empty() || value.size() > 2) return false;
    int result = 0;
    for (char c : value) {
        const int digit = HexDigit(c);
        if (digit < 0) return false;
        result = result * 16 + digit;
    }
    byte = static_cast<std::uint8_t>(result);
    return true;
}

// Decimal digits only (leading zeros allowed), at most 255.
bool ReadByteValue(std::string_view value, std::uint8_t& byte) {
    if (value.empty()) return false;
    int result = 0;
    for (char c : value) {
        if (c < '0' || c > '9') return false;
        result = result * 10 + (c - '0');
        if (result > 255) return false;
    }
    byte = static_cast<std::uint8_t>(result);
    return true;
}

// A bad value as quoted in a message: long ones are cut so that the message stays readable.
std::string Quoted(std::string_view value) {
    constexpr std::size_t kMaxShown = 20;
    if (value.size() <= kMaxShown) return std::string(value);
    return std::string(value.substr(0, kMaxShown)) + "...";
}

bool EncodeValues(std::string_view telegram, bool hex, std::vector<std::uint8_t>& bytes,
                  std::string& error) {
    bool ok = true;
    ForEachValue(telegram, [&](std::string_view value) {
        std::uint8_t byte = 0;
        ok = hex ? ReadHexValue(value, byte) : ReadByteValue(value, byte);
        if (ok) bytes.push_back(byte);
        else error = (hex ? "Bad hex value: " : "Bad byte value: ") + Quoted(value);
        return ok;
    });
    if (ok && bytes.empty()) {
        ok = false;
        error = hex ? "No hex values in the telegram" : "No byte values in the telegram";
    }
    if (!ok) bytes.clear();
    return ok;
}

}  // namespace

PortSetting ParseSettings(const std::string& name, std::string_view settingsText) {
    PortSetting setting;
    setting.name = name;
    setting.baud = ReadInteger(BlankField(settingsText, 1));
    setting.parity = ParityCode(BlankField(settingsText, 2));
    setting.dataBits = ReadInteger(BlankField(settingsText, 3));
    setting.stopBits = ReadInteger(BlankField(settingsText, 4));
    return setting;
}

SerialSettings ToSerialSettings(const PortSetting& setting) {
    SerialSettings settings;
    settings.baud = setting.baud;
    settings.parity = setting.parity == 1   ? Parity::Odd
                      : setting.parity == 2 ? Parity::Even
                                            : Parity::None;
    settings.dataBits = setting.dataBits;
    settings.stopBits = setting.stopBits == 1   ? StopBits::One
                        : setting.stopBits == 2 ? StopBits::Two
                                                : StopBits::OneAndHalf;
    return settings;
}

bool EncodeTelegram(std::string_view comType, std::string_view telegram,
                    std::vector<std::uint8_t>& bytes, std::string& error) {
    bytes.clear();
    error.clear();
    if (comType == "String") {
        bytes.assign(telegram.begin(), telegram.end());
        return true;
    }
    if (comType == "Hex" || comType == "Byte")
        return EncodeValues(telegram, comType == "Hex", bytes, error);
    error = "Unknown telegram type: " + Quoted(comType);
    return false;
}

}  // namespace zs
