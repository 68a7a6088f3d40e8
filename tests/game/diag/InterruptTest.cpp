// Ctrl+C on a headless run shuts it down like a closed window: exit code 0 and no private data folder left in
// the temporary folder (every interrupted run used to leave one behind).
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace
{

bool HasEntries(const std::filesystem::path& folder)
{
    std::error_code error;
    return std::filesystem::directory_iterator(folder, error) != std::filesystem::directory_iterator();
}

TEST(Interrupt, AHeadlessRunStopsCleanlyAndTakesItsDataFolderAlong)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "velmora-interrupt-XXXXXX").string();
    ASSERT_NE(nullptr, mkdtemp(pattern.data()));
    const std::filesystem::path tmp = pattern;

    pid_t child = fork();
    ASSERT_NE(-1, child);
    if (child == 0)
    {
        setenv("TMPDIR", tmp.c_str(), 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        execl(VELMORA_PROGRAM, VELMORA_PROGRAM, "-headless", "-nodraw", static_cast<char*>(nullptr));
        _exit(127);
    }
    // The run makes its data folder while it starts; interrupt it once that is there (or after a generous wait,
    // which then still checks the exit).
    for (int i = 0; i < 600 && !HasEntries(tmp); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(HasEntries(tmp)) << "the run never made its data folder";
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    kill(child, SIGINT);

    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    EXPECT_TRUE(WIFEXITED(status)) << "ended by a signal, not by its own shutdown";
    if (WIFEXITED(status))
    {
        EXPECT_EQ(0, WEXITSTATUS(status));
    }
    EXPECT_FALSE(HasEntries(tmp)) << "the private data folder was left behind";
    std::error_code error;
    std::filesystem::remove_all(tmp, error);
}

} // namespace
