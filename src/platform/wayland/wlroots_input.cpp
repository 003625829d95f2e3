// Virtual pointer and keyboard of a wlroots compositor, with a keymap of the program's own.
#include "platform/wayland/wlroots_input.h"

#include <fcntl.h>
#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include "platform/wayland/pointer_overlay.h"
#include "platform/wayland/wayland_input.h"
#include "platform/x11/keysyms.h"
#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

namespace zs::wayland {
namespace {

// Long enough for any client that keeps up with its input to decode a key press: an X11 client
// behind XWayland decodes with the keymap current when it reads the key, so a spare key's
// binding may change only this long after its last press.
constexpr auto kSpareKeySettle = std::chrono::seconds(1);
// A client learns of a new keyboard or pointer of the seat only after a round trip of its own;
// input sent before that is lost.
constexpr auto kNewDeviceSettle = std::chrono::milliseconds(200);
// The compositor drops a client whose socket fills up (foot fell behind after about 6,000 keys at
// full speed): typed keys keep to a pace that clients keep up with. They go out in batches: the
// compositor passes each batch on to the client in one write, and the socket holds many more
// keys in a few large writes than in one small write per key, so a client that stalls for a
// moment catches up instead of being dropped.
constexpr auto kKeyPace = std::chrono::microseconds(250);
constexpr int kKeysPerBatch = 8;

std::uint32_t ButtonCode(MouseButton button) {
    switch (button) {
    case MouseButton::Left: return BTN_LEFT;
    case MouseButton::Middle: return BTN_MIDDLE;
    case MouseButton::Right: return BTN_RIGHT;
    }
    return BTN_LEFT;
}

// The output that holds the point, else the nearest one (the pointer stops at the layout's edge).
const OutputPlace* OutputFor(const std::vector<OutputPlace>& outputs, int x, int y) {
    const OutputPlace* best = nullptr;
    long bestDistance = 0;
    for (const OutputPlace& output : outputs) {
        if (output.width <= 0 || output.height <= 0) continue;
        if (output.contains(x, y)) return &output;
        const long dx = std::max({output.x - x, 0, x - (output.x + output.width - 1)});
        const long dy = std::max({output.y - y, 0, y - (output.y + output.height - 1)});
        const long distance = dx * dx + dy * dy;
        if (best == nullptr || distance < bestDistance) best = &output, bestDistance = distance;
    }
    return best;
}

}  // namespace

std::unique_ptr<WlrootsInput> WlrootsInput::Open(Status& status) {
    std::unique_ptr<WaylandConnection> connection = WaylandConnection::Open(status);
    if (!connection) return nullptr;
    if (connection->keyboardManager() == nullptr) {
        status = Status::failure("wl_registry",
                                 "the compositor offers no virtual-keyboard protocol");
        return nullptr;
    }
    if (connection->pointerManager() == nullptr) {
        status = Status::failure("wl_registry",
                                 "the compositor offers no wlroots virtual-pointer protocol");
        return nullptr;
    }
    if (connection->seat() == nullptr) {
        status = Status::failure("wl_registry", "the compositor offers no seat");
        return nullptr;
    }
    std::unique_ptr<UploadedKeymap> keymap = UploadedKeymap::Create(status);
    if (!keymap) return nullptr;
    std::unique_ptr<WlrootsInput> input(new WlrootsInput(std::move(connection), std::move(keymap)));
    status = input->createDevices();
    if (!status) return nullptr;
    return input;
}

WlrootsInput::WlrootsInput(std::unique_ptr<WaylandConnection> connection,
                           std::unique_ptr<UploadedKeymap> keymap)
    : connection_(std::move(connection)),
      keymap_(std::move(keymap)),
      spareKeys_(keymap_->spareKeycodes(), kSpareKeySettle) {
    Status watcherStatus;  // without XWayland only the Stop button ends a run
    escape_ = std::make_unique<x11::EscapeWatcher>(nullptr, watcherStatus);
}

WlrootsInput::~WlrootsInput() {
    escape_.reset();
    releaseForExit();
    std::lock_guard lock(mutex_);
    for (auto& [name, pointer] : pointers_) zwlr_virtual_pointer_v1_destroy(pointer);
    if (keyboard_) zwp_virtual_keyboard_v1_destroy(keyboard_);
}

// The keyboard and one pointer per output, made once: every new device costs clients a round
// trip before they take its input.
Status WlrootsInput::createDevices() {
    std::lock_guard lock(mutex_);
    keyboard_ = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(
        connection_->keyboardManager(), connection_->seat());
    uploadKeymap();
    sendModifiers(true);
    for (const OutputPlace& output : connection_->outputs()) pointerFor(output);
    if (!connection_->roundTrip()) {
        return Status::failure("zwp_virtual_keyboard_manager_v1", connection_->errorText());
    }
    std::this_thread::sleep_for(kNewDeviceSettle);
    return Status::success();
}

// The keymap goes to the compositor in a sealed memory file, as a keyboard's keymap does.
void WlrootsInput::uploadKeymap() {
    const std::string text = keymap_->text();
    const int fd = memfd_create("zelvorin-step-keymap", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (fd < 0) return;
    const std::size_t size = text.size() + 1;  // with the terminating NUL
    if (::write(fd, text.c_str(), size) == static_cast<ssize_t>(size)) {
        fcntl(fd, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE | F_SEAL_SEAL);
        zwp_virtual_keyboard_v1_keymap(keyboard_, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                       static_cast<std::uint32_t>(size));
    }
    ::close(fd);
}

zwlr_virtual_pointer_v1* WlrootsInput::pointerFor(const OutputPlace& output) {
    auto& pointer = pointers_[output.name];
    if (pointer) return pointer;
    zwlr_virtual_pointer_manager_v1* manager = connection_->pointerManager();
    if (connection_->pointerManagerVersion() >= 2) {
        pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer_with_output(
            manager, connection_->seat(), output.output);
    } else {
        pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager,
                                                                          connection_->seat());
    }
    return pointer;
}

std::uint32_t WlrootsInput::now() const {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now() - start_).count());
}

void WlrootsInput::releaseForExit() {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    closed_ = true;
    releaseHeld();
}

void WlrootsInput::releaseHeld() {
    const std::vector<int> down = keycodesDown_;
    for (auto key = down.rbegin(); key != down.rend(); ++key) sendKey(*key, false, false);
    if (lastPointer_) {
        for (const std::uint32_t button : buttonsDown_) {
            zwlr_virtual_pointer_v1_button(lastPointer_, now(), button,
                                           WL_POINTER_BUTTON_STATE_RELEASED);
        }
        zwlr_virtual_pointer_v1_frame(lastPointer_);
    }
    buttonsDown_.clear();
    connection_->roundTrip();
}

// On a version 2 manager each output has its pointer, whose absolute motion spans that output;
// a version 1 pointer spans the whole layout, whose box is then the extent.
void WlrootsInput::movePointer(int x, int y) {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    const OutputPlace* output = OutputFor(connection_->outputs(), x, y);
    if (output == nullptr) return;
    x = std::clamp(x, output->x, output->x + output->width - 1);
    y = std::clamp(y, output->y, output->y + output->height - 1);
    zwlr_virtual_pointer_v1* pointer = pointerFor(*output);
    int left = output->x, top = output->y, width = output->width, height = output->height;
    if (connection_->pointerManagerVersion() < 2) {
        int right = 0, bottom = 0;
        left = top = INT32_MAX;
        for (const OutputPlace& each : connection_->outputs()) {
            left = std::min(left, each.x), top = std::min(top, each.y);
            right = std::max(right, each.x + each.width);
            bottom = std::max(bottom, each.y + each.height);
        }
        width = right - left, height = bottom - top;
    }
    if (lastPointer_ && lastPointer_ != pointer && !buttonsDown_.empty()) {
        pointer = lastPointer_;  // a drag stays on the device that holds the buttons
    }
    zwlr_virtual_pointer_v1_motion_absolute(pointer, now(), static_cast<std::uint32_t>(x - left),
                                            static_cast<std::uint32_t>(y - top),
                                            static_cast<std::uint32_t>(width),
                                            static_cast<std::uint32_t>(height));
    zwlr_virtual_pointer_v1_frame(pointer);
    lastPointer_ = pointer;
    connection_->roundTrip();
    pointerPlace_.movedTo({x, y});
}

void WlrootsInput::mouseButton(MouseButton button, bool down) {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    if (lastPointer_ == nullptr) {
        const OutputPlace* output = OutputFor(connection_->outputs(), 0, 0);
        if (output == nullptr) return;
        lastPointer_ = pointerFor(*output);
    }
    const std::uint32_t code = ButtonCode(button);
    zwlr_virtual_pointer_v1_button(lastPointer_, now(), code,
                                   down ? WL_POINTER_BUTTON_STATE_PRESSED
                                        : WL_POINTER_BUTTON_STATE_RELEASED);
    zwlr_virtual_pointer_v1_frame(lastPointer_);
    if (down) {
        buttonsDown_.insert(code);
    } else {
        buttonsDown_.erase(code);
    }
    connection_->roundTrip();
}

void WlrootsInput::key(int vkCode, bool down) {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    const int keycode = keycodeForVk(vkCode);
    if (keycode == 0) return;
    const bool modifier = vkCode == vk::Shift || vkCode == vk::Control || vkCode == vk::Alt;
    sendKey(keycode, down, /*typed=*/!down && !modifier);
}

// The program's Escape goes out on its own key: the Escape watcher counts the user's only.
int WlrootsInput::keycodeForVk(int vkCode) {
    if (vkCode == vk::Escape) return keymap_->ownEscapeKeycode();
    if (vkCode >= vk::RawKeyBase) {
        const int keycode = vkCode - vk::RawKeyBase;
        return keycode >= 9 && keycode <= 255 ? keycode : 0;
    }
    if (const auto known = vkKeycodes_.find(vkCode); known != vkKeycodes_.end()) {
        return known->second;
    }
    const x11::KeysymValue keysym = x11::KeysymForVk(vkCode);
    return keysym == x11::kNoKeysym ? 0 : keymap_->keycodeOf(static_cast<Keysym>(keysym));
}

// Key events wait in the connection's buffer until their batch ends: after kKeysPerBatch typed
// keys, at the end of a text, or before anything else the compositor must see in order.
void WlrootsInput::sendKey(int keycode, bool down, bool typed) {
    const auto held = std::find(keycodesDown_.begin(), keycodesDown_.end(), keycode);
    if (down == (held != keycodesDown_.end())) return;  // no repeat, no release of an up key
    zwp_virtual_keyboard_v1_key(keyboard_, now(), static_cast<std::uint32_t>(keycode - 8),
                                down ? WL_KEYBOARD_KEY_STATE_PRESSED
                                     : WL_KEYBOARD_KEY_STATE_RELEASED);
    if (down) {
        keycodesDown_.push_back(keycode);
    } else {
        keycodesDown_.erase(held);
    }
    sendModifiers(false);
    if (!typed) return;
    // The pace holds on average: a batch that went out late lets the next go sooner, but
    // never more than one batch sooner.
    const auto typedAt = std::chrono::steady_clock::now();
    if (keysInBatch_ == 0) batchDue_ = std::max(batchDue_, typedAt - kKeyPace * kKeysPerBatch);
    batchDue_ += kKeyPace;
    if (++keysInBatch_ >= kKeysPerBatch) endBatch();
}

void WlrootsInput::endBatch() {
    if (keysInBatch_ > 0) std::this_thread::sleep_until(batchDue_);
    keysInBatch_ = 0;
    connection_->roundTrip();
}

void WlrootsInput::sendGatheredKeys() {
    std::lock_guard lock(mutex_);
    if (!closed_) endBatch();
}

void WlrootsInput::sendModifiers(bool always) {
    const ModifierState modifiers = keymap_->modifiersFor(keycodesDown_);
    if (!always && modifiers == modifiers_) return;
    modifiers_ = modifiers;
    zwp_virtual_keyboard_v1_modifiers(keyboard_, modifiers.depressed, modifiers.latched,
                                      modifiers.locked, modifiers.group);
}

KeyScan WlrootsInput::scanChar(char32_t ch) {
    std::lock_guard lock(mutex_);
    for (const x11::KeysymValue keysym : x11::KeysymsForChar(ch)) {
        const std::optional<KeyLevel> key = keymap_->find(static_cast<Keysym>(keysym));
        if (!key) continue;
        const int vk = x11::VkForKeysym(keymap_->plainKeysym(key->keycode));
        if (vk == 0) return KeyScan{true, vk::RawKeyBase + key->keycode, key->level};
        vkKeycodes_[vk] = key->keycode;
        return KeyScan{true, vk, key->level};
    }
    return {};
}

// A character the layout lacks is bound to a spare key of the uploaded keymap, which goes to the
// compositor again; clients get the new keymap before the key.
void WlrootsInput::typeUnlisted(char32_t ch) {
    const x11::KeysymValue keysym = x11::UnlistedKeysym(ch);
    if (keysym == x11::kNoKeysym) return;
    std::unique_lock lock(mutex_);
    if (closed_) return;
    const x11::SpareKeyPool::Lease lease = spareKeys_.acquire(keysym);
    if (lease.keycode == 0) return;
    if (lease.mustBind) {
        endBatch();  // the keys typed with the old binding reach clients before the wait
        lock.unlock();  // other threads read the pointer meanwhile
        std::this_thread::sleep_until(lease.notBefore);
        lock.lock();
        if (closed_) return;
        if (!keymap_->bind(lease.keycode, static_cast<Keysym>(keysym))) return;
        uploadKeymap();
        sendModifiers(true);  // a new keymap starts with no modifiers
    }
    sendKey(lease.keycode, true, false);
    sendKey(lease.keycode, false, true);
    spareKeys_.markUsed(lease.keycode, x11::SpareKeyPool::Clock::now());
}

bool WlrootsInput::escapePressed() { return escape_ ? escape_->pressedSinceLastCall() : false; }

Point WlrootsInput::pointerPosition() {
    std::lock_guard lock(mutex_);
    return pointerPlace_.current();
}

// Exact over native windows too, where XWayland's pointer goes stale; the reading also
// corrects what the cheap position shows from now on.
Point WlrootsInput::pointerPositionForCapture() {
    std::lock_guard lock(mutex_);
    if (closed_) return pointerPlace_.current();
    if (const std::optional<Point> place = ReadPointerThroughOverlay(*connection_)) {
        pointerPlace_.movedTo(*place);
        return *place;
    }
    return pointerPlace_.current();
}

}  // namespace zs::wayland

namespace zs {

std::unique_ptr<Input> OpenWlrootsInput(Status& status) {
    return wayland::WlrootsInput::Open(status);
}

}  // namespace zs
