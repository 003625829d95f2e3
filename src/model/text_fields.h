// Splitting file text into lines and CODE lines into ";" fields, as views into the text.
#pragma once

#include <string_view>

namespace zs {

// Yields the lines of a text: split at LF, one CR before the LF removed. A last line without a
// line end counts; a lone CR at the very end of the text is taken as its line end. Files that other
// editors write are read the same way: a text without any LF is split at CR, and a UTF-8
// byte-order mark at its start is not part of the first line.
class LineCursor {
public:
    explicit LineCursor(std::string_view text)
        : text_(WithoutByteOrderMark(text)),
          lineEnd_(text_.find('\n') == std::string_view::npos ? '\r' : '\n') {}

    bool next(std::string_view& line) {
        if (at_ >= text_.size()) return false;
        const std::size_t end = text_.find(lineEnd_, at_);
        if (end == std::string_view::npos) {
            line = text_.substr(at_);
            at_ = text_.size();
        } else {
            line = text_.substr(at_, end - at_);
            at_ = end + 1;
        }
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return true;
    }

private:
    static std::string_view WithoutByteOrderMark(std::string_view text) {
        constexpr std::string_view kMark = "\xEF\xBB\xBF";
        return text.substr(0, kMark.size()) == kMark ? text.substr(kMark.size()) : text;
    }

    std::string_view text_;
    char lineEnd_;
    std::size_t at_ = 0;
};

// Yields the ";"-separated fields of a line in order, then "" for every field past the last.
class FieldCursor {
public:
    explicit FieldCursor(std::string_view line) : rest_(line) {}

    std::string_view next() {
        if (done_) return {};
        const std::size_t end = rest_.find(';');
        if (end == std::string_view::npos) {
            done_ = true;
            return rest_;
        }
        const std::string_view field = rest_.substr(0, end);
        rest_.remove_prefix(end + 1);
        return field;
    }

private:
    std::string_view rest_;
    bool done_ = false;
};

// The text up to the first ";" (the whole line when there is none).
inline std::string_view FirstField(std::string_view line) {
    return line.substr(0, line.find(';'));
}

}  // namespace zs
