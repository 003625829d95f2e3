#include "gui_driver.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>

#include <FL/Fl.H>
#include <FL/x.H>
#include <sys/wait.h>

namespace zs::gui::test {

FltkGui* GuiTest::gui_ = nullptr;

void GuiTest::SetUpTestSuite() {
    if (!gui_) gui_ = new FltkGui(96);  // lives until the process ends, on the main thread
}

void GuiTest::TearDown() {
    if (command_) finishCommand();
    for (int window : windows_) gui().closeWindow(window);
    while (gui().waitEventFor(0.05)) {
    }
}

std::optional<Event> GuiTest::waitFor(const std::function<bool(const Event&)>& match) {
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + std::chrono::duration<double>(kPatience);
    while (Clock::now() < deadline) {
        if (auto event = gui().waitEventFor(0.05)) {
            seen_.push_back(*event);
            if (match(*event)) return event;
        }
    }
    return std::nullopt;
}

bool GuiTest::pumpUntil(const std::function<bool()>& done) {
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + std::chrono::duration<double>(kPatience);
    while (!done()) {
        if (Clock::now() > deadline) return false;
        if (auto event = gui().waitEventFor(0.02)) seen_.push_back(*event);
    }
    return true;
}

void GuiTest::settle() {
    gui().runOnUi([] { XSync(fl_display, False); });
    while (auto event = gui().waitEventFor(0.05)) seen_.push_back(*event);
}

void GuiTest::startCommand(const std::string& command) {
    if (command_) finishCommand();
    commandStatus_ = -1;
    command_ = std::make_unique<std::thread>([this, command] { commandStatus_ = run("timeout 30 " + command); });
}

int GuiTest::finishCommand() {
    if (!command_) return commandStatus_;
    // The command may wait for a window that only the UI thread can show.
    std::atomic<bool> joined{false};
    std::thread joiner([&] {
        command_->join();
        joined = true;
    });
    pumpUntil([&] { return joined.load(); });
    joiner.join();
    command_.reset();
    settle();
    return commandStatus_;
}

std::string GuiTest::windowArg(int window) const {
    return "--window " + std::to_string(gui_->xWindow(window));
}

int run(const std::string& command) {
    int status = std::system(command.c_str());
    return status == -1 ? -1 : WEXITSTATUS(status);
}

std::string output(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 256> buffer{};
        while (fgets(buffer.data(), buffer.size(), pipe)) text += buffer.data();
        pclose(pipe);
    }
    return text;
}

}  // namespace zs::gui::test
