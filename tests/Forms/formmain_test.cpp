#include <gtest/gtest.h>

#include <set>

#include "Forms/FormMAIN.h"
#include "platform/headless/headless_gui.h"

namespace zs::form {
namespace {

using gui::GadgetKind;
using gui::Rect;

class FormMAINTest : public ::testing::Test {
protected:
    void SetUp() override {
        OpenFormMAIN(gui);
        CreateEditorPanel(gui);
        FillPanelLists(gui);
    }
    gui::GadgetState Gadget(int id) {
        auto state = gui.gadget(id);
        EXPECT_TRUE(state && state->created) << "gadget " << id;
        return state.value_or(gui::GadgetState{});
    }
    gui::HeadlessGui gui;
};

TEST_F(FormMAINTest, WindowGadgetsStandWhereOtherCodeExpectsThem) {
    struct Row {
        int id;
        GadgetKind kind;
        Rect rect;
        int container;
    };
    const Row rows[] = {
        {54, GadgetKind::ImageButton, {58, 280, 45, 35}, 0},
        {55, GadgetKind::ImageButton, {103, 280, 45, 35}, 0},
        {56, GadgetKind::ImageButton, {148, 280, 45, 35}, 0},
        {57, GadgetKind::Frame, {11, 28, 230, 220}, 0},
        {58, GadgetKind::ImageButton, {26, 55, 25, 25}, 0},
        {65, GadgetKind::ImageButton, {201, 55, 25, 25}, 0},
        {66, GadgetKind::Text, {10, 3, 230, 29}, 0},
        {67, GadgetKind::Text, {10, 253, 230, 20}, 0},
        {68, GadgetKind::Container, {16, 85, 220, 160}, 0},
        {69, GadgetKind::Combo, {10, 3, 200, 22}, 68},
        {70, GadgetKind::String, {10, 135, 200, 20}, 68},
        {71, GadgetKind::Text, {10, 120, 145, 15}, 68},
        {72, GadgetKind::Text, {4, 278, 50, 16}, 0},
        {73, GadgetKind::Text, {4, 292, 50, 16}, 0},
        {74, GadgetKind::Text, {4, 306, 50, 16}, 0},
    };
    for (const Row& row : rows) {
        const auto gadget = Gadget(row.id);
        EXPECT_EQ(gadget.spec.kind, row.kind) << row.id;
        EXPECT_EQ(gadget.spec.rect, row.rect) << row.id;
        EXPECT_EQ(gadget.spec.container, row.container) << row.id;
        EXPECT_EQ(gadget.spec.window, kFormMAIN) << row.id;
    }
    for (int id = 54; id <= 65; ++id) {
        if (id == 57) continue;
        EXPECT_EQ(Gadget(id).spec.image, id <= 56 ? 90 + id - 54 : 93 + id - 58) << id;
    }
    EXPECT_EQ(Gadget(57).text, "1");
    EXPECT_EQ(Gadget(71).text, "Step-Description:");
    EXPECT_EQ(Gadget(67).spec.align, gui::Align::Center);
    EXPECT_EQ(Gadget(57).font, kFontLarge);
    EXPECT_EQ(Gadget(67).font, kFontLarge);
    EXPECT_EQ(Gadget(66).font, kFontMedium);
    EXPECT_TRUE(Gadget(55).disabled);
    EXPECT_TRUE(Gadget(56).disabled);
    EXPECT_FALSE(Gadget(54).disabled);

    const auto window = gui.window(kFormMAIN);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->title, "Zelvorin-Step");
    EXPECT_EQ(window->rect.w, 252);
    EXPECT_EQ(window->rect.h, 344);
    EXPECT_EQ(window->flags, unsigned{gui::kCaption | gui::kCloseBox | gui::kCentered});
}

// Every set gadget lies inside its 210 x 95 set, no number is used twice, and the sets start
// hidden with the key-token combo hidden inside the keyboard set.
TEST_F(FormMAINTest, FieldSetsFitTheirContainersAndStartHidden) {
    std::set<int> ids;
    for (int id = 53; id <= 74; ++id) ids.insert(id);
    const int containers[] = {2, 15, 21, 26, 31, 38, 41, 44, 50, 120, 130, 150};
    for (const StepTypeInfo& type : StepTypes()) {
        const FieldSet& set = FieldSetOf(type);
        EXPECT_EQ(set.container, containers[RowOf(type)]);
        EXPECT_TRUE(ids.insert(set.container).second) << set.container;
        const auto container = Gadget(set.container);
        EXPECT_EQ(container.spec.rect, (Rect{5, 25, 210, 95}));
        EXPECT_EQ(container.spec.container, kPanel);
        EXPECT_TRUE(container.hidden);
        for (const FieldSpec& field : set.fields) {
            EXPECT_TRUE(ids.insert(field.id).second) << field.id;
            const auto gadget = Gadget(field.id);
            EXPECT_EQ(gadget.spec.container, set.container) << field.id;
            EXPECT_LE(field.rect.x + field.rect.w, 210) << field.id;
            EXPECT_LE(field.rect.y + field.rect.h, 95) << field.id;
        }
    }
    EXPECT_EQ(ids.size(), 22u + 12u + 40u + 8u + 15u + 12u);  // window, sets, gadgets of the sets
    EXPECT_TRUE(Gadget(kComboKeyToken).hidden);
    EXPECT_FALSE(Gadget(kStringTypedText).hidden);
}

TEST_F(FormMAINTest, FieldsCarryTheirStartTextsAndInputRules) {
    struct Row {
        int id;
        const char* text;
        bool digitsOnly;
        gui::Align align;
    };
    const Row rows[] = {
        {4, "50", true, gui::Align::Left},       {5, "50", true, gui::Align::Left},
        {28, "1", true, gui::Align::Left},       {22, "0.5", false, gui::Align::Left},
        {8, "Click:", false, gui::Align::Right}, {40, "Jump to step:", false, gui::Align::Right},
        {20, "String:", false, gui::Align::Left}, {47, "File....", false, gui::Align::Left},
        {37, "Initialise: (9600 N 8 1)", false, gui::Align::Left},
        {9, "0", false, gui::Align::Left},       {25, "0", false, gui::Align::Left},
    };
    for (const Row& row : rows) {
        const auto gadget = Gadget(row.id);
        EXPECT_EQ(gadget.text, row.text) << row.id;
        EXPECT_EQ(gadget.spec.digitsOnly, row.digitsOnly) << row.id;
        EXPECT_EQ(gadget.spec.align, row.align) << row.id;
    }
}

TEST_F(FormMAINTest, ListsHoldTheirItemsWithTheFirstSelected) {
    struct Row {
        int id;
        int count;
        const char* first;
        const char* last;
    };
    const Row rows[] = {
        {69, kStepTypeCount, "1 Mouse", "12 Query"},        {3, 4, "L_Click", "M_Click"},
        {16, 2, "String", "Key"},               {18, 34, "{BACKSPACE}", "{F12}"},
        {32, 80, "COM1", "COM80"},              {33, 4, "Initialise", "Byte"},
    };
    for (const Row& row : rows) {
        const auto gadget = Gadget(row.id);
        ASSERT_EQ(gadget.items.size(), row.count) << row.id;
        EXPECT_EQ(gadget.items.at(0), row.first) << row.id;
        EXPECT_EQ(gadget.items.at(row.count - 1), row.last) << row.id;
        EXPECT_EQ(gadget.selected, 0) << row.id;
    }
    EXPECT_EQ(Gadget(32).items.at(9), "COM10");
    EXPECT_EQ(Gadget(18).items.at(13), "{ALTUP}");
}

TEST_F(FormMAINTest, MenuItemsAndTexts) {
    BuildMenuMAIN(gui);
    const auto menu = gui.menu(kFormMAIN);
    ASSERT_EQ(menu.size(), 4u);
    std::vector<std::string> lines;
    for (const auto& title : menu) {
        lines.push_back(title.title + ":");
        for (const auto& item : title.items) lines.push_back(std::to_string(item.id) + " " + item.text);
    }
    const std::vector<std::string> expected{
        "File:", "75 Open", "76 New", "77 Save", "78 Save as...", "0 ", "80 Exit",
        "Control:", "81 Play", "82 Play from current step", "83 Pause", "84 Stop",
        "Tools:", "85 Editor", "90 Record", "?:", "88 Help", "89 About"};
    EXPECT_EQ(lines, expected);
    for (int item : {77, 78, 81, 82, 83, 84, 90}) EXPECT_TRUE(gui.isMenuItemDisabled(item)) << item;
    for (int item : {75, 76, 80, 85, 88, 89}) EXPECT_FALSE(gui.isMenuItemDisabled(item)) << item;
    for (int item : {79, 86, 87}) EXPECT_FALSE(gui.menuItemExists(item)) << item;
}

TEST(ButtonImages, SizesAndDistinctVisibleFaces) {
    const auto images = ButtonImages();
    std::set<std::vector<std::uint32_t>> faces;
    for (int i = 0; i < kImageCount; ++i) {
        const auto& image = images[static_cast<std::size_t>(i)];
        const int size[2] = {i < 3 ? 45 : 25, i < 3 ? 35 : 25};
        EXPECT_EQ(image.width, size[0]) << i;
        EXPECT_EQ(image.height, size[1]) << i;
        ASSERT_EQ(image.pixels.size(), static_cast<std::size_t>(image.width * image.height));
        int opaque = 0;
        for (auto pixel : image.pixels) opaque += (pixel >> 24) == 0xFF;
        EXPECT_GT(opaque, 20) << "face " << i << " has almost nothing drawn";
        EXPECT_LT(opaque, image.width * image.height / 2) << "face " << i;
        faces.insert(image.pixels);
    }
    EXPECT_EQ(faces.size(), 11u);
}

TEST(DefaultFont, ArialSixOnlyAtExactly120PixelsPerInch) {
    const std::pair<int, int> rows[] = {{96, 8}, {119, 8}, {120, 6}, {121, 8}, {144, 8}, {0, 8}};
    for (auto [ppi, points] : rows) {
        const FontSpec font = DefaultFontFor(ppi);
        EXPECT_EQ(font.points, points) << ppi;
        EXPECT_STREQ(font.face, "Arial");
        EXPECT_EQ(font.id, 0);
    }
}

}  // namespace
}  // namespace zs::form
