#include "player/step_actions.h"

namespace zs {

void DeviceStepActions::mouse(const Step& step) { DoMouseStep(step, input_); }

void DeviceStepActions::keyboard(const Step& step, const StopRequested& stopped) {
    DoKeyboardStep(step, input_, stopped);
}

ComportResult DeviceStepActions::comport(const Step& step, const StopRequested& stopped) {
    return DoComportStep(step, state_, serial_, stopped);
}

std::unique_ptr<QueryExchange> DeviceStepActions::query(const Step& step,
                                                        const StopRequested& stopped,
                                                        ComportResult& failure) {
    return StartQuery(step, state_, serial_, stopped, failure);
}

}  // namespace zs
