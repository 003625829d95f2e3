#include "shell/unattended_run.h"

#include <cstdio>

namespace zs {

UnattendedRun::UnattendedRun(Program& program) : program_(program) {
    Shell& shell = program_.shell();
    shell.hooks.reportInsteadOfBox = [this](const std::string& title, const std::string& text) {
        Report(title == "Error" ? text : title + ": " + text);
    };
    Player::Unattended unattended;
    unattended.report = [this](const std::string& line) { Report(line); };
    // The loop waits for events: the posted one lets it see that it ends.
    unattended.ended = [this, &shell](Player::RunEnd end) {
        status_ = end == Player::RunEnd::Completed ? kExitCompleted
                  : end == Player::RunEnd::Failed  ? kExitStepFailed
                                                   : kExitStopped;
        shell.EndLoop(status_);
        program_.services().gui.postEvent({});
    };
    if (Player* player = program_.player()) player->setUnattended(std::move(unattended));
}

bool UnattendedRun::Start(const std::string& path) {
    if (!program_.shell().OpenFile(path)) {
        status_ = kExitNotOpened;
        return false;
    }
    program_.commands().Play();
    return true;
}

void UnattendedRun::Report(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
}

}  // namespace zs
