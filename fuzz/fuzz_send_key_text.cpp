// Any bytes as a keyboard text, read as UTF-8 or as single bytes: the sender ends, every key it
// pressed is up again at the end, and the last three transitions release Alt, Control and Shift.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/headless/recording_input.h"
#include "player/actions.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool utf8 = (data[0] & 1) != 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    zs::RecordingInput input(nullptr, utf8);
    input.setScan(U'@', {true, 'Q', 6});  // AltGr characters as on European layouts
    input.setScan(U'|', {true, 0xE2, 7});
    Require(zs::SendKeyText(input, text) == 1);

    const std::vector<std::string> events = input.events();
    Require(events.size() >= 3);
    const std::size_t n = events.size();
    Require(events[n - 3] == "Ku12" && events[n - 2] == "Ku11" && events[n - 1] == "Ku10");
    Require(input.keysDown().empty());
    // Each character gives at most nine transitions; each token at most two.
    Require(events.size() <= 9 * text.size() + 3);
    return 0;
}
