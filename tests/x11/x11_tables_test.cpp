// The display-free parts of the X11 backend: keysym tables, the spare-key pool, Xft.dpi.
#include <gtest/gtest.h>

#include "platform/input.h"
#include "platform/x11/keysyms.h"
#include "platform/x11/spare_keys.h"
#include "platform/x11/x11_screen.h"

#include <X11/keysym.h>

namespace zs::x11 {
namespace {

TEST(Keysyms, EveryVirtualKeyOfTheProgramHasAKeysymAndMapsBack) {
    std::vector<int> codes = {0x08, 0x09, 0x0D, 0x10, 0x11, 0x12, 0x1B, 0x20, 0x21, 0x22,
                              0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x2C, 0x2D, 0x2E};
    for (int c = '0'; c <= '9'; ++c) codes.push_back(c);
    for (int c = 'A'; c <= 'Z'; ++c) codes.push_back(c);
    for (int c = 0x70; c <= 0x7B; ++c) codes.push_back(c);
    for (int c : {0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0, 0xDB, 0xDC, 0xDD, 0xDE}) {
        codes.push_back(c);
    }
    for (int code : codes) {
        const KeysymValue keysym = KeysymForVk(code);
        EXPECT_NE(keysym, kNoKeysym) << code;
        EXPECT_EQ(VkForKeysym(keysym), code) << code;
    }
    EXPECT_EQ(KeysymForVk('A'), static_cast<KeysymValue>(XK_a));  // the key, not the capital
    EXPECT_EQ(KeysymForVk(0x7C), kNoKeysym);  // F13 is not used
    EXPECT_EQ(KeysymForVk(vk::RawKeyBase + 38), kNoKeysym);
}

TEST(Keysyms, CharactersMapToLatin1UnicodeOrLegacyKeysyms) {
    struct Case {
        char32_t ch;
        std::vector<KeysymValue> keysyms;
    } cases[] = {
        {U'a', {XK_a}},
        {U'~', {XK_asciitilde}},
        {U'\u00E9', {XK_eacute}},
        {U'\u00A0', {XK_nobreakspace}},
        {U'\u20AC', {0x010020AC, XK_EuroSign}},
        {U'\u0436', {0x01000436}},
        {U'\U0001F600', {0x0101F600}},
        {U'\n', {XK_Return}},
        {U'\r', {XK_Return}},
        {U'\t', {XK_Tab}},
        {U'\b', {XK_BackSpace}},
        {U'\x1B', {XK_Escape}},
        {U'\x01', {}},
        {U'\x7F', {}},
        {U'\x85', {}},
        {char32_t{0xD800}, {}},
        {char32_t{0x110000}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeysymsForChar(c.ch), c.keysyms) << static_cast<unsigned long>(c.ch);
    }
}

TEST(SpareKeyPool, ReusesBindingsAndRebindsTheLeastRecentlyUsedKeyOnlyAfterItSettled) {
    using namespace std::chrono_literals;
    SpareKeyPool pool({200, 201}, 1s);
    const auto t0 = SpareKeyPool::Clock::now();

    auto first = pool.acquire(0x1000436);
    EXPECT_TRUE(first.mustBind);
    EXPECT_EQ(first.notBefore, SpareKeyPool::Clock::time_point{});  // a free key: at once
    pool.markUsed(first.keycode, t0);

    auto second = pool.acquire(0x10003C0);
    EXPECT_TRUE(second.mustBind);
    EXPECT_NE(second.keycode, first.keycode);
    pool.markUsed(second.keycode, t0 + 10ms);

    auto again = pool.acquire(0x1000436);  // bound already: no new binding, no wait
    EXPECT_FALSE(again.mustBind);
    EXPECT_EQ(again.keycode, first.keycode);
    pool.markUsed(again.keycode, t0 + 20ms);

    auto third = pool.acquire(0x1002713);  // no free key: the one used longest ago, once settled
    EXPECT_TRUE(third.mustBind);
    EXPECT_EQ(third.keycode, second.keycode);
    EXPECT_EQ(third.notBefore, t0 + 10ms + 1s);

    EXPECT_TRUE(pool.isSpare(200));
    EXPECT_FALSE(pool.isSpare(38));
    EXPECT_EQ(pool.settledAfter(), t0 + 20ms + 1s);
    EXPECT_EQ(pool.boundKeycodes().size(), 2u);
}

TEST(SpareKeyPool, AnEmptyPoolLendsNoKey) {
    SpareKeyPool pool({}, std::chrono::seconds(1));
    EXPECT_TRUE(pool.empty());
    EXPECT_EQ(pool.acquire(0x1000436).keycode, 0);
}

TEST(XftDpi, IsReadFromTheResourceText) {
    struct Case {
        const char* resources;
        std::optional<int> dpi;
    } cases[] = {
        {"Xft.dpi:\t120\n", 120},
        {"Xft.antialias:\t1\nXft.dpi:\t96\nXft.hinting:\t1\n", 96},
        {"Xft.dpi: 144.4", 144},
        {"Xft.dpi:\t 95.5 \r\n", 96},
        {"Xft.dpiX:\t120\n", std::nullopt},
        {"*.dpi:\t120\n", std::nullopt},
        {"Xft.dpi:\t\n", std::nullopt},
        {"Xft.dpi:\tlarge\n", std::nullopt},
        {"Xft.dpi:\t-5\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(XftDpiFromResources(c.resources), c.dpi) << c.resources;
}

TEST(XftDpi, TheScreenGivesAPlausibleDensity) {
    const int dpi = ScreenPixelsPerInch(nullptr);
    EXPECT_GE(dpi, 50);
    EXPECT_LE(dpi, 400);
    EXPECT_EQ(ScreenPixelsPerInch(":999999"), 96);  // no such display
}

}  // namespace
}  // namespace zs::x11
