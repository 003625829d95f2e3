#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/recording_input.h"
#include "player/actions.h"

namespace zs {
namespace {

TEST(DoMouseStep, MovesThePointerThenClicksAsTheClickTypeSays) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"L_Click", "P-5,700 Ld Lu"},
        {"Ldbl_Click", "P-5,700 Ld Lu Ld Lu"},
        {"R_Click", "P-5,700 Rd Ru"},
        {"M_Click", "P-5,700 Md Mu"},
        {"l_click", "P-5,700"},  // exact comparison: no click
        {"", "P-5,700"},
        {"Move", "P-5,700"},
    };
    for (const auto& [clickType, expected] : cases) {
        RecordingInput input;
        Step step;
        step.RECORDtype = 1;
        step.ClickType = clickType;
        step.MouseX = -5;
        step.MouseY = 700;
        DoMouseStep(step, input);
        EXPECT_EQ(input.transcript(), expected) << clickType;
        EXPECT_EQ(input.pointerPosition(), (Point{-5, 700}));
    }
}

}  // namespace
}  // namespace zs
