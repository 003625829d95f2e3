#include "editor/save_record.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "Forms/FormMAIN.h"
#include "model/numbers.h"
#include "model/step.h"
#include "model/step_file.h"

namespace zs {

using namespace zs::form;

namespace {

// The record's fields after Description, in record order: a type's own fields are one run of
// them, and the fields before and after that run are cleared.
enum RecordField {
    kClickType, kMouseX, kMouseY, kKeyboardType, kKeyToken, kTypedText, kDelaySeconds,
    kLoopFromStep, kLoopRepetitions, kComPort, kComType, kTelegram, kJumpToStep, kStateText,
    kExecuteFile, kMessageText, kRecordFieldCount
};

struct OwnFields {
    int first, last;  // RecordField range, both included
};

constexpr std::array<OwnFields, kStepTypeCount> kOwnFields{{
    {kClickType, kMouseY}, {kKeyboardType, kTypedText}, {kDelaySeconds, kDelaySeconds},
    {kLoopFromStep, kLoopRepetitions}, {kComPort, kTelegram}, {kJumpToStep, kJumpToStep},
    {kStateText, kStateText}, {kExecuteFile, kExecuteFile}, {kMessageText, kMessageText},
}};

void ClearField(Step& step, int field) {
    const Step blank;
    switch (field) {
        case kClickType: step.ClickType = blank.ClickType; break;
        case kMouseX: step.MouseX = blank.MouseX; break;
        case kMouseY: step.MouseY = blank.MouseY; break;
        case kKeyboardType: step.KeyboardType = blank.KeyboardType; break;
        case kKeyToken: step.KeyToken = blank.KeyToken; break;
        case kTypedText: step.TypedText = blank.TypedText; break;
        case kDelaySeconds: step.DelaySeconds = blank.DelaySeconds; break;
        case kLoopFromStep: step.LoopFromStep = blank.LoopFromStep; break;
        case kLoopRepetitions: step.LoopRepetitions = blank.LoopRepetitions; break;
        case kComPort: step.ComPort = blank.ComPort; break;
        case kComType: step.ComType = blank.ComType; break;
        case kTelegram: step.Telegram = blank.Telegram; break;
        case kJumpToStep: step.JumpToStep = blank.JumpToStep; break;
        case kStateText: step.StateText = blank.StateText; break;
        case kExecuteFile: step.ExecuteFile = blank.ExecuteFile; break;
        case kMessageText: step.MessageText = blank.MessageText; break;
        default: break;
    }
}

void ClearFields(Step& step, int from, int to) {
    for (int field = from; field < to; ++field) ClearField(step, field);
}

// Stores the fields of one type, each stored before its gadget is tested. On a failed test the
// reason is left in `failure` and the rest is not stored.
class FieldStorer {
public:
    FieldStorer(EditorPanel& panel, Step& step) : panel_(panel), gui_(panel.gui), step_(step) {}

    bool Store(int recordType);
    const std::string& failure() const { return failure_; }
    const char* failureTitle() const { return serialFailure_ ? "Wrong values" : "Input required"; }

private:
    bool Require(const std::string& text, const char* message) {
        if (!text.empty()) return true;
        failure_ = message;
        return false;
    }
    bool Text(int gadget, std::string& field, const char* message) {
        field = gui_.text(gadget);
        return message == nullptr || Require(field, message);
    }
    bool Combo(int gadget, std::string& field, const char* message) {
        field = StoredValue(panel_, gadget);
        return Require(field, message);
    }
    bool Integer(const std::string& text, std::int32_t& field, const char* message) {
        field = ReadInteger(text);
        return Require(text, message);
    }

    bool StoreMouse();
    bool StoreKeyboard();
    bool StoreDelay();
    bool StoreLoop();
    bool StoreComport();

    EditorPanel& panel_;
    gui::Gui& gui_;
    Step& step_;
    std::string failure_;
    bool serialFailure_ = false;
};

bool FieldStorer::StoreMouse() {
    return Combo(kComboClickType, step_.ClickType, "No click type selected") &&
           Integer(gui_.text(kStringMouseX), step_.MouseX, "No mouse x entered") &&
           Integer(gui_.text(kStringMouseY), step_.MouseY, "No mouse y entered");
}

bool FieldStorer::StoreKeyboard() {
    step_.KeyboardType = StoredValue(panel_, kComboKeyboardType);
    if (step_.KeyboardType == "String") {
        step_.KeyToken.clear();
        return Text(kStringTypedText, step_.TypedText, "No string entered");
    }
    if (!Combo(kComboKeyToken, step_.KeyToken, "No key entered")) return false;
    step_.TypedText.clear();
    return true;
}

bool FieldStorer::StoreDelay() {
    const std::string text = gui_.text(kStringDelay);
    step_.DelaySeconds = ReadEditorDecimal(text);
    return Require(text, "No delay time entered");
}

bool FieldStorer::StoreLoop() {
    return Integer(StoredValue(panel_, kComboLoopFrom), step_.LoopFromStep,
                   "No loop from step no selected") &&
           Integer(gui_.text(kStringRepetitions), step_.LoopRepetitions,
                   "No loop repetitions entered");
}

bool FieldStorer::StoreComport() {
    if (!Combo(kComboComPort, step_.ComPort, "No COM port selected") ||
        !Combo(kComboComType, step_.ComType, "No COM type selected") ||
        !Text(kStringTelegram, step_.Telegram, "No telegram entered"))
        return false;
    if (step_.ComType != "Initialise") return true;
    failure_ = CheckSerialSettings(step_.Telegram);
    serialFailure_ = !failure_.empty();
    return !serialFailure_;
}

bool FieldStorer::Store(int recordType) {
    switch (recordType) {
        case 1: return StoreMouse();
        case 2: return StoreKeyboard();
        case 3: return StoreDelay();
        case 4: return StoreLoop();
        case 5: return StoreComport();
        case 6:
            return Integer(StoredValue(panel_, kComboJumpTo), step_.JumpToStep,
                           "No jump no selected");
        case 7: return Text(kStringStateText, step_.StateText, nullptr);
        case 8: return Text(kStringExecuteFile, step_.ExecuteFile, "No execute file selected");
        case 9: return Text(kStringMessageText, step_.MessageText, nullptr);
        default: return false;
    }
}

// The fields of a settings text split at single blanks; fields past the text are "".
std::array<std::string, 4> SettingsFields(std::string_view settings) {
    std::array<std::string, 4> fields;
    std::size_t field = 0;
    for (char c : settings) {
        if (c == ' ') {
            if (++field == fields.size()) break;
        } else {
            fields[field] += c;
        }
    }
    return fields;
}

template <std::size_t N>
bool OneOf(std::int64_t value, const std::array<std::int64_t, N>& allowed) {
    return std::find(allowed.begin(), allowed.end(), value) != allowed.end();
}

}  // namespace

std::string CheckSerialSettings(std::string_view settings) {
    static constexpr std::array<std::int64_t, 15> kBauds{
        50, 75, 110, 150, 300, 600, 1200, 1800, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
    static constexpr std::array<std::int64_t, 4> kDataBits{5, 6, 7, 8};
    static constexpr std::array<std::int64_t, 2> kStopBits{1, 2};
    const auto fields = SettingsFields(settings);
    // Read 64 bits wide, so that a huge number cannot wrap round onto an allowed value.
    if (!OneOf(ReadInteger64(fields[0]), kBauds))
        return "Wrong baudrate (50, 75, 110, 150, 300, 600, 1200, 1800, 2400, 4800, 9600, 19200, "
               "38400, 57600, 115200)";
    if (fields[1] != "N" && fields[1] != "O" && fields[1] != "E") return "Wrong parity (N, O, E)";
    if (!OneOf(ReadInteger64(fields[2]), kDataBits)) return "Wrong dataformat (5, 6, 7, 8)";
    if (!OneOf(ReadInteger64(fields[3]), kStopBits)) return "Wrong stopbitx (1, 2)";
    return "";
}

namespace {

// The 0-based index of the step that the step frame's caption names, else the current one's
// (-1 without a program).
long ShownIndex(EditorPanel& panel) {
    const RList& list = panel.state.list;
    const std::int64_t shownNumber = ReadInteger64(panel.gui.text(kFrameStep));
    if (shownNumber >= 1 && shownNumber <= list.size()) return static_cast<long>(shownNumber - 1);
    return list.index();
}

// Stores the panel's fields of `type` into step, as far as they pass their checks.
bool StoreFields(gui::Gui& gui, const StepTypeInfo& type, Step& step, FieldStorer& storer) {
    step.RECORDtype = type.number;
    step.Description = gui.text(kStringDescription);
    const OwnFields own = kOwnFields[static_cast<std::size_t>(type.number - 1)];
    ClearFields(step, 0, own.first);
    if (!storer.Store(type.number)) return false;
    ClearFields(step, own.last + 1, kRecordFieldCount);
    return true;
}

}  // namespace

int SaveActualRecord(EditorPanel& panel) {
    gui::Gui& gui = panel.gui;
    RList& list = panel.state.list;
    const long shown = ShownIndex(panel);
    if (shown < 0) return 0;  // no program: nothing to store into
    list.select(shown);

    const std::string typeText = ComboText(gui, kComboStepType);
    const StepTypeInfo* type = FindStepTypeByDisplayName(typeText);
    if (type == nullptr) {
        gui.messageBox("Error", "SaveActualRecord() Case unknown: " + typeText, gui::Buttons::Ok);
        return 0;
    }
    Step& step = list.current();
    // What a save would write tells a real change from storing a step as it was shown.
    const std::string before = CodeLine(step);
    FieldStorer storer(panel, step);
    const bool stored = StoreFields(gui, *type, step, storer);
    if (CodeLine(step) != before) panel.state.programModified = true;
    if (!stored) {
        gui.messageBox(storer.failureTitle(), storer.failure(), gui::Buttons::Ok);
        return 0;
    }
    GetValues(panel);
    return 1;
}

bool PanelHoldsChanges(EditorPanel& panel) {
    gui::Gui& gui = panel.gui;
    const long shown = ShownIndex(panel);
    const StepTypeInfo* type = FindStepTypeByDisplayName(ComboText(gui, kComboStepType));
    if (shown < 0 || type == nullptr) return false;
    const Step& step = panel.state.list.at(shown);
    Step copy = step;
    FieldStorer storer(panel, copy);
    StoreFields(gui, *type, copy, storer);
    return CodeLine(copy) != CodeLine(step);
}

}  // namespace zs
