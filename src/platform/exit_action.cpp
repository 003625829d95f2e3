#include "platform/exit_action.h"

#include <mutex>

namespace zs {
namespace {

std::function<void()>& Action() {
    static std::function<void()> action;
    return action;
}

std::once_flag& Once() {
    static std::once_flag once;
    return once;
}

}  // namespace

void SetExitAction(std::function<void()> action) { Action() = std::move(action); }

void RunExitAction() {
    std::call_once(Once(), [] {
        if (Action()) Action()();
    });
}

}  // namespace zs
