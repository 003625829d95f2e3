#include "Forms/FormMAIN.h"

#include "model/step_values.h"

#include "model/step.h"
#include "player/key_tokens.h"

namespace zs::form {

using gui::Align;
using gui::GadgetKind;
using gui::GadgetSpec;
using gui::Rect;

namespace {

constexpr int kClientWidth = 252;
constexpr int kClientHeight = 344;

GadgetSpec Gadget(int id, GadgetKind kind, Rect rect, std::string text = {},
                  Align align = Align::Left, int container = 0) {
    GadgetSpec spec;
    spec.id = id;
    spec.kind = kind;
    spec.window = kFormMAIN;
    spec.container = container;
    spec.rect = rect;
    spec.text = std::move(text);
    spec.align = align;
    return spec;
}

GadgetSpec ImageButton(int id, Rect rect, int image) {
    GadgetSpec spec = Gadget(id, GadgetKind::ImageButton, rect);
    spec.image = image;
    return spec;
}

void CreateButtons(gui::Gui& gui) {
    gui.createGadget(ImageButton(kButtonPlay, {58, 280, 45, 35}, kImageFirst));
    gui.createGadget(ImageButton(kButtonPause, {103, 280, 45, 35}, kImageFirst + 1));
    gui.createGadget(ImageButton(kButtonStop, {148, 280, 45, 35}, kImageFirst + 2));
    gui.setDisabled(kButtonPause, true);
    gui.setDisabled(kButtonStop, true);
}

void CreateNavigationButtons(gui::Gui& gui) {
    for (int i = 0; i < 8; ++i)
        gui.createGadget(
            ImageButton(kButtonFirstStep + i, {26 + 25 * i, 55, 25, 25}, kImageFirst + 3 + i));
}

void CreateTexts(gui::Gui& gui) {
    gui.createGadget(Gadget(kTextFileName, GadgetKind::Text, {10, 3, 230, 29}));
    gui.setFont(kTextFileName, kFontMedium);
    gui.createGadget(
        Gadget(kTextStepInfo, GadgetKind::Text, {10, 253, 230, 20}, {}, Align::Center));
    gui.setFont(kTextStepInfo, kFontLarge);
    const int statusIds[] = {kTextStatus1, kTextStatus2, kTextStatus3};
    for (int i = 0; i < 3; ++i)
        gui.createGadget(Gadget(statusIds[i], GadgetKind::Text, {4, 278 + 14 * i, 50, 16}));
}

void CreatePanel(gui::Gui& gui) {
    gui.createGadget(Gadget(kPanel, GadgetKind::Container, {16, 85, 220, 160}));
    gui.createGadget(
        Gadget(kComboStepType, GadgetKind::Combo, {10, 3, 200, 22}, {}, Align::Left, kPanel));
    gui.createGadget(Gadget(kStringDescription, GadgetKind::String, {10, 135, 200, 20}, {},
                            Align::Left, kPanel));
    gui.createGadget(Gadget(kLabelDescription, GadgetKind::Text, {10, 120, 145, 15},
                            "Step-Description:", Align::Left, kPanel));
}

void FillList(gui::Gui& gui, int gadget, const std::vector<std::string>& items) {
    gui.clearItems(gadget);
    for (const auto& item : items) gui.addItem(gadget, item);
    gui.select(gadget, 0);
}

}  // namespace

FontSpec DefaultFontFor(int pixelsPerInch) {
    return {kFontDefault, "Arial", pixelsPerInch == 120 ? 6 : 8, false};
}

void LoadFont(gui::Gui& gui, const FontSpec& font) {
    gui.loadFont(font.id, font.face, font.points, font.highQuality);
}

void LoadButtonImages(gui::Gui& gui) {
    const auto images = ButtonImages();
    for (int i = 0; i < kImageCount; ++i) gui.loadImage(kImageFirst + i, images[i]);
}

void OpenFormMAIN(gui::Gui& gui) {
    gui.openWindow(kFormMAIN, {0, 0, kClientWidth, kClientHeight}, "Zelvorin-Step",
                   gui::kCaption | gui::kCloseBox | gui::kCentered, 0);
    CreateButtons(gui);
    gui.createGadget(Gadget(kFrameStep, GadgetKind::Frame, {11, 28, 230, 220}, "1"));
    gui.setFont(kFrameStep, kFontLarge);
    CreateNavigationButtons(gui);
    CreateTexts(gui);
    CreatePanel(gui);
}

std::vector<gui::MenuTitle> MenuMAIN() {
    return {
        {"File",
         {{kMenuOpen, "Open"}, {kMenuNew, "New"}, {kMenuSave, "Save"},
          {kMenuSaveAs, "Save as..."}, {0, ""}, {kMenuExit, "Exit"}}},
        {"Control",
         {{kMenuPlay, "Play"}, {kMenuPlayFromCurrent, "Play from current step"},
          {kMenuPause, "Pause"}, {kMenuStop, "Stop"}}},
        {"Tools", {{kMenuEditor, "Editor"}, {kMenuRecord, "Record"}}},
        {"?", {{kMenuHelp, "Help"}, {kMenuAbout, "About"}}},
    };
}

void BuildMenuMAIN(gui::Gui& gui) {
    gui.createMenu(kFormMAIN, MenuMAIN());
    for (int item : kMenuDisabledAtStart) gui.setMenuItemDisabled(item, true);
}

void CreateEditorPanel(gui::Gui& gui) {
    constexpr Rect kSetRect{5, 25, 210, 95};
    for (const FieldSet& set : EditorFieldSets()) {
        gui.createGadget(Gadget(set.container, GadgetKind::Container, kSetRect, {},
                                Align::Left, kPanel));
        for (const FieldSpec& field : set.fields) {
            GadgetSpec spec =
                Gadget(field.id, field.kind, field.rect, field.text, field.align, set.container);
            spec.digitsOnly = field.digitsOnly;
            gui.createGadget(spec);
        }
    }
    gui.setHidden(kComboKeyToken, true);
    for (const FieldSet& set : EditorFieldSets()) gui.setHidden(set.container, true);
}

std::vector<std::string> StepTypeNames() {
    std::vector<std::string> names;
    for (const StepTypeInfo& type : StepTypes()) names.emplace_back(type.displayName);
    return names;
}

std::vector<std::string> ClickTypeNames() { return {"L_Click", "Ldbl_Click", "R_Click", "M_Click"}; }

std::vector<std::string> KeyboardTypeNames() { return {"String", "Key"}; }

std::vector<std::string> ComPortNames() {
    std::vector<std::string> names;
    for (int n = 1; n <= 80; ++n) names.push_back("COM" + std::to_string(n));
    return names;
}

std::vector<std::string> ComTypeNames() { return {"Initialise", "String", "Hex", "Byte"}; }

void FillPanelLists(gui::Gui& gui) {
    FillList(gui, kComboStepType, StepTypeNames());
    FillList(gui, kComboClickType, ClickTypeNames());
    FillList(gui, kComboKeyboardType, KeyboardTypeNames());
    FillList(gui, kComboKeyToken, KeyTokenListItems());
    FillList(gui, kComboComPort, ComPortNames());
    FillList(gui, kComboComType, ComTypeNames());
    FillList(gui, kComboWindowAction, {kWindowActions.begin(), kWindowActions.end()});
    FillList(gui, kComboWaitCondition, {kWaitConditions.begin(), kWaitConditions.end()});
    FillList(gui, kComboQueryPort, ComPortNames());
    FillList(gui, kComboQueryKind, {kQueryKinds.begin(), kQueryKinds.end()});
}

}  // namespace zs::form
