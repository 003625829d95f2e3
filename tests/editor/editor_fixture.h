// The main window's editor panel on the headless gadget layer, with helpers that act as the user.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Forms/FormMAIN.h"
#include "editor/editor_panel.h"
#include "model/app_state.h"
#include "platform/headless/headless_gui.h"
#include "platform/headless/scripted_desktop.h"
#include "player/key_tokens.h"
#include "player/player_ui.h"

namespace zs::test {

class EditorFixture : public ::testing::Test {
protected:
    EditorFixture() {
        form::OpenFormMAIN(gui);
        // The headless layer keeps the rect it is given: place the window away from 0, 0.
        gui.openWindow(form::kFormMAIN, {100, 200, 252, 344}, "Zelvorin-Step",
                       gui::kCaption | gui::kCloseBox, 0);
        gui.setTopmost(form::kFormMAIN, true);
        form::CreateEditorPanel(gui);
        form::FillPanelLists(gui);
    }

    // Makes steps the program, step `current` current, and shows it.
    void show(const std::vector<Step>& steps, long current = 0) {
        state.list.clear();
        for (const Step& step : steps) state.list.add() = step;
        state.list.select(current);
        GetValues(panel);
    }

    // The user picks an item of a combo by its text ("" picks nothing).
    void pick(int combo, const std::string& text) { ShowInCombo(gui, combo, text); }
    void pickType(const std::string& typeText) {
        pick(form::kComboStepType, typeText);
        FormMAIN_ComboType_Event(panel, 1);
    }
    void type(int field, const std::string& text) { gui.setText(field, text); }

    // The set of the type shown, 0 when none or more than one is visible.
    int visibleSetType() {
        int shown = 0;
        for (const StepTypeInfo& type : StepTypes()) {
            if (gui.isHidden(form::FieldSetOf(type).container)) continue;
            if (shown != 0) return 0;
            shown = type.number;
        }
        return shown;
    }

    std::vector<std::string> items(int gadget) {
        std::vector<std::string> result;
        for (int i = 0; i < gui.itemCount(gadget); ++i) result.push_back(gui.itemText(gadget, i));
        return result;
    }

    std::string lastMessageText() {
        const auto messages = gui.messages();
        return messages.empty() ? std::string() : messages.back().text;
    }
    gui::MessageRecord lastMessage() {
        const auto messages = gui.messages();
        return messages.empty() ? gui::MessageRecord{} : messages.back();
    }

    static std::vector<std::string> Numbers(int count) {
        std::vector<std::string> numbers;
        for (int i = 1; i <= count; ++i) numbers.push_back(std::to_string(i));
        return numbers;
    }

    gui::HeadlessGui gui;
    AppState state;
    ScriptedDesktop desktop;
    EditorPanel panel{gui, state,
                      [this](const std::string& title, const std::string& text) {
                          MessageRoutine(gui, title, text);
                      },
                      desktop};
};

// Step makers.
inline Step MouseStep(const std::string& click, int x, int y) {
    Step step;
    step.RECORDtype = 1;
    step.ClickType = click;
    step.MouseX = x;
    step.MouseY = y;
    return step;
}

inline Step DelayOf(float seconds, const std::string& description = "") {
    Step step = NewDelayStep();
    step.DelaySeconds = seconds;
    step.Description = description;
    return step;
}

}  // namespace zs::test
