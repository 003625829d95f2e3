// SIGTERM, SIGINT and SIGHUP end the program the way its close box does: the exit action runs
// (keys and buttons are released), then the process ends with 128 + the signal number.
#pragma once

#include "platform/status.h"

namespace zs::posix {

// The handler only writes the signal number into a pipe; a thread of its own reads it and does
// the work, which no signal handler may do.
Status EndProcessOnSignals();

}  // namespace zs::posix
