// The pool of spare keys: reuse a binding, take a free key, else the key used longest ago.
#include "platform/x11/spare_keys.h"

#include <algorithm>

namespace zs::x11 {

SpareKeyPool::SpareKeyPool(std::vector<int> keycodes, Clock::duration settle) : settle_(settle) {
    for (int keycode : keycodes) keys_.push_back({keycode, kNoKeysym, {}});
}

SpareKeyPool::Lease SpareKeyPool::acquire(KeysymValue keysym) {
    if (keys_.empty()) return {};
    if (Key* bound = findBound(keysym)) return {bound->keycode, false, {}};
    Key* key = leastRecentlyUsed();
    const Clock::time_point notBefore =
        key->keysym == kNoKeysym ? Clock::time_point{} : key->lastUsed + settle_;
    key->keysym = keysym;
    return {key->keycode, true, notBefore};
}

void SpareKeyPool::markUsed(int keycode, Clock::time_point when) {
    for (Key& key : keys_) {
        if (key.keycode == keycode) key.lastUsed = std::max(key.lastUsed, when);
    }
}

bool SpareKeyPool::isSpare(int keycode) const {
    return std::any_of(keys_.begin(), keys_.end(),
                       [keycode](const Key& key) { return key.keycode == keycode; });
}

std::vector<int> SpareKeyPool::boundKeycodes() const {
    std::vector<int> bound;
    for (const Key& key : keys_) {
        if (key.keysym != kNoKeysym) bound.push_back(key.keycode);
    }
    return bound;
}

SpareKeyPool::Clock::time_point SpareKeyPool::settledAfter() const {
    Clock::time_point latest{};
    for (const Key& key : keys_) latest = std::max(latest, key.lastUsed);
    return latest == Clock::time_point{} ? latest : latest + settle_;
}

SpareKeyPool::Key* SpareKeyPool::findBound(KeysymValue keysym) {
    for (Key& key : keys_) {
        if (key.keysym == keysym) return &key;
    }
    return nullptr;
}

// Unbound keys come first (their last use is the epoch), then the one used longest ago.
SpareKeyPool::Key* SpareKeyPool::leastRecentlyUsed() {
    return &*std::min_element(keys_.begin(), keys_.end(), [](const Key& a, const Key& b) {
        const bool aFree = a.keysym == kNoKeysym, bFree = b.keysym == kNoKeysym;
        if (aFree != bFree) return aFree;
        return a.lastUsed < b.lastUsed;
    });
}

}  // namespace zs::x11
