// Carries calls from other threads to the FLTK thread. The thread that first asks for the
// UiThread is the UI thread; others queue their call, wake FLTK with Fl::awake and wait until
// the UI thread has run it inside Fl::wait(). Calls on the UI thread run directly, so nested
// calls (a message box asked for by the player while the UI thread waits for events) never
// wait on themselves.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace zs::gui::fltk {

class UiThread {
public:
    // The process's one UI thread, made on first use by the calling thread.
    static UiThread& instance();

    bool isCurrent() const { return std::this_thread::get_id() == uiThread_; }
    // Runs fn on the UI thread and returns when it has run; an exception thrown by fn is
    // thrown again in the caller.
    void run(const std::function<void()>& fn);

private:
    struct Task;

    UiThread();
    static void awakeHandler(void* self);
    void runPending();

    std::thread::id uiThread_;
    std::mutex mutex_;
    std::condition_variable done_;
    std::deque<Task*> pending_;
};

}  // namespace zs::gui::fltk
