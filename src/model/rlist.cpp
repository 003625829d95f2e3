#include "model/rlist.h"

#include <stdexcept>

namespace zs {

void RList::clear() {
    steps_.clear();
    current_ = -1;
}

Step& RList::add() {
    const long at = steps_.empty() || current_ < 0 ? size() : current_ + 1;
    steps_.insert(steps_.begin() + at, Step{});
    current_ = at;
    return steps_[static_cast<std::size_t>(at)];
}

Step& RList::insert() {
    const long at = current_ < 0 ? 0 : current_;
    steps_.insert(steps_.begin() + at, Step{});
    current_ = at;
    return steps_[static_cast<std::size_t>(at)];
}

void RList::remove() {
    if (current_ < 0) return;
    steps_.erase(steps_.begin() + current_);
    if (steps_.empty())
        current_ = -1;
    else if (current_ > 0)
        --current_;
}

bool RList::first() {
    if (steps_.empty()) return false;
    current_ = 0;
    return true;
}

bool RList::last() {
    if (steps_.empty()) return false;
    current_ = size() - 1;
    return true;
}

bool RList::next() {
    if (current_ < 0 || current_ + 1 >= size()) return false;
    ++current_;
    return true;
}

bool RList::previous() {
    if (current_ <= 0) return false;
    --current_;
    return true;
}

bool RList::select(long index) {
    if (index < 0 || index >= size()) return false;
    current_ = index;
    return true;
}

Step& RList::current() {
    if (current_ < 0) throw std::logic_error("RList has no current step");
    return steps_[static_cast<std::size_t>(current_)];
}

const Step& RList::current() const {
    if (current_ < 0) throw std::logic_error("RList has no current step");
    return steps_[static_cast<std::size_t>(current_)];
}

void RList::forEach(const std::function<void(Step&)>& visit) {
    for (long i = 0; i < size(); ++i) {
        current_ = i;
        visit(steps_[static_cast<std::size_t>(i)]);
    }
}

void MakeNewProgram(RList& list) {
    list.clear();
    list.add() = NewDelayStep();
}

}  // namespace zs
