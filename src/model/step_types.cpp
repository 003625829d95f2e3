// The step-type table, with each type's CODE-line value check beside its row.
#include "model/step_types.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <initializer_list>
#include <iterator>

#include "model/numbers.h"
#include "model/step_values.h"

namespace zs {
namespace {

using namespace field;
using Fields = std::span<const std::string_view>;

bool IsOneOf(std::string_view text, std::initializer_list<std::string_view> choices) {
    return std::find(choices.begin(), choices.end(), text) != choices.end();
}

// Range check of a coordinate: below 1 is refused, but exactly "0" is accepted.
bool CoordinateFails(std::string_view field) { return ReadInteger(field) < 1 && field != "0"; }

bool NumberBelowOne(std::string_view field) { return ReadInteger(field) < 1; }

LineFault CheckMouse(Fields f) {
    if (!IsOneOf(f[0], {"L_Click", "Ldbl_Click", "R_Click", "M_Click"})) return LineFault::Value;
    if (CoordinateFails(f[1]) || CoordinateFails(f[2])) return LineFault::Range;
    return LineFault::None;
}

LineFault CheckKeyboard(Fields f) {
    return IsOneOf(f[0], {"String", "Key"}) ? LineFault::None : LineFault::Value;
}

// Compared as the delay is stored, so "0.1" passes; "0,1" reads 0 as the loader would.
LineFault CheckDelay(Fields f) {
    return ReadFileDelay(f[0]) < 0.1f ? LineFault::Range : LineFault::None;
}

LineFault CheckLoop(Fields f) {
    return NumberBelowOne(f[0]) || NumberBelowOne(f[1]) ? LineFault::Range : LineFault::None;
}

LineFault CheckComport(Fields f) {
    if (f[0].substr(0, 3) != "COM") return LineFault::Range;
    if (!IsOneOf(f[1], {"Initialise", "Hex", "Byte", "String"})) return LineFault::Value;
    return f[2].empty() ? LineFault::Value : LineFault::None;
}

LineFault CheckJump(Fields f) { return NumberBelowOne(f[0]) ? LineFault::Range : LineFault::None; }

LineFault AnyText(Fields) { return LineFault::None; }

LineFault CheckExecute(Fields f) { return f[0].empty() ? LineFault::Value : LineFault::None; }

template <std::size_t N>
bool IsOneOf(std::string_view text, const std::array<std::string_view, N>& choices) {
    return std::find(choices.begin(), choices.end(), text) != choices.end();
}

// The time-out and on-fail fields that end the lines of the steps that wait.
bool TimeoutOrOnFailOutOfRange(std::string_view timeout, std::string_view onFail) {
    return !TimeoutInRange(ReadFileDelay(timeout)) || ReadInteger(onFail) < 0;
}

LineFault CheckWindow(Fields f) {
    if (!IsOneOf(f[0], kWindowActions)) return LineFault::Value;
    if (f[1].empty() && f[0] != "Screen") return LineFault::Value;
    return TimeoutOrOnFailOutOfRange(f[2], f[3]) ? LineFault::Range : LineFault::None;
}

// A port named "COM" and a number, as the port list names them.
bool IsComPortName(std::string_view name) {
    if (name.size() < 4 || name.substr(0, 3) != "COM") return false;
    return std::all_of(name.begin() + 3, name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

LineFault CheckQuery(Fields f) {
    if (!IsComPortName(f[0]) || !IsOneOf(f[1], kQueryKinds) || f[2].empty()) return LineFault::Value;
    return TimeoutOrOnFailOutOfRange(f[4], f[5]) ? LineFault::Range : LineFault::None;
}

LineFault CheckWait(Fields f) {
    if (!IsOneOf(f[0], kWaitConditions)) return LineFault::Value;
    if (ReadInteger(f[1]) < 0 || ReadInteger(f[2]) < 0) return LineFault::Range;
    if (!ReadPixelColor(f[3])) return LineFault::Value;
    const std::int32_t tolerance = ReadInteger(f[4]);
    if (tolerance < 0 || tolerance > kMaxColorTolerance) return LineFault::Range;
    return TimeoutOrOnFailOutOfRange(f[5], f[6]) ? LineFault::Range : LineFault::None;
}

constexpr std::array kMouseCode{&kClickType, &kMouseX, &kMouseY};
constexpr std::array kKeyboardCode{&kKeyboardType, &kKeyText};
constexpr std::array kKeyboardUsed{&kKeyboardType, &kKeyToken, &kTypedText};
constexpr std::array kDelayCode{&kDelaySeconds};
constexpr std::array kLoopCode{&kLoopFromStep, &kLoopRepetitions};
constexpr std::array kComportCode{&kComPort, &kComType, &kTelegram};
constexpr std::array kJumpCode{&kJumpToStep};
constexpr std::array kStateCode{&kStateText};
constexpr std::array kExecuteCode{&kExecuteFile};
constexpr std::array kMessageCode{&kMessageText};
constexpr std::array kWindowCode{&kWindowAction, &kWindowTitle, &kTimeoutSeconds, &kOnFailStep};
constexpr std::array kWaitCode{&kWaitCondition, &kMouseX,         &kMouseY,    &kPixelColor,
                               &kColorTolerance, &kTimeoutSeconds, &kOnFailStep};
constexpr std::array kQueryCode{&kComPort,   &kComType,        &kTelegram,
                                &kReplyText, &kTimeoutSeconds, &kOnFailStep};
constexpr std::array kWaitUsed{&kMouseX,         &kMouseY,         &kWaitCondition, &kPixelColor,
                               &kColorTolerance, &kTimeoutSeconds, &kOnFailStep};

constexpr StepTypeInfo kRows[] = {
    {kMouseStepType, "1 Mouse", "MOUSE", kMouseCode, kMouseCode,
     "1;L_Click/Ldbl_Click/R_Click/M_Click;X;Y;Remarks", CheckMouse},
    {2, "2 Keyboard", "KEYBOARD", kKeyboardCode, kKeyboardUsed,
     "2;String/Key;MyString/{F2};Rermarks", CheckKeyboard},
    {3, "3 Delay", "DELAY", kDelayCode, kDelayCode, "3;Time;Remarks", CheckDelay},
    {4, "4 Loop", "LOOP", kLoopCode, kLoopCode, "4;FromStepNo;Repetitions;Remarks", CheckLoop},
    {5, "5 Comport", "COMPORT", kComportCode, kComportCode,
     "5;COM1;Initialise;9600 N 8 1;Remarks", CheckComport},
    {6, "6 Jump", "JUMP", kJumpCode, kJumpCode, "6;ToStepNo;Remarks", CheckJump},
    {7, "7 State", "STATE", kStateCode, kStateCode, "7;MyStateText;Remarks", AnyText},
    {8, "8 Execute", "EXECUTE", kExecuteCode, kExecuteCode, "8;Filepath;Remarks", CheckExecute},
    {9, "9 Message", "MESSAGE", kMessageCode, kMessageCode, "9;MyMessageText;Remarks", AnyText},
    {kWindowStepType, "10 Window", "WINDOW", kWindowCode, kWindowCode,
     "10;Activate/Wait/WaitClose/Screen;Title;Timeout;OnFailStep;Remarks", CheckWindow},
    {kWaitStepType, "11 Wait", "WAIT", kWaitCode, kWaitUsed,
     "11;Color/NotColor;X;Y;#RRGGBB;Tolerance;Timeout;OnFailStep;Remarks", CheckWait},
    {kQueryStepType, "12 Query", "QUERY", kQueryCode, kQueryCode,
     "12;COM1;String/Hex/Byte;Telegram;Reply;Timeout;OnFailStep;Remarks", CheckQuery},
};
static_assert(std::size(kRows) == kStepTypeCount, "one row per step type");

constexpr bool NumberedInOrder() {
    for (std::size_t i = 0; i < std::size(kRows); ++i)
        if (kRows[i].number != static_cast<int>(i) + 1) return false;
    return true;
}
static_assert(NumberedInOrder(), "the rows stand in RECORDtype order 1 to kStepTypeCount");

// Each type uses the fields of its CODE line, in record order, and the check reads no further.
constexpr bool UsedFieldsInRecordOrder() {
    for (const StepTypeInfo& type : kRows) {
        for (std::size_t i = 0; i < type.usedFields.size(); ++i) {
            if (RecordIndex(*type.usedFields[i]) < 0) return false;
            if (i > 0 && RecordIndex(*type.usedFields[i - 1]) >= RecordIndex(*type.usedFields[i]))
                return false;
        }
    }
    return true;
}
static_assert(UsedFieldsInRecordOrder(), "used fields are record fields in record order");

constexpr bool CodeFieldsWithinTheMost() {
    for (const StepTypeInfo& type : kRows)
        if (type.codeFields.size() > kMostCodeFields) return false;
    return true;
}
static_assert(CodeFieldsWithinTheMost(), "kMostCodeFields holds every CODE line's fields");

}  // namespace

std::span<const StepTypeInfo, kStepTypeCount> StepTypes() {
    return std::span<const StepTypeInfo, kStepTypeCount>(kRows);
}

const StepTypeInfo* FindStepType(int number) {
    return number >= 1 && number <= kStepTypeCount ? &kRows[number - 1] : nullptr;
}

const StepTypeInfo* FindStepTypeByDisplayName(std::string_view name) {
    for (const StepTypeInfo& type : kRows)
        if (type.displayName == name) return &type;
    return nullptr;
}

const StepTypeInfo* ParseStepType(std::string_view text) {
    if (text.empty() || text.size() > 9 || text[0] == '0') return nullptr;
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size()) return nullptr;
    return FindStepType(number);
}

}  // namespace zs
