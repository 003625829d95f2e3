// The gadget layer of the benches: a real backend, with file requesters answered by the bench,
// message boxes answered at once (No to questions) and notices left out, so that nothing waits
// for a person or a fixed time.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/gui.h"

namespace zs::bench {

using namespace zs::gui;

class BenchGui final : public Gui {
public:
    BenchGui(std::unique_ptr<Gui> real, std::function<void()> settle, const char* name)
        : real_(std::move(real)), settle_(std::move(settle)), name_(name) {}

    // Lets the backend handle what is pending and draw what changed.
    void settle() { settle_(); }
    const char* name() const { return name_; }
    std::optional<std::string> nextFile;  // the next file requester's answer; then cancelled

    Answer messageBox(const std::string&, const std::string&, Buttons buttons) override {
        return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    }
    std::optional<std::string> fileRequester(FileMode, const std::string&, const std::string&,
                                             const std::string&) override {
        std::optional<std::string> file;
        file.swap(nextFile);
        return file;
    }
    void notice(const std::string&, int) override {}

    bool openWindow(int id, Rect rect, const std::string& title, unsigned flags, int owner) override { return real_->openWindow(id, rect, title, flags, owner); }
    void closeWindow(int id) override { real_->closeWindow(id); }
    void setTopmost(int window, bool on) override { real_->setTopmost(window, on); }
    void enableWindow(int window, bool on) override { real_->enableWindow(window, on); }
    void activateWindow(int window) override { real_->activateWindow(window); }
    Rect windowRect(int window) override { return real_->windowRect(window); }
    void loadFont(int id, const std::string& face, int points, bool highQuality) override { real_->loadFont(id, face, points, highQuality); }
    void setDefaultFont(int id) override { real_->setDefaultFont(id); }
    void loadImage(int id, const Image& image) override { real_->loadImage(id, image); }
    void createGadget(const GadgetSpec& spec) override { real_->createGadget(spec); }
    void setText(int gadget, const std::string& text) override { real_->setText(gadget, text); }
    std::string text(int gadget) override { return real_->text(gadget); }
    void addItem(int gadget, const std::string& text) override { real_->addItem(gadget, text); }
    void clearItems(int gadget) override { real_->clearItems(gadget); }
    void setNumberItems(int gadget, int count, const std::string& leading) override {
        real_->setNumberItems(gadget, count, leading);
    }
    int itemCount(int gadget) override { return real_->itemCount(gadget); }
    std::string itemText(int gadget, int index) override { return real_->itemText(gadget, index); }
    void select(int gadget, int index) override { real_->select(gadget, index); }
    int selected(int gadget) override { return real_->selected(gadget); }
    void setDisabled(int gadget, bool on) override { real_->setDisabled(gadget, on); }
    bool isDisabled(int gadget) override { return real_->isDisabled(gadget); }
    void setHidden(int gadget, bool on) override { real_->setHidden(gadget, on); }
    bool isHidden(int gadget) override { return real_->isHidden(gadget); }
    void setFont(int gadget, int font) override { real_->setFont(gadget, font); }
    void postEvent(const Event& event) override { real_->postEvent(event); }
    void setColour(int gadget, std::optional<std::uint32_t> rgb) override {
        real_->setColour(gadget, rgb);
    }
    void setFocus(int gadget) override { real_->setFocus(gadget); }
    int focusedGadget() override { return real_->focusedGadget(); }
    std::vector<std::string> lines(int gadget) override { return real_->lines(gadget); }
    void setLines(int gadget, const std::vector<std::string>& lines) override { real_->setLines(gadget, lines); }
    int cursorLine(int gadget) override { return real_->cursorLine(gadget); }
    void createMenu(int window, const std::vector<MenuTitle>& menu) override { real_->createMenu(window, menu); }
    void setMenuItemDisabled(int item, bool on) override { real_->setMenuItemDisabled(item, on); }
    bool isMenuItemDisabled(int item) override { return real_->isMenuItemDisabled(item); }
    Event waitEvent() override { return real_->waitEvent(); }
    void runOnUi(const std::function<void()>& fn) override { real_->runOnUi(fn); }
private:
    std::unique_ptr<Gui> real_;
    std::function<void()> settle_;
    const char* name_;
};

// The platform's gadget layer; nullptr when it cannot start (no display).
std::unique_ptr<BenchGui> OpenBenchGui();

}  // namespace zs::bench
