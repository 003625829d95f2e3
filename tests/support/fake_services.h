// Small stand-ins for the services a test does not look at, and an Input whose Escape key the
// test presses.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "platform/input.h"
#include "platform/serial.h"
#include "platform/system.h"

namespace zs::test {

// Input that does nothing but report Escape once after pressEscape().
class EscapeInput final : public Input {
public:
    void pressEscape() { escape_ = true; }
    bool escapePressed() override { return escape_.exchange(false); }

    void movePointer(int, int) override {}
    void mouseButton(MouseButton, bool) override {}
    void key(int, bool) override {}
    bool textIsUtf8() const override { return true; }
    KeyScan scanChar(char32_t) override { return {}; }
    void typeUnlisted(char32_t) override {}
    Point pointerPosition() override { return {}; }

private:
    std::atomic<bool> escape_{false};
};

class NoSerialPorts final : public SerialPorts {
public:
    Status open(const std::string&, const SerialSettings&, std::unique_ptr<SerialPort>&) override {
        return Status::failure("open", "no serial ports in this test");
    }
};

class FixedSystemInfo final : public SystemInfo {
public:
    std::string userName() override { return "tester"; }
    LocalTime localTime() override { return {2024, 1, 2, 3, 4, 5}; }
    std::string ownExecutablePath() override { return "/opt/zs/Zelvorin-Step"; }
    int screenPixelsPerInch() override { return 96; }
};

}  // namespace zs::test
