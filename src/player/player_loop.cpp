// The Loop step: three loop levels, each taken by one Loop step until its count is reached.
#include <array>
#include <string>

#include "player/player.h"

namespace zs {
namespace {

constexpr std::array kLoopTexts{form::kTextStatus1, form::kTextStatus2, form::kTextStatus3};
constexpr std::array kLoopPrefixes{"L1: ", "L2: ", "L3: "};

}  // namespace

// The levels are tested in order; a level either belongs to this Loop step (count one more pass)
// or is free (take it). Returns the step to hand over to.
std::optional<long> Player::LoopStep(const Step& step, long index) {
    const long fromIndex = static_cast<long>(step.LoopFromStep) - 1;
    for (std::size_t k = 0; k < state_.loops.size(); ++k) {
        LoopLevel& level = state_.loops[k];
        if (level.active == 1 && level.stepIndex == index) {
            const int count = ++level.count;
            if (count == step.LoopRepetitions) {
                level.active = 0;
                services_.gui.setText(kLoopTexts[k], "");
                if (HasStepAfter(index)) return index + 1;
                runEnd_ = RunEnd::Completed;
                state_.playing = 0;
                return std::nullopt;
            }
            services_.gui.setText(kLoopTexts[k], kLoopPrefixes[k] + std::to_string(count));
            SettleDelay();
            return fromIndex;
        }
        if (step.LoopFromStep > 0 && level.active == 0) {
            level.active = 1;
            level.stepIndex = static_cast<int>(index);
            level.count = 1;
            services_.gui.setText(kLoopTexts[k], std::string(kLoopPrefixes[k]) + "1");
            SettleDelay();
            return fromIndex;
        }
    }
    SettleDelay();
    return std::nullopt;
}

}  // namespace zs
