// FormMAIN, the main window: its window, gadget, menu, font and image numbers, and the code that
// creates the window, its menu, the editor panel's nine field sets and their lists.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/gui.h"

namespace zs::form {

// Windows
inline constexpr int kFormMAIN = 53;
inline constexpr int kFormEditor = 103;
inline constexpr int kNoticeWindow = 112;

// Fonts
inline constexpr int kFontDefault = 0;
inline constexpr int kFontNotice = 1;
inline constexpr int kFontLarge = 101;   // step frame caption, step information
inline constexpr int kFontMedium = 102;  // file name

// Images: Play, Pause, Stop, then the eight navigation faces.
inline constexpr int kImageFirst = 90;
inline constexpr int kImageCount = 11;

// Gadgets of the window
inline constexpr int kButtonPlay = 54, kButtonPause = 55, kButtonStop = 56;
inline constexpr int kFrameStep = 57;
inline constexpr int kButtonFirstStep = 58, kButtonPreviousStep = 59, kButtonStepList = 60,
                     kButtonNextStep = 61, kButtonLastStep = 62, kButtonAppendStep = 63,
                     kButtonInsertStep = 64, kButtonDeleteStep = 65;
inline constexpr int kTextFileName = 66;
inline constexpr int kTextStepInfo = 67;
inline constexpr int kPanel = 68;
inline constexpr int kComboStepType = 69;
inline constexpr int kStringDescription = 70;
inline constexpr int kLabelDescription = 71;
inline constexpr int kTextStatus1 = 72, kTextStatus2 = 73, kTextStatus3 = 74;

// Gadgets of the editor panel that other code reads or writes
inline constexpr int kComboClickType = 3;
inline constexpr int kStringMouseX = 4, kStringMouseY = 5;
inline constexpr int kTextCursorX = 9, kTextCursorY = 10;
inline constexpr int kComboKeyboardType = 16;
inline constexpr int kStringTypedText = 17;
inline constexpr int kComboKeyToken = 18;
inline constexpr int kLabelKeyboardText = 20;
inline constexpr int kStringDelay = 22;
inline constexpr int kTextCountdown = 25;
inline constexpr int kComboLoopFrom = 27;
inline constexpr int kStringRepetitions = 28;
inline constexpr int kComboComPort = 32;
inline constexpr int kComboComType = 33;
inline constexpr int kStringTelegram = 34;
inline constexpr int kLabelComHint = 37;
inline constexpr int kComboJumpTo = 39;
inline constexpr int kStringStateText = 42;
inline constexpr int kStringExecuteFile = 46;
inline constexpr int kButtonExecuteFile = 47;
inline constexpr int kPanelButton = 49;
inline constexpr int kStringMessageText = 51;

// Gadgets of FormEditor that the event loop dispatches
inline constexpr int kEditorText = 104;
inline constexpr int kEditorOpen = 105, kEditorSave = 106, kEditorSaveAs = 107;

// The field-set container of each step type, in RECORDtype order 1 to 9.
inline constexpr std::array<int, 9> kFieldSets{2, 15, 21, 26, 31, 38, 41, 44, 50};

// Menu items
inline constexpr int kMenuOpen = 75, kMenuNew = 76, kMenuSave = 77, kMenuSaveAs = 78,
                     kMenuReserved79 = 79, kMenuExit = 80, kMenuPlay = 81,
                     kMenuPlayFromCurrent = 82, kMenuPause = 83, kMenuStop = 84,
                     kMenuEditor = 85, kMenuReserved86 = 86, kMenuReserved87 = 87,
                     kMenuHelp = 88, kMenuAbout = 89, kMenuRecord = 90;

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
};

struct FieldSet {
    int container;
    std::vector<FieldSpec> fields;
};

// The nine field sets of the editor panel, in RECORDtype order.
const std::vector<FieldSet>& EditorFieldSets();

// Creates the nine sets inside the panel, hides gadget 18 and all nine sets.
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
