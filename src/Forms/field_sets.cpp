// The field sets of the editor panel as data: one per step type, all at the same place.
#include "Forms/FormMAIN.h"

#include <array>
#include <iterator>

namespace zs::form {

namespace {

using gui::Align;
using K = gui::GadgetKind;

constexpr Align R = Align::Right;
constexpr Align L = Align::Left;
constexpr bool kDigits = true;
constexpr bool kAnyText = false;
constexpr bool kEnabledWhilePlaying = true;

constexpr FieldSpec kMouse[] = {
    {8, K::Text, {5, 15, 40, 15}, "Click:", R},
    {3, K::Combo, {50, 10, 85, 20}, ""},
    {6, K::Text, {5, 40, 40, 15}, "X:", R},
    {4, K::String, {50, 35, 50, 20}, "50", L, kDigits},
    {7, K::Text, {5, 65, 40, 15}, "Y:", R},
    {5, K::String, {50, 60, 50, 20}, "50", L, kDigits},
    {9, K::Text, {105, 40, 45, 15}, "0"},
    {10, K::Text, {105, 65, 45, 15}, "0"},
    {11, K::Text, {155, 25, 45, 15}, "Press"},
    {12, K::Text, {155, 40, 45, 15}, "F9"},
    {13, K::Text, {155, 55, 45, 15}, "to use"},
    {14, K::Text, {155, 70, 45, 15}, "values"},
};

constexpr FieldSpec kKeyboard[] = {
    {19, K::Text, {50, 5, 40, 15}, "Type:"},
    {16, K::Combo, {50, 20, 85, 20}, ""},
    {20, K::Text, {5, 45, 40, 15}, "String:"},
    {17, K::String, {5, 60, 200, 20}, ""},
    {18, K::Combo, {5, 60, 200, 20}, ""},
};

constexpr FieldSpec kDelay[] = {
    {22, K::String, {55, 15, 65, 20}, "0.5"},
    {23, K::Text, {125, 20, 40, 15}, "sec."},
    {24, K::Text, {125, 55, 75, 20}, "Countdown"},
    {25, K::Text, {65, 55, 55, 20}, "0"},
};

constexpr FieldSpec kLoop[] = {
    {29, K::Text, {5, 25, 100, 15}, "From step:", R},
    {27, K::Combo, {110, 20, 75, 20}, ""},
    {30, K::Text, {5, 55, 100, 15}, "Repetitions:", R},
    {28, K::String, {110, 50, 75, 20}, "1", L, kDigits},
};

constexpr FieldSpec kComport[] = {
    {35, K::Text, {30, 5, 60, 15}, "Port:"},
    {32, K::Combo, {25, 20, 70, 20}, ""},
    {36, K::Text, {115, 5, 60, 15}, "Type:"},
    {33, K::Combo, {110, 20, 70, 20}, ""},
    {37, K::Text, {5, 45, 195, 15}, "Initialise: (9600 N 8 1)"},
    {34, K::String, {5, 60, 200, 20}, ""},
};

constexpr FieldSpec kJump[] = {
    {40, K::Text, {15, 45, 95, 15}, "Jump to step:", R},
    {39, K::Combo, {115, 40, 75, 20}, ""},
};

constexpr FieldSpec kState[] = {
    {43, K::Text, {5, 30, 140, 15}, "State text:"},
    {42, K::String, {5, 45, 200, 20}, ""},
};

constexpr FieldSpec kExecute[] = {
    {45, K::Text, {5, 30, 95, 15}, "File:"},
    {46, K::String, {5, 45, 200, 20}, ""},
    {47, K::Button, {150, 20, 55, 20}, "File...."},
};

constexpr FieldSpec kMessage[] = {
    {52, K::Text, {5, 30, 140, 15}, "Message text:"},
    {51, K::String, {5, 45, 200, 20}, "", L, kAnyText, kEnabledWhilePlaying},
};

// The last row of the sets of the steps that wait: the time-out and the on-fail route, with the
// labels numbered just before their fields.
constexpr std::array<FieldSpec, 4> TimeoutAndOnFail(int timeout, int onFail, const char* seconds) {
    return {{
        {timeout - 1, K::Text, {0, 75, 68, 15}, "Timeout (s):", R},
        {timeout, K::String, {70, 72, 36, 20}, seconds},
        {onFail - 1, K::Text, {107, 75, 42, 15}, "On fail:", R},
        {onFail, K::Combo, {151, 72, 59, 20}, ""},
    }};
}

template <std::size_t N, std::size_t M>
constexpr std::array<FieldSpec, N + M> Joined(const std::array<FieldSpec, N>& first,
                                              const std::array<FieldSpec, M>& second) {
    std::array<FieldSpec, N + M> joined{};
    for (std::size_t i = 0; i < N; ++i) joined[i] = first[i];
    for (std::size_t i = 0; i < M; ++i) joined[N + i] = second[i];
    return joined;
}

constexpr auto kWindow = Joined(std::array<FieldSpec, 4>{{
    {121, K::Text, {0, 3, 52, 15}, "Action:", R},
    {kComboWindowAction, K::Combo, {55, 0, 90, 20}, ""},
    {123, K::Text, {0, 27, 52, 15}, "Title:", R},
    {kStringWindowTitle, K::String, {55, 24, 155, 20}, ""},
}}, TimeoutAndOnFail(kStringWindowTimeout, kComboWindowOnFail, "10.0"));

constexpr auto kWait = Joined(std::array<FieldSpec, 11>{{
    {131, K::Text, {0, 3, 60, 15}, "Condition:", R},
    {kComboWaitCondition, K::Combo, {63, 0, 75, 20}, ""},
    {133, K::Text, {139, 3, 18, 15}, "X:", R},
    {kStringWaitX, K::String, {158, 0, 47, 20}, "0", L, kDigits},
    {137, K::Text, {0, 27, 60, 15}, "Color:", R},
    {kStringWaitColor, K::String, {63, 24, 55, 20}, "#000000"},
    {kSwatchWaitColor, K::Swatch, {121, 24, 17, 20}, ""},
    {135, K::Text, {139, 27, 18, 15}, "Y:", R},
    {kStringWaitY, K::String, {158, 24, 47, 20}, "0", L, kDigits},
    {140, K::Text, {0, 51, 60, 15}, "Tolerance:", R},
    {kStringWaitTolerance, K::String, {63, 48, 35, 20}, "0", L, kDigits},
}}, TimeoutAndOnFail(kStringWaitTimeout, kComboWaitOnFail, "10.0"));

constexpr auto kQuery = Joined(std::array<FieldSpec, 8>{{
    {151, K::Text, {0, 3, 52, 15}, "Port:", R},
    {kComboQueryPort, K::Combo, {55, 0, 70, 20}, ""},
    {153, K::Text, {128, 3, 30, 15}, "Kind:", R},
    {kComboQueryKind, K::Combo, {160, 0, 50, 20}, ""},
    {155, K::Text, {0, 27, 52, 15}, "Send:", R},
    {kStringQueryTelegram, K::String, {55, 24, 155, 20}, ""},
    {157, K::Text, {0, 51, 52, 15}, "Reply:", R},
    {kStringQueryReply, K::String, {55, 48, 155, 20}, ""},
}}, TimeoutAndOnFail(kStringQueryTimeout, kComboQueryOnFail, "2.0"));

constexpr FieldSet kSets[] = {
    {2, kMouse},   {15, kKeyboard}, {21, kDelay},   {26, kLoop},    {31, kComport},
    {38, kJump},   {41, kState},    {44, kExecute}, {50, kMessage}, {120, kWindow},
    {130, kWait},  {150, kQuery},
};
static_assert(std::size(kSets) == kStepTypeCount, "one field set per step type");

}  // namespace

std::span<const FieldSet, kStepTypeCount> EditorFieldSets() {
    return std::span<const FieldSet, kStepTypeCount>(kSets);
}

const FieldSet& FieldSetOf(const StepTypeInfo& type) { return kSets[RowOf(type)]; }

}  // namespace zs::form
