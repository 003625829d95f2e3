#include "model/rlist.h"

#include <cstdlib>
#include <iterator>
#include <stdexcept>

namespace zs {

namespace {

// Up to this many links are walked; a farther jump uses the position table.
constexpr long kLongestWalk = 64;

}  // namespace

RList::RList(const RList& other) : steps_(other.steps_), size_(other.size_) {
    if (other.index_ >= 0) select(other.index_);
}

RList::RList(RList&& other) noexcept
    : steps_(std::move(other.steps_)), size_(other.size_),
      cursor_(other.index_ >= 0 ? other.cursor_ : steps_.end()), index_(other.index_) {
    other.clear();  // its nodes, cursor included, now belong to this list
}

RList& RList::operator=(const RList& other) {
    if (this != &other) *this = RList(other);
    return *this;
}

RList& RList::operator=(RList&& other) noexcept {
    if (this == &other) return *this;
    clear();
    steps_ = std::move(other.steps_);
    size_ = other.size_;
    cursor_ = other.index_ >= 0 ? other.cursor_ : steps_.end();
    index_ = other.index_;
    other.clear();
    return *this;
}

void RList::clear() {
    steps_.clear();
    size_ = 0;
    cursor_ = steps_.end();
    index_ = -1;
    table_.clear();
    tableValid_ = false;
}

Step& RList::placeNewStep(Position before, long index) {
    cursor_ = steps_.emplace(before);
    index_ = index;
    ++size_;
    tableValid_ = false;
    return *cursor_;
}

Step& RList::add() {
    if (index_ < 0) return placeNewStep(steps_.end(), size_);
    return placeNewStep(std::next(cursor_), index_ + 1);
}

Step& RList::insert() {
    if (index_ < 0) return placeNewStep(steps_.begin(), 0);
    return placeNewStep(cursor_, index_);
}

void RList::remove() {
    if (index_ < 0) return;
    const Position after = steps_.erase(cursor_);
    --size_;
    tableValid_ = false;
    if (size_ == 0) {
        cursor_ = steps_.end();
        index_ = -1;
    } else if (index_ > 0) {
        cursor_ = std::prev(after);
        --index_;
    } else {
        cursor_ = after;
    }
}

bool RList::first() {
    if (size_ == 0) return false;
    cursor_ = steps_.begin();
    index_ = 0;
    return true;
}

bool RList::last() {
    if (size_ == 0) return false;
    cursor_ = std::prev(steps_.end());
    index_ = size_ - 1;
    return true;
}

bool RList::next() {
    if (index_ < 0 || index_ + 1 >= size_) return false;
    ++cursor_;
    ++index_;
    return true;
}

bool RList::previous() {
    if (index_ <= 0) return false;
    --cursor_;
    --index_;
    return true;
}

RList::Position RList::positionOf(long index) const {
    auto& steps = const_cast<std::list<Step>&>(steps_);
    const long fromCursor = index_ < 0 ? size_ : std::labs(index - index_);
    const long fromEnd = size_ - 1 - index;
    if (index <= kLongestWalk) return std::next(steps.begin(), index);
    if (fromEnd <= kLongestWalk) return std::prev(steps.end(), fromEnd + 1);
    if (fromCursor <= kLongestWalk) return std::next(cursor_, index - index_);
    if (!tableValid_) {
        table_.clear();
        table_.reserve(static_cast<std::size_t>(size_));
        for (Position p = steps.begin(); p != steps.end(); ++p) table_.push_back(p);
        tableValid_ = true;
    }
    return table_[static_cast<std::size_t>(index)];
}

bool RList::select(long index) {
    if (index < 0 || index >= size_) return false;
    cursor_ = positionOf(index);
    index_ = index;
    return true;
}

Step& RList::current() {
    if (index_ < 0) throw std::logic_error("RList has no current step");
    return *cursor_;
}

const Step& RList::current() const {
    if (index_ < 0) throw std::logic_error("RList has no current step");
    return *cursor_;
}

const Step& RList::at(long index) const {
    if (index < 0 || index >= size_) throw std::out_of_range("RList index outside the list");
    return *positionOf(index);
}

Step& RList::at(long index) {
    if (index < 0 || index >= size_) throw std::out_of_range("RList index outside the list");
    return *positionOf(index);
}

void RList::forEach(const std::function<void(Step&)>& visit) {
    long index = 0;
    for (Position p = steps_.begin(); p != steps_.end(); ++p, ++index) {
        cursor_ = p;
        index_ = index;
        visit(*p);
    }
}

void MakeNewProgram(RList& list) {
    list.clear();
    list.add() = NewDelayStep();
}

}  // namespace zs
