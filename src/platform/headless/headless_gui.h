// The gadget layer in memory: every window, gadget and menu item keeps its state in a table, message
// boxes, notices and file requesters are recorded, questions and file names come from queues the
// test fills, and events are pushed by the test. There is no UI thread: runOnUi runs its function
// on the calling thread under the one lock, which makes it exclusive as a real UI thread would.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/gui.h"
#include "platform/item_list.h"

namespace zs::gui {

struct WindowState {
    Rect rect;
    std::string title;
    unsigned flags = 0;
    int owner = 0;
    bool open = false;
    bool topmost = false;
    bool enabled = true;
    int activations = 0;
};

struct GadgetState {
    bool created = false;  // made by createGadget, not only written to
    GadgetSpec spec;
    std::string text;
    ItemList items;
    int itemCalls = 0;  // calls that changed the items: add, clear, number fill
    int selected = -1;
    bool disabled = false;
    bool hidden = false;
    int font = -1;  // -1: no font given
    std::optional<std::uint32_t> colour;  // a swatch's colour
    std::vector<std::string> lines;
    int cursorLine = 0;
};

struct FontInfo {
    std::string face;
    int points = 0;
    bool highQuality = false;
};

// One setText call: the text and the clock's time of the call in milliseconds (0 without a clock).
struct TextChange {
    std::string text;
    long long atMs = 0;
};

struct MessageRecord {
    std::string title;
    std::string text;
    Buttons buttons = Buttons::Ok;
    Answer answer = Answer::Ok;
    bool mainWindowTopmost = false;  // whether window 53 was top-most while the box was shown
};

struct FileRequest {
    FileMode mode = FileMode::Open;
    std::string title;
    std::string defaultFile;
    std::string filter;
};

struct NoticeRecord {
    std::string text;
    int parentWindow = 0;
};

class HeadlessGui final : public Gui {
public:
    // With a clock, text changes carry its time and a notice waits its 600 ms on it.
    explicit HeadlessGui(Clock* clock = nullptr) : clock_(clock) {}

    bool openWindow(int id, Rect rect, const std::string& title, unsigned flags, int owner) override;
    void closeWindow(int id) override;
    void setTopmost(int window, bool on) override;
    void enableWindow(int window, bool on) override;
    void activateWindow(int window) override;
    Rect windowRect(int window) override;

    void loadFont(int id, const std::string& face, int points, bool highQuality) override;
    void setDefaultFont(int id) override;
    void loadImage(int id, const Image& image) override;

    void createGadget(const GadgetSpec& spec) override;
    void setText(int gadget, const std::string& text) override;
    std::string text(int gadget) override;
    void addItem(int gadget, const std::string& text) override;
    void clearItems(int gadget) override;
    void setNumberItems(int gadget, int count, const std::string& leading) override;
    int itemCount(int gadget) override;
    std::string itemText(int gadget, int index) override;
    void select(int gadget, int index) override;
    int selected(int gadget) override;
    void setDisabled(int gadget, bool on) override;
    bool isDisabled(int gadget) override;
    void setHidden(int gadget, bool on) override;
    bool isHidden(int gadget) override;
    void setFont(int gadget, int font) override;
    void setColour(int gadget, std::optional<std::uint32_t> rgb) override;
    void setFocus(int gadget) override;
    int focusedGadget() override;
    std::vector<std::string> lines(int gadget) override;
    void setLines(int gadget, const std::vector<std::string>& lines) override;
    int cursorLine(int gadget) override;

    void createMenu(int window, const std::vector<MenuTitle>& menu) override;
    void setMenuItemDisabled(int item, bool on) override;
    bool isMenuItemDisabled(int item) override;

    Event waitEvent() override;
    void postEvent(const Event& event) override { pushEvent(event); }

    Answer messageBox(const std::string& title, const std::string& text, Buttons buttons) override;
    std::optional<std::string> fileRequester(FileMode mode, const std::string& title,
                                             const std::string& defaultFile,
                                             const std::string& filter) override;
    void notice(const std::string& text, int parentWindow) override;

    void runOnUi(const std::function<void()>& fn) override;

    // --- For tests ---
    void pushEvent(const Event& event);
    // The answer of the next Yes/No question; an empty queue answers No.
    void queueAnswer(Answer answer);
    // The result of the next file requester; an empty queue cancels.
    void queueFile(std::optional<std::string> path);
    void setCursorLine(int gadget, int line);
    // Called on the asking thread, without the lock held, after a message box is recorded.
    void setMessageBoxHook(std::function<void(const MessageRecord&)> hook);

    std::optional<WindowState> window(int id);
    std::optional<GadgetState> gadget(int id);
    std::vector<TextChange> textHistory(int gadget);
    std::vector<std::string> textValues(int gadget);  // the texts of textHistory alone
    std::optional<FontInfo> font(int id);
    int defaultFont();
    std::optional<Image> image(int id);
    std::vector<MenuTitle> menu(int window);
    bool menuItemExists(int item);
    std::vector<MessageRecord> messages();
    std::vector<FileRequest> fileRequests();
    std::vector<NoticeRecord> notices();

private:
    GadgetState& gadgetLocked(int id);
    long long nowMs();

    std::recursive_mutex mutex_;
    std::condition_variable_any eventPushed_;
    Clock* clock_;

    std::map<int, WindowState> windows_;
    std::map<int, GadgetState> gadgets_;
    std::map<int, std::vector<TextChange>> textHistory_;
    std::map<int, FontInfo> fonts_;
    std::map<int, Image> images_;
    std::map<int, std::vector<MenuTitle>> menus_;
    std::map<int, bool> menuItemDisabled_;
    int defaultFont_ = -1;
    int focus_ = 0;

    std::deque<Event> events_;
    std::deque<Answer> answers_;
    std::deque<std::optional<std::string>> files_;
    std::vector<MessageRecord> messages_;
    std::vector<FileRequest> fileRequests_;
    std::vector<NoticeRecord> notices_;
    std::function<void(const MessageRecord&)> messageBoxHook_;
};

}  // namespace zs::gui
