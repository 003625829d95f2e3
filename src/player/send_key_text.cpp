// The text sender: characters and {TOKEN}s of a keyboard step become key transitions.
#include <cstddef>
#include <string_view>

#include "player/actions.h"
#include "player/key_tokens.h"

namespace zs {
namespace {

constexpr int kShiftBit = 1, kControlBit = 2, kAltBit = 4;

// Reads one character at `pos` and moves `pos` past it. In UTF-8 text a byte that starts no
// valid sequence (stray continuation, overlong form, surrogate, beyond U+10FFFF, cut short) is
// taken alone as its Latin-1 code point, so every byte is consumed and the caller always advances.
char32_t NextUtf8Char(std::string_view text, std::size_t& pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    int length = 0;
    char32_t code = 0, minimum = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    }
    bool valid = length > 0 && pos + length <= text.size();
    for (int i = 1; valid && i < length; ++i) {
        valid = (byte(pos + i) & 0xC0) == 0x80;
        code = (code << 6) | (byte(pos + i) & 0x3F);
    }
    valid = valid && code >= minimum && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
    if (!valid) {
        ++pos;
        return lead;
    }
    pos += length;
    return code;
}

char32_t NextChar(const Input& input, std::string_view text, std::size_t& pos) {
    if (input.textIsUtf8()) return NextUtf8Char(text, pos);
    return static_cast<unsigned char>(text[pos++]);
}

void PressAndRelease(Input& input, int vkCode) {
    input.key(vkCode, true);
    input.key(vkCode, false);
}

// Whether a scanned character gets the automatic Shift. Any modifier in the scan asks for it,
// as Ctrl-only scans (a line feed scans as Ctrl+Enter) are typed shifted rather than with Control,
// which would trigger shortcuts. An AltGr scan gets Shift only when it asks for Shift itself:
// added to Control and Alt it would pick another character.
bool NeedsAutomaticShift(int shiftState) {
    const bool altGr = (shiftState & (kControlBit | kAltBit)) == (kControlBit | kAltBit);
    if (altGr) return (shiftState & kShiftBit) != 0;
    return shiftState != 0;
}

class KeyTextSender {
public:
    KeyTextSender(Input& input, const StopRequested& stopped) : input_(input), stopped_(stopped) {}

    void send(std::string_view text) {
        std::size_t pos = 0;
        while (pos < text.size()) {
            if (pos > 0 && stopped_ && stopped_()) break;
            if (text[pos] == '{') {
                const std::size_t close = text.find('}', pos + 1);
                if (close != std::string_view::npos) {
                    sendToken(text.substr(pos + 1, close - pos - 1));
                    pos = close + 1;
                    continue;
                }
                // No "}" follows: the "{" and the rest are typed as plain characters.
            }
            sendChar(NextChar(input_, text, pos));
        }
        input_.key(vk::Alt, false);
        input_.key(vk::Control, false);
        input_.key(vk::Shift, false);
        input_.sendGatheredKeys();
    }

private:
    // A name outside the tables sends nothing: no key code belongs to it.
    void sendToken(std::string_view name) {
        if (const CharacterToken* character = FindCharacterToken(name)) {
            sendChar(static_cast<unsigned char>(character->ch));
            return;
        }
        const KeyTokenInfo* token = FindKeyToken(name);
        if (token == nullptr) return;
        switch (token->effect) {
        case KeyTokenEffect::PressAndRelease:
            PressAndRelease(input_, token->vk);
            break;
        case KeyTokenEffect::DownOnly:
        case KeyTokenEffect::UpOnly: {
            const bool down = token->effect == KeyTokenEffect::DownOnly;
            input_.key(token->vk, down);
            if (token->vk == vk::Shift) shiftHeld_ = down;
            if (token->vk == vk::Control) controlHeld_ = down;
            if (token->vk == vk::Alt) altHeld_ = down;
            break;
        }
        }
    }

    // Presses the modifiers a scanned character needs, unless a hold token keeps them down, types
    // the key and releases what it pressed in reverse order, so holds stay as they were.
    void sendChar(char32_t ch) {
        const KeyScan scan = input_.scanChar(ch);
        if (!scan.found) {
            input_.typeUnlisted(ch);
            return;
        }
        const bool altGr = (scan.shiftState & (kControlBit | kAltBit)) == (kControlBit | kAltBit);
        const bool shift = !shiftHeld_ && NeedsAutomaticShift(scan.shiftState);
        const bool control = altGr && !controlHeld_;
        const bool alt = altGr && !altHeld_;
        if (shift) input_.key(vk::Shift, true);
        if (control) input_.key(vk::Control, true);
        if (alt) input_.key(vk::Alt, true);
        PressAndRelease(input_, scan.vk);
        if (alt) input_.key(vk::Alt, false);
        if (control) input_.key(vk::Control, false);
        if (shift) input_.key(vk::Shift, false);
    }

    Input& input_;
    const StopRequested& stopped_;
    bool shiftHeld_ = false;  // while set, characters get no automatic Shift
    bool controlHeld_ = false;
    bool altHeld_ = false;
};

}  // namespace

int SendKeyText(Input& input, std::string_view text, const StopRequested& stopped) {
    KeyTextSender(input, stopped).send(text);
    return 1;
}

void DoKeyboardStep(const Step& step, Input& input, const StopRequested& stopped) {
    SendKeyText(input, step.KeyboardType == "String" ? step.TypedText : step.KeyToken, stopped);
}

}  // namespace zs
