#include "editor/save_record.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "Forms/FormMAIN.h"
#include "editor/field_storer.h"
#include "editor/panel_types.h"
#include "model/numbers.h"
#include "model/step_file.h"
#include "model/step_types.h"

namespace zs {

using namespace zs::form;

namespace {

bool Uses(const StepTypeInfo& type, const FieldInfo& info) {
    for (const FieldInfo* used : type.usedFields)
        if (used == &info) return true;
    return false;
}

// Clears the fields the type does not use that stand before its first used field in record order
// (before), or after it (not before). Description is no such field: every type has one.
void ClearUnusedFields(Step& step, const StepTypeInfo& type, bool before) {
    const int firstUsed = RecordIndex(*type.usedFields.front());
    for (const FieldInfo* info : field::kRecord) {
        if (info == &field::kDescription || Uses(type, *info)) continue;
        if ((RecordIndex(*info) < firstUsed) == before) ClearField(step, *info);
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

bool FieldStorer::Require(const std::string& text, const char* message) {
    if (!text.empty()) return true;
    failure_ = message;
    return false;
}

bool FieldStorer::Text(int gadget, std::string& field, const char* message) {
    field = panel_.gui.text(gadget);
    return message == nullptr || Require(field, message);
}

bool FieldStorer::Combo(int gadget, std::string& field, const char* message) {
    field = StoredValue(panel_, gadget);
    return Require(field, message);
}

bool FieldStorer::Integer(const std::string& text, std::int32_t& field, const char* message) {
    field = ReadInteger(text);
    return Require(text, message);
}

bool FieldStorer::Seconds(const std::string& text, float& field, const char* message) {
    field = ReadEditorDecimal(text);
    return Require(text, message);
}

bool FieldStorer::Missing(const char* message) {
    failure_ = message;
    return false;
}

bool FieldStorer::WrongValue(std::string message) {
    failure_ = std::move(message);
    wrongValue_ = true;
    return false;
}

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

// Stores the panel's fields of `type` into step, as far as they pass their checks: the unused
// fields before the type's own are cleared first, the ones after only when every check passed.
bool StoreFields(gui::Gui& gui, const StepTypeInfo& type, Step& step, FieldStorer& storer) {
    step.RECORDtype = type.number;
    step.Description = gui.text(kStringDescription);
    ClearUnusedFields(step, type, true);
    if (!PanelTypeOf(type).store(storer)) return false;
    ClearUnusedFields(step, type, false);
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
