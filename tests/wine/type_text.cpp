// Types each argument with the program's text sender (tokens such as {ENTER} included) into
// whatever window has the focus, through the Win32 input. Used by scripts/wine-notepad-test.sh.
//   zs_type_text [--activate TITLE] TEXT...
// --activate first brings the topmost window whose title contains TITLE to the front through
// the desktop service, as a Window "Activate" step does, and fails (exit 3) when it cannot.
#include <string>

#include "platform/win32/win32_services.h"
#include "player/actions.h"

namespace {

bool ActivateByTitle(const std::string& part) {
    zs::Win32Desktop desktop;
    for (const zs::DesktopWindow& window : desktop.windows())
        if (!window.own && window.title.find(part) != std::string::npos)
            return desktop.activate(window.id);
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    int first = 1;
    if (argc > 2 && std::string(argv[1]) == "--activate") {
        if (!ActivateByTitle(argv[2])) return 3;
        first = 3;
    }
    zs::Win32Input input;
    for (int i = first; i < argc; ++i) zs::SendKeyText(input, argv[i]);
    return 0;
}
