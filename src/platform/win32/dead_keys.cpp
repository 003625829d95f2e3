#include "platform/win32/dead_keys.h"

#include <windows.h>

namespace zs {

namespace {

// The combining mark of a dead key's accent, for the accents layouts carry.
wchar_t CombiningMark(wchar_t accent) {
    switch (accent) {
    case L'`': return 0x0300;
    case 0x00B4: case L'\'': return 0x0301;
    case L'^': return 0x0302;
    case L'~': return 0x0303;
    case 0x00A8: case L'"': return 0x0308;
    case 0x00B0: case 0x02DA: return 0x030A;
    case 0x00B8: return 0x0327;
    case 0x02C7: return 0x030C;
    case 0x02D8: return 0x0306;
    case 0x02D9: return 0x0307;
    case 0x02DD: return 0x030B;
    case 0x02DB: return 0x0328;
    default: return 0;
    }
}

}  // namespace

// What a window gets for a dead key's accent and the character typed after it: the composed
// letter where one exists, the accent alone for a space, else the accent and the character.
std::wstring ComposeDeadKey(wchar_t accent, const std::wstring& typed) {
    if (typed == L" ") return std::wstring(1, accent);
    const wchar_t mark = CombiningMark(accent);
    if (mark != 0 && typed.size() == 1) {
        const wchar_t pair[2] = {typed[0], mark};
        wchar_t composed[4] = {};
        if (FoldStringW(MAP_PRECOMPOSED, pair, 2, composed, 4) == 1) return std::wstring(1, composed[0]);
    }
    return accent + typed;
}

}  // namespace zs
