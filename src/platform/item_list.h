// The items of a combo or list box as a backend keeps them: texts as they were added, or the
// numbers "1" to count (after one leading text, such as "Pause", where one is given), which are
// made when asked for and never stored, so that filling a list with a million step numbers, or
// growing it by one, costs the same as a list of ten.
#pragma once

#include <charconv>
#include <string>
#include <system_error>
#include <vector>

namespace zs::gui {

class ItemList {
public:
    int size() const { return numbered_ ? lead() + numbers_ : static_cast<int>(texts_.size()); }
    bool numbered() const { return numbered_; }

    // "" outside the list.
    std::string at(int index) const {
        if (index < 0 || index >= size()) return std::string();
        if (!numbered_) return texts_[static_cast<std::size_t>(index)];
        if (index < lead()) return leading_;
        return std::to_string(index - lead() + 1);
    }

    // The first item equal to text, or -1.
    int find(const std::string& text) const {
        if (numbered_) {
            if (lead() == 1 && text == leading_) return 0;
            const int number = numberIndex(text);
            return number < 0 ? -1 : number + lead();
        }
        for (std::size_t i = 0; i < texts_.size(); ++i)
            if (texts_[i] == text) return static_cast<int>(i);
        return -1;
    }

    void add(const std::string& text) {
        if (numbered_) spellOutNumbers();
        texts_.push_back(text);
    }

    void clear() {
        texts_.clear();
        numbered_ = false;
        numbers_ = 0;
        leading_.clear();
    }

    // The items become "1" to count, after `leading` when it is not "".
    void setNumbers(int count, const std::string& leading = {}) {
        texts_.clear();
        numbered_ = true;
        numbers_ = count > 0 ? count : 0;
        leading_ = leading;
    }
    const std::string& leading() const { return leading_; }

private:
    // The index of a number written as the list writes it ("7", never "07" or "+7"), or -1.
    int numberIndex(const std::string& text) const {
        if (text.empty() || text[0] == '0') return -1;
        int value = 0;
        const char* end = text.data() + text.size();
        const auto [stop, error] = std::from_chars(text.data(), end, value);
        if (error != std::errc() || stop != end || value < 1 || value > numbers_) return -1;
        return value - 1;
    }

    void spellOutNumbers() {
        texts_.reserve(static_cast<std::size_t>(size()) + 1);
        if (lead() == 1) texts_.push_back(leading_);
        for (int i = 1; i <= numbers_; ++i) texts_.push_back(std::to_string(i));
        numbered_ = false;
        numbers_ = 0;
        leading_.clear();
    }

    int lead() const { return leading_.empty() ? 0 : 1; }

    std::vector<std::string> texts_;
    bool numbered_ = false;
    int numbers_ = 0;
    std::string leading_;
};

}  // namespace zs::gui
