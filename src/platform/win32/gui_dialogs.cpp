// Win32Gui: message boxes, file requesters and the short notice window.
#include <windows.h>

#include <commdlg.h>

#include <algorithm>

#include "platform/win32/gui_win32.h"

namespace zs::gui::win32 {
namespace {

constexpr int kNoticeWindow = 112, kNoticeText = 113, kNoticeFont = 1;
constexpr int kNoticeHeight = 25, kNoticePixelsPerChar = 16;
constexpr DWORD kNoticeMilliseconds = 600;
constexpr std::size_t kPathBufferSize = 32768;

}  // namespace

// "A|*.a|B|*.b" -> "A\0*.a\0B\0*.b\0\0"; an empty filter gives the two NULs only.
std::string DialogFilter(const std::string& filter) {
    std::string out = filter;
    std::replace(out.begin(), out.end(), '|', '\0');
    if (!out.empty()) out += '\0';
    out += '\0';
    return out;
}

// A box of the UI thread is owned by the program's active window, which takes no input while it
// is open. A box that another thread asks for is that thread's own, above every window: it holds
// up that thread only, and the program's windows stay usable (the player's boxes leave Stop
// working).
Answer Win32Gui::messageBox(const std::string& title, const std::string& text, Buttons buttons) {
    const UINT kind = (buttons == Buttons::YesNo ? MB_YESNO : MB_OK) | MB_SETFOREGROUND;
    const auto answerOf = [buttons](int pressed) {
        if (buttons == Buttons::Ok) return Answer::Ok;
        return pressed == IDYES ? Answer::Yes : Answer::No;
    };
    if (GetCurrentThreadId() != uiThread_)
        return answerOf(MessageBoxA(nullptr, text.c_str(), title.c_str(), kind | MB_TOPMOST));
    const HWND owner = activeProgramWindow();
    return answerOf(MessageBoxA(owner, text.c_str(), title.c_str(),
                                owner == nullptr ? kind | MB_TASKMODAL : kind));
}

std::optional<std::string> Win32Gui::fileRequester(FileMode mode, const std::string& title,
                                                   const std::string& defaultFile,
                                                   const std::string& filter) {
    return onUi([&]() -> std::optional<std::string> {
        std::string path(kPathBufferSize, '\0');
        std::copy_n(defaultFile.begin(), std::min(defaultFile.size(), kPathBufferSize - 1),
                    path.begin());
        const std::string filters = DialogFilter(filter);
        OPENFILENAMEA request{};
        request.lStructSize = sizeof request;
        request.hwndOwner = activeProgramWindow();
        request.lpstrFilter = filters.c_str();
        request.nFilterIndex = 1;
        request.lpstrFile = path.data();
        request.nMaxFile = static_cast<DWORD>(path.size());
        request.lpstrTitle = title.c_str();
        request.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
        if (mode == FileMode::Open) request.Flags |= OFN_FILEMUSTEXIST;
        const BOOL chosen =
            mode == FileMode::Open ? GetOpenFileNameA(&request) : GetSaveFileNameA(&request);
        if (!chosen) return std::nullopt;
        path.resize(path.find('\0'));
        return path;
    });
}

// The window is made on the UI thread; the 600 ms pass there with the message loop running,
// or on the calling thread while the UI thread goes on with its own loop.
void Win32Gui::notice(const std::string& text, int parentWindow) {
    const bool onUiThread = GetCurrentThreadId() == uiThread_;
    onUi([&] {
        const int width = std::max(1, kNoticePixelsPerChar * static_cast<int>(text.size()));
        if (!openWindowOnUi(kNoticeWindow, {0, 0, width, kNoticeHeight}, "", kBorderless,
                            parentWindow))
            return;
        WindowRecord& record = *window(kNoticeWindow);
        record.background = CreateSolidBrush(RGB(192, 192, 192));
        RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        SetWindowPos(record.hwnd, HWND_TOP, (area.right - width) / 2,
                     (area.bottom - kNoticeHeight) / 2, 0, 0, SWP_NOSIZE);
        createGadget({kNoticeText, GadgetKind::Text, kNoticeWindow, 0, {0, 0, width, kNoticeHeight},
                      text, Align::Center, false, 0});
        const HWND label = gadget(kNoticeText)->hwnd;
        SetWindowLongA(label, GWL_STYLE, GetWindowLongA(label, GWL_STYLE) | SS_CENTERIMAGE);
        setFont(kNoticeText, kNoticeFont);
        InvalidateRect(record.hwnd, nullptr, TRUE);
        UpdateWindow(record.hwnd);
    });
    if (onUiThread) {
        pumpFor(kNoticeMilliseconds);
    } else {
        Sleep(kNoticeMilliseconds);
    }
    onUi([&] {
        closeWindow(kNoticeWindow);
        activateWindow(parentWindow);
    });
}

}  // namespace zs::gui::win32
