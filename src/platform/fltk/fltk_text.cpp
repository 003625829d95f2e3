
#include "platform/fltk/fltk_text.h"

#include <FL/Enumerations.H>

#include <algorithm>

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
        if (part == "*.*") part = "*";
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

std::string chooserFilter(const std::string& windowsFilter) {
    std::vector<std::string> fields;
    std::string::size_type start = 0;
    while (start <= windowsFilter.size()) {
        auto end = windowsFilter.find('|', start);
        if (end == std::string::npos) end = windowsFilter.size();
        fields.push_back(windowsFilter.substr(start, end - start));
        start = end + 1;
    }
    std::string out;
    for (std::size_t i = 0; i + 1 < fields.size(); i += 2) {
        std::string name = trimmed(fields[i]);
        // The chooser shows the name and matches the pattern in its last parentheses, so the
        // Windows name's own "(*.*)" is replaced by the converted pattern.
        auto open = name.rfind('(');
        if (open != std::string::npos && name.back() == ')') name = trimmed(name.substr(0, open));
        std::string entry = (name.empty() ? "" : name + " ") + "(" + chooserPattern(fields[i + 1]) + ")";
        out += (out.empty() ? "" : "\t") + entry;
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
