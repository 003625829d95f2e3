#include "bench_gui.h"

#include <windows.h>

#include "platform/win32/gui_win32.h"

namespace zs::bench {

std::unique_ptr<BenchGui> OpenBenchGui() {
    auto real = std::make_unique<win32::Win32Gui>();
    // The bench runs on the thread that made the windows: it handles what is pending itself.
    auto settle = [] {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        GdiFlush();
    };
    return std::make_unique<BenchGui>(std::move(real), settle, "Win32, Wine");
}

}  // namespace zs::bench
