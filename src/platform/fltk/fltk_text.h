// Text rules of the FLTK backend that need no display: label escaping, file filters, key codes,
// font sizes and editor lines. Kept apart so that they can be tested on their own.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zs::gui::fltk {

// FLTK reads "@" in labels as a symbol escape: "@@" shows one "@".
std::string escapeLabel(const std::string& text);
// Labels of buttons, menu and combo items also read "&" as the shortcut mark: "&&" shows one "&".
std::string escapeShortcutLabel(const std::string& text);

// "STEP file (*.stp)|*.stp|All files (*.*)|*.*" -> "STEP file (*.stp)\tAll files (*)":
// the chooser takes the pattern from the parentheses of each name.
std::string chooserFilter(const std::string& windowsFilter);

// The same filter for the desktop's own chooser, which shows "name (pattern)":
// "STEP file (*.stp)|*.stp|All files (*.*)|*.*" -> "STEP file \t*.stp\nAll files \t*".
std::string nativeFilter(const std::string& windowsFilter);

// The text when fits(text) says it fits and it is at most maxBytes long; otherwise its longest
// start (whole UTF-8 characters) for which fits(start + "…") holds, with the ellipsis. Drawing a
// huge text fails in the X server, so callers pass a maxBytes of what could ever be shown.
std::string fitText(const std::string& text, std::size_t maxBytes,
                    const std::function<bool(const std::string&)>& fits);
// A window title cut to a length that every title bar can take.
std::string fitTitle(const std::string& title);

// Bytes [begin, end) of a text, drawn from x.
struct TextPiece {
    std::size_t begin = 0, end = 0;
    int x = 0;
    bool operator==(const TextPiece&) const = default;
};
// The pieces to draw of a text that starts at x, when only what lies between left and right can
// show: the pieces wholly outside are dropped, and none is longer than maxBytes (unless one
// character is). width measures a part of the text. The X server refuses a text request that is
// too long, and its coordinates are 16 bits, so a long line is never drawn whole.
std::vector<TextPiece> visiblePieces(std::string_view text, int x, int left, int right,
                                     std::size_t maxBytes,
                                     const std::function<int(std::string_view)>& width);
// The width of a text measured in pieces of at most maxBytes: the X font library gives a
// text's width in 16 bits, which a long line overflows.
long long pieceWiseWidth(std::string_view text, std::size_t maxBytes,
                         const std::function<int(std::string_view)>& width);

// Windows virtual-key code of an FLTK key (Fl::event_key()), 0 when it has none.
int virtualKeyFromFltk(int fltkKey);

// Pixel size of a font of the given points on a screen of the given pixels per inch, rounded
// to the nearest pixel as the Windows font mapper does.
int pointsToPixels(int points, int pixelsPerInch);

// Number of characters (UTF-8 code points) of a text.
int characterCount(const std::string& text);

bool isAllDigits(const std::string& text);

// An editor's text split at "\n" (always at least one line), the text from lines, and the
// 0-based line that holds a byte position.
std::vector<std::string> splitLines(const std::string& text);
std::string joinLines(const std::vector<std::string>& lines);
int lineOfPosition(const std::string& text, int position);

}  // namespace zs::gui::fltk
