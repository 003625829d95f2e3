// FormMAIN, the main window: the code that creates the window, its menu, the editor panel's field
// sets and their lists (the numbers it uses are in Forms/gadget_numbers.h).
#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "Forms/gadget_numbers.h"
#include "model/step_types.h"
#include "platform/gui.h"

namespace zs::form {

// Face, size and quality of a font.
struct FontSpec {
    int id;
    const char* face;
    int points;
    bool highQuality;
};

// Font 0 in its normal size; "Arial" 6 on a desktop of exactly 120 pixels per inch.
FontSpec DefaultFontFor(int pixelsPerInch);
inline constexpr FontSpec kNoticeFont{kFontNotice, "Arial", 14, false};
inline constexpr FontSpec kLargeFont{kFontLarge, "Arial", 12, true};
inline constexpr FontSpec kMediumFont{kFontMedium, "Arial", 10, true};
void LoadFont(gui::Gui& gui, const FontSpec& font);

// The eleven button faces, images 90 to 100 in order.
std::array<gui::Image, kImageCount> ButtonImages();
void LoadButtonImages(gui::Gui& gui);

// Window 53 with its gadgets 54 to 74 (69 to 71 inside the panel 68).
void OpenFormMAIN(gui::Gui& gui);

// Menu 0 of FormMAIN, and the items disabled while no step program exists.
std::vector<gui::MenuTitle> MenuMAIN();
inline constexpr std::array<int, 7> kMenuDisabledAtStart{kMenuSave, kMenuSaveAs, kMenuPlay,
                                                         kMenuPlayFromCurrent, kMenuPause,
                                                         kMenuStop, kMenuRecord};
void BuildMenuMAIN(gui::Gui& gui);

// One gadget of a field set, its position inside the set.
struct FieldSpec {
    int id;
    gui::GadgetKind kind;
    gui::Rect rect;
    const char* text;
    gui::Align align = gui::Align::Left;
    bool digitsOnly = false;
    // An input that the edit lock leaves enabled while a run plays.
    bool enabledWhilePlaying = false;
};

// The field set of one step type: a container in the panel and its gadgets.
struct FieldSet {
    int container;
    std::span<const FieldSpec> fields;
};

// The field sets of the editor panel, one per step type in RECORDtype order.
std::span<const FieldSet, kStepTypeCount> EditorFieldSets();
const FieldSet& FieldSetOf(const StepTypeInfo& type);

// Creates the sets inside the panel, hides gadget 18 and every set.
void CreateEditorPanel(gui::Gui& gui);

// The fixed lists of the panel.
std::vector<std::string> StepTypeNames();
std::vector<std::string> ClickTypeNames();
std::vector<std::string> KeyboardTypeNames();
std::vector<std::string> ComPortNames();  // "COM1" to "COM80"
std::vector<std::string> ComTypeNames();

// Fills gadgets 69, 3, 16, 18, 32, 33 and selects the first item of each.
void FillPanelLists(gui::Gui& gui);

}  // namespace zs::form
