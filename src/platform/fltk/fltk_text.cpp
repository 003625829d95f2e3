
#include "platform/fltk/fltk_text.h"

#include <FL/Enumerations.H>

#include <algorithm>
#include <functional>

namespace zs::gui::fltk {

namespace {

std::string doubled(const std::string& text, const std::string& marks) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (marks.find(c) != std::string::npos) out += c;
    }
    return out;
}

std::string trimmed(const std::string& text) {
    auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// One Windows pattern list ("*.stp", "*.*", "*.a;*.b") in the chooser's pattern syntax.
std::string chooserPattern(const std::string& windowsPatterns) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    while (start <= windowsPatterns.size()) {
        auto end = windowsPatterns.find(';', start);
        if (end == std::string::npos) end = windowsPatterns.size();
        std::string part = trimmed(windowsPatterns.substr(start, end - start));
        if (part == "*.*") part = "*";  // every file on Windows; here names without a dot too
        if (!part.empty()) parts.push_back(part);
        start = end + 1;
    }
    if (parts.empty()) return "*";
    if (parts.size() == 1) return parts[0];
    std::string joined = "{";
    for (std::size_t i = 0; i < parts.size(); ++i) joined += (i ? "," : "") + parts[i];
    return joined + "}";
}

}  // namespace

std::string escapeLabel(const std::string& text) { return doubled(text, "@"); }

std::string escapeShortcutLabel(const std::string& text) { return doubled(text, "@&"); }

namespace {

std::vector<std::string> filterFields(const std::string& windowsFilter) {
    std::vector<std::string> fields;
    std::string::size_type start = 0;
    while (start <= windowsFilter.size()) {
        auto end = windowsFilter.find('|', start);
        if (end == std::string::npos) end = windowsFilter.size();
        fields.push_back(windowsFilter.substr(start, end - start));
        start = end + 1;
    }
    return fields;
}

// A filter's name without the pattern in parentheses at its end: "STEP file (*.stp)" gives
// "STEP file".
std::string filterName(const std::string& field) {
    std::string name = trimmed(field);
    auto open = name.rfind('(');
    if (open != std::string::npos && name.back() == ')') name = trimmed(name.substr(0, open));
    return name;
}

bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string nativeFilter(const std::string& windowsFilter) {
    std::vector<std::string> fields = filterFields(windowsFilter);
    std::string out;
    for (std::size_t i = 0; i + 1 < fields.size(); i += 2) {
        // The chooser shows the name with the pattern in parentheses after it.
        const std::string name = filterName(fields[i]);
        const std::string pattern = chooserPattern(fields[i + 1]);
        if (!out.empty()) out += '\n';
        if (!name.empty()) out.append(name).append(" ");
        out.append("\t").append(pattern);
    }
    return out;
}

std::string fitText(const std::string& text, std::size_t maxBytes,
                    const std::function<bool(const std::string&)>& fits) {
    static const std::string kEllipsis = "\xE2\x80\xA6";
    if (text.size() <= maxBytes && fits(text)) return text;
    std::size_t limit = std::min(text.size(), maxBytes);
    while (limit > 0 && limit < text.size() && isContinuation(text[limit])) --limit;
    // Where each character before the limit starts; a cut is made at one of them.
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < limit; ++i) {
        if (!isContinuation(text[i])) starts.push_back(i);
    }
    auto endOf = [&](std::size_t characters) {
        return characters < starts.size() ? starts[characters] : limit;
    };
    // The most characters that fit with the ellipsis after them; fewer fit as well.
    std::size_t low = 0, high = starts.size();
    while (low < high) {
        std::size_t middle = low + (high - low + 1) / 2;
        if (fits(text.substr(0, endOf(middle)) + kEllipsis)) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return text.substr(0, endOf(low)) + kEllipsis;
}

namespace {

// Where a piece that starts at begin ends: after at most maxBytes, at a character's start.
std::size_t pieceEnd(std::string_view text, std::size_t begin, std::size_t maxBytes) {
    std::size_t end = std::min(text.size(), begin + maxBytes);
    while (end > begin && end < text.size() && isContinuation(text[end])) --end;
    if (end == begin) {  // one character is longer than maxBytes
        end = begin + 1;
        while (end < text.size() && isContinuation(text[end])) ++end;
    }
    return end;
}

}  // namespace

std::vector<TextPiece> visiblePieces(std::string_view text, int x, int left, int right,
                                     std::size_t maxBytes,
                                     const std::function<int(std::string_view)>& width) {
    std::vector<TextPiece> pieces;
    long long at = x;
    for (std::size_t begin = 0; begin < text.size() && at <= right;) {
        const std::size_t end = pieceEnd(text, begin, maxBytes);
        const long long after = at + width(text.substr(begin, end - begin));
        if (after >= left) pieces.push_back({begin, end, static_cast<int>(at)});
        at = after;
        begin = end;
    }
    return pieces;
}

long long pieceWiseWidth(std::string_view text, std::size_t maxBytes,
                         const std::function<int(std::string_view)>& width) {
    long long total = 0;
    for (std::size_t begin = 0; begin < text.size();) {
        const std::size_t end = pieceEnd(text, begin, maxBytes);
        total += width(text.substr(begin, end - begin));
        begin = end;
    }
    return total;
}

std::string fitTitle(const std::string& title) {
    constexpr int kMaxTitleCharacters = 200;
    return fitText(title, 4 * kMaxTitleCharacters,
                   [](const std::string& s) { return characterCount(s) <= kMaxTitleCharacters; });
}

std::string chooserFilter(const std::string& windowsFilter) {
    std::vector<std::string> fields = filterFields(windowsFilter);
    std::string out;
    for (std::size_t i = 0; i + 1 < fields.size(); i += 2) {
        // The chooser shows the name and matches the pattern in its last parentheses, so the
        // Windows name's own "(*.*)" is replaced by the converted pattern.
        const std::string name = filterName(fields[i]);
        std::string entry = (name.empty() ? "" : name + " ") + "(" + chooserPattern(fields[i + 1]) + ")";
        if (!out.empty()) out += '\t';
        out += entry;
    }
    return out;
}

int virtualKeyFromFltk(int key) {
    if (key >= 'a' && key <= 'z') return key - 'a' + 'A';
    if (key >= '0' && key <= '9') return key;
    if (key > FL_F && key <= FL_F + 24) return 0x6F + (key - FL_F);
    if (key >= FL_KP + '0' && key <= FL_KP + '9') return 0x60 + (key - FL_KP - '0');
    switch (key) {
        case FL_BackSpace: return 0x08;
        case FL_Tab: return 0x09;
        case FL_Enter: case FL_KP_Enter: return 0x0D;
        case FL_Shift_L: case FL_Shift_R: return 0x10;
        case FL_Control_L: case FL_Control_R: return 0x11;
        case FL_Alt_L: case FL_Alt_R: return 0x12;
        case FL_Pause: return 0x13;
        case FL_Caps_Lock: return 0x14;
        case FL_Escape: return 0x1B;
        case ' ': return 0x20;
        case FL_Page_Up: return 0x21;
        case FL_Page_Down: return 0x22;
        case FL_End: return 0x23;
        case FL_Home: return 0x24;
        case FL_Left: return 0x25;
        case FL_Up: return 0x26;
        case FL_Right: return 0x27;
        case FL_Down: return 0x28;
        case FL_Print: return 0x2C;
        case FL_Insert: return 0x2D;
        case FL_Delete: return 0x2E;
        default: return 0;
    }
}

int pointsToPixels(int points, int pixelsPerInch) {
    if (points <= 0 || pixelsPerInch <= 0) return 1;
    return std::max(1, (points * pixelsPerInch + 36) / 72);
}

int characterCount(const std::string& text) {
    return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

bool isAllDigits(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    for (;;) {
        auto end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\n" : "") + lines[i];
    return text;
}

int lineOfPosition(const std::string& text, int position) {
    auto end = static_cast<std::string::size_type>(std::clamp(position, 0, static_cast<int>(text.size())));
    return static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
}

}  // namespace zs::gui::fltk
