// The numbers that the program gives its windows, fonts, images, gadgets and menu items: the one
// place where they are fixed, for the forms, the editor, the player and the shell.
#pragma once

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

// The step pick list: a borderless window of its own with a list box of step numbers
inline constexpr int kPickListWindow = 48;
inline constexpr int kPickList = 49;

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
inline constexpr int kPanelButton = kPickList;  // its events reach the panel's handler
inline constexpr int kStringMessageText = 51;
// The Window set
inline constexpr int kComboWindowAction = 122;
inline constexpr int kStringWindowTitle = 124;
inline constexpr int kStringWindowTimeout = 126;
inline constexpr int kComboWindowOnFail = 128;
// The Wait set
inline constexpr int kComboWaitCondition = 132;
inline constexpr int kStringWaitX = 134, kStringWaitY = 136;
inline constexpr int kStringWaitColor = 138;
inline constexpr int kSwatchWaitColor = 139;
inline constexpr int kStringWaitTolerance = 141;
inline constexpr int kStringWaitTimeout = 143;
inline constexpr int kComboWaitOnFail = 145;
// The Query set
inline constexpr int kComboQueryPort = 152;
inline constexpr int kComboQueryKind = 154;
inline constexpr int kStringQueryTelegram = 156;
inline constexpr int kStringQueryReply = 158;
inline constexpr int kStringQueryTimeout = 160;
inline constexpr int kComboQueryOnFail = 162;

// Gadgets of FormEditor that the event loop dispatches
inline constexpr int kEditorText = 104;
inline constexpr int kEditorOpen = 105, kEditorSave = 106, kEditorSaveAs = 107;

// Menu items
inline constexpr int kMenuOpen = 75, kMenuNew = 76, kMenuSave = 77, kMenuSaveAs = 78,
                     kMenuReserved79 = 79, kMenuExit = 80, kMenuPlay = 81,
                     kMenuPlayFromCurrent = 82, kMenuPause = 83, kMenuStop = 84,
                     kMenuEditor = 85, kMenuReserved86 = 86, kMenuReserved87 = 87,
                     kMenuHelp = 88, kMenuAbout = 89, kMenuRecord = 90;

// Gadgets of FormEditor that only the text editor window uses
inline constexpr int kEditorFileNameLabel = 108;
inline constexpr int kEditorInfoLine1 = 109;
inline constexpr int kEditorInfoLine2 = 110;
inline constexpr int kEditorInfoLine3 = 111;

}  // namespace zs::form
