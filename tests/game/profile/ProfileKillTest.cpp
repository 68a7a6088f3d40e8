// The kill test: a writer process reads the profiles file, then saves a growing profile set in a loop until it is
// killed with SIGKILL at a random moment. After every kill the file must hold exactly the content of the last
// completed save or of the save that was under way, the backup one save behind it, and the next writer must read
// it without a complaint. Seeded (VELMORA_KILL_SEED overrides the seed) and bounded in time.
#include "ProfileTestSupport.h"

#include "game/data/LevelStats.h"
#include "game/profile/ProfileFile.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <poll.h>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace
{

constexpr int kTrials = 1000;
constexpr int kMinTrials = 100; // what a very slow machine must still manage within the time budget
constexpr std::chrono::seconds kBudget{90};

// The profile set after step k: more players and level states as k grows; the selected player's run scores k.
void BuildStep(int k)
{
    for (int slot = 0; slot < kProfileSlots; ++slot)
        SetProfileName(slot, "");
    const int players = std::min(kProfileSlots, 1 + k / 20);
    for (int p = 0; p < players; ++p)
    {
        std::string name = "Player ";
        name += char('A' + p);
        CreateProfile(name);
    }
    const int entries = std::min(k, kProfileSlots * 5 * 13);
    for (int i = 0; i < entries; ++i)
    {
        SelectProfile(i % players);
        MarkLevelPassed(1 + (i / players) % 5, (i / (players * 5)) % 13, i % 3 == 0);
    }
    SelectProfile(k % players);
    GameState run = NewGameState(GetStoreInfo(1 + k % 5));
    run.score = k;
    run.cash = k * 0.25;
    run.levelIndex = k % 13;
    SetSavedGame(&run);
}

struct Report
{
    int step;   // -1: the writer found the file in a state it should never be in
    int micros; // how long the save took (0 for the first report, made after reading)
};

// The writer: never returns. Reports the step it read, then each step it saved.
[[noreturn]] void RunWriter(int out, const std::string& folder)
{
    FakeHost host;
    ProfileManager manager(host, folder);
    std::unique_ptr<GameState> run = GetSavedGame();
    const std::string onDisk = TestSupport::ReadFile(GetProfilePath());
    int step = run ? int(run->score) : -1;
    if (!host.issues.empty() || FormatProfiles(GetProfiles()) != onDisk)
        step = -1;
    Report report{step, 0};
    if (write(out, &report, sizeof report) != sizeof report || step < 0)
        _exit(3);
    for (;;)
    {
        BuildStep(++step);
        const auto start = std::chrono::steady_clock::now();
        if (!SaveProfiles())
            _exit(4);
        report = {step, int(std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                                  start)
                                .count())};
        if (write(out, &report, sizeof report) != sizeof report)
            _exit(5);
    }
}

} // namespace

TEST_F(ProfileTest, KilledWritersLeaveTheOldOrTheNewCompleteFile)
{
    const char* seedText = std::getenv("VELMORA_KILL_SEED");
    const unsigned seed = seedText != nullptr ? unsigned(std::strtoul(seedText, nullptr, 10)) : 14u;
    std::mt19937 random(seed);

    std::map<int, std::string> contents;
    auto content = [&](int k) -> const std::string& {
        auto it = contents.find(k);
        if (it == contents.end())
        {
            BuildStep(k);
            it = contents.emplace(k, FormatProfiles(GetProfiles())).first;
        }
        return it->second;
    };
    Load();
    BuildStep(0);
    ASSERT_TRUE(SaveProfiles());

    int fileStep = 0;       // the step the file holds
    int backupStep = -1;    // the step the backup holds (-1: none yet)
    double saveMicros = 2000; // running mean of the writer's save time
    int trials = 0, newContent = 0, tempLeft = 0, backupAhead = 0, killedBeforeReady = 0, saves = 0;
    const auto start = std::chrono::steady_clock::now();
    for (; trials < kTrials && std::chrono::steady_clock::now() - start < kBudget; ++trials)
    {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
        {
            close(fds[0]);
            RunWriter(fds[1], data.Path().string());
        }
        close(fds[1]);

        // Kills land anywhere in the next few saves (at most 12 ms on), one in ten maybe during the start-up read.
        const bool early = random() % 10 == 0;
        std::vector<Report> reports;
        if (!early)
        {
            pollfd ready{fds[0], POLLIN, 0};
            Report first{};
            ASSERT_EQ(poll(&ready, 1, 10000), 1) << "trial " << trials << ": the writer did not start";
            ASSERT_EQ(read(fds[0], &first, sizeof first), ssize_t(sizeof first));
            reports.push_back(first);
        }
        const int window = early ? 3000 : std::min(int(6 * saveMicros) + 200, 12000);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % unsigned(window)));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        Report report{};
        while (read(fds[0], &report, sizeof report) == ssize_t(sizeof report))
            reports.push_back(report);
        close(fds[0]);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "trial " << trials << ": the writer stopped by itself with " << status;

        if (reports.empty())
            ++killedBeforeReady;
        else
            ASSERT_EQ(reports[0].step, fileStep) << "trial " << trials << ": the writer read another file";
        int last = fileStep;
        for (size_t i = 1; i < reports.size(); ++i)
        {
            ASSERT_EQ(reports[i].step, last + 1);
            last = reports[i].step;
            saveMicros = 0.9 * saveMicros + 0.1 * reports[i].micros;
            ++saves;
        }
        if (last > fileStep)
            backupStep = last - 1;

        // The file holds the last completed save, or the one under way when the kill came after its rename.
        const std::string main = ReadMain();
        const std::string backup = TestSupport::ReadFile(BackupPath());
        if (main == content(last + 1))
        {
            ++newContent;
            backupStep = last;
            last += 1;
        }
        else
            ASSERT_EQ(main, content(last)) << "trial " << trials << ": the file is neither step " << last
                                           << " nor step " << last + 1;
        // The backup is one save behind, or already the file itself when the kill came between the two renames.
        const bool hasBackup = std::filesystem::exists(BackupPath());
        if (hasBackup && backupStep != last && backup == content(last))
        {
            ++backupAhead;
            backupStep = last;
        }
        if (backupStep >= 0)
            ASSERT_EQ(backup, content(backupStep)) << "trial " << trials;
        else
            ASSERT_FALSE(hasBackup) << "trial " << trials;
        tempLeft += std::filesystem::exists(MainPath() + ".tmp");
        fileStep = last;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("kill test (seed %u): %d trials in %.1f s, %d saves completed (mean %.0f us), file at step %d; "
                "kills after the rename %d, before it (temporary file left) %d, of those after the backup was made %d, "
                "during the start-up read %d; every file was the old or the new complete content\n",
                seed, trials, seconds, saves, saveMicros, fileStep, newContent, tempLeft, backupAhead,
                killedBeforeReady);
    EXPECT_GE(trials, kMinTrials);
}
