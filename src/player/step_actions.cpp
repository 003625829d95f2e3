#include "player/step_actions.h"

namespace zs {

void DeviceStepActions::mouse(const Step& step) { DoMouseStep(step, input_); }

void DeviceStepActions::keyboard(const Step& step) { DoKeyboardStep(step, input_); }

ComportResult DeviceStepActions::comport(const Step& step) {
    return DoComportStep(step, state_, serial_);
}

}  // namespace zs
