#include "editor/editor_panel.h"

#include <string_view>

#include "Forms/FormMAIN.h"
#include "editor/panel_types.h"
#include "model/numbers.h"
#include "model/step_types.h"

namespace zs {

using namespace zs::form;

namespace {

struct ComHint {
    std::string_view comType;
    std::string_view hint;
};

constexpr ComHint kComHints[] = {
    {"Initialise", "Initialise (9600 N 8 1)"},
    {"String", "String (ATDT...)"},
    {"Hex", "Hex (F4 03 28 ..)"},
    {"Byte", "Byte (128 255 1 ...)"},
};

// Shows the set of one type (none for nullptr) and hides the others.
void ShowFieldSet(gui::Gui& gui, const StepTypeInfo* shown) {
    for (const StepTypeInfo& type : StepTypes())
        gui.setHidden(FieldSetOf(type).container, &type != shown);
}

// The combos that list the step numbers, after "Pause" for the on-fail routes.
struct StepNumberCombo {
    int combo;
    const char* leading;
};
constexpr StepNumberCombo kStepNumberCombos[] = {
    {kComboJumpTo, ""},
    {kComboLoopFrom, ""},
    {kComboWindowOnFail, "Pause"},
    {kComboWaitOnFail, "Pause"},
    {kComboQueryOnFail, "Pause"},
};

// The step-number combos list "1" to the number of steps. They are filled in one call each,
// which costs the same for any number of steps, and only when that number changed.
void FillStepNumberCombos(EditorPanel& panel) {
    gui::Gui& gui = panel.gui;
    const long count = panel.state.list.size();
    bool unchanged = panel.filledStepCount == count;
    for (const StepNumberCombo& c : kStepNumberCombos)
        unchanged = unchanged && gui.itemCount(c.combo) == count + (*c.leading ? 1 : 0);
    if (!unchanged) {
        for (const StepNumberCombo& c : kStepNumberCombos)
            gui.setNumberItems(c.combo, static_cast<int>(count), c.leading);
        panel.filledStepCount = count;
    }
    for (const StepNumberCombo& c : kStepNumberCombos) gui.select(c.combo, 0);
}

// The title of the Window step nearest above the step at `index`, when that one activates.
std::string GoverningTitleOf(const RList& list, long index) {
    for (long i = index - 1; i >= 0; --i) {
        const Step& step = list.at(i);
        if (step.RECORDtype != kWindowStepType) continue;
        return step.WindowAction == "Activate" ? step.WindowTitle : std::string();
    }
    return {};
}

void SetGoverningTitle(EditorPanel& panel, std::string title) {
    std::lock_guard lock(panel.governingMutex);
    panel.governingTitle = std::move(title);
}

// F9 places the pointer within the window that governs the current step when the shown type
// takes a position: the type shown may be the stored one or one just chosen in the combo.
void GovernFor(EditorPanel& panel, const StepTypeInfo& shown) {
    const bool placed = shown.number == kMouseStepType || shown.number == kWaitStepType;
    const RList& list = panel.state.list;
    SetGoverningTitle(panel, placed && list.hasCurrent() ? GoverningTitleOf(list, list.index())
                                                         : std::string());
}

}  // namespace

std::string ComboText(gui::Gui& gui, int combo) {
    const int index = gui.selected(combo);
    return index < 0 ? std::string() : gui.itemText(combo, index);
}

void ShowInCombo(gui::Gui& gui, int combo, const std::string& text) {
    const int count = gui.itemCount(combo);
    for (int i = 0; i < count; ++i) {
        if (gui.itemText(combo, i) == text) {
            gui.select(combo, i);
            return;
        }
    }
    gui.select(combo, -1);
}

void ShowStoredValue(EditorPanel& panel, int combo, const std::string& value) {
    ShowInCombo(panel.gui, combo, value);
    if (panel.gui.selected(combo) < 0)
        panel.heldValues[combo] = value;
    else
        panel.heldValues.erase(combo);
}

std::string StoredValue(EditorPanel& panel, int combo) {
    if (panel.gui.selected(combo) < 0) {
        const auto held = panel.heldValues.find(combo);
        if (held != panel.heldValues.end()) return held->second;
    }
    return ComboText(panel.gui, combo);
}

// The combos list "1" to n; number k is item k - 1, a number past them is held.
void ShowStepNumber(EditorPanel& panel, int combo, std::int32_t number) {
    if (number >= 1 && number <= panel.gui.itemCount(combo)) {
        panel.heldValues.erase(combo);
        panel.gui.select(combo, number - 1);
    } else {
        panel.heldValues[combo] = std::to_string(number);
        panel.gui.select(combo, -1);
    }
}

void ShowKeyboardKind(gui::Gui& gui, bool isString) {
    gui.setText(kLabelKeyboardText, isString ? "String:" : "Key:");
    gui.setHidden(kComboKeyToken, isString);
    gui.setHidden(kStringTypedText, !isString);
}

void ShowOnFailStep(EditorPanel& panel, int combo, std::int32_t number) {
    if (number >= 0 && number < panel.gui.itemCount(combo)) {
        panel.heldValues.erase(combo);
        panel.gui.select(combo, number);
    } else {
        panel.heldValues[combo] = std::to_string(number);
        panel.gui.select(combo, -1);
    }
}

std::optional<std::int32_t> StoredOnFailStep(EditorPanel& panel, int combo) {
    const std::string text = StoredValue(panel, combo);
    if (text.empty()) return std::nullopt;
    return text == "Pause" ? 0 : ReadInteger(text);
}

std::optional<Point> GoverningOrigin(EditorPanel& panel) {
    std::string title;
    {
        std::lock_guard lock(panel.governingMutex);
        title = panel.governingTitle;
    }
    if (title.empty()) return std::nullopt;
    const std::optional<DesktopWindow> window = FindWindowByTitle(panel.desktop, title);
    return window ? panel.desktop.clientOrigin(window->id) : std::nullopt;
}

Point PositionForShownStep(EditorPanel& panel, Point pointer) {
    const std::optional<Point> origin = GoverningOrigin(panel);
    return origin ? Point{pointer.x - origin->x, pointer.y - origin->y} : pointer;
}

void HideFieldSets(gui::Gui& gui) { ShowFieldSet(gui, nullptr); }

void GetValues(EditorPanel& panel) {
    gui::Gui& gui = panel.gui;
    RList& list = panel.state.list;
    if (!list.hasCurrent()) list.first();
    HideFieldSets(gui);
    SetGoverningTitle(panel, {});
    if (!list.hasCurrent()) {  // no program: nothing to show
        gui.setText(kFrameStep, "");
        FillStepNumberCombos(panel);
        return;
    }
    gui.setText(kFrameStep, std::to_string(list.index() + 1));
    FillStepNumberCombos(panel);

    const Step& step = list.current();
    const StepTypeInfo* type = FindStepType(step.RECORDtype);
    if (type == nullptr) {
        gui.setText(kStringDescription, "");
        panel.message("Error",
                      "GetValues() Unknown RList()\\RECORDtype: " + std::to_string(step.RECORDtype));
        return;
    }
    gui.select(kComboStepType, static_cast<int>(RowOf(*type)));
    ShowFieldSet(gui, type);
    GovernFor(panel, *type);
    PanelTypeOf(*type).show(panel, step);
    gui.setText(kStringDescription, step.Description);
}

void FormMAIN_ComboType_Event(EditorPanel& panel, int /*eventType*/) {
    const std::string text = ComboText(panel.gui, kComboStepType);
    const StepTypeInfo* type = FindStepTypeByDisplayName(text);
    if (type == nullptr) {
        panel.message("Error", "FormMAIN_ComboType_Event Case unknown: " + text);
        return;
    }
    ShowFieldSet(panel.gui, type);
    GovernFor(panel, *type);
}

void Combo_KeyboardType_Events(EditorPanel& panel, int /*eventType*/) {
    const std::string kind = ComboText(panel.gui, kComboKeyboardType);
    if (kind == "String" || kind == "Key")
        ShowKeyboardKind(panel.gui, kind == "String");
    else
        panel.message("Error", "Combo_KeyboardType_Events() Case unknown");
}

void Combo_COMtype_Events(EditorPanel& panel, int /*eventType*/) {
    const std::string comType = StoredValue(panel, kComboComType);
    for (const ComHint& hint : kComHints) {
        if (hint.comType == comType) {
            panel.gui.setText(kLabelComHint, std::string(hint.hint));
            return;
        }
    }
    panel.message("Error", "Combo_COMtype_Events Case unknown");
}

void CapturePointer(EditorPanel& panel, Point pointer) {
    const StepTypeInfo* shown = FindStepTypeByDisplayName(ComboText(panel.gui, kComboStepType));
    PanelTypeOf(shown ? *shown : StepTypes().front()).capture(panel, pointer);
}

void ChooseExecuteFile(EditorPanel& panel, int /*eventType*/) {
    const auto path = panel.gui.fileRequester(gui::FileMode::Open, "Select execute file", "",
                                              "All files (*.*)|*.*");
    if (path) panel.gui.setText(kStringExecuteFile, *path);
}

}  // namespace zs
