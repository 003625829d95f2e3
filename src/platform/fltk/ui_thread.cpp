
#include "platform/fltk/ui_thread.h"

#include <FL/Fl.H>

#include <exception>

namespace zs::gui::fltk {

struct UiThread::Task {
    const std::function<void()>* fn = nullptr;
    bool finished = false;
    std::exception_ptr error;
};

UiThread& UiThread::instance() {
    // Never destroyed: awake callbacks still in FLTK's queue may point at it at exit.
    static UiThread* thread = new UiThread;
    return *thread;
}

UiThread::UiThread() : uiThread_(std::this_thread::get_id()) {
    Fl::lock();  // switches FLTK to its thread-aware mode, which makes Fl::awake work
}

void UiThread::run(const std::function<void()>& fn) {
    if (isCurrent()) {
        fn();
        return;
    }
    Task task;
    task.fn = &fn;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_.push_back(&task);
    }
    // When FLTK's wake-up ring is full, callbacks already queued there run this task too.
    Fl::awake(&UiThread::awakeHandler, this);
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [&] { return task.finished; });
    if (task.error) std::rethrow_exception(task.error);
}

void UiThread::awakeHandler(void* self) { static_cast<UiThread*>(self)->runPending(); }

void UiThread::runPending() {
    for (;;) {
        Task* task = nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (pending_.empty()) return;
            task = pending_.front();
            pending_.pop_front();
        }
        // Runs unlocked: the task may open a modal dialog whose own Fl::wait() loop runs the
        // tasks queued after it.
        try {
            (*task->fn)();
        } catch (...) {
            task->error = std::current_exception();
        }
        std::lock_guard<std::mutex> lock(mutex_);
        task->finished = true;
        done_.notify_all();
    }
}

}  // namespace zs::gui::fltk
