// Starting files on POSIX: programs with posix_spawn, everything else through xdg-open.
#pragma once

#include <string>

#include "platform/process.h"

namespace zs {

// Every child is started in a session of its own, with no shell in between, and reaped by a
// detached thread that waits for that one child only, so other children of the program are
// never reaped by mistake and no zombie stays.
class PosixProcessStarter : public ProcessStarter {
public:
    // opener: the program (looked up on PATH) that opens a file with its associated application.
    explicit PosixProcessStarter(std::string opener = "xdg-open");

    // A regular file with execute permission runs as a program; if it cannot be executed (no
    // interpreter line, wrong format) it is opened like any other file. A missing path fails.
    Status startFile(const std::string& path) override;
    Status openDocument(const std::string& path) override;

private:
    std::string opener_;
};

}  // namespace zs
