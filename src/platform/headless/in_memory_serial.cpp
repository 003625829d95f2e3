#include "platform/headless/in_memory_serial.h"

#include <chrono>
#include <thread>
#include <utility>

namespace zs {

struct InMemorySerialPorts::Shared {
    std::mutex mutex;
    std::vector<SerialOpenRecord> opens;
    std::map<std::string, std::vector<std::vector<std::uint8_t>>> writes;
    std::vector<std::string> log;
    std::set<std::string> failingOpens, failingWrites, blockingWrites, openNow;
};

namespace {

class InMemoryPort final : public SerialPort {
public:
    InMemoryPort(std::shared_ptr<InMemorySerialPorts::Shared> shared, std::string name)
        : shared_(std::move(shared)), name_(std::move(name)) {}

    ~InMemoryPort() override {
        std::lock_guard lock(shared_->mutex);
        shared_->openNow.erase(name_);
        shared_->log.push_back("close " + name_);
    }

    Status write(const std::vector<std::uint8_t>& bytes, const StopCheck& stopped) override {
        std::unique_lock lock(shared_->mutex);
        if (shared_->blockingWrites.count(name_) != 0) {
            shared_->log.push_back("blocked write " + name_);
            // A port whose other end never reads: only the caller's stop ends the wait.
            while (stopped && !stopped()) {
                lock.unlock();
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                lock.lock();
            }
            shared_->log.push_back("stopped write " + name_);
            return Status::failure("write", "stopped");
        }
        if (shared_->failingWrites.count(name_) != 0) {
            shared_->log.push_back("fail write " + name_);
            return Status::failure("write", "Write time-out");
        }
        shared_->writes[name_].push_back(bytes);
        shared_->log.push_back("write " + name_ + " " + std::to_string(bytes.size()));
        return Status::success();
    }

private:
    std::shared_ptr<InMemorySerialPorts::Shared> shared_;
    std::string name_;
};

}  // namespace

InMemorySerialPorts::InMemorySerialPorts() : shared_(std::make_shared<Shared>()) {}

Status InMemorySerialPorts::open(const std::string& name, const SerialSettings& settings,
                                 std::unique_ptr<SerialPort>& port) {
    std::lock_guard lock(shared_->mutex);
    if (shared_->failingOpens.count(name) != 0 || shared_->openNow.count(name) != 0) {
        shared_->log.push_back("fail open " + name);
        return Status::failure("open", shared_->openNow.count(name) != 0 ? "Access denied"
                                                                           : "No such port");
    }
    shared_->opens.push_back({name, settings});
    shared_->openNow.insert(name);
    shared_->log.push_back("open " + name);
    port = std::make_unique<InMemoryPort>(shared_, name);
    return Status::success();
}

void InMemorySerialPorts::failOpens(const std::string& name, bool fail) {
    std::lock_guard lock(shared_->mutex);
    if (fail) shared_->failingOpens.insert(name);
    else shared_->failingOpens.erase(name);
}

void InMemorySerialPorts::failWrites(const std::string& name, bool fail) {
    std::lock_guard lock(shared_->mutex);
    if (fail) shared_->failingWrites.insert(name);
    else shared_->failingWrites.erase(name);
}

void InMemorySerialPorts::blockWrites(const std::string& name) {
    std::lock_guard lock(shared_->mutex);
    shared_->blockingWrites.insert(name);
}

std::vector<SerialOpenRecord> InMemorySerialPorts::opens() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->opens;
}

std::vector<std::vector<std::uint8_t>> InMemorySerialPorts::writes(const std::string& name) const {
    std::lock_guard lock(shared_->mutex);
    const auto found = shared_->writes.find(name);
    return found == shared_->writes.end() ? std::vector<std::vector<std::uint8_t>>{}
                                          : found->second;
}

std::vector<std::string> InMemorySerialPorts::log() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->log;
}

std::set<std::string> InMemorySerialPorts::openPorts() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->openNow;
}

}  // namespace zs
