// The editor panel's part of each step type, one row per row of the step-type table: showing a
// step in its field set (GetValues), storing the set into the step (SaveActualRecord), and F9.
#pragma once

#include "editor/editor_panel.h"
#include "editor/field_storer.h"
#include "model/step_types.h"
#include "platform/input.h"

namespace zs {

struct PanelType {
    // Writes the step's own fields into the set; the other sets keep what they showed last.
    void (*show)(EditorPanel& panel, const Step& step);
    // Stores the set into storer.step(), as far as its tests pass.
    bool (*store)(FieldStorer& storer);
    // F9 while this type is shown: what the pointer's position (and what lies there) gives.
    void (*capture)(EditorPanel& panel, Point pointer);
};

const PanelType& PanelTypeOf(const StepTypeInfo& type);

// The Wait set's colour text changed: the swatch beside it shows the colour it names.
void WaitColourChanged(EditorPanel& panel, int eventType);

}  // namespace zs
