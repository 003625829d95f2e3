// A main window laid out like the program's own: menu, frame, container with a combo, fields,
// image buttons and status texts, for layout, input and screenshot tests.
#pragma once

#include "platform/fltk/fltk_gui.h"

namespace zs::gui::test {

constexpr int kMain = 53;
constexpr int kEditorWindow = 103;
constexpr int kEditor = 104;

void openSampleMain(FltkGui& gui);
void openSampleEditor(FltkGui& gui);  // window 103 with the multi-line editor 104

}  // namespace zs::gui::test
