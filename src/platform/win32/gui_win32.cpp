// Win32Gui: window classes, the window procedure, the event queue and carrying calls over to
// the UI thread.
#include "platform/exit_action.h"
#include "platform/win32/gui_win32.h"

#include "platform/win32/win32_services.h"

namespace zs::gui::win32 {
namespace {

constexpr const char* kWindowClass = "ZelvorinStepWindow";
constexpr const char* kContainerClass = "ZelvorinStepContainer";
constexpr const char* kCallClass = "ZelvorinStepUiCall";
constexpr UINT kRunCall = WM_APP + 1;

struct UiCall {
    const std::function<void()>* fn = nullptr;
    std::exception_ptr error;
};

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* gui = reinterpret_cast<Win32Gui*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (gui == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
    return gui->handleMessage(hwnd, message, wParam, lParam);
}

// Containers hand their children's notifications to the top-level window.
LRESULT CALLBACK ContainerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
        return SendMessageA(GetAncestor(hwnd, GA_ROOT), message, wParam, lParam);
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK CallProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kRunCall) return DefWindowProcA(hwnd, message, wParam, lParam);
    auto* call = reinterpret_cast<UiCall*>(lParam);
    try {
        (*call->fn)();
    } catch (...) {
        call->error = std::current_exception();
    }
    return 1;
}

void RegisterClasses() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpfnWndProc = WindowProc;
    wc.lpszClassName = kWindowClass;
    wc.hIcon = LoadIconA(wc.hInstance, MAKEINTRESOURCEA(1));  // the program's icon, if linked in
    RegisterClassExA(&wc);
    wc.hIcon = nullptr;
    wc.lpfnWndProc = ContainerProc;
    wc.lpszClassName = kContainerClass;
    RegisterClassExA(&wc);
    wc.lpfnWndProc = CallProc;
    wc.lpszClassName = kCallClass;
    wc.hbrBackground = nullptr;
    RegisterClassExA(&wc);
}

std::optional<GadgetEventType> EventTypeOf(GadgetKind kind, int code) {
    switch (kind) {
    case GadgetKind::Button:
    case GadgetKind::ImageButton:
        if (code == BN_CLICKED) return GadgetEventType::Click;
        break;
    case GadgetKind::Combo:
        if (code == CBN_SELCHANGE) return GadgetEventType::Change;
        break;
    case GadgetKind::ListBox:
        if (code == LBN_SELCHANGE) return GadgetEventType::Change;
        if (code == LBN_DBLCLK) return GadgetEventType::Click;
        break;
    case GadgetKind::String:
    case GadgetKind::Editor:
        if (code == EN_CHANGE) return GadgetEventType::Change;
        if (code == EN_SETFOCUS) return GadgetEventType::Focus;
        break;
    default:
        break;
    }
    return std::nullopt;
}

}  // namespace

const char* WindowClassName() { return kWindowClass; }
const char* ContainerClassName() { return kContainerClass; }

Win32Gui::Win32Gui() : uiThread_(GetCurrentThreadId()) {
    RegisterClasses();
    callWindow_ = CreateWindowExA(0, kCallClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
}

Win32Gui::~Win32Gui() {
    for (auto& [id, record] : windows_) {
        DestroyWindow(record.hwnd);
        if (record.background) DeleteObject(record.background);
    }
    if (callWindow_) DestroyWindow(callWindow_);
    for (auto& [id, record] : gadgets_)
        if (record.fill) DeleteObject(record.fill);
    for (auto& [id, font] : fonts_) DeleteObject(font);
    for (HFONT font : retiredFonts_) DeleteObject(font);
    for (auto& [id, image] : images_) {
        DeleteObject(image.normal);
        DeleteObject(image.disabled);
    }
}

// A call from another thread waits until the UI thread has run it; its exception is rethrown
// here. The UI thread takes such calls whenever it waits for messages, also in modal dialogs.
void Win32Gui::runOnUi(const std::function<void()>& fn) {
    if (GetCurrentThreadId() == uiThread_) {
        fn();
        return;
    }
    UiCall call{&fn, nullptr};
    SendMessageA(callWindow_, kRunCall, 0, reinterpret_cast<LPARAM>(&call));
    if (call.error) std::rethrow_exception(call.error);
}

LRESULT Win32Gui::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (lParam != 0) {
            gadgetCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        } else if (HIWORD(wParam) == 0 && menuItemWindow_.count(LOWORD(wParam))) {
            events_.push_back({EventKind::Menu, windowIdOf(hwnd), LOWORD(wParam), 0, 0});
        }
        return 0;
    case WM_CLOSE:  // reported; the program decides whether the window goes
        if (int id = windowIdOf(hwnd)) events_.push_back({EventKind::WindowClose, id, 0, 0, 0});
        return 0;
    case WM_ENDSESSION:  // the session ends once this returns: release the input's keys now
        if (wParam) RunExitAction();
        return 0;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_BUTTON) break;
        drawImageButton(*item);
        return TRUE;
    }
    case WM_ERASEBKGND: {
        const WindowRecord* record = window(windowIdOf(hwnd));
        if (record == nullptr || record->background == nullptr) break;
        RECT client{};
        GetClientRect(hwnd, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, record->background);
        return 1;
    }
    case WM_CTLCOLORSTATIC: {
        if (const auto control = gadgetOfHwnd_.find(reinterpret_cast<HWND>(lParam));
            control != gadgetOfHwnd_.end()) {
            const GadgetRecord* swatch = gadget(control->second);
            if (swatch != nullptr && swatch->fill != nullptr)
                return reinterpret_cast<LRESULT>(swatch->fill);
        }
        const WindowRecord* record = window(windowIdOf(hwnd));
        if (record == nullptr || record->background == nullptr) break;
        LOGBRUSH brush{};
        GetObjectA(record->background, sizeof brush, &brush);
        SetBkColor(reinterpret_cast<HDC>(wParam), brush.lbColor);
        return reinterpret_cast<LRESULT>(record->background);
    }
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void Win32Gui::gadgetCommand(HWND control, int code) {
    const auto found = gadgetOfHwnd_.find(control);
    if (found == gadgetOfHwnd_.end()) return;
    const GadgetRecord* record = gadget(found->second);
    if (record == nullptr) return;
    if (code == EN_CHANGE && programmaticChange_) return;
    const std::optional<GadgetEventType> type = EventTypeOf(record->kind, code);
    if (!type) return;
    events_.push_back({EventKind::Gadget, record->window, found->second, static_cast<int>(*type), 0});
}

// Keys and left-button releases are taken from the queue before dispatch, so that they are
// seen whichever child of a program window has the focus.
void Win32Gui::noteInput(const MSG& msg) {
    const bool keyDown = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    if (!keyDown && msg.message != WM_LBUTTONUP) return;
    const int id = windowIdOf(msg.hwnd);
    if (id == 0) return;
    if (keyDown) {
        events_.push_back({EventKind::KeyDown, id, 0, 0, static_cast<int>(msg.wParam)});
    } else {
        events_.push_back({EventKind::LeftButtonUp, id, 0, 0, 0});
    }
}

// Tab and Shift+Tab move the focus between the gadgets of a program window, as in a dialog.
void Win32Gui::pumpMessage(MSG& msg) {
    noteInput(msg);
    const bool tabKey = msg.message == WM_KEYDOWN && msg.wParam == VK_TAB;
    const HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (tabKey && windowIdOf(root) && IsDialogMessageA(root, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

// Handles messages, and calls from other threads, until the time is up.
void Win32Gui::pumpFor(DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            pumpMessage(msg);
        }
    }
}

// Runs the message loop until an event is queued; WM_QUIT gives an event of kind None.
Event Win32Gui::waitEvent() {
    if (GetCurrentThreadId() != uiThread_) return {};
    while (events_.empty()) {
        MSG msg;
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) return {};
        pumpMessage(msg);
    }
    Event event = events_.front();
    events_.pop_front();
    return event;
}

// The posted message wakes a waitEvent() that waits in GetMessage for the next posted one.
void Win32Gui::postEvent(const Event& event) {
    onUi([&] { events_.push_back(event); });
    PostMessageA(callWindow_, WM_NULL, 0, 0);
}

WindowRecord* Win32Gui::window(int id) {
    const auto found = windows_.find(id);
    return found == windows_.end() ? nullptr : &found->second;
}

GadgetRecord* Win32Gui::gadget(int id) {
    const auto found = gadgets_.find(id);
    return found == gadgets_.end() ? nullptr : &found->second;
}

int Win32Gui::windowIdOf(HWND hwnd) const {
    if (hwnd == nullptr) return 0;
    const HWND root = GetAncestor(hwnd, GA_ROOT);
    for (const auto& [id, record] : windows_)
        if (record.hwnd == root || record.hwnd == hwnd) return id;
    return 0;
}

// The program's window that is active now, else its first visible window.
HWND Win32Gui::activeProgramWindow() const {
    const HWND active = GetActiveWindow();
    if (windowIdOf(active)) return GetAncestor(active, GA_ROOT);
    for (const auto& [id, record] : windows_)
        if (IsWindowVisible(record.hwnd)) return record.hwnd;
    return nullptr;
}

}  // namespace zs::gui::win32

namespace zs {

std::unique_ptr<gui::Gui> MakeWin32Gui() { return std::make_unique<gui::win32::Win32Gui>(); }

}  // namespace zs
