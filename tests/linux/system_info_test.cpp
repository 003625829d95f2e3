// System facts on POSIX.
#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <filesystem>

#include "platform/posix/posix_system.h"

namespace zs {
namespace {

TEST(PosixSystemInfo, ReportsTheUserTheProgramFileAndASaneLocalTime) {
    PosixSystemInfo info([] { return 120; });
    const passwd* user = ::getpwuid(::geteuid());
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(info.userName(), user->pw_name);

    const std::string self = info.ownExecutablePath();
    EXPECT_EQ(std::filesystem::path(self).filename(), "zs_linux_tests");
    EXPECT_TRUE(std::filesystem::path(self).is_absolute());
    EXPECT_TRUE(std::filesystem::exists(self));

    const LocalTime now = info.localTime();
    EXPECT_GE(now.year, 2020);
    EXPECT_TRUE(now.month >= 1 && now.month <= 12);
    EXPECT_TRUE(now.day >= 1 && now.day <= 31);
    EXPECT_TRUE(now.hour >= 0 && now.hour <= 23);
    EXPECT_TRUE(now.minute >= 0 && now.minute <= 59);
    EXPECT_TRUE(now.second >= 0 && now.second <= 60);

    EXPECT_EQ(info.screenPixelsPerInch(), 120);
    EXPECT_EQ(PosixSystemInfo().screenPixelsPerInch(), 96);  // no display layer: the default
}

}  // namespace
}  // namespace zs
