// Drives a Wayland input backend for the tests and the typing bench, through the program's own
// Mouse step and text sender. One command a line on standard input, one answer line each:
//   open wlroots|gnome|portal|auto  "ok", or "refused <call>: <message>", as the program opens its
//                             input at start-up (auto: the first of the list that opens);
//                             "ok <notice>" when the program would say where input reaches
//   mouse X Y CLICKTYPE       the Mouse step (ClickType as in a step: L_Click, R_Click, ...)
//   type HEX                  SendKeyText of the text given as hex bytes (any byte may occur)
//   position                  "X Y": the pointer position
//   capture                   "X Y": the pointer position as F9 takes it
//   escape                    "1" when escapePressed() says so, else "0"
//   release                   releaseForExit()
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "model/step.h"
#include "platform/linux/input_backends.h"
#include "player/actions.h"

namespace {

std::string FromHex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    return bytes;
}

std::string Run(std::unique_ptr<zs::InputSession>& session, const std::string& line) {
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command == "open") {
        std::string backend;
        words >> backend;
        if (backend == "auto") {
            unsetenv(zs::kInputBackendVariable);
        } else {
            setenv(zs::kInputBackendVariable, backend.c_str(), 1);
        }
        zs::Status status;
        session = zs::OpenInputSession(status);
        if (!session) return "refused " + status.call + ": " + status.message;
        return session->reachNotice.empty() ? "ok" : "ok " + session->reachNotice;
    }
    if (!session) return "error: no backend open";
    zs::Input* input = &session->input();
    if (command == "mouse") {
        zs::Step step;
        words >> step.MouseX >> step.MouseY >> step.ClickType;
        zs::DoMouseStep(step, *input);
    } else if (command == "type") {
        std::string hex;
        words >> hex;
        zs::SendKeyText(*input, FromHex(hex));
    } else if (command == "position") {
        const zs::Point position = input->pointerPosition();
        return std::to_string(position.x) + " " + std::to_string(position.y);
    } else if (command == "capture") {
        const zs::Point position = input->pointerPositionForCapture();
        return std::to_string(position.x) + " " + std::to_string(position.y);
    } else if (command == "escape") {
        return input->escapePressed() ? "1" : "0";
    } else if (command == "release") {
        input->releaseForExit();
    } else {
        return "error: unknown command " + command;
    }
    return "ok";
}

}  // namespace

int main() {
    std::unique_ptr<zs::InputSession> session;
    std::string line;
    while (std::getline(std::cin, line)) {
        std::cout << Run(session, line) << std::endl;
    }
    return 0;
}
