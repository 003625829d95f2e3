#include "editor/editor_panel.h"

#include <string_view>

#include "Forms/FormMAIN.h"
#include "editor/panel_types.h"
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

// The step-number combos list "1" to the number of steps. They are filled in one call, which
// costs the same for any number of steps, and only when that number changed.
void FillStepNumberCombos(EditorPanel& panel) {
    gui::Gui& gui = panel.gui;
    const long count = panel.state.list.size();
    const bool unchanged = panel.filledStepCount == count &&
                           gui.itemCount(kComboJumpTo) == count &&
                           gui.itemCount(kComboLoopFrom) == count;
    if (!unchanged) {
        gui.setNumberItems(kComboJumpTo, static_cast<int>(count));
        gui.setNumberItems(kComboLoopFrom, static_cast<int>(count));
        panel.filledStepCount = count;
    }
    gui.select(kComboJumpTo, 0);
    gui.select(kComboLoopFrom, 0);
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

void HideFieldSets(gui::Gui& gui) { ShowFieldSet(gui, nullptr); }

void GetValues(EditorPanel& panel) {
    gui::Gui& gui = panel.gui;
    RList& list = panel.state.list;
    if (!list.hasCurrent()) list.first();
    HideFieldSets(gui);
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
