#include "model/step_values.h"

namespace zs {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::optional<PixelColor> ReadPixelColor(std::string_view text) {
    if (text.size() != 7 || text[0] != '#') return std::nullopt;
    int channels[3] = {};
    for (int i = 0; i < 3; ++i) {
        const int high = HexDigit(text[1 + 2 * i]), low = HexDigit(text[2 + 2 * i]);
        if (high < 0 || low < 0) return std::nullopt;
        channels[i] = high * 16 + low;
    }
    return PixelColor{channels[0], channels[1], channels[2]};
}

std::string PixelColorText(PixelColor colour) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "#";
    for (int channel : {colour.r, colour.g, colour.b}) {
        text += kDigits[(channel >> 4) & 0xF];
        text += kDigits[channel & 0xF];
    }
    return text;
}

}  // namespace zs
