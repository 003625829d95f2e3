// The fields of the step record as one table: each row names a field, the kind of value it holds
// and where the record keeps it. Reading, writing and clearing work on the three kinds.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/step.h"

namespace zs {

enum class FieldKind {
    Text,     // kept as it stands
    Integer,  // 32 bits, read with the integer conversion, written in decimal
    Seconds,  // a float, read as the file's decimal number, written with one decimal
};

struct FieldInfo {
    std::string_view name;
    FieldKind kind;
    std::string Step::*text = nullptr;
    std::int32_t Step::*integer = nullptr;
    float Step::*seconds = nullptr;
    // A text field whose member depends on the step's other values (see field::kKeyText).
    std::string Step::* (*textOf)(const Step&) = nullptr;

    constexpr FieldInfo(std::string_view n, std::string Step::*member)
        : name(n), kind(FieldKind::Text), text(member) {}
    constexpr FieldInfo(std::string_view n, std::int32_t Step::*member)
        : name(n), kind(FieldKind::Integer), integer(member) {}
    constexpr FieldInfo(std::string_view n, float Step::*member)
        : name(n), kind(FieldKind::Seconds), seconds(member) {}
    constexpr FieldInfo(std::string_view n, std::string Step::* (*member)(const Step&))
        : name(n), kind(FieldKind::Text), textOf(member) {}
};

namespace field {

inline constexpr FieldInfo kDescription{"Description", &Step::Description};
inline constexpr FieldInfo kClickType{"ClickType", &Step::ClickType};
inline constexpr FieldInfo kMouseX{"MouseX", &Step::MouseX};
inline constexpr FieldInfo kMouseY{"MouseY", &Step::MouseY};
inline constexpr FieldInfo kKeyboardType{"KeyboardType", &Step::KeyboardType};
inline constexpr FieldInfo kKeyToken{"KeyToken", &Step::KeyToken};
inline constexpr FieldInfo kTypedText{"TypedText", &Step::TypedText};
inline constexpr FieldInfo kDelaySeconds{"DelaySeconds", &Step::DelaySeconds};
inline constexpr FieldInfo kLoopFromStep{"LoopFromStep", &Step::LoopFromStep};
inline constexpr FieldInfo kLoopRepetitions{"LoopRepetitions", &Step::LoopRepetitions};
inline constexpr FieldInfo kComPort{"ComPort", &Step::ComPort};
inline constexpr FieldInfo kComType{"ComType", &Step::ComType};
inline constexpr FieldInfo kTelegram{"Telegram", &Step::Telegram};
inline constexpr FieldInfo kJumpToStep{"JumpToStep", &Step::JumpToStep};
inline constexpr FieldInfo kStateText{"StateText", &Step::StateText};
inline constexpr FieldInfo kExecuteFile{"ExecuteFile", &Step::ExecuteFile};
inline constexpr FieldInfo kMessageText{"MessageText", &Step::MessageText};
inline constexpr FieldInfo kWindowAction{"WindowAction", &Step::WindowAction};
inline constexpr FieldInfo kWindowTitle{"WindowTitle", &Step::WindowTitle};
inline constexpr FieldInfo kWaitCondition{"WaitCondition", &Step::WaitCondition};
inline constexpr FieldInfo kPixelColor{"PixelColor", &Step::PixelColor};
inline constexpr FieldInfo kColorTolerance{"ColorTolerance", &Step::ColorTolerance};
inline constexpr FieldInfo kReplyText{"ReplyText", &Step::ReplyText};
inline constexpr FieldInfo kTimeoutSeconds{"TimeoutSeconds", &Step::TimeoutSeconds};
inline constexpr FieldInfo kOnFailStep{"OnFailStep", &Step::OnFailStep};

// The record's fields after RECORDtype, in record order.
inline constexpr std::array kRecord{
    &kDescription,   &kClickType,     &kMouseX,         &kMouseY,     &kKeyboardType,
    &kKeyToken,      &kTypedText,     &kDelaySeconds,   &kLoopFromStep, &kLoopRepetitions,
    &kComPort,       &kComType,       &kTelegram,       &kJumpToStep, &kStateText,
    &kExecuteFile,   &kMessageText,   &kWindowAction,   &kWindowTitle, &kWaitCondition,
    &kPixelColor,    &kColorTolerance, &kReplyText,     &kTimeoutSeconds, &kOnFailStep,
};

// The text of a Keyboard step's CODE line: TypedText for the kind "String", else KeyToken.
constexpr std::string Step::*KeyTextOf(const Step& step) {
    return step.KeyboardType == "String" ? &Step::TypedText : &Step::KeyToken;
}
inline constexpr FieldInfo kKeyText{"TypedText/KeyToken", &KeyTextOf};

}  // namespace field

// The position of a record field in field::kRecord; -1 for a field that is not one of them.
// Found by name, which every field has its own of: the compiler can compare names where it
// cannot compare addresses.
constexpr int RecordIndex(const FieldInfo& info) {
    for (std::size_t i = 0; i < field::kRecord.size(); ++i)
        if (field::kRecord[i]->name == info.name) return static_cast<int>(i);
    return -1;
}

// The text member a text field stands for in this step.
inline std::string& TextOf(Step& step, const FieldInfo& info) {
    return step.*(info.text ? info.text : info.textOf(step));
}
inline const std::string& TextOf(const Step& step, const FieldInfo& info) {
    return step.*(info.text ? info.text : info.textOf(step));
}

// Appends text as one line of a file: a line end inside it would split the record into two
// lines, and the second could be read back as a step of its own; it becomes a blank instead.
void AppendOneLine(std::string& out, std::string_view text);

// A field read from its CODE-line text: texts as they stand, numbers as the reader reads them.
void ReadField(Step& step, const FieldInfo& info, std::string_view text);
// A field appended as a CODE line holds it.
void AppendField(std::string& out, const Step& step, const FieldInfo& info);
// A field set to "" or 0.
void ClearField(Step& step, const FieldInfo& info);

}  // namespace zs
