// Starting and reading the X test client.
#include "test_client.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace zs::testing {
namespace {

std::string HexToBytes(const std::string& hex) {
    if (hex == "-") return {};
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    return bytes;
}

void SendSync(unsigned long window, long number) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "ZS_SYNC", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = number;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
}

void ParseLine(const std::string& line, ClientInput& input) {
    std::istringstream in(line);
    std::string kind;
    in >> kind;
    if (kind == "KEY") {
        ClientKey key;
        std::string text;
        in >> std::hex >> key.keysym >> key.state >> text;
        key.text = HexToBytes(text);
        input.keys.push_back(key);
    } else if (kind == "BUTTON") {
        ClientButton button;
        in >> button.button >> button.x >> button.y;
        input.buttons.push_back(button);
    }
}

}  // namespace

std::string ClientInput::text() const {
    std::string all;
    for (const ClientKey& key : keys) all += key.text;
    return all;
}

std::unique_ptr<TestClient> TestClient::Start(const std::vector<std::string>& arguments,
                                              std::string& error) {
    const char* program = std::getenv("ZS_X11_TEST_CLIENT");
    if (program == nullptr) program = "zs_x11_test_client";
    std::unique_ptr<TestClient> client(new TestClient);
    char logTemplate[] = "/tmp/zs_x11_client.XXXXXX";
    const int logFd = ::mkstemp(logTemplate);
    if (logFd < 0) {
        error = "mkstemp failed";
        return nullptr;
    }
    client->logPath_ = logTemplate;
    std::vector<std::string> args{program};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, logFd, STDOUT_FILENO);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, program, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(logFd);
    if (spawned != 0) {
        error = std::string("cannot start ") + program;
        return nullptr;
    }
    client->pid_ = pid;
    if (!client->waitForLine("READY ", std::chrono::seconds(20))) {
        error = "the test client did not report READY";
        return nullptr;
    }
    return client;
}

TestClient::~TestClient() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    if (!logPath_.empty()) ::unlink(logPath_.c_str());
}

std::vector<std::string> TestClient::newLines() {
    std::ifstream log(logPath_, std::ios::binary);
    log.seekg(static_cast<std::streamoff>(readOffset_));
    std::string chunk((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    readOffset_ += chunk.size();
    pending_ += chunk;
    std::vector<std::string> lines;
    std::size_t end;
    while ((end = pending_.find('\n')) != std::string::npos) {
        lines.push_back(pending_.substr(0, end));
        pending_.erase(0, end + 1);
    }
    return lines;
}

// Waits for a line that starts with prefix; lines before it stay for the next read.
bool TestClient::waitForLine(const std::string& prefix, std::chrono::seconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        for (const std::string& line : newLines()) {
            unclaimed_.push_back(line);
            if (line.rfind(prefix, 0) == 0) {
                if (prefix == "READY ") window_ = std::stoul(line.substr(prefix.size()));
                return true;
            }
        }
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

ClientInput TestClient::receivedSinceLastSync(bool& complete, std::chrono::seconds timeout) {
    SendSync(window_, ++syncNumber_);
    complete = waitForLine("SYNC " + std::to_string(syncNumber_), timeout);
    ClientInput input;
    for (const std::string& line : unclaimed_) ParseLine(line, input);
    unclaimed_.clear();
    return input;
}

bool WindowManagerRuns(Display* display) {
    Atom type;
    int format;
    unsigned long count = 0, after;
    unsigned char* data = nullptr;
    XGetWindowProperty(display, DefaultRootWindow(display),
                       XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False), 0, 1, False,
                       XA_WINDOW, &type, &format, &count, &after, &data);
    if (data != nullptr) XFree(data);
    return count == 1;
}

}  // namespace zs::testing
