#include "platform/headless/headless_gui.h"

#include <algorithm>
#include <chrono>

namespace zs::gui {
namespace {

constexpr int kMainWindow = 53;

template <typename Map, typename Key>
auto FindCopy(Map& map, const Key& key) -> std::optional<typename Map::mapped_type> {
    const auto found = map.find(key);
    if (found == map.end()) return std::nullopt;
    return found->second;
}

}  // namespace

using Lock = std::lock_guard<std::recursive_mutex>;

// --- Windows ---

bool HeadlessGui::openWindow(int id, Rect rect, const std::string& title, unsigned flags,
                             int owner) {
    Lock lock(mutex_);
    WindowState& window = windows_[id];
    window = WindowState{};
    window.rect = rect;
    window.title = title;
    window.flags = flags;
    window.owner = owner;
    window.open = true;
    return true;
}

void HeadlessGui::closeWindow(int id) {
    Lock lock(mutex_);
    const auto found = windows_.find(id);
    if (found != windows_.end()) found->second.open = false;
}

void HeadlessGui::setTopmost(int window, bool on) {
    Lock lock(mutex_);
    windows_[window].topmost = on;
}

void HeadlessGui::enableWindow(int window, bool on) {
    Lock lock(mutex_);
    windows_[window].enabled = on;
}

void HeadlessGui::activateWindow(int window) {
    Lock lock(mutex_);
    ++windows_[window].activations;
}

Rect HeadlessGui::windowRect(int window) {
    Lock lock(mutex_);
    const auto found = windows_.find(window);
    return found == windows_.end() ? Rect{} : found->second.rect;
}

// --- Fonts and images ---

void HeadlessGui::loadFont(int id, const std::string& face, int points, bool highQuality) {
    Lock lock(mutex_);
    fonts_[id] = FontInfo{face, points, highQuality};
}

void HeadlessGui::setDefaultFont(int id) {
    Lock lock(mutex_);
    defaultFont_ = id;
}

void HeadlessGui::loadImage(int id, const Image& image) {
    Lock lock(mutex_);
    images_[id] = image;
}

// --- Gadgets ---

GadgetState& HeadlessGui::gadgetLocked(int id) { return gadgets_[id]; }

long long HeadlessGui::nowMs() {
    if (!clock_) return 0;
    return std::chrono::duration_cast<std::chrono::milliseconds>(clock_->now().time_since_epoch())
        .count();
}

void HeadlessGui::createGadget(const GadgetSpec& spec) {
    Lock lock(mutex_);
    GadgetState& gadget = gadgetLocked(spec.id);
    gadget = GadgetState{};
    gadget.created = true;
    gadget.spec = spec;
    gadget.text = spec.text;
    gadget.font = defaultFont_;
}

void HeadlessGui::setText(int gadget, const std::string& text) {
    Lock lock(mutex_);
    gadgetLocked(gadget).text = text;
    textHistory_[gadget].push_back(TextChange{text, nowMs()});
}

std::string HeadlessGui::text(int gadget) {
    Lock lock(mutex_);
    return gadgetLocked(gadget).text;
}

void HeadlessGui::addItem(int gadget, const std::string& text) {
    Lock lock(mutex_);
    GadgetState& state = gadgetLocked(gadget);
    ++state.itemCalls;
    state.items.add(text);
}

void HeadlessGui::clearItems(int gadget) {
    Lock lock(mutex_);
    GadgetState& state = gadgetLocked(gadget);
    ++state.itemCalls;
    state.items.clear();
    state.selected = -1;
}

void HeadlessGui::setNumberItems(int gadget, int count, const std::string& leading) {
    Lock lock(mutex_);
    GadgetState& state = gadgetLocked(gadget);
    ++state.itemCalls;
    state.items.setNumbers(count, leading);
    if (state.selected >= state.items.size()) state.selected = -1;
}

int HeadlessGui::itemCount(int gadget) {
    Lock lock(mutex_);
    return gadgetLocked(gadget).items.size();
}

std::string HeadlessGui::itemText(int gadget, int index) {
    Lock lock(mutex_);
    return gadgetLocked(gadget).items.at(index);
}

void HeadlessGui::select(int gadget, int index) {
    Lock lock(mutex_);
    GadgetState& state = gadgetLocked(gadget);
    const bool inside = index >= 0 && index < state.items.size();
    state.selected = inside ? index : -1;
}

int HeadlessGui::selected(int gadget) {
    Lock lock(mutex_);
    return gadgetLocked(gadget).selected;
}

void HeadlessGui::setDisabled(int gadget, bool on) {
    Lock lock(mutex_);
    gadgetLocked(gadget).disabled = on;
}

bool HeadlessGui::isDisabled(int gadget) {
    Lock lock(mutex_);
    return gadgetLocked(gadget).disabled;
}

void HeadlessGui::setHidden(int gadget, bool on) {
    Lock lock(mutex_);
    gadgetLocked(gadget).hidden = on;
}

bool HeadlessGui::isHidden(int gadget) {
    Lock lock(mutex_);
    return gadgetLocked(gadget).hidden;
}

void HeadlessGui::setFont(int gadget, int font) {
    Lock lock(mutex_);
    gadgetLocked(gadget).font = font;
}

void HeadlessGui::setColour(int gadget, std::optional<std::uint32_t> rgb) {
    Lock lock(mutex_);
    gadgetLocked(gadget).colour = rgb;
}

void HeadlessGui::setFocus(int gadget) {
    Lock lock(mutex_);
    focus_ = gadget;
}

int HeadlessGui::focusedGadget() {
    Lock lock(mutex_);
    return focus_;
}

std::vector<std::string> HeadlessGui::lines(int gadget) {
    Lock lock(mutex_);
    return gadgetLocked(gadget).lines;
}

void HeadlessGui::setLines(int gadget, const std::vector<std::string>& lines) {
    Lock lock(mutex_);
    GadgetState& state = gadgetLocked(gadget);
    state.lines = lines;
    state.cursorLine = 0;
}

int HeadlessGui::cursorLine(int gadget) {
    Lock lock(mutex_);
    return gadgetLocked(gadget).cursorLine;
}

void HeadlessGui::setCursorLine(int gadget, int line) {
    Lock lock(mutex_);
    gadgetLocked(gadget).cursorLine = line;
}

// --- Menus ---

void HeadlessGui::createMenu(int window, const std::vector<MenuTitle>& menu) {
    Lock lock(mutex_);
    menus_[window] = menu;
    for (const auto& title : menu)
        for (const auto& item : title.items)
            if (item.id != 0) menuItemDisabled_[item.id] = false;
}

void HeadlessGui::setMenuItemDisabled(int item, bool on) {
    Lock lock(mutex_);
    menuItemDisabled_[item] = on;
}

bool HeadlessGui::isMenuItemDisabled(int item) {
    Lock lock(mutex_);
    const auto found = menuItemDisabled_.find(item);
    return found != menuItemDisabled_.end() && found->second;
}

bool HeadlessGui::menuItemExists(int item) {
    Lock lock(mutex_);
    for (const auto& [window, titles] : menus_)
        for (const auto& title : titles)
            for (const auto& entry : title.items)
                if (entry.id == item && item != 0) return true;
    return false;
}

// --- Events ---

Event HeadlessGui::waitEvent() {
    std::unique_lock<std::recursive_mutex> lock(mutex_);
    eventPushed_.wait(lock, [this] { return !events_.empty(); });
    const Event event = events_.front();
    events_.pop_front();
    return event;
}

void HeadlessGui::pushEvent(const Event& event) {
    {
        Lock lock(mutex_);
        events_.push_back(event);
    }
    eventPushed_.notify_all();
}

// --- Dialogs ---

Answer HeadlessGui::messageBox(const std::string& title, const std::string& text,
                               Buttons buttons) {
    MessageRecord record{title, text, buttons, Answer::Ok, false};
    std::function<void(const MessageRecord&)> hook;
    {
        Lock lock(mutex_);
        if (buttons == Buttons::YesNo) {
            record.answer = answers_.empty() ? Answer::No : answers_.front();
            if (!answers_.empty()) answers_.pop_front();
        }
        const auto main = windows_.find(kMainWindow);
        record.mainWindowTopmost = main != windows_.end() && main->second.topmost;
        messages_.push_back(record);
        hook = messageBoxHook_;
    }
    if (hook) hook(record);
    return record.answer;
}

std::optional<std::string> HeadlessGui::fileRequester(FileMode mode, const std::string& title,
                                                      const std::string& defaultFile,
                                                      const std::string& filter) {
    Lock lock(mutex_);
    fileRequests_.push_back(FileRequest{mode, title, defaultFile, filter});
    if (files_.empty()) return std::nullopt;
    std::optional<std::string> answer = files_.front();
    files_.pop_front();
    return answer;
}

void HeadlessGui::notice(const std::string& text, int parentWindow) {
    {
        Lock lock(mutex_);
        notices_.push_back(NoticeRecord{text, parentWindow});
    }
    if (clock_) clock_->waitFor(std::chrono::milliseconds(600));
    activateWindow(parentWindow);
}

void HeadlessGui::runOnUi(const std::function<void()>& fn) {
    Lock lock(mutex_);
    fn();
}

// --- Test side ---

void HeadlessGui::queueAnswer(Answer answer) {
    Lock lock(mutex_);
    answers_.push_back(answer);
}

void HeadlessGui::queueFile(std::optional<std::string> path) {
    Lock lock(mutex_);
    files_.push_back(std::move(path));
}

void HeadlessGui::setMessageBoxHook(std::function<void(const MessageRecord&)> hook) {
    Lock lock(mutex_);
    messageBoxHook_ = std::move(hook);
}

std::optional<WindowState> HeadlessGui::window(int id) {
    Lock lock(mutex_);
    return FindCopy(windows_, id);
}

std::optional<GadgetState> HeadlessGui::gadget(int id) {
    Lock lock(mutex_);
    return FindCopy(gadgets_, id);
}

std::vector<TextChange> HeadlessGui::textHistory(int gadget) {
    Lock lock(mutex_);
    return FindCopy(textHistory_, gadget).value_or(std::vector<TextChange>{});
}

std::vector<std::string> HeadlessGui::textValues(int gadget) {
    std::vector<std::string> texts;
    for (const auto& change : textHistory(gadget)) texts.push_back(change.text);
    return texts;
}

std::optional<FontInfo> HeadlessGui::font(int id) {
    Lock lock(mutex_);
    return FindCopy(fonts_, id);
}

int HeadlessGui::defaultFont() {
    Lock lock(mutex_);
    return defaultFont_;
}

std::optional<Image> HeadlessGui::image(int id) {
    Lock lock(mutex_);
    return FindCopy(images_, id);
}

std::vector<MenuTitle> HeadlessGui::menu(int window) {
    Lock lock(mutex_);
    return FindCopy(menus_, window).value_or(std::vector<MenuTitle>{});
}

std::vector<MessageRecord> HeadlessGui::messages() {
    Lock lock(mutex_);
    return messages_;
}

std::vector<FileRequest> HeadlessGui::fileRequests() {
    Lock lock(mutex_);
    return fileRequests_;
}

std::vector<NoticeRecord> HeadlessGui::notices() {
    Lock lock(mutex_);
    return notices_;
}

}  // namespace zs::gui
