#include "editor/editor_panel.h"

#include <string_view>

#include "Forms/FormMAIN.h"
#include "model/numbers.h"
#include "model/step.h"

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

void ShowFieldSet(gui::Gui& gui, int recordType) {
    for (int type = 1; type <= kStepTypeCount; ++type)
        gui.setHidden(kFieldSets[static_cast<std::size_t>(type - 1)], type != recordType);
}

// The combos list "1" to n; number k is item k - 1, a number past them is held.
void SelectStepNumber(EditorPanel& panel, int combo, std::int32_t number) {
    if (number >= 1 && number <= panel.gui.itemCount(combo)) {
        panel.heldValues.erase(combo);
        panel.gui.select(combo, number - 1);
    } else {
        panel.heldValues[combo] = std::to_string(number);
        panel.gui.select(combo, -1);
    }
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

void ShowKeyboardKind(gui::Gui& gui, bool isString) {
    gui.setText(kLabelKeyboardText, isString ? "String:" : "Key:");
    gui.setHidden(kComboKeyToken, isString);
    gui.setHidden(kStringTypedText, !isString);
}

void WriteMouse(EditorPanel& panel, const Step& step) {
    ShowStoredValue(panel, kComboClickType, step.ClickType);
    panel.gui.setText(kStringMouseX, std::to_string(step.MouseX));
    panel.gui.setText(kStringMouseY, std::to_string(step.MouseY));
}

void WriteKeyboard(EditorPanel& panel, const Step& step) {
    ShowStoredValue(panel, kComboKeyboardType, step.KeyboardType);
    ShowStoredValue(panel, kComboKeyToken, step.KeyToken);
    panel.gui.setText(kStringTypedText, step.TypedText);
    ShowKeyboardKind(panel.gui, step.KeyboardType == "String");
}

void WriteComport(EditorPanel& panel, const Step& step) {
    ShowStoredValue(panel, kComboComPort, step.ComPort);
    ShowStoredValue(panel, kComboComType, step.ComType);
    panel.gui.setText(kStringTelegram, step.Telegram);
    Combo_COMtype_Events(panel, 0);
}

// Writes the fields of the step's own type; the other sets keep what they showed last.
void WriteOwnFields(EditorPanel& panel, const Step& step) {
    gui::Gui& gui = panel.gui;
    switch (step.RECORDtype) {
        case 1: WriteMouse(panel, step); break;
        case 2: WriteKeyboard(panel, step); break;
        case 3: gui.setText(kStringDelay, FormatDelay(step.DelaySeconds)); break;
        case 4:
            SelectStepNumber(panel, kComboLoopFrom, step.LoopFromStep);
            gui.setText(kStringRepetitions, std::to_string(step.LoopRepetitions));
            break;
        case 5: WriteComport(panel, step); break;
        case 6: SelectStepNumber(panel, kComboJumpTo, step.JumpToStep); break;
        case 7: gui.setText(kStringStateText, step.StateText); break;
        case 8: gui.setText(kStringExecuteFile, step.ExecuteFile); break;
        case 9: gui.setText(kStringMessageText, step.MessageText); break;
        default: break;
    }
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

void HideFieldSets(gui::Gui& gui) { ShowFieldSet(gui, 0); }

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
    gui.select(kComboStepType, type->number - 1);
    ShowFieldSet(gui, type->number);
    WriteOwnFields(panel, step);
    gui.setText(kStringDescription, step.Description);
}

void FormMAIN_ComboType_Event(EditorPanel& panel, int /*eventType*/) {
    const std::string text = ComboText(panel.gui, kComboStepType);
    const StepTypeInfo* type = FindStepTypeByDisplayName(text);
    if (type == nullptr) {
        panel.message("Error", "FormMAIN_ComboType_Event Case unknown: " + text);
        return;
    }
    ShowFieldSet(panel.gui, type->number);
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

void ChooseExecuteFile(EditorPanel& panel, int /*eventType*/) {
    const auto path = panel.gui.fileRequester(gui::FileMode::Open, "Select execute file", "",
                                              "All files (*.*)|*.*");
    if (path) panel.gui.setText(kStringExecuteFile, *path);
}

}  // namespace zs
