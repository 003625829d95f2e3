// What the program does however it ends: the close box, Exit, a signal, the end of the session
// or a lost display connection. It releases the keys and buttons the input holds.
#pragma once

#include <functional>

namespace zs {

// Set once at start-up, before anything can end the program.
void SetExitAction(std::function<void()> action);

// Runs the action on the first call; a call from another thread meanwhile waits until it has
// run, and every later call returns at once. The caller then ends the process.
void RunExitAction();

}  // namespace zs
