#include "editor/navigation.h"

#include <string>

#include "Forms/FormMAIN.h"
#include "editor/save_record.h"
#include "model/numbers.h"

namespace zs {

using namespace zs::form;

namespace {

// Stores the shown step, then moves with `move` and shows where it landed.
template <typename Move>
void StoreAndMove(EditorPanel& panel, Move move) {
    if (SaveActualRecord(panel) == 0) return;
    move(panel.state.list);
    GetValues(panel);
}

void ShowNewStep(EditorPanel& panel, Step& step) {
    step = NewDelayStep();
    panel.gui.setText(kStringDescription, "");
    GetValues(panel);
}

}  // namespace

void FirstStep(EditorPanel& panel, int /*eventType*/) {
    StoreAndMove(panel, [](RList& list) { list.first(); });
}

void PreviousStep(EditorPanel& panel, int /*eventType*/) {
    StoreAndMove(panel, [](RList& list) { list.previous(); });
}

void NextStep(EditorPanel& panel, int /*eventType*/) {
    StoreAndMove(panel, [](RList& list) { list.next(); });
}

void LastStep(EditorPanel& panel, int /*eventType*/) {
    StoreAndMove(panel, [](RList& list) { list.last(); });
}

void OpenStepPickList(EditorPanel& panel, int /*eventType*/) {
    gui::Gui& gui = panel.gui;
    const gui::Rect main = gui.windowRect(kFormMAIN);
    if (!gui.openWindow(kPickListWindow, {main.x + 74, main.y + 105, 60, 90}, "",
                        gui::kBorderless | gui::kAtPosition, kFormMAIN))
        return;
    gui::GadgetSpec list;
    list.id = kPickList;
    list.kind = gui::GadgetKind::ListBox;
    list.window = kPickListWindow;
    list.rect = {0, 0, 60, 90};
    gui.createGadget(list);
    gui.setNumberItems(kPickList, static_cast<int>(panel.state.list.size()), "");
    gui.enableWindow(kFormMAIN, false);
}

void StepPicked(EditorPanel& panel, int /*eventType*/) {
    // A refused store has shown its message; the pick goes on with what was stored.
    SaveActualRecord(panel);
    const std::int64_t number = ReadInteger64(ComboText(panel.gui, kPickList));
    if (number >= 1 && number <= panel.state.list.size())
        panel.state.list.select(static_cast<long>(number - 1));
    panel.gui.closeWindow(kPickListWindow);
    panel.gui.enableWindow(kFormMAIN, true);
    GetValues(panel);
}

void AppendStep(EditorPanel& panel, int /*eventType*/) {
    if (SaveActualRecord(panel) == 0) return;
    RList& list = panel.state.list;
    list.last();
    ShowNewStep(panel, list.add());
}

void InsertStep(EditorPanel& panel, int /*eventType*/) {
    if (SaveActualRecord(panel) == 0) return;
    ShowNewStep(panel, panel.state.list.insert());
}

void DeleteStep(EditorPanel& panel, int /*eventType*/) {
    if (panel.state.list.size() < 2) {
        panel.message("Info", "Only one step left! Can't delete actual step!");
        return;
    }
    if (SaveActualRecord(panel) == 0) return;
    panel.state.list.remove();
    GetValues(panel);
}

}  // namespace zs
