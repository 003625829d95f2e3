// Each step type's field set in the editor panel: how a step is shown in it, how it is stored
// back with the checks of every required field, and what F9 captures while it is shown.
#include "editor/panel_types.h"

#include <iterator>
#include <string>

#include "Forms/FormMAIN.h"
#include "editor/save_record.h"
#include "model/numbers.h"
#include "model/step_values.h"

namespace zs {

using namespace zs::form;

namespace {

// F9 of the original types, whatever set is shown: the pointer's position into the Mouse set,
// relative to the window that governs a shown Mouse step.
void CaptureMousePosition(EditorPanel& panel, Point pointer) {
    const Point position = PositionForShownStep(panel, pointer);
    panel.gui.setText(kStringMouseX, std::to_string(position.x));
    panel.gui.setText(kStringMouseY, std::to_string(position.y));
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

// The time-out and the on-fail route of the steps that wait.
void ShowTimeoutAndOnFail(EditorPanel& panel, const Step& step, int timeout, int onFail) {
    panel.gui.setText(timeout, FormatDelay(step.TimeoutSeconds));
    ShowOnFailStep(panel, onFail, step.OnFailStep);
}

bool StoreTimeoutAndOnFail(FieldStorer& s, int timeout, int onFail) {
    Step& step = s.step();
    if (!s.Seconds(s.panel().gui.text(timeout), step.TimeoutSeconds, "No timeout entered"))
        return false;
    if (!TimeoutInRange(step.TimeoutSeconds)) return s.WrongValue("Wrong timeout (0 to 86400)");
    const std::optional<std::int32_t> onFailStep = StoredOnFailStep(s.panel(), onFail);
    step.OnFailStep = onFailStep.value_or(0);
    return onFailStep || s.Missing("No on-fail step selected");
}

void ShowWindow(EditorPanel& panel, const Step& step) {
    ShowStoredValue(panel, kComboWindowAction, step.WindowAction);
    panel.gui.setText(kStringWindowTitle, step.WindowTitle);
    ShowTimeoutAndOnFail(panel, step, kStringWindowTimeout, kComboWindowOnFail);
}

bool StoreWindow(FieldStorer& s) {
    Step& step = s.step();
    if (!s.Combo(kComboWindowAction, step.WindowAction, "No window action selected"))
        return false;
    const char* required = step.WindowAction == "Screen" ? nullptr : "No window title entered";
    return s.Text(kStringWindowTitle, step.WindowTitle, required) &&
           StoreTimeoutAndOnFail(s, kStringWindowTimeout, kComboWindowOnFail);
}

// F9 in a Window step: the title of the window under the pointer.
void CaptureWindowTitle(EditorPanel& panel, Point pointer) {
    if (const std::optional<DesktopWindow> window = panel.desktop.windowAt(pointer))
        panel.gui.setText(kStringWindowTitle, window->title);
}

void ShowWaitColour(EditorPanel& panel, const std::string& text) {
    const std::optional<PixelColor> colour = ReadPixelColor(text);
    panel.gui.setColour(kSwatchWaitColor,
                        colour ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(
                                     colour->r << 16 | colour->g << 8 | colour->b))
                               : std::nullopt);
}

void ShowWait(EditorPanel& panel, const Step& step) {
    ShowStoredValue(panel, kComboWaitCondition, step.WaitCondition);
    panel.gui.setText(kStringWaitX, std::to_string(step.MouseX));
    panel.gui.setText(kStringWaitY, std::to_string(step.MouseY));
    panel.gui.setText(kStringWaitColor, step.PixelColor);
    ShowWaitColour(panel, step.PixelColor);
    panel.gui.setText(kStringWaitTolerance, std::to_string(step.ColorTolerance));
    ShowTimeoutAndOnFail(panel, step, kStringWaitTimeout, kComboWaitOnFail);
}

bool StoreWaitColour(FieldStorer& s) {
    Step& step = s.step();
    if (!s.Text(kStringWaitColor, step.PixelColor, "No color entered")) return false;
    const std::optional<PixelColor> colour = ReadPixelColor(step.PixelColor);
    if (!colour) return s.WrongValue("Wrong color (#RRGGBB)");
    step.PixelColor = PixelColorText(*colour);
    return true;
}

bool StoreWait(FieldStorer& s) {
    Step& step = s.step();
    gui::Gui& gui = s.panel().gui;
    if (!s.Combo(kComboWaitCondition, step.WaitCondition, "No wait condition selected") ||
        !s.Integer(gui.text(kStringWaitX), step.MouseX, "No x entered") ||
        !s.Integer(gui.text(kStringWaitY), step.MouseY, "No y entered") || !StoreWaitColour(s) ||
        !s.Integer(gui.text(kStringWaitTolerance), step.ColorTolerance, "No tolerance entered"))
        return false;
    if (step.ColorTolerance < 0 || step.ColorTolerance > kMaxColorTolerance)
        return s.WrongValue("Wrong tolerance (0 to 255)");
    return StoreTimeoutAndOnFail(s, kStringWaitTimeout, kComboWaitOnFail);
}

// F9 in a Wait step: the pointer's position (relative to a governing window) and the colour of
// the pixel under it.
void CaptureWaitPixel(EditorPanel& panel, Point pointer) {
    const Point position = PositionForShownStep(panel, pointer);
    panel.gui.setText(kStringWaitX, std::to_string(position.x));
    panel.gui.setText(kStringWaitY, std::to_string(position.y));
    if (const std::optional<Rgb> colour = panel.desktop.pixel(pointer)) {
        const std::string text = PixelColorText({colour->r, colour->g, colour->b});
        panel.gui.setText(kStringWaitColor, text);
        ShowWaitColour(panel, text);
    }
}

}  // namespace

void WaitColourChanged(EditorPanel& panel, int /*eventType*/) {
    ShowWaitColour(panel, panel.gui.text(kStringWaitColor));
}

namespace {

void ShowQuery(EditorPanel& panel, const Step& step) {
    ShowStoredValue(panel, kComboQueryPort, step.ComPort);
    ShowStoredValue(panel, kComboQueryKind, step.ComType);
    panel.gui.setText(kStringQueryTelegram, step.Telegram);
    panel.gui.setText(kStringQueryReply, step.ReplyText);
    ShowTimeoutAndOnFail(panel, step, kStringQueryTimeout, kComboQueryOnFail);
}

bool StoreQuery(FieldStorer& s) {
    Step& step = s.step();
    return s.Combo(kComboQueryPort, step.ComPort, "No COM port selected") &&
           s.Combo(kComboQueryKind, step.ComType, "No COM type selected") &&
           s.Text(kStringQueryTelegram, step.Telegram, "No telegram entered") &&
           s.Text(kStringQueryReply, step.ReplyText) &&
           StoreTimeoutAndOnFail(s, kStringQueryTimeout, kComboQueryOnFail);
}

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
    {ShowWindow, StoreWindow, CaptureWindowTitle},
    {ShowWait, StoreWait, CaptureWaitPixel},
    {ShowQuery, StoreQuery, CaptureMousePosition},
};
static_assert(std::size(kPanelTypes) == kStepTypeCount, "one panel row per step type");

}  // namespace

const PanelType& PanelTypeOf(const StepTypeInfo& type) { return kPanelTypes[RowOf(type)]; }

}  // namespace zs
