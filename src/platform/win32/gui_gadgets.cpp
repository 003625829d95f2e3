// Win32Gui: gadgets (standard controls and containers) and what is done to them.
#include <algorithm>

#include "platform/item_list.h"
#include "platform/win32/gui_win32.h"

namespace zs::gui::win32 {
namespace {

constexpr int kComboListHeight = 200;  // the dropped list below a combo's closed field

struct ControlClass {
    const char* name;
    DWORD style;
    DWORD exStyle;
};

DWORD AlignStyle(Align align) {
    switch (align) {
    case Align::Right: return SS_RIGHT;
    case Align::Center: return SS_CENTER;
    case Align::Left: break;
    }
    return SS_LEFT;
}

ControlClass ClassFor(const GadgetSpec& spec) {
    switch (spec.kind) {
    case GadgetKind::Text: return {"STATIC", AlignStyle(spec.align) | SS_NOPREFIX, 0};
    case GadgetKind::String:
        return {"EDIT", WS_TABSTOP | ES_AUTOHSCROLL | (spec.digitsOnly ? ES_NUMBER : 0u),
                WS_EX_CLIENTEDGE};
    case GadgetKind::Button: return {"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
    case GadgetKind::ImageButton: return {"BUTTON", WS_TABSTOP | BS_OWNERDRAW, 0};
    case GadgetKind::Combo: return {"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
    case GadgetKind::Container: return {ContainerClassName(), 0, WS_EX_CONTROLPARENT};
    case GadgetKind::Swatch: return {"STATIC", WS_BORDER, 0};
    case GadgetKind::Frame: return {"BUTTON", BS_GROUPBOX, 0};
    case GadgetKind::ListBox:
        return {"LISTBOX", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                WS_EX_CLIENTEDGE};
    case GadgetKind::Editor:
        // No word wrap: an edit line is a text line, so the cursor's line number is the file's.
        return {"EDIT",
                WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_WANTRETURN |
                    ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                WS_EX_CLIENTEDGE};
    }
    return {"STATIC", 0, 0};
}

bool IsList(GadgetKind kind) { return kind == GadgetKind::Combo || kind == GadgetKind::ListBox; }

// The list messages of a combo and of a list box.
struct ListMessages {
    UINT add, reset, count, textLength, text, select, selected, remove, storage;
};

ListMessages MessagesFor(GadgetKind kind) {
    if (kind == GadgetKind::Combo)
        return {CB_ADDSTRING, CB_RESETCONTENT, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT,
                CB_SETCURSEL, CB_GETCURSEL, CB_DELETESTRING, CB_INITSTORAGE};
    return {LB_ADDSTRING, LB_RESETCONTENT, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT, LB_SETCURSEL,
            LB_GETCURSEL, LB_DELETESTRING, LB_INITSTORAGE};
}

std::string ListItem(HWND list, const ListMessages& m, int index) {
    const LRESULT length = SendMessageA(list, m.textLength, static_cast<WPARAM>(index), 0);
    if (length < 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT got = SendMessageA(list, m.text, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(text.data()));
    text.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
    return text;
}

std::string WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, text.data(), length + 1)));
    return text;
}

// Edit controls break lines at CR LF only.
std::string WithCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

}  // namespace

std::vector<std::string> SplitEditLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        const std::size_t stop = end > start && text[end - 1] == '\r' ? end - 1 : end;
        lines.push_back(text.substr(start, stop - start));
        start = end + 1;
    }
}

std::string JoinEditLines(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
    return text;
}

LineChange ChangedLines(const std::string& before, const std::string& after) {
    const std::size_t shorter = std::min(before.size(), after.size());
    std::size_t same = 0;
    while (same < shorter && before[same] == after[same]) ++same;
    const std::size_t start = same == 0 ? 0 : before.rfind('\n', same - 1) + 1;  // npos + 1 is 0
    std::size_t tail = 0;  // bytes at the end that both share, after start in both
    while (tail < shorter - start && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    // The kept tail begins with a whole line: drop its leading part up to the first line end.
    std::size_t end = before.size() - tail;
    if (end > start && before[end - 1] != '\n') {
        const std::size_t lineEnd = before.find('\n', end);
        end = lineEnd == std::string::npos ? before.size() : lineEnd + 1;
    }
    const std::size_t kept = before.size() - end;
    return {start, end, after.substr(start, after.size() - kept - start)};
}

// Gadgets go into a container's own window; a frame only draws a border, so gadgets said to
// lie in it are placed in the frame's parent, moved by the frame's position.
HWND Win32Gui::gadgetParent(const GadgetSpec& spec, Rect& rect) {
    const WindowRecord* owner = window(spec.window);
    if (owner == nullptr) return nullptr;
    const GadgetRecord* container = spec.container ? gadget(spec.container) : nullptr;
    if (container == nullptr || container->window != spec.window) return owner->hwnd;
    if (container->kind == GadgetKind::Container) return container->hwnd;
    if (container->kind != GadgetKind::Frame) return owner->hwnd;
    const HWND parent = GetParent(container->hwnd);
    RECT frame{};
    GetWindowRect(container->hwnd, &frame);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&frame), 2);
    rect.x += frame.left;
    rect.y += frame.top;
    return parent;
}

void Win32Gui::createGadget(const GadgetSpec& spec) {
    onUi([&] {
        destroyGadget(spec.id);
        Rect rect = spec.rect;
        const HWND parent = gadgetParent(spec, rect);
        if (parent == nullptr) return;
        const ControlClass cls = ClassFor(spec);
        const int height = spec.kind == GadgetKind::Combo ? rect.h + kComboListHeight : rect.h;
        const HWND hwnd = CreateWindowExA(
            cls.exStyle, cls.name, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | cls.style, rect.x,
            rect.y, std::max(rect.w, 0), std::max(height, 0), parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), GetModuleHandleA(nullptr), this);
        if (hwnd == nullptr) return;
        gadgets_[spec.id] = GadgetRecord{hwnd, spec.kind, spec.window, {}, spec.image, -1, {}, nullptr};
        gadgetOfHwnd_[hwnd] = spec.id;
        SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fontOrDefault(defaultFont_)), FALSE);
        keepFramesUnder(parent);
        if (spec.kind == GadgetKind::String || spec.kind == GadgetKind::Editor)
            SendMessageA(hwnd, EM_SETLIMITTEXT, 0, 0);
        if (!IsList(spec.kind) || !spec.text.empty()) setGadgetText(gadgets_[spec.id], spec.text);
    });
}

// New controls go under their siblings, so the stacking (and with it the Tab order) is the
// order of creation; frames are moved under all of them, so that a frame's painting never
// covers the gadgets it surrounds.
void Win32Gui::keepFramesUnder(HWND parent) {
    for (const auto& [id, record] : gadgets_)
        if (record.kind == GadgetKind::Frame && GetParent(record.hwnd) == parent)
            SetWindowPos(record.hwnd, HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32Gui::destroyGadget(int id) {
    GadgetRecord* record = gadget(id);
    if (record == nullptr) return;
    const HWND hwnd = record->hwnd;
    // Gadgets inside it go with it.
    for (auto it = gadgets_.begin(); it != gadgets_.end();) {
        if (it->second.hwnd == hwnd || IsChild(hwnd, it->second.hwnd)) {
            gadgetOfHwnd_.erase(it->second.hwnd);
            it = gadgets_.erase(it);
        } else {
            ++it;
        }
    }
    DestroyWindow(hwnd);
}

void Win32Gui::destroyWindowGadgets(int window) {
    for (auto it = gadgets_.begin(); it != gadgets_.end();) {
        if (it->second.window == window) {
            if (it->second.fill != nullptr) DeleteObject(it->second.fill);
            gadgetOfHwnd_.erase(it->second.hwnd);
            it = gadgets_.erase(it);
        } else {
            ++it;
        }
    }
}

// The index of the item that equals text exactly (case too), or -1.
int Win32Gui::findItem(const GadgetRecord& record, const std::string& text) {
    if (record.numberItems >= 0) {
        ItemList numbers;
        numbers.setNumbers(record.numberItems, record.leadingItem);
        return numbers.find(text);
    }
    const ListMessages m = MessagesFor(record.kind);
    const auto count = static_cast<int>(SendMessageA(record.hwnd, m.count, 0, 0));
    for (int i = 0; i < count; ++i)
        if (ListItem(record.hwnd, m, i) == text) return i;
    return -1;
}

void Win32Gui::setGadgetText(GadgetRecord& record, const std::string& text) {
    if (IsList(record.kind)) {
        const int index = findItem(record, text);
        SendMessageA(record.hwnd, MessagesFor(record.kind).select, static_cast<WPARAM>(index), 0);
        return;
    }
    if (record.kind == GadgetKind::Container || record.kind == GadgetKind::ImageButton) {
        record.text = text;
        return;
    }
    programmaticChange_ = true;
    if (record.kind == GadgetKind::Editor) {
        setEditorText(record.hwnd, WithCrLf(text));
    } else {
        SetWindowTextA(record.hwnd, text.c_str());
    }
    programmaticChange_ = false;
}

// An edit control measures every line it is given (Wine's some 40 us a line), so a new text
// replaces only the lines that differ: saving a long program, which rewrites its header, then
// costs one line. Afterwards the control is as a set text leaves it: cursor at the start, no undo,
// not modified. Positions are bytes only where every character before them is one byte.
void Win32Gui::setEditorText(HWND editor, const std::string& text) {
    const std::string before = WindowText(editor);
    const LineChange change = ChangedLines(before, text);
    CPINFO codePage{};
    const bool singleByte = GetCPInfo(CP_ACP, &codePage) && codePage.MaxCharSize == 1;
    const bool bytesAreChars =
        singleByte || std::all_of(before.begin(), before.begin() + static_cast<std::ptrdiff_t>(change.end),
                                  [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (before.empty() || (change.start == 0 && change.end == before.size()) || !bytesAreChars) {
        SetWindowTextA(editor, text.c_str());
        return;
    }
    if (change.start != change.end || !change.replacement.empty()) {
        SendMessageA(editor, EM_SETSEL, static_cast<WPARAM>(change.start), static_cast<LPARAM>(change.end));
        SendMessageA(editor, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(change.replacement.c_str()));
    }
    SendMessageA(editor, EM_EMPTYUNDOBUFFER, 0, 0);
    SendMessageA(editor, EM_SETMODIFY, FALSE, 0);
    SendMessageA(editor, EM_SETSEL, 0, 0);
    SendMessageA(editor, EM_SCROLLCARET, 0, 0);
}

std::string Win32Gui::gadgetText(const GadgetRecord& record) {
    if (IsList(record.kind)) {
        const ListMessages m = MessagesFor(record.kind);
        const auto index = static_cast<int>(SendMessageA(record.hwnd, m.selected, 0, 0));
        return index < 0 ? std::string() : ListItem(record.hwnd, m, index);
    }
    if (record.kind == GadgetKind::Container || record.kind == GadgetKind::ImageButton)
        return record.text;
    return WindowText(record.hwnd);
}

void Win32Gui::setText(int id, const std::string& text) {
    onUi([&] {
        if (GadgetRecord* record = gadget(id)) setGadgetText(*record, text);
    });
}

std::string Win32Gui::text(int id) {
    return onUi([&] {
        const GadgetRecord* record = gadget(id);
        return record ? gadgetText(*record) : std::string();
    });
}

void Win32Gui::addItem(int id, const std::string& text) {
    onUi([&] {
        GadgetRecord* record = gadget(id);
        if (record == nullptr || !IsList(record->kind)) return;
        record->numberItems = -1;
        SendMessageA(record->hwnd, MessagesFor(record->kind).add, 0,
                     reinterpret_cast<LPARAM>(text.c_str()));
    });
}

void Win32Gui::clearItems(int id) {
    onUi([&] {
        GadgetRecord* record = gadget(id);
        if (record == nullptr || !IsList(record->kind)) return;
        record->numberItems = 0;
        record->leadingItem.clear();
        SendMessageA(record->hwnd, MessagesFor(record->kind).reset, 0, 0);
    });
}

// Adds or removes only the numbers at the end that differ: a count that changes by one sends
// one message, however long the list is.
void Win32Gui::setNumberItems(int id, int count, const std::string& leading) {
    onUi([&] {
        GadgetRecord* record = gadget(id);
        if (record == nullptr || !IsList(record->kind)) return;
        const ListMessages m = MessagesFor(record->kind);
        count = std::max(0, count);
        if (record->numberItems < 0 || record->leadingItem != leading) {
            SendMessageA(record->hwnd, m.reset, 0, 0);
            if (!leading.empty())
                SendMessageA(record->hwnd, m.add, 0, reinterpret_cast<LPARAM>(leading.c_str()));
            record->numberItems = 0;
            record->leadingItem = leading;
        }
        const int lead = leading.empty() ? 0 : 1;
        SendMessageA(record->hwnd, WM_SETREDRAW, FALSE, 0);
        if (count > record->numberItems)
            SendMessageA(record->hwnd, m.storage, static_cast<WPARAM>(count - record->numberItems),
                         static_cast<LPARAM>(count - record->numberItems) * 8);
        for (int n = record->numberItems + 1; n <= count; ++n)
            SendMessageA(record->hwnd, m.add, 0, reinterpret_cast<LPARAM>(std::to_string(n).c_str()));
        for (int n = record->numberItems; n > count; --n)
            SendMessageA(record->hwnd, m.remove, static_cast<WPARAM>(n - 1 + lead), 0);
        record->numberItems = count;
        SendMessageA(record->hwnd, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(record->hwnd, nullptr, TRUE);
    });
}

int Win32Gui::itemCount(int id) {
    return onUi([&] {
        const GadgetRecord* record = gadget(id);
        if (record == nullptr || !IsList(record->kind)) return 0;
        return std::max(0, static_cast<int>(SendMessageA(record->hwnd, MessagesFor(record->kind).count, 0, 0)));
    });
}

std::string Win32Gui::itemText(int id, int index) {
    return onUi([&] {
        const GadgetRecord* record = gadget(id);
        if (record == nullptr || !IsList(record->kind) || index < 0) return std::string();
        return ListItem(record->hwnd, MessagesFor(record->kind), index);
    });
}

void Win32Gui::select(int id, int index) {
    onUi([&] {
        const GadgetRecord* record = gadget(id);
        if (record == nullptr || !IsList(record->kind)) return;
        const ListMessages m = MessagesFor(record->kind);
        const auto count = static_cast<int>(SendMessageA(record->hwnd, m.count, 0, 0));
        const int chosen = index >= 0 && index < count ? index : -1;
        SendMessageA(record->hwnd, m.select, static_cast<WPARAM>(chosen), 0);
    });
}

int Win32Gui::selected(int id) {
    return onUi([&] {
        const GadgetRecord* record = gadget(id);
        if (record == nullptr || !IsList(record->kind)) return -1;
        const auto index =
            static_cast<int>(SendMessageA(record->hwnd, MessagesFor(record->kind).selected, 0, 0));
        return index < 0 ? -1 : index;
    });
}

void Win32Gui::setDisabled(int id, bool on) {
    onUi([&] {
        if (const GadgetRecord* record = gadget(id)) EnableWindow(record->hwnd, !on);
    });
}

bool Win32Gui::isDisabled(int id) {
    return onUi([&] {
        const GadgetRecord* record = gadget(id);
        return record != nullptr && (GetWindowLongA(record->hwnd, GWL_STYLE) & WS_DISABLED) != 0;
    });
}

void Win32Gui::setHidden(int id, bool on) {
    onUi([&] {
        if (const GadgetRecord* record = gadget(id)) ShowWindow(record->hwnd, on ? SW_HIDE : SW_SHOWNA);
    });
}

// The gadget's own state: a gadget in a hidden container is not hidden itself.
bool Win32Gui::isHidden(int id) {
    return onUi([&] {
        const GadgetRecord* record = gadget(id);
        return record != nullptr && (GetWindowLongA(record->hwnd, GWL_STYLE) & WS_VISIBLE) == 0;
    });
}

void Win32Gui::setFont(int id, int font) {
    onUi([&] {
        if (const GadgetRecord* record = gadget(id))
            SendMessageA(record->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fontOrDefault(font)), TRUE);
    });
}

void Win32Gui::setColour(int id, std::optional<std::uint32_t> rgb) {
    onUi([&] {
        GadgetRecord* record = gadget(id);
        if (record == nullptr || record->kind != GadgetKind::Swatch) return;
        if (record->fill != nullptr) DeleteObject(record->fill);
        record->fill = rgb ? CreateSolidBrush(RGB((*rgb >> 16) & 0xFF, (*rgb >> 8) & 0xFF,
                                                  *rgb & 0xFF))
                           : nullptr;
        InvalidateRect(record->hwnd, nullptr, TRUE);
    });
}

void Win32Gui::setFocus(int id) {
    onUi([&] {
        if (const GadgetRecord* record = gadget(id)) SetFocus(record->hwnd);
    });
}

int Win32Gui::focusedGadget() {
    return onUi([&] {
        for (HWND focus = GetFocus(); focus != nullptr; focus = GetParent(focus)) {
            const auto found = gadgetOfHwnd_.find(focus);
            if (found != gadgetOfHwnd_.end()) return found->second;
            if (windowIdOf(focus) && GetAncestor(focus, GA_ROOT) == focus) break;
        }
        return 0;
    });
}

std::vector<std::string> Win32Gui::lines(int id) {
    return SplitEditLines(text(id));
}

void Win32Gui::setLines(int id, const std::vector<std::string>& lines) {
    onUi([&] {
        GadgetRecord* record = gadget(id);
        if (record == nullptr) return;
        setGadgetText(*record, JoinEditLines(lines));
        if (record->kind == GadgetKind::Editor) SendMessageA(record->hwnd, EM_SETSEL, 0, 0);
    });
}

int Win32Gui::cursorLine(int id) {
    return onUi([&] {
        const GadgetRecord* record = gadget(id);
        if (record == nullptr || record->kind != GadgetKind::Editor) return 0;
        return static_cast<int>(SendMessageA(record->hwnd, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0));
    });
}

}  // namespace zs::gui::win32
