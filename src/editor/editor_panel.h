// The step editor panel of the main window: showing the current step in the field set of its
// type, switching sets when a kind combo changes, and choosing the file of an Execute step.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "model/app_state.h"
#include "platform/desktop.h"
#include "platform/gui.h"
#include "platform/input.h"

namespace zs {

// The shell's message routine: lifts the main window's top-most state while the box is open.
using ShowMessage = std::function<void(const std::string& title, const std::string& text)>;

// What the panel handlers work on. Lives on the UI thread; the player reaches it via runOnUi.
struct EditorPanel {
    gui::Gui& gui;
    AppState& state;
    ShowMessage message;
    Desktop& desktop;  // windows and pixels for F9
    // Items in the step-number combos 27 and 39 as last filled; -1 before the first fill.
    long filledStepCount = -1;
    // A stored value that a combo cannot show (a port above COM80, a key text that is no token,
    // a step number past the end), by combo: kept while nothing is picked there, so that a step
    // stored without an edit keeps what it held.
    std::map<int, std::string> heldValues = {};
    // The title of the Window "Activate" step that governs the shown Mouse or Wait step (the
    // nearest Window step above it, when it activates); "" for none. Read by the live position
    // display on its own thread.
    std::mutex governingMutex = {};
    std::string governingTitle = {};
};

// Combos are read and written by their selected item, the same on every backend. A text that
// is no item selects nothing; nothing selected reads as "".
std::string ComboText(gui::Gui& gui, int combo);
void ShowInCombo(gui::Gui& gui, int combo, const std::string& text);

// Shows a step's value in a combo: its item is selected, or, when it is none, nothing is
// selected and the value is held.
void ShowStoredValue(EditorPanel& panel, int combo, const std::string& value);
// The value a combo gives to store: the picked item, or the held value while nothing is picked.
std::string StoredValue(EditorPanel& panel, int combo);

// Shows the current step (the first one if none is current) in the panel.
void GetValues(EditorPanel& panel);

// Gadget 69 changed: show the field set its text names; the step itself is not touched.
void FormMAIN_ComboType_Event(EditorPanel& panel, int eventType);
// Gadget 16 changed: the string field or the key combo, with label 20 to match.
void Combo_KeyboardType_Events(EditorPanel& panel, int eventType);
// Gadget 33 changed: the format hint of label 37.
void Combo_COMtype_Events(EditorPanel& panel, int eventType);
// Button 47: a file requester whose path goes into gadget 46.
void ChooseExecuteFile(EditorPanel& panel, int eventType);

// F9: what the set of the shown type takes from the pointer's position (the original types
// write it into the Mouse set's X and Y, whatever set is shown).
void CapturePointer(EditorPanel& panel, Point pointer);

// Hides every field set.
void HideFieldSets(gui::Gui& gui);

// Shows step number `number` in a step-number combo, holding a number past its items.
void ShowStepNumber(EditorPanel& panel, int combo, std::int32_t number);
// Shows an on-fail step in an on-fail combo: 0 as "Pause", n as step n (held past the items).
void ShowOnFailStep(EditorPanel& panel, int combo, std::int32_t number);
// The on-fail step an on-fail combo gives to store: 0 for "Pause"; nullopt when it gives none.
std::optional<std::int32_t> StoredOnFailStep(EditorPanel& panel, int combo);

// The screen position of the client area of the window that governs the shown step (see
// EditorPanel::governingTitle), when that window exists now. Safe from any thread.
std::optional<Point> GoverningOrigin(EditorPanel& panel);
// The pointer's position as the shown step takes it: relative to the governing window's client
// area, when there is one. Safe from any thread.
Point PositionForShownStep(EditorPanel& panel, Point pointer);
// The Keyboard set for a "String" (the text field, label "String:") or a "Key" (the key list).
void ShowKeyboardKind(gui::Gui& gui, bool isString);

}  // namespace zs
