// The Mouse step: move the pointer, then click as the step's click type says.
#include <string_view>

#include "player/actions.h"

namespace zs {
namespace {

void Click(Input& input, MouseButton button) {
    input.mouseButton(button, true);
    input.mouseButton(button, false);
}

}  // namespace

void DoMouseStep(const Step& step, Input& input) {
    input.movePointer(step.MouseX, step.MouseY);
    const std::string_view click = step.ClickType;
    if (click == "L_Click") {
        Click(input, MouseButton::Left);
    } else if (click == "Ldbl_Click") {
        Click(input, MouseButton::Left);
        Click(input, MouseButton::Left);
    } else if (click == "R_Click") {
        Click(input, MouseButton::Right);
    } else if (click == "M_Click") {
        Click(input, MouseButton::Middle);
    }
}

}  // namespace zs
