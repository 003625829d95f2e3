// The step record and the step-type table that reader, writer, checker, editor and player share.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

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

    bool operator==(const Step&) const = default;
};

// The value kinds a CODE line field can hold, in the order they stand on the line.
enum class StepField {
    ClickType, MouseX, MouseY, KeyboardType, KeyText /* TypedText or KeyToken */, DelaySeconds,
    LoopFromStep, LoopRepetitions, ComPort, ComType, Telegram, JumpToStep, StateText, ExecuteFile,
    MessageText
};

struct StepTypeInfo {
    int number;                   // RECORDtype and the CODE line's first field
    std::string_view displayName; // text of the step-type combo, e.g. "1 Mouse"
    std::string_view upperName;   // name in the editor's line information, e.g. "MOUSE"
    int fieldCount;               // CODE-line fields between the type number and Description
    std::array<StepField, 3> fields;
    std::string_view codePattern; // the CODE-line pattern shown in the editor's line information
};

inline constexpr int kStepTypeCount = 9;

inline constexpr std::array<StepTypeInfo, kStepTypeCount> kStepTypes{{
    {1, "1 Mouse", "MOUSE", 3, {StepField::ClickType, StepField::MouseX, StepField::MouseY},
     "1;L_Click/Ldbl_Click/R_Click/M_Click;X;Y;Remarks"},
    {2, "2 Keyboard", "KEYBOARD", 2, {StepField::KeyboardType, StepField::KeyText, {}},
     "2;String/Key;MyString/{F2};Rermarks"},
    {3, "3 Delay", "DELAY", 1, {StepField::DelaySeconds, {}, {}},
     "3;Time;Remarks"},
    {4, "4 Loop", "LOOP", 2, {StepField::LoopFromStep, StepField::LoopRepetitions, {}},
     "4;FromStepNo;Repetitions;Remarks"},
    {5, "5 Comport", "COMPORT", 3, {StepField::ComPort, StepField::ComType, StepField::Telegram},
     "5;COM1;Initialise;9600 N 8 1;Remarks"},
    {6, "6 Jump", "JUMP", 1, {StepField::JumpToStep, {}, {}},
     "6;ToStepNo;Remarks"},
    {7, "7 State", "STATE", 1, {StepField::StateText, {}, {}},
     "7;MyStateText;Remarks"},
    {8, "8 Execute", "EXECUTE", 1, {StepField::ExecuteFile, {}, {}},
     "8;Filepath;Remarks"},
    {9, "9 Message", "MESSAGE", 1, {StepField::MessageText, {}, {}},
     "9;MyMessageText;Remarks"},
}};

// The table row of a step type, or nullptr for a number outside 1 to 9.
constexpr const StepTypeInfo* FindStepType(int number) {
    return number >= 1 && number <= kStepTypeCount ? &kStepTypes[number - 1] : nullptr;
}

// The table row whose display name is exactly `name`, or nullptr.
constexpr const StepTypeInfo* FindStepTypeByDisplayName(std::string_view name) {
    for (const auto& info : kStepTypes)
        if (info.displayName == name) return &info;
    return nullptr;
}

// What New and the append/insert commands create: a Delay step of 0.5 s.
inline Step NewDelayStep() {
    Step step;
    step.RECORDtype = 3;
    step.DelaySeconds = 0.5f;
    return step;
}

}  // namespace zs
