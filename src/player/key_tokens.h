// The named keys that a keyboard text can hold as {TOKEN}s. One table serves the text sender and
// the editor's "Key" list, whose items stand in the order of the table.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "platform/input.h"

namespace zs {

enum class KeyTokenKind {
    Key,   // pressed and released
    Hold,  // one transition only: a modifier goes down or up and stays so
};

enum class KeyTokenEffect { PressAndRelease, DownOnly, UpOnly };

struct KeyTokenInfo {
    std::string_view item;  // as written in a text and listed in the editor, e.g. "{ENTER}"
    KeyTokenKind kind;
    int vk;
    KeyTokenEffect effect;

    // The text between the braces, e.g. "ENTER".
    constexpr std::string_view name() const { return item.substr(1, item.size() - 2); }
};

inline constexpr int kKeyTokenCount = 34;

inline constexpr std::array<KeyTokenInfo, kKeyTokenCount> kKeyTokens{{
    {"{BACKSPACE}", KeyTokenKind::Key, vk::Backspace, KeyTokenEffect::PressAndRelease},
    {"{DELETE}", KeyTokenKind::Key, vk::Delete, KeyTokenEffect::PressAndRelease},
    {"{END}", KeyTokenKind::Key, vk::End, KeyTokenEffect::PressAndRelease},
    {"{ENTER}", KeyTokenKind::Key, vk::Enter, KeyTokenEffect::PressAndRelease},
    {"{ESCAPE}", KeyTokenKind::Key, vk::Escape, KeyTokenEffect::PressAndRelease},
    {"{HOME}", KeyTokenKind::Key, vk::Home, KeyTokenEffect::PressAndRelease},
    {"{INSERT}", KeyTokenKind::Key, vk::Insert, KeyTokenEffect::PressAndRelease},
    {"{RETURN}", KeyTokenKind::Key, vk::Enter, KeyTokenEffect::PressAndRelease},
    {"{TAB}", KeyTokenKind::Key, vk::Tab, KeyTokenEffect::PressAndRelease},
    {"{UP}", KeyTokenKind::Key, vk::Up, KeyTokenEffect::PressAndRelease},
    {"{DOWN}", KeyTokenKind::Key, vk::Down, KeyTokenEffect::PressAndRelease},
    {"{LEFT}", KeyTokenKind::Key, vk::Left, KeyTokenEffect::PressAndRelease},
    {"{RIGHT}", KeyTokenKind::Key, vk::Right, KeyTokenEffect::PressAndRelease},
    {"{ALTUP}", KeyTokenKind::Hold, vk::Alt, KeyTokenEffect::UpOnly},
    {"{ALTDOWN}", KeyTokenKind::Hold, vk::Alt, KeyTokenEffect::DownOnly},
    {"{CONTROLUP}", KeyTokenKind::Hold, vk::Control, KeyTokenEffect::UpOnly},
    {"{CONTROLDOWN}", KeyTokenKind::Hold, vk::Control, KeyTokenEffect::DownOnly},
    {"{SHIFTUP}", KeyTokenKind::Hold, vk::Shift, KeyTokenEffect::UpOnly},
    {"{SHIFTDOWN}", KeyTokenKind::Hold, vk::Shift, KeyTokenEffect::DownOnly},
    {"{PAGEDOWN}", KeyTokenKind::Key, vk::PageDown, KeyTokenEffect::PressAndRelease},
    {"{PAGEUP}", KeyTokenKind::Key, vk::PageUp, KeyTokenEffect::PressAndRelease},
    {"{PRINTSCREEN}", KeyTokenKind::Key, vk::PrintScreen, KeyTokenEffect::PressAndRelease},
    {"{F1}", KeyTokenKind::Key, vk::F1 + 0, KeyTokenEffect::PressAndRelease},
    {"{F2}", KeyTokenKind::Key, vk::F1 + 1, KeyTokenEffect::PressAndRelease},
    {"{F3}", KeyTokenKind::Key, vk::F1 + 2, KeyTokenEffect::PressAndRelease},
    {"{F4}", KeyTokenKind::Key, vk::F1 + 3, KeyTokenEffect::PressAndRelease},
    {"{F5}", KeyTokenKind::Key, vk::F1 + 4, KeyTokenEffect::PressAndRelease},
    {"{F6}", KeyTokenKind::Key, vk::F1 + 5, KeyTokenEffect::PressAndRelease},
    {"{F7}", KeyTokenKind::Key, vk::F1 + 6, KeyTokenEffect::PressAndRelease},
    {"{F8}", KeyTokenKind::Key, vk::F1 + 7, KeyTokenEffect::PressAndRelease},
    {"{F9}", KeyTokenKind::Key, vk::F1 + 8, KeyTokenEffect::PressAndRelease},
    {"{F10}", KeyTokenKind::Key, vk::F1 + 9, KeyTokenEffect::PressAndRelease},
    {"{F11}", KeyTokenKind::Key, vk::F1 + 10, KeyTokenEffect::PressAndRelease},
    {"{F12}", KeyTokenKind::Key, vk::F1 + 11, KeyTokenEffect::PressAndRelease},
}};

// The table row whose name (text between the braces) is exactly `name`, or nullptr.
constexpr const KeyTokenInfo* FindKeyToken(std::string_view name) {
    for (const auto& token : kKeyTokens)
        if (token.name() == name) return &token;
    return nullptr;
}

// Tokens that type one character the step file cannot hold as it is: ";" separates its fields,
// and "{" begins a token. They are not in the editor's "Key" list.
struct CharacterToken {
    std::string_view item;  // e.g. "{SEMICOLON}"
    char ch;

    constexpr std::string_view name() const { return item.substr(1, item.size() - 2); }
};

inline constexpr std::array<CharacterToken, 2> kCharacterTokens{{
    {"{SEMICOLON}", ';'},
    {"{LEFTBRACE}", '{'},
}};

constexpr const CharacterToken* FindCharacterToken(std::string_view name) {
    for (const auto& token : kCharacterTokens)
        if (token.name() == name) return &token;
    return nullptr;
}

// The items of the editor's "Key" list, e.g. "{BACKSPACE}", in table order.
inline std::vector<std::string> KeyTokenListItems() {
    std::vector<std::string> items;
    items.reserve(kKeyTokens.size());
    for (const auto& token : kKeyTokens) items.emplace_back(token.item);
    return items;
}

}  // namespace zs
