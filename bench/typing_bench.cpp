// Typing throughput: 10,000 mixed characters (letters, capitals, digits, punctuation) through
// SendKeyText and X11Input into the X test client, then a count of what arrived wrong.
//
//   scripts/with-xvfb.sh build/tests/x11/zs_typing_bench [characters]
//
// Prints the characters per second (typing until the client has received everything) and the
// number of characters lost, added or changed. Exits 1 when anything was lost.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "platform/x11/x11_input.h"
#include "player/actions.h"
#include "test_client.h"

namespace {

// Printable ASCII without "{" and "}", which would start tokens.
std::string MixedText(std::size_t length) {
    const std::string alphabet =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
        " !\"#$%&'()*+,-./:;<=>?@[\\]^_`|~";
    std::mt19937 random(12345);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::string text;
    for (std::size_t i = 0; i < length; ++i) text += alphabet[pick(random)];
    return text;
}

std::size_t Differences(const std::string& expected, const std::string& got) {
    std::size_t differing = expected.size() > got.size() ? expected.size() - got.size()
                                                         : got.size() - expected.size();
    for (std::size_t i = 0; i < expected.size() && i < got.size(); ++i) {
        if (expected[i] != got[i]) ++differing;
    }
    return differing;
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t length = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 10000;
#ifdef ZS_X11_TEST_CLIENT_PATH
    setenv("ZS_X11_TEST_CLIENT", ZS_X11_TEST_CLIENT_PATH, 0);
#endif
    std::string error;
    auto client = zs::testing::TestClient::Start({}, error);
    if (!client) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    zs::Status status;
    auto input = zs::x11::X11Input::Open(nullptr, status);
    if (!input) {
        std::fprintf(stderr, "%s: %s\n", status.call.c_str(), status.message.c_str());
        return 2;
    }
    const std::string text = MixedText(length);
    const auto start = std::chrono::steady_clock::now();
    zs::SendKeyText(*input, text);
    bool complete = false;
    const std::string got = client->receivedSinceLastSync(complete).text();
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    const std::size_t wrong = Differences(text, got);
    std::printf("typed %zu characters in %.3f s: %.0f characters per second; %zu lost or wrong%s\n",
                text.size(), seconds.count(), static_cast<double>(text.size()) / seconds.count(),
                wrong, complete ? "" : " (client did not catch up)");
    return wrong == 0 && complete ? 0 : 1;
}
