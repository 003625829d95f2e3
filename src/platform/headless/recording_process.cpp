#include "platform/headless/recording_process.h"

namespace zs {

Status RecordingProcessStarter::startFile(const std::string& path) {
    return record(started_, path);
}

Status RecordingProcessStarter::openDocument(const std::string& path) {
    return record(opened_, path);
}

Status RecordingProcessStarter::record(std::vector<std::string>& into, const std::string& path) {
    std::lock_guard lock(mutex_);
    into.push_back(path);
    return failure_.value_or(Status::success());
}

void RecordingProcessStarter::setFailure(std::optional<Status> failure) {
    std::lock_guard lock(mutex_);
    failure_ = std::move(failure);
}

std::vector<std::string> RecordingProcessStarter::startedFiles() {
    std::lock_guard lock(mutex_);
    return started_;
}

std::vector<std::string> RecordingProcessStarter::openedDocuments() {
    std::lock_guard lock(mutex_);
    return opened_;
}

}  // namespace zs
