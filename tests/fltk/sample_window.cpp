#include "sample_window.h"

#include <cstdlib>
#include <string>

namespace zs::gui::test {

namespace {

// A button face: a light background with a coloured shape drawn by inside(x, y).
template <class Inside>
Image face(int w, int h, std::uint32_t colour, Inside inside) {
    Image image{w, h, {}};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) image.pixels.push_back(inside(x, y) ? colour : 0x00000000u);
    }
    return image;
}

void loadFaces(FltkGui& gui) {
    gui.loadImage(90, face(28, 22, 0xFF1E9A3Cu, [](int x, int y) {
        return x >= 6 && std::abs(y - 11) * 2 <= (x - 6) * 22 / 16 && x < 22;
    }));
    gui.loadImage(91, face(28, 22, 0xFF3060C0u, [](int x, int y) {
        return y >= 3 && y < 19 && ((x >= 8 && x < 12) || (x >= 16 && x < 20));
    }));
    gui.loadImage(92, face(28, 22, 0xFFC03030u, [](int x, int y) {
        return x >= 7 && x < 21 && y >= 4 && y < 18;
    }));
    for (int i = 0; i < 8; ++i) {
        gui.loadImage(93 + i, face(16, 16, 0xFF404040u, [i](int x, int y) {
            int d = std::abs(y - 8);
            return i % 2 == 0 ? (x >= 4 + d && x < 12) : (x >= 4 && x < 12 - d);
        }));
    }
}

void addMainGadgets(FltkGui& gui) {
    auto add = [&](GadgetSpec spec) { spec.window = kMain; gui.createGadget(spec); };
    add({54, GadgetKind::ImageButton, 0, 0, {58, 280, 45, 35}, "", Align::Left, false, 90});
    add({55, GadgetKind::ImageButton, 0, 0, {103, 280, 45, 35}, "", Align::Left, false, 91});
    add({56, GadgetKind::ImageButton, 0, 0, {148, 280, 45, 35}, "", Align::Left, false, 92});
    add({57, GadgetKind::Frame, 0, 0, {11, 28, 230, 220}, "1", Align::Left, false, 0});
    for (int i = 0; i < 8; ++i) {
        add({58 + i, GadgetKind::ImageButton, 0, 0, {26 + 25 * i, 55, 25, 25}, "", Align::Left,
             false, 93 + i});
    }
    add({66, GadgetKind::Text, 0, 0, {10, 3, 230, 29}, "demo@work.stp", Align::Left, false, 0});
    add({67, GadgetKind::Text, 0, 0, {10, 253, 230, 20}, "Step 1 of 3", Align::Center, false, 0});
    add({68, GadgetKind::Container, 0, 0, {16, 85, 220, 160}, "", Align::Left, false, 0});
    add({69, GadgetKind::Combo, 0, 68, {10, 3, 200, 22}, "", Align::Left, false, 0});
    add({2, GadgetKind::Container, 0, 68, {5, 25, 210, 95}, "", Align::Left, false, 0});
    add({8, GadgetKind::Text, 0, 2, {5, 15, 40, 15}, "Click:", Align::Right, false, 0});
    add({3, GadgetKind::Combo, 0, 2, {50, 10, 85, 20}, "", Align::Left, false, 0});
    add({6, GadgetKind::Text, 0, 2, {5, 40, 40, 15}, "X:", Align::Right, false, 0});
    add({4, GadgetKind::String, 0, 2, {50, 35, 50, 20}, "50", Align::Left, true, 0});
    add({7, GadgetKind::Text, 0, 2, {5, 65, 40, 15}, "Y:", Align::Right, false, 0});
    add({5, GadgetKind::String, 0, 2, {50, 60, 50, 20}, "50", Align::Left, true, 0});
    add({70, GadgetKind::String, 0, 68, {10, 135, 200, 20}, "", Align::Left, false, 0});
    add({71, GadgetKind::Text, 0, 68, {10, 120, 145, 15}, "Step-Description:", Align::Left, false, 0});
    add({72, GadgetKind::Text, 0, 0, {4, 278, 50, 16}, "L1: 2", Align::Left, false, 0});
    add({73, GadgetKind::Text, 0, 0, {4, 292, 50, 16}, "", Align::Left, false, 0});
    add({74, GadgetKind::Text, 0, 0, {4, 306, 50, 16}, "", Align::Left, false, 0});
}

void fillLists(FltkGui& gui) {
    for (const char* type : {"1 Mouse", "2 Keyboard", "3 Delay", "4 Loop", "5 Comport",
                             "6 Jump", "7 State", "8 Execute", "9 Message"}) {
        gui.addItem(69, type);
    }
    for (const char* click : {"L_Click", "Ldbl_Click", "R_Click", "M_Click"}) gui.addItem(3, click);
    gui.select(69, 0);
    gui.select(3, 0);
}

}  // namespace

void openSampleMain(FltkGui& gui) {
    gui.loadFont(0, "Arial", 8, false);
    gui.loadFont(1, "Arial", 14, false);
    gui.loadFont(101, "Arial", 12, true);
    gui.loadFont(102, "Arial", 10, true);
    loadFaces(gui);
    gui.setDefaultFont(0);
    gui.openWindow(kMain, {0, 0, 252, 344}, "Zelvorin-Step", kCaption | kCloseBox | kCentered, 0);
    addMainGadgets(gui);
    gui.setFont(57, 101);
    gui.setFont(67, 101);
    gui.setFont(66, 102);
    gui.createMenu(kMain, {{"File", {{75, "Open"}, {76, "New"}, {77, "Save"}, {78, "Save as..."},
                                     {0, ""}, {80, "Exit"}}},
                           {"Control", {{81, "Play"}, {82, "Play from current step"},
                                        {83, "Pause"}, {84, "Stop"}}},
                           {"Tools", {{85, "Editor"}}},
                           {"?", {{88, "Help"}, {89, "About"}}}});
    for (int item : {77, 78, 81, 82, 83, 84}) gui.setMenuItemDisabled(item, true);
    gui.setDisabled(55, true);
    gui.setDisabled(56, true);
    fillLists(gui);
}

void openSampleEditor(FltkGui& gui) {
    gui.openWindow(kEditorWindow, {0, 0, 388, 496}, "Editor", kCaption | kCloseBox | kCentered,
                   kMain);
    auto add = [&](GadgetSpec spec) { spec.window = kEditorWindow; gui.createGadget(spec); };
    add({kEditor, GadgetKind::Editor, 0, 0, {0, 25, 390, 410}, "", Align::Left, false, 0});
    add({105, GadgetKind::Button, 0, 0, {0, 0, 50, 25}, "Open", Align::Left, false, 0});
    add({106, GadgetKind::Button, 0, 0, {50, 0, 50, 25}, "Save", Align::Left, false, 0});
    add({107, GadgetKind::Button, 0, 0, {100, 0, 50, 25}, "Save as", Align::Left, false, 0});
    add({108, GadgetKind::Text, 0, 0, {4, 436, 328, 20}, "CODE Line: 1", Align::Left, false, 0});
}

}  // namespace zs::gui::test
