// A process starter for tests: records every file it is asked to start or open, and fails when
// the test says so.
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/process.h"

namespace zs {

class RecordingProcessStarter final : public ProcessStarter {
public:
    Status startFile(const std::string& path) override;
    Status openDocument(const std::string& path) override;

    // Every later call fails with this status (still recorded); nullopt makes them succeed again.
    void setFailure(std::optional<Status> failure);

    std::vector<std::string> startedFiles();
    std::vector<std::string> openedDocuments();

private:
    Status record(std::vector<std::string>& into, const std::string& path);

    std::mutex mutex_;
    std::optional<Status> failure_;
    std::vector<std::string> started_;
    std::vector<std::string> opened_;
};

}  // namespace zs
