// The seam between the player and the steps that act on the desktop and on serial ports, so that
// the player can be run with actions that only record what they were asked to do.
#pragma once

#include "player/actions.h"

namespace zs {

class StepActions {
public:
    virtual ~StepActions() = default;
    virtual void mouse(const Step& step) = 0;
    // `stopped` tells a long step that the run was stopped meanwhile.
    virtual void keyboard(const Step& step, const StopRequested& stopped) = 0;
    virtual ComportResult comport(const Step& step, const StopRequested& stopped) = 0;
    // A Query step's port opened and its telegram written; nullptr with the failure.
    virtual std::unique_ptr<QueryExchange> query(const Step& step, const StopRequested& stopped,
                                                 ComportResult& failure) = 0;
};

// The actions of the program: DoMouseStep, DoKeyboardStep and DoComportStep.
class DeviceStepActions final : public StepActions {
public:
    DeviceStepActions(AppState& state, Input& input, SerialPorts& serial)
        : state_(state), input_(input), serial_(serial) {}
    void mouse(const Step& step) override;
    void keyboard(const Step& step, const StopRequested& stopped) override;
    ComportResult comport(const Step& step, const StopRequested& stopped) override;
    std::unique_ptr<QueryExchange> query(const Step& step, const StopRequested& stopped,
                                         ComportResult& failure) override;

private:
    AppState& state_;
    Input& input_;
    SerialPorts& serial_;
};

}  // namespace zs
