// Which spare key types a character the layout lacks, and when its binding may change.
//
// A client decodes a key event with the key mapping that is current when it reads the event, not
// when the key was pressed. Rebinding a key right after pressing it would make a slow client see
// the new character. So a binding stays until the pool runs out of keys, and then the key used
// longest ago is rebound, but never sooner than `settle` after its last press: any client that
// keeps up with its input within that time has decoded the press by then. Characters typed again
// reuse their key without any rebinding.
#pragma once

#include <chrono>
#include <vector>

#include "platform/x11/keysyms.h"

namespace zs::x11 {

class SpareKeyPool {
public:
    using Clock = std::chrono::steady_clock;

    struct Lease {
        int keycode = 0;           // 0 when the pool has no keys
        bool mustBind = false;     // bind keysym to keycode before pressing it
        Clock::time_point notBefore{};  // the binding may change only from this time on
    };

    SpareKeyPool(std::vector<int> keycodes, Clock::duration settle);

    // The key for keysym; a new binding is recorded at once.
    Lease acquire(KeysymValue keysym);
    // The key was pressed at `when`.
    void markUsed(int keycode, Clock::time_point when);

    bool empty() const { return keys_.empty(); }
    bool isSpare(int keycode) const;
    // Keys bound so far, and the time after which all of them may be unbound.
    std::vector<int> boundKeycodes() const;
    Clock::time_point settledAfter() const;

private:
    struct Key {
        int keycode = 0;
        KeysymValue keysym = kNoKeysym;
        Clock::time_point lastUsed{};
    };

    Key* findBound(KeysymValue keysym);
    Key* leastRecentlyUsed();

    std::vector<Key> keys_;
    Clock::duration settle_;
};

}  // namespace zs::x11
