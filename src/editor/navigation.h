// Moving through the step program, the step pick list, and appending, inserting and deleting
// steps. Every command that leaves the shown step stores it first and stops when that is refused.
#pragma once

#include "editor/editor_panel.h"

namespace zs {

void FirstStep(EditorPanel& panel, int eventType);
void PreviousStep(EditorPanel& panel, int eventType);
void NextStep(EditorPanel& panel, int eventType);
void LastStep(EditorPanel& panel, int eventType);

// Button 60: the list of step numbers under the navigation buttons; the main window is
// disabled until a number is picked.
void OpenStepPickList(EditorPanel& panel, int eventType);
// An event of list 49: stores (going on even when refused), moves to the picked number.
void StepPicked(EditorPanel& panel, int eventType);

// Button 63: a new Delay step after the last one.
void AppendStep(EditorPanel& panel, int eventType);
// Button 64: a new Delay step in front of the current one.
void InsertStep(EditorPanel& panel, int eventType);
// Button 65: removes the current step unless it is the only one.
void DeleteStep(EditorPanel& panel, int eventType);

}  // namespace zs
