// Storing the editor panel into the step it shows, with the checks of every required field.
#pragma once

#include <string>
#include <string_view>

#include "editor/editor_panel.h"

namespace zs {

// Stores the panel into the step named by the step frame's caption. 1: stored and shown again;
// 0: a message was shown, and what was stored before the failing field stays stored.
int SaveActualRecord(EditorPanel& panel);

// Whether storing the panel would change what a save writes for the step it shows: edits in
// its fields that were not stored yet. Nothing is stored and nothing is shown.
bool PanelHoldsChanges(EditorPanel& panel);

// The settings of an "Initialise" telegram, "9600 N 8 1"; "" when usable, else the message.
std::string CheckSerialSettings(std::string_view settings);

}  // namespace zs
