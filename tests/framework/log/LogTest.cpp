#include "framework/log/Log.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace
{

TEST(Log, EveryMessageIsOneWholeLineOnStderr)
{
    testing::internal::CaptureStderr();
    Zestra::Log("walk grid: no route");
    Zestra::Log("already ended\n");
    Zestra::Log("");
    Zestra::LogFormat("%s:%d: %s\n", "levels.xml", 12, "error");
    Zestra::LogFormat("%d%%", 50);
    Zestra::LogFormat("%s", std::string(5000, 'x').c_str()); // longer than any fixed buffer would be
    std::string out = testing::internal::GetCapturedStderr();
    EXPECT_EQ(out, "walk grid: no route\nalready ended\n\nlevels.xml:12: error\n50%\n" + std::string(5000, 'x') + "\n");
}

TEST(Log, DetailLinesShowOnlyWhenAskedFor)
{
    unsetenv("VELMORA_DEBUG");
    testing::internal::CaptureStderr();
    Zestra::LogDetail("Avg FPS = 60");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    setenv("VELMORA_DEBUG", "1", 1);
    testing::internal::CaptureStderr();
    Zestra::LogDetail("Avg FPS = 60");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Avg FPS = 60\n");
    unsetenv("VELMORA_DEBUG");
}

} // namespace
