// The values the fields of the window, wait and query steps take: one place for the lists the
// editor offers, the CODE-line check accepts and the player acts on.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace zs {

inline constexpr std::array<std::string_view, 4> kWindowActions{"Activate", "Wait", "WaitClose",
                                                                "Screen"};
inline constexpr std::array<std::string_view, 2> kWaitConditions{"Color", "NotColor"};
inline constexpr std::array<std::string_view, 3> kQueryKinds{"String", "Hex", "Byte"};

// The longest wait of a Window, Wait or Query step, in seconds.
inline constexpr float kMaxTimeoutSeconds = 86400.0f;
// The largest difference of R, G or B that a Wait step may allow.
inline constexpr int kMaxColorTolerance = 255;

struct PixelColor {
    int r = 0, g = 0, b = 0;
    bool operator==(const PixelColor&) const = default;
};

// "#RRGGBB" with six hexadecimal digits, either case; nullopt for any other text.
std::optional<PixelColor> ReadPixelColor(std::string_view text);
// "#RRGGBB" with upper-case digits.
std::string PixelColorText(PixelColor colour);

// Whether a time-out lies in 0 to kMaxTimeoutSeconds (NaN does not).
inline bool TimeoutInRange(float seconds) { return seconds >= 0.0f && seconds <= kMaxTimeoutSeconds; }

}  // namespace zs
