// Desktop services without SDL: one running copy per user, and handing URLs to the desktop's opener.
#pragma once

#include <string>
#include <vector>

namespace Zestra
{

// One running copy per user. The first holds an flock on "<folder>/<name>.lock" and listens on the unix socket
// "<folder>/<name>.sock"; a later start finds the lock taken, connects to the socket (which asks the first copy to
// come to the front) and gives up. The lock goes with the process, so a crash never leaves a stale lock behind.
class SingleInstance
{
public:
    // folder: where the lock and socket live ("" means RuntimeFolder()).
    explicit SingleInstance(std::string folder = std::string());
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // true when this is the first copy (or when no lock can be made at all: better to run twice than not at
    // all); false when another copy runs, which has then been notified.
    bool Acquire(const std::string& name);
    // true once for each later start that knocked since the last call; never blocks.
    bool PollNotify();
    bool IsHeld() const { return mLockFd >= 0; }
    // The lock's descriptor, -1 while not held (for ForkedChildGuard).
    int LockDescriptor() const { return mLockFd; }

private:
    void Release();

    std::string mFolder;
    std::string mSocketPath;
    int mLockFd = -1;
    int mListenFd = -1;
};

// While one is alive, every child this process forks without exec (the display library shows its message boxes
// that way) closes its copy of the one-instance lock and dies with this process. An flock belongs to the open
// file, which a fork shares: a message box outliving a killed game would otherwise keep the lock, and every later
// start would take the game for running. Made and destroyed on the main thread, around a message box.
class ForkedChildGuard
{
public:
    explicit ForkedChildGuard(int lockDescriptor);
    ~ForkedChildGuard();
    ForkedChildGuard(const ForkedChildGuard&) = delete;
    ForkedChildGuard& operator=(const ForkedChildGuard&) = delete;
};

// Starts argv[0] (looked up in PATH) detached from this process, with no shell in between. false with errorText
// when it could not be started (not found, not executable, fork failure); its own exit status is not awaited.
bool LaunchDetached(const std::vector<std::string>& argv, std::string& errorText);

// Opens url with "xdg-open". Refuses empty URLs and those starting with '-', which the opener would take as an
// option.
bool OpenUrlWithDesktop(const std::string& url, std::string& errorText);

} // namespace Zestra
