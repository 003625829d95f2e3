// Dead keys as Windows composes them for the window that gets the keys: the recorder's hook
// must not touch that window's dead-key state, so it composes the accent and the next character
// itself.
#pragma once

#include <string>

namespace zs {

// The composed letter where one exists ("^" and "a": "\u00e2"), the accent alone for a space,
// else the accent followed by the character ("^" and "x": "^x").
std::wstring ComposeDeadKey(wchar_t accent, const std::wstring& typed);

}  // namespace zs
