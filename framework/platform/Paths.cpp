// XDG folders and atomic writes.
#include "framework/platform/Paths.h"

#include "framework/platform/SafeOutput.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace Zestra
{

namespace
{

std::string HomeFolder()
{
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return home;
    if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr)
        return pw->pw_dir;
    return "/tmp";
}

std::string XdgFolder(const char* variable, const char* fallbackBelowHome)
{
    const char* value = std::getenv(variable);
    std::string folder =
        (value != nullptr && value[0] == '/') ? std::string(value) : HomeFolder() + "/" + fallbackBelowHome;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

} // namespace

std::string ConfigRoot()
{
    return XdgFolder("XDG_CONFIG_HOME", ".config");
}

std::string DataRoot()
{
    return XdgFolder("XDG_DATA_HOME", ".local/share");
}

std::string StateRoot()
{
    return XdgFolder("XDG_STATE_HOME", ".local/state");
}

std::string RuntimeFolder()
{
    const char* value = std::getenv("XDG_RUNTIME_DIR");
    if (value != nullptr && value[0] == '/')
    {
        std::string folder = value;
        while (folder.size() > 1 && folder.back() == '/')
            folder.pop_back();
        return folder;
    }
    std::string folder = "/tmp/velmora-" + std::to_string(getuid());
    std::string error;
    MakeFolders(folder, 0700, error);
    // /tmp is shared: a folder of that name made by someone else must not be trusted with our lock and socket.
    struct stat st;
    if (lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid() || (st.st_mode & 077) != 0)
        return std::string();
    return folder;
}

bool MakeFolders(const std::string& folder, unsigned mode, std::string& errorText)
{
    if (folder.empty())
        return true;
    std::string partial;
    size_t pos = 0;
    while (pos <= folder.size())
    {
        size_t next = folder.find('/', pos);
        if (next == std::string::npos)
            next = folder.size();
        partial = folder.substr(0, next);
        pos = next + 1;
        if (partial.empty())
            continue;
        if (mkdir(partial.c_str(), static_cast<mode_t>(mode)) != 0 && errno != EEXIST)
        {
            errorText = partial + ": " + std::strerror(errno);
            return false;
        }
    }
    struct stat st;
    if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
    {
        errorText = folder + ": not a folder";
        return false;
    }
    return true;
}

bool WriteFileAtomically(const std::string& path, const std::string& contents, std::string& errorText)
{
    return WriteWholeFile(path, contents, 0600, errorText);
}

bool CheckWritableFolder(const std::string& folder, std::string& errorText)
{
    const size_t last = folder.find_last_not_of('/');
    const std::string path = folder.empty() ? std::string(".") : last == std::string::npos ? std::string("/")
                                                                                           : folder.substr(0, last + 1);
    if (!MakeFolders(path, 0700, errorText))
        return false;
    std::vector<char> probe(path.begin(), path.end());
    const char kProbeName[] = "/.write-test-XXXXXX";
    probe.insert(probe.end(), kProbeName, kProbeName + sizeof kProbeName); // with its terminating zero
    const int fd = mkostemp(probe.data(), O_CLOEXEC);
    if (fd < 0)
    {
        errorText = "no file can be made there: ";
        errorText += std::strerror(errno);
        return false;
    }
    close(fd);
    unlink(probe.data());
    return true;
}

std::string ProgramFolder()
{
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return "./";
    std::string path(buffer, static_cast<size_t>(n));
    return path.substr(0, path.rfind('/') + 1);
}

std::string FindDataFolder(const std::string& programFolder, const std::vector<std::string>& candidates,
                           const std::vector<std::string>& markers)
{
    std::string base = programFolder.empty() ? std::string("./") : programFolder;
    if (base.back() != '/')
        base += '/';
    auto holdsMarker = [&markers](const std::string& folder)
    {
        struct stat st;
        for (const std::string& marker : markers)
            if (stat((folder + marker).c_str(), &st) == 0)
                return true;
        return false;
    };
    if (holdsMarker(base))
        return base;
    for (const std::string& candidate : candidates)
    {
        if (candidate.empty())
            continue;
        std::string folder = base + candidate;
        if (folder.back() != '/')
            folder += '/';
        if (holdsMarker(folder))
            return folder;
    }
    return base;
}

} // namespace Zestra
