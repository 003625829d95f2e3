// Storing the gadgets of one field set into a step: each field is stored before its gadget is
// tested, and the first test that fails leaves its reason here and stops the store.
#pragma once

#include <cstdint>
#include <string>

#include "editor/editor_panel.h"

namespace zs {

class FieldStorer {
public:
    FieldStorer(EditorPanel& panel, Step& step) : panel_(panel), step_(step) {}

    Step& step() { return step_; }
    EditorPanel& panel() { return panel_; }

    // The gadget's text; with a message, an empty text fails with it ("Input required").
    bool Text(int gadget, std::string& field, const char* message = nullptr);
    // The combo's stored value (StoredValue); an empty one fails with the message.
    bool Combo(int gadget, std::string& field, const char* message);
    // The integer conversion of text; an empty text fails with the message.
    bool Integer(const std::string& text, std::int32_t& field, const char* message);
    // The editor's decimal conversion of text; an empty text fails with the message.
    bool Seconds(const std::string& text, float& field, const char* message);
    // A failed value check, titled "Wrong values".
    bool WrongValue(std::string message);
    // A required value that is missing, titled "Input required".
    bool Missing(const char* message);

    const std::string& failure() const { return failure_; }
    const char* failureTitle() const { return wrongValue_ ? "Wrong values" : "Input required"; }

private:
    bool Require(const std::string& text, const char* message);

    EditorPanel& panel_;
    Step& step_;
    std::string failure_;
    bool wrongValue_ = false;
};

}  // namespace zs
