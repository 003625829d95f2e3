// FormEditor, the text editor window (103): a step file as text lines (104), with Open, Save and
// Save as buttons (105 to 107), the file name and three lines about the line under the cursor.
#pragma once

#include "Forms/FormMAIN.h"
#include "platform/gui.h"

namespace zs::form {

// Opens window 103 centred on and owned by the main window, with all its gadgets.
bool OpenFormEditor(gui::Gui& gui);

}  // namespace zs::form
