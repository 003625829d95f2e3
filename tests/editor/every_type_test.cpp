// Every step type through the whole chain: a CODE line is read, written back, checked, shown in
// its field set, stored back unchanged, and F9 fills what that set takes from the pointer.
#include <gtest/gtest.h>

#include <map>

#include "editor/save_record.h"
#include "editor_fixture.h"
#include "model/code_lines.h"
#include "model/step_file.h"

namespace zs::test {
namespace {

using namespace zs::form;

// A CODE line of each type that uses every field the type has, and F9's gadgets and texts.
struct Sample {
    const char* line;
    std::map<int, std::string> capturedAt123x45;
};

const std::map<int, Sample>& Samples() {
    static const std::map<int, Sample> samples{
        {1, {"1;Ldbl_Click;640;480;double", {{kStringMouseX, "123"}, {kStringMouseY, "45"}}}},
        {2, {"2;String;Hello, {ENTER};greet", {{kStringMouseX, "123"}, {kStringMouseY, "45"}}}},
        {3, {"3;2.5;wait", {{kStringMouseX, "123"}, {kStringMouseY, "45"}}}},
        {4, {"4;1;3;again", {{kStringMouseX, "123"}, {kStringMouseY, "45"}}}},
        {5, {"5;COM2;Initialise;9600 E 7 2;line", {{kStringMouseX, "123"}, {kStringMouseY, "45"}}}},
        {6, {"6;2;on", {{kStringMouseX, "123"}, {kStringMouseY, "45"}}}},
        {7, {"7;Busy;state", {{kStringMouseX, "123"}, {kStringMouseY, "45"}}}},
        {8, {"8;/usr/bin/xlogo;start", {{kStringMouseX, "123"}, {kStringMouseY, "45"}}}},
        {9, {"9;Go on?;ask", {{kStringMouseX, "123"}, {kStringMouseY, "45"}}}},
        {10, {"10;Activate;Notes;5.0;2;find", {{kStringWindowTitle, "Notes - Editor"}}}},
        {11,
         {"11;NotColor;120;45;#33AA00;8;30.0;0;lamp",
          {{kStringWaitX, "123"}, {kStringWaitY, "45"}, {kStringWaitColor, "#102030"}}}},
        {12, {"12;COM3;Hex;0D 0A;06;2.0;0;ack", {{kStringMouseX, "123"}, {kStringMouseY, "45"}}}},
    };
    return samples;
}

class EveryTypeTest : public EditorFixture {};

TEST_F(EveryTypeTest, ReadWriteCheckShowStoreAndCaptureEachType) {
    ASSERT_EQ(Samples().size(), static_cast<std::size_t>(kStepTypeCount));
    // What lies under the pointer at 123, 45 for F9.
    desktop.setWindow({{7, "Notes - Editor", false}, {100, 0}, 200, 200});
    desktop.setPixel({123, 45}, {0x10, 0x20, 0x30});
    for (const StepTypeInfo& type : StepTypes()) {
        const Sample& sample = Samples().at(type.number);
        SCOPED_TRACE(sample.line);
        const std::string file = std::string(kFileVersionLine) + "\r\nu\r\n\r\n" + sample.line +
                                 "\r\n3;0.5;\r\n";
        std::string information;
        ASSERT_EQ(ParseStepFile(file, state.list, information).outcome, LoadOutcome::Loaded);
        ASSERT_EQ(state.list.at(0).RECORDtype, type.number);
        EXPECT_EQ(CodeLine(state.list.at(0)), sample.line);
        std::vector<std::string> lines = SplitLines(file);
        EXPECT_EQ(CheckCodeLines(lines, "u").message, "");

        state.list.first();
        GetValues(panel);
        EXPECT_EQ(visibleSetType(), type.number);
        EXPECT_EQ(ComboText(gui, kComboStepType), type.displayName);
        const Step read = state.list.at(0);
        ASSERT_EQ(SaveActualRecord(panel), 1) << lastMessageText();
        EXPECT_EQ(state.list.at(0), read);

        CapturePointer(panel, {123, 45});
        for (const auto& [gadget, text] : sample.capturedAt123x45)
            EXPECT_EQ(gui.text(gadget), text) << gadget;
    }
    EXPECT_TRUE(gui.messages().empty());
}

}  // namespace
}  // namespace zs::test
