#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "model/numbers.h"

namespace zs {
namespace {

struct IntegerCase {
    std::string text;
    std::int64_t wide;
    std::int32_t stored;
};

TEST(Numbers, ReadIntegerTable) {
    const IntegerCase cases[] = {
        {"50", 50, 50},
        {"-5", -5, -5},
        {"+7", 7, 7},
        {"  \t 12", 12, 12},          // blanks and tabs before the number
        {"12abc", 12, 12},            // stops at the first other character
        {"1 2", 1, 1},
        {"", 0, 0},
        {"abc", 0, 0},
        {"-", 0, 0},
        {"--5", 0, 0},                // one sign only
        {"$ff", 255, 255},
        {"$FF", 255, 255},
        {"-$10", -16, -16},
        {"$", 0, 0},
        {"$fg", 15, 15},
        {"%101", 5, 5},
        {"%102", 2, 2},
        {"%", 0, 0},
        {"\n5", 0, 0},                // only blanks and tabs are skipped
        {"2147483647", 2147483647, 2147483647},
        // Regression: values outside the range wrapped (a loop count 2147483648 turned negative,
        // 4294967296 turned 0); they read as the nearest value in range.
        {"2147483648", 2147483648LL, std::numeric_limits<std::int32_t>::max()},
        {"4294967296", 4294967296LL, std::numeric_limits<std::int32_t>::max()},
        {"4294967297", 4294967297LL, std::numeric_limits<std::int32_t>::max()},
        {"-2147483648", -2147483648LL, std::numeric_limits<std::int32_t>::min()},
        {"-2147483649", -2147483649LL, std::numeric_limits<std::int32_t>::min()},
        {"$ffffffff", 4294967295LL, std::numeric_limits<std::int32_t>::max()},
        {"9223372036854775807", std::numeric_limits<std::int64_t>::max(),
         std::numeric_limits<std::int32_t>::max()},
        {"18446744073709551617", std::numeric_limits<std::int64_t>::max(),
         std::numeric_limits<std::int32_t>::max()},
        {"$ffffffffffffffff", std::numeric_limits<std::int64_t>::max(),
         std::numeric_limits<std::int32_t>::max()},
        {"-9223372036854775808", std::numeric_limits<std::int64_t>::min(),
         std::numeric_limits<std::int32_t>::min()},
        {"-9223372036854775809", std::numeric_limits<std::int64_t>::min(),
         std::numeric_limits<std::int32_t>::min()},
        {"99999999999999999999999999999999999999", std::numeric_limits<std::int64_t>::max(),
         std::numeric_limits<std::int32_t>::max()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadInteger64(c.text), c.wide) << '"' << c.text << '"';
        EXPECT_EQ(ReadInteger(c.text), c.stored) << '"' << c.text << '"';
    }
}

TEST(Numbers, ReadIntegerSurvivesVeryLongAndBinaryInput) {
    EXPECT_EQ(ReadInteger(std::string(100000, '0') + "5"), 5);
    const std::string withNul("12\0" "3", 4);
    EXPECT_EQ(ReadInteger(withNul), 12);
    EXPECT_EQ(ReadInteger("\xff\x80" "5"), 0);
}

struct DecimalCase {
    std::string text;
    float value;
};

TEST(Numbers, ReadFileDelayTable) {
    const DecimalCase cases[] = {
        {"0.5", 0.5f},   {"2", 2.0f},        {"0,5", 0.0f},  // the comma ends the number
        {"1.25x", 1.25f}, {" \t0.1", 0.1f},  {"-1.5", -1.5f}, {"+3", 3.0f},
        {".5", 0.5f},    {"5.", 5.0f},       {".", 0.0f},    {"", 0.0f},
        {"abc", 0.0f},   {"1e2", 100.0f},    {"1e", 1.0f},   {"inf", 0.0f},
        {"nan", 0.0f},   {"Infinity", 0.0f}, {"1e-60", 0.0f}, {"0x10", 0.0f},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadFileDelay(c.text), c.value) << '"' << c.text << '"';
    EXPECT_TRUE(std::isinf(ReadFileDelay("1e60")));
    EXPECT_TRUE(std::isinf(ReadFileDelay(std::string(400, '9'))));
    EXPECT_EQ(ReadFileDelay("0." + std::string(400, '0') + "1"), 0.0f);
}

TEST(Numbers, ReadEditorDecimalTable) {
    const DecimalCase cases[] = {
        {"0,5", 0.5f},    {"0.5", 0.5f},   {"1,25", 1.25f}, {"  2,5  ", 2.5f},
        {"1,5 s", 1.5f},  {"1,5,3", 1.5f}, {"-0,1", -0.1f}, {"abc", 0.0f},
        {"", 0.0f},       {",", 0.0f},     {"x1", 0.0f},    {"NaNx", 0.0f},
        {"Infinityx", 0.0f},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadEditorDecimal(c.text), c.value) << '"' << c.text << '"';
    const float inf = std::numeric_limits<float>::infinity();
    for (const char* text : {"+Infinity", "+infinity", "INFINITY", " +InFiNiTy "})
        EXPECT_EQ(ReadEditorDecimal(text), inf) << text;
    EXPECT_EQ(ReadEditorDecimal("-Infinity"), -inf);
    for (const char* text : {"NaN", "nan", " NAN\t"}) EXPECT_TRUE(std::isnan(ReadEditorDecimal(text)));
}

TEST(Numbers, FormatDelayWritesExactlyOneDecimal) {
    const std::pair<float, std::string> cases[] = {
        {0.5f, "0.5"},   {2.0f, "2.0"},    {0.0f, "0.0"},     {-0.0f, "0.0"},
        {1.25f, "1.2"},  {0.05f, "0.1"},   {0.1f, "0.1"},     {10.96f, "11.0"},
        {-1.5f, "-1.5"}, {-0.01f, "0.0"},  {1e6f, "1000000.0"},
        {std::numeric_limits<float>::quiet_NaN(), "0.0"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(FormatDelay(value), text) << value;
}

TEST(Numbers, FormatDelayOfHugeAndInfiniteValuesReadsBack) {
    const float max = std::numeric_limits<float>::max();
    EXPECT_EQ(ReadFileDelay(FormatDelay(max)), max);
    EXPECT_EQ(FormatDelay(std::numeric_limits<float>::infinity()), FormatDelay(max));
    EXPECT_EQ(FormatDelay(-std::numeric_limits<float>::infinity()), FormatDelay(-max));
}

}  // namespace
}  // namespace zs
