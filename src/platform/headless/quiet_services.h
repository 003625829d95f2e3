// Quiet stand-ins for the services a test or benchmark does not look at: an Input that sends
// nowhere (its Escape key pressed on request), no serial ports, fixed system facts.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "platform/input.h"
#include "platform/serial.h"
#include "platform/system.h"

namespace zs {

// Input that does nothing but report Escape once after pressEscape().
class QuietInput final : public Input {
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
    void releaseForExit() override {}

private:
    std::atomic<bool> escape_{false};
};

class NoSerialPorts final : public SerialPorts {
public:
    Status open(const std::string&, const SerialSettings&, std::unique_ptr<SerialPort>&) override {
        return Status::failure("open", "no serial ports in this test");
    }
};

// The program's file lies in a folder that does not exist, so no help document is written.
class FixedSystemInfo final : public SystemInfo {
public:
    std::string userName() override { return "tester"; }
    LocalTime localTime() override { return {2024, 1, 2, 3, 4, 5}; }
    std::string ownExecutablePath() override { return "/nonexistent-zs/Zelvorin-Step"; }
    int screenPixelsPerInch() override { return 96; }
};

}  // namespace zs
