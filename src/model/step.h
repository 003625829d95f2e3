// The step record: one step of a program. Its fields are described once in model/step_fields.h
// and its types in model/step_types.h, which the reader, writer, checker, editor and player share.
#pragma once

#include <cstdint>
#include <string>

namespace zs {

// One step of a program. Fields a type does not use stay "" or 0.
struct Step {
    std::int32_t RECORDtype = 0;
    std::string Description;
    std::string ClickType;
    std::int32_t MouseX = 0;
    std::int32_t MouseY = 0;
    std::string KeyboardType;
    std::string KeyToken;
    std::string TypedText;
    float DelaySeconds = 0.0f;
    std::int32_t LoopFromStep = 0;
    std::int32_t LoopRepetitions = 0;
    std::string ComPort;
    std::string ComType;
    std::string Telegram;
    std::int32_t JumpToStep = 0;
    std::string StateText;
    std::string ExecuteFile;
    std::string MessageText;
    std::string WindowAction;     // "Activate", "Wait", "WaitClose" or "Screen"
    std::string WindowTitle;      // what the window's title contains
    std::string WaitCondition;    // "Color" or "NotColor"
    std::string PixelColor;       // "#RRGGBB"
    std::int32_t ColorTolerance = 0;
    std::string ReplyText;        // the reply a Query step waits for
    float TimeoutSeconds = 0.0f;  // longest wait; 0 tests once
    std::int32_t OnFailStep = 0;  // 0: pause with a message; n: go on at step n

    bool operator==(const Step&) const = default;
};

// What New and the append/insert commands create: a Delay step of 0.5 s.
inline Step NewDelayStep() {
    Step step;
    step.RECORDtype = 3;
    step.DelaySeconds = 0.5f;
    return step;
}

}  // namespace zs
