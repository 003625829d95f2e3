// RList: the step program, an ordered list of steps with a cursor, the current step.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "model/step.h"

namespace zs {

class RList {
public:
    void clear();
    // Makes room for count steps, so that loading a large program does not move them repeatedly.
    void reserve(long count) { steps_.reserve(count > 0 ? static_cast<std::size_t>(count) : 0); }
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

    bool hasCurrent() const { return current_ >= 0; }
    long index() const { return current_; }  // -1 when there is no current step
    long size() const { return static_cast<long>(steps_.size()); }
    bool empty() const { return steps_.empty(); }

    Step& current();              // requires hasCurrent()
    const Step& current() const;  // requires hasCurrent()
    const Step& at(long index) const { return steps_.at(static_cast<std::size_t>(index)); }
    Step& at(long index) { return steps_.at(static_cast<std::size_t>(index)); }

    // Visits every step in order; each becomes current in turn.
    void forEach(const std::function<void(Step&)>& visit);

    const std::vector<Step>& steps() const { return steps_; }

private:
    std::vector<Step> steps_;
    long current_ = -1;
};

// New: a one-step program holding a Delay step of 0.5 s, which is current.
void MakeNewProgram(RList& list);

}  // namespace zs
