// Each step type's field set in the editor panel: how a step is shown in it, how it is stored
// back with the checks of every required field, and what F9 captures while it is shown.
#include "editor/panel_types.h"

#include <iterator>
#include <string>

#include "Forms/FormMAIN.h"
#include "editor/save_record.h"
#include "model/numbers.h"

namespace zs {

using namespace zs::form;

namespace {

// F9 of the original types, whatever set is shown: the pointer's position into the Mouse set.
void CaptureMousePosition(EditorPanel& panel, Point pointer) {
    panel.gui.setText(kStringMouseX, std::to_string(pointer.x));
    panel.gui.setText(kStringMouseY, std::to_string(pointer.y));
}

void ShowMouse(EditorPanel& panel, const Step& step) {
    ShowStoredValue(panel, kComboClickType, step.ClickType);
    panel.gui.setText(kStringMouseX, std::to_string(step.MouseX));
    panel.gui.setText(kStringMouseY, std::to_string(step.MouseY));
}

bool StoreMouse(FieldStorer& s) {
    Step& step = s.step();
    gui::Gui& gui = s.panel().gui;
    return s.Combo(kComboClickType, step.ClickType, "No click type selected") &&
           s.Integer(gui.text(kStringMouseX), step.MouseX, "No mouse x entered") &&
           s.Integer(gui.text(kStringMouseY), step.MouseY, "No mouse y entered");
}

void ShowKeyboard(EditorPanel& panel, const Step& step) {
    ShowStoredValue(panel, kComboKeyboardType, step.KeyboardType);
    ShowStoredValue(panel, kComboKeyToken, step.KeyToken);
    panel.gui.setText(kStringTypedText, step.TypedText);
    ShowKeyboardKind(panel.gui, step.KeyboardType == "String");
}

bool StoreKeyboard(FieldStorer& s) {
    Step& step = s.step();
    step.KeyboardType = StoredValue(s.panel(), kComboKeyboardType);
    if (step.KeyboardType == "String") {
        step.KeyToken.clear();
        return s.Text(kStringTypedText, step.TypedText, "No string entered");
    }
    if (!s.Combo(kComboKeyToken, step.KeyToken, "No key entered")) return false;
    step.TypedText.clear();
    return true;
}

void ShowDelay(EditorPanel& panel, const Step& step) {
    panel.gui.setText(kStringDelay, FormatDelay(step.DelaySeconds));
}

bool StoreDelay(FieldStorer& s) {
    return s.Seconds(s.panel().gui.text(kStringDelay), s.step().DelaySeconds,
                     "No delay time entered");
}

void ShowLoop(EditorPanel& panel, const Step& step) {
    ShowStepNumber(panel, kComboLoopFrom, step.LoopFromStep);
    panel.gui.setText(kStringRepetitions, std::to_string(step.LoopRepetitions));
}

bool StoreLoop(FieldStorer& s) {
    Step& step = s.step();
    return s.Integer(StoredValue(s.panel(), kComboLoopFrom), step.LoopFromStep,
                     "No loop from step no selected") &&
           s.Integer(s.panel().gui.text(kStringRepetitions), step.LoopRepetitions,
                     "No loop repetitions entered");
}

void ShowComport(EditorPanel& panel, const Step& step) {
    ShowStoredValue(panel, kComboComPort, step.ComPort);
    ShowStoredValue(panel, kComboComType, step.ComType);
    panel.gui.setText(kStringTelegram, step.Telegram);
    Combo_COMtype_Events(panel, 0);
}

bool StoreComport(FieldStorer& s) {
    Step& step = s.step();
    if (!s.Combo(kComboComPort, step.ComPort, "No COM port selected") ||
        !s.Combo(kComboComType, step.ComType, "No COM type selected") ||
        !s.Text(kStringTelegram, step.Telegram, "No telegram entered"))
        return false;
    if (step.ComType != "Initialise") return true;
    const std::string wrong = CheckSerialSettings(step.Telegram);
    return wrong.empty() || s.WrongValue(wrong);
}

void ShowJump(EditorPanel& panel, const Step& step) {
    ShowStepNumber(panel, kComboJumpTo, step.JumpToStep);
}

bool StoreJump(FieldStorer& s) {
    return s.Integer(StoredValue(s.panel(), kComboJumpTo), s.step().JumpToStep,
                     "No jump no selected");
}

void ShowState(EditorPanel& panel, const Step& step) {
    panel.gui.setText(kStringStateText, step.StateText);
}

bool StoreState(FieldStorer& s) { return s.Text(kStringStateText, s.step().StateText); }

void ShowExecute(EditorPanel& panel, const Step& step) {
    panel.gui.setText(kStringExecuteFile, step.ExecuteFile);
}

bool StoreExecute(FieldStorer& s) {
    return s.Text(kStringExecuteFile, s.step().ExecuteFile, "No execute file selected");
}

void ShowMessage(EditorPanel& panel, const Step& step) {
    panel.gui.setText(kStringMessageText, step.MessageText);
}

bool StoreMessage(FieldStorer& s) { return s.Text(kStringMessageText, s.step().MessageText); }

constexpr PanelType kPanelTypes[] = {
    {ShowMouse, StoreMouse, CaptureMousePosition},
    {ShowKeyboard, StoreKeyboard, CaptureMousePosition},
    {ShowDelay, StoreDelay, CaptureMousePosition},
    {ShowLoop, StoreLoop, CaptureMousePosition},
    {ShowComport, StoreComport, CaptureMousePosition},
    {ShowJump, StoreJump, CaptureMousePosition},
    {ShowState, StoreState, CaptureMousePosition},
    {ShowExecute, StoreExecute, CaptureMousePosition},
    {ShowMessage, StoreMessage, CaptureMousePosition},
};
static_assert(std::size(kPanelTypes) == kStepTypeCount, "one panel row per step type");

}  // namespace

const PanelType& PanelTypeOf(const StepTypeInfo& type) { return kPanelTypes[RowOf(type)]; }

}  // namespace zs
