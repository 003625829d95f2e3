// Drives an FltkGui in a real X server: one gui for the whole test program on the main (UI)
// thread, xdotool started on a helper thread while the UI thread keeps handling events.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/fltk/fltk_gui.h"

namespace zs::gui::test {

// Bounds every wait for something the X server should deliver; a hang becomes a failure.
constexpr double kPatience = 10.0;

class GuiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void TearDown() override;

    static FltkGui& gui() { return *gui_; }

    // Handles events until one satisfies match; the events seen on the way are kept in seen_.
    std::optional<Event> waitFor(const std::function<bool(const Event&)>& match);
    // Handles events until done() is true.
    bool pumpUntil(const std::function<bool()>& done);
    // Runs a shell command on a helper thread while the UI thread keeps going.
    void startCommand(const std::string& command);
    int finishCommand();  // its exit status
    // Lets every X event sent so far (by xdotool or the test) reach the gui and be handled.
    void settle();
    void opened(int window) { windows_.push_back(window); }
    std::string windowArg(int window) const;  // "--window ID" for xdotool

    std::vector<Event> seen_;

private:
    static FltkGui* gui_;
    std::vector<int> windows_;
    std::unique_ptr<std::thread> command_;
    int commandStatus_ = -1;
};

int run(const std::string& command);  // synchronous shell command
std::string output(const std::string& command);

}  // namespace zs::gui::test
