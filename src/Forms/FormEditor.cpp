#include "Forms/FormEditor.h"

namespace zs::form {

namespace {

using gui::GadgetKind;

struct EditorGadget {
    int id;
    GadgetKind kind;
    gui::Rect rect;
    const char* text;
};

constexpr EditorGadget kEditorGadgets[] = {
    {kEditorText, GadgetKind::Editor, {0, 25, 390, 410}, ""},
    {kEditorOpen, GadgetKind::Button, {0, 0, 50, 25}, "Open"},
    {kEditorSave, GadgetKind::Button, {50, 0, 50, 25}, "Save"},
    {kEditorSaveAs, GadgetKind::Button, {100, 0, 50, 25}, "Save as"},
    {kEditorFileNameLabel, GadgetKind::Text, {155, 5, 230, 20}, ""},
    {kEditorInfoLine1, GadgetKind::Text, {4, 436, 328, 20}, ""},
    {kEditorInfoLine2, GadgetKind::Text, {4, 456, 384, 20}, ""},
    {kEditorInfoLine3, GadgetKind::Text, {4, 476, 384, 20}, ""},
};

}  // namespace

bool OpenFormEditor(gui::Gui& gui) {
    if (!gui.openWindow(kFormEditor, {0, 0, 388, 496}, "Editor",
                        gui::kCaption | gui::kCloseBox | gui::kCentered, kFormMAIN))
        return false;
    for (const EditorGadget& gadget : kEditorGadgets) {
        gui::GadgetSpec spec;
        spec.id = gadget.id;
        spec.kind = gadget.kind;
        spec.window = kFormEditor;
        spec.rect = gadget.rect;
        spec.text = gadget.text;
        gui.createGadget(spec);
    }
    return true;
}

}  // namespace zs::form
