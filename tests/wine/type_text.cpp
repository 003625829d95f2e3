// Types each argument with the program's text sender (tokens such as {ENTER} included) into
// whatever window has the focus, through the Win32 input. Used by scripts/wine-notepad-test.sh.
#include "platform/win32/win32_services.h"
#include "player/actions.h"

int main(int argc, char** argv) {
    zs::Win32Input input;
    for (int i = 1; i < argc; ++i) zs::SendKeyText(input, argv[i]);
    return 0;
}
