// RList: the step program, an ordered list of steps with a cursor, the current step.
#pragma once

#include <cstddef>
#include <functional>
#include <list>
#include <vector>

#include "model/step.h"

namespace zs {

// A doubly linked list, so that adding, inserting and removing at the cursor and moving it by
// one step cost the same in a program of any length. The cursor's index is kept alongside it.
// A jump to a far index walks from the nearest of first, cursor and last, or uses a table of
// positions that is built once after the list changed; playing jumps and loops stays cheap.
class RList {
public:
    RList() = default;
    RList(const RList& other);
    RList(RList&& other) noexcept;
    RList& operator=(const RList& other);
    RList& operator=(RList&& other) noexcept;

    void clear();
    // Keeps room for the position table of count steps.
    void reserve(long count) { table_.reserve(count > 0 ? static_cast<std::size_t>(count) : 0); }
    // Inserts an all-empty step after the current one (at the end of an empty list); it becomes current.
    Step& add();
    // Inserts an all-empty step before the current one (at the front of an empty list); it becomes current.
    Step& insert();
    // Removes the current step; the step before it becomes current, or the new first step.
    void remove();

    bool first();
    bool last();
    bool next();      // false (cursor unchanged) on the last step or with no current step
    bool previous();  // false (cursor unchanged) on the first step or with no current step
    bool select(long index);  // false (cursor unchanged) when index is outside the list

    bool hasCurrent() const { return index_ >= 0; }
    long index() const { return index_; }  // -1 when there is no current step
    long size() const { return size_; }
    bool empty() const { return size_ == 0; }

    Step& current();              // requires hasCurrent()
    const Step& current() const;  // requires hasCurrent()
    const Step& at(long index) const;  // throws std::out_of_range outside the list
    Step& at(long index);

    // Visits every step in order; each becomes current in turn.
    void forEach(const std::function<void(Step&)>& visit);

    const std::list<Step>& steps() const { return steps_; }

private:
    using Position = std::list<Step>::iterator;
    Position positionOf(long index) const;  // requires 0 <= index < size()
    Step& placeNewStep(Position before, long index);

    std::list<Step> steps_;
    long size_ = 0;
    Position cursor_ = steps_.end();
    long index_ = -1;
    mutable std::vector<Position> table_;  // position of every index while tableValid_
    mutable bool tableValid_ = false;
};

// New: a one-step program holding a Delay step of 0.5 s, which is current.
void MakeNewProgram(RList& list);

}  // namespace zs
