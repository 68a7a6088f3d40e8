// Single instance through flock plus a unix socket; detached launching through a double fork.
#include "framework/platform/Desktop.h"

#include "framework/platform/Paths.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <mutex>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#if defined(__linux__)
#include <sys/prctl.h>
#endif
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace Zestra
{

namespace
{

// Keeps lock and socket names to plain file-name characters whatever the application calls itself.
std::string SafeFileName(const std::string& name)
{
    std::string out;
    for (char c : name)
    {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                     c == '_' || c == '.';
        out += plain ? c : '_';
    }
    return out.empty() ? std::string("app") : out;
}

bool FillAddress(const std::string& path, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// Read by the fork handlers; written only on the main thread while no fork is in progress.
std::atomic<int> gGuardedLock{-1};
std::atomic<bool> gGuardActive{false};
pid_t gForkingParent = 0;
std::once_flag gHandlersOnce;

void BeforeFork()
{
    gForkingParent = getpid();
}

void InForkedChild()
{
    if (!gGuardActive.load())
        return;
    const int lock = gGuardedLock.load();
    if (lock >= 0)
        close(lock); // the parent's copy keeps the lock; this one must not outlive it
#if defined(__linux__)
    prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
    // The parent may have died before the line above: then nobody would send the signal.
    if (getppid() != gForkingParent)
        _exit(1);
}

} // namespace

ForkedChildGuard::ForkedChildGuard(int lockDescriptor)
{
    // Handlers cannot be removed again; they stay registered and do nothing while no guard is alive.
    std::call_once(gHandlersOnce, [] { pthread_atfork(BeforeFork, nullptr, InForkedChild); });
    gGuardedLock = lockDescriptor;
    gGuardActive = true;
}

ForkedChildGuard::~ForkedChildGuard()
{
    gGuardActive = false;
    gGuardedLock = -1;
}

SingleInstance::SingleInstance(std::string folder) : mFolder(std::move(folder)) {}

SingleInstance::~SingleInstance()
{
    Release();
}

void SingleInstance::Release()
{
    if (mListenFd >= 0)
    {
        close(mListenFd);
        mListenFd = -1;
        unlink(mSocketPath.c_str());
    }
    if (mLockFd >= 0)
    {
        close(mLockFd); // drops the flock
        mLockFd = -1;
    }
}

bool SingleInstance::Acquire(const std::string& name)
{
    Release();
    if (mFolder.empty())
        mFolder = RuntimeFolder();
    if (mFolder.empty())
        return true; // nowhere safe to keep a lock: better to run twice than not at all
    std::string base = mFolder + "/" + SafeFileName(name);
    mSocketPath = base + ".sock";
    int fd = open((base + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return true;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0)
    {
        close(fd);
        if (errno != EWOULDBLOCK)
            return true;
        sockaddr_un address;
        int s = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (s >= 0 && FillAddress(mSocketPath, address) &&
            connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
        {
            const char knock[] = "front\n";
            ssize_t ignored = write(s, knock, sizeof knock - 1);
            (void)ignored;
        }
        if (s >= 0)
            close(s);
        return false;
    }
    mLockFd = fd;
    // Holding the lock means any socket file left there belongs to a copy that is gone.
    unlink(mSocketPath.c_str());
    sockaddr_un address;
    int s = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (s >= 0 && FillAddress(mSocketPath, address) &&
        bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && listen(s, 4) == 0)
        mListenFd = s;
    else if (s >= 0)
        close(s);
    return true;
}

bool SingleInstance::PollNotify()
{
    if (mListenFd < 0)
        return false;
    int c = accept4(mListenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (c < 0)
        return false;
    close(c);
    return true;
}

bool LaunchDetached(const std::vector<std::string>& argv, std::string& errorText)
{
    if (argv.empty() || argv[0].empty())
    {
        errorText = "nothing to start";
        return false;
    }
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    // The pipe closes on a successful exec; an exec failure sends its errno through it instead.
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
    {
        errorText = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    pid_t child = fork();
    if (child < 0)
    {
        errorText = std::string("fork: ") + std::strerror(errno);
        close(pipeFds[0]);
        close(pipeFds[1]);
        return false;
    }
    if (child == 0)
    {
        // The middle process exits at once so the opener is re-parented and never becomes our zombie.
        setsid();
        pid_t grandchild = fork();
        if (grandchild == 0)
        {
            int devNull = open("/dev/null", O_RDWR);
            if (devNull >= 0)
            {
                dup2(devNull, STDIN_FILENO);
                close(devNull);
            }
            execvp(args[0], args.data());
            int e = errno;
            ssize_t ignored = write(pipeFds[1], &e, sizeof e);
            (void)ignored;
            _exit(127);
        }
        if (grandchild < 0)
        {
            int e = errno;
            ssize_t ignored = write(pipeFds[1], &e, sizeof e);
            (void)ignored;
        }
        _exit(0);
    }
    close(pipeFds[1]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR)
    {
    }
    int e = 0;
    ssize_t got;
    while ((got = read(pipeFds[0], &e, sizeof e)) < 0 && errno == EINTR)
    {
    }
    close(pipeFds[0]);
    if (got == static_cast<ssize_t>(sizeof e))
    {
        errorText = argv[0] + ": " + std::strerror(e);
        return false;
    }
    return true;
}

bool OpenUrlWithDesktop(const std::string& url, std::string& errorText)
{
    if (url.empty() || url[0] == '-')
    {
        errorText = "refusing to open \"" + url + "\"";
        return false;
    }
    return LaunchDetached({"xdg-open", url}, errorText);
}

} // namespace Zestra
