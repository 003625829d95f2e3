#include "platform/headless/in_memory_serial.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <thread>
#include <utility>

namespace zs {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The other end of a port: what it has sent that nobody read yet, and what it will send.
struct Device {
    std::deque<std::vector<Bytes>> answers;  // one per coming write
    std::deque<Bytes> input;                 // one read each
    Bytes flood;
    std::size_t floodNext = 0;

    bool hasInput() const { return !input.empty() || !flood.empty(); }

    void readInto(Bytes& bytes, std::size_t limit) {
        if (!input.empty()) {
            Bytes& piece = input.front();
            const std::size_t n = std::min(limit, piece.size());
            bytes.insert(bytes.end(), piece.begin(), piece.begin() + n);
            piece.erase(piece.begin(), piece.begin() + n);
            if (piece.empty()) input.pop_front();
            return;
        }
        if (flood.empty()) return;
        const std::size_t n = std::min(limit, InMemorySerialPorts::kFloodBytesPerRead);
        for (std::size_t i = 0; i < n; ++i) {
            bytes.push_back(flood[floodNext]);
            floodNext = (floodNext + 1) % flood.size();
        }
    }
};

}  // namespace

struct InMemorySerialPorts::Shared {
    std::mutex mutex;
    std::vector<SerialOpenRecord> opens;
    std::map<std::string, std::vector<Bytes>> writes;
    std::vector<std::string> log;
    std::set<std::string> failingOpens, failingWrites, blockingWrites, openNow, gone;
    std::map<std::string, Device> devices;
};

namespace {

Status Unplugged(const char* call) { return Status::failure(call, "Device not connected"); }

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
        if (shared_->gone.count(name_) != 0) {
            shared_->log.push_back("fail write " + name_);
            return Unplugged("write");
        }
        if (shared_->failingWrites.count(name_) != 0) {
            shared_->log.push_back("fail write " + name_);
            return Status::failure("write", "Write time-out");
        }
        shared_->writes[name_].push_back(bytes);
        shared_->log.push_back("write " + name_ + " " + std::to_string(bytes.size()));
        Device& device = shared_->devices[name_];
        if (!device.answers.empty()) {
            for (Bytes& piece : device.answers.front())
                if (!piece.empty()) device.input.push_back(std::move(piece));
            device.answers.pop_front();
        }
        return Status::success();
    }

    Status discardInput() override {
        std::lock_guard lock(shared_->mutex);
        if (shared_->gone.count(name_) != 0) {
            shared_->log.push_back("fail discard " + name_);
            return Unplugged("tcflush");
        }
        shared_->devices[name_].input.clear();
        shared_->log.push_back("discard " + name_);
        return Status::success();
    }

    Status readAvailable(std::vector<std::uint8_t>& bytes, std::size_t limit) override {
        std::lock_guard lock(shared_->mutex);
        if (shared_->gone.count(name_) != 0) {
            shared_->log.push_back("fail read " + name_);
            return Unplugged("read");
        }
        const std::size_t before = bytes.size();
        shared_->devices[name_].readInto(bytes, limit);
        if (bytes.size() > before)
            shared_->log.push_back("read " + name_ + " " + std::to_string(bytes.size() - before));
        return Status::success();
    }

    bool waitReadable(std::chrono::milliseconds) override {
        std::lock_guard lock(shared_->mutex);
        return shared_->gone.count(name_) != 0 || shared_->devices[name_].hasInput();
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
    if (shared_->failingOpens.count(name) != 0 || shared_->openNow.count(name) != 0 ||
        shared_->gone.count(name) != 0) {
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

void InMemorySerialPorts::answer(const std::string& name, std::vector<Bytes> pieces) {
    std::lock_guard lock(shared_->mutex);
    shared_->devices[name].answers.push_back(std::move(pieces));
}

void InMemorySerialPorts::arrive(const std::string& name, Bytes bytes) {
    std::lock_guard lock(shared_->mutex);
    if (!bytes.empty()) shared_->devices[name].input.push_back(std::move(bytes));
}

void InMemorySerialPorts::flood(const std::string& name, Bytes pattern) {
    std::lock_guard lock(shared_->mutex);
    Device& device = shared_->devices[name];
    device.flood = std::move(pattern);
    device.floodNext = 0;
}

void InMemorySerialPorts::silence(const std::string& name) {
    std::lock_guard lock(shared_->mutex);
    shared_->devices[name] = Device{};
}

void InMemorySerialPorts::vanish(const std::string& name, bool gone) {
    std::lock_guard lock(shared_->mutex);
    if (gone) shared_->gone.insert(name);
    else shared_->gone.erase(name);
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
