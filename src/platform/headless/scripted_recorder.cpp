#include "platform/headless/scripted_recorder.h"

namespace zs {

Status ScriptedRecorder::start(RecordSink& sink) {
    std::lock_guard lock(mutex_);
    if (startStatus) sink_ = &sink;
    return startStatus;
}

void ScriptedRecorder::stop() {
    std::lock_guard lock(mutex_);
    sink_ = nullptr;
}

void ScriptedRecorder::feed(const RecordedEvent& event) {
    std::lock_guard lock(mutex_);
    if (sink_ != nullptr) sink_->recorded(event);
}

void ScriptedRecorder::pressEscape() {
    std::lock_guard lock(mutex_);
    if (sink_ != nullptr) sink_->escapePressed();
}

bool ScriptedRecorder::started() {
    std::lock_guard lock(mutex_);
    return sink_ != nullptr;
}

}  // namespace zs
