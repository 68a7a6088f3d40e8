// Safe replacement of output files. A symbolic link is a pointer the user set up on purpose (a screenshot folder
// elsewhere, a demo in a shared place), so the write goes to its target; replacing the link itself, or turning a
// device into a regular file, would break what the user built.
#include "framework/platform/SafeOutput.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace Zestra
{

namespace
{

// Links followed before giving up; the kernel's own limit is 40.
constexpr int kMaxLinkHops = 40;

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Reason(const std::string& file, int error)
{
    return file.empty() ? std::string(std::strerror(error)) : file + ": " + std::strerror(error);
}

} // namespace

bool ResolveOutputTarget(const std::string& path, std::string& target, std::string& errorText)
{
    if (path.empty())
    {
        errorText = "no file name given";
        return false;
    }
    std::string current = path;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop)
    {
        struct stat st;
        if (lstat(current.c_str(), &st) != 0)
        {
            if (errno != ENOENT)
            {
                errorText = Reason(current, errno);
                return false;
            }
            // A new name: its folder must be there (nothing here makes folders the user did not ask for).
            struct stat folder;
            const std::string parent = FolderOf(current);
            if (stat(parent.c_str(), &folder) != 0)
            {
                const int error = errno;
                errorText = current + ": the folder " + parent +
                            (error == ENOENT ? std::string(" does not exist") : " cannot be used: " + Reason("", error));
                return false;
            }
            if (!S_ISDIR(folder.st_mode))
            {
                errorText = current + ": " + parent + " is not a folder";
                return false;
            }
            target = current;
            return true;
        }
        if (S_ISLNK(st.st_mode))
        {
            std::vector<char> buffer(PATH_MAX + 1);
            const ssize_t length = readlink(current.c_str(), buffer.data(), buffer.size() - 1);
            if (length < 0)
            {
                errorText = Reason(current, errno);
                return false;
            }
            std::string next(buffer.data(), static_cast<size_t>(length));
            if (next.empty() || next[0] != '/')
                next = FolderOf(current) + "/" + next;
            current = next;
            continue;
        }
        if (S_ISREG(st.st_mode))
        {
            target = current;
            return true;
        }
        errorText = (current == path ? path : path + " (" + current + ")") +
                    (S_ISDIR(st.st_mode) ? ": is a folder, not a file"
                                         : ": is not a regular file (a device, pipe or socket); refused");
        return false;
    }
    errorText = path + ": " + std::strerror(ELOOP);
    return false;
}

SafeOutput::~SafeOutput()
{
    Abandon();
}

bool SafeOutput::Open(const std::string& path, unsigned mode, std::string& errorText, bool keepTargetMode)
{
    Abandon();
    mPath = path;
    mWriteError = 0;
    if (!ResolveOutputTarget(path, mTarget, errorText))
        return false;
    // A replaced file keeps its permissions: a file the user shared stays shared, a private one private.
    struct stat st;
    if (keepTargetMode && stat(mTarget.c_str(), &st) == 0)
        mode = st.st_mode & 07777;
    // One fixed temporary name: a file left by a crash is stale and goes now, so crashes never pile them up; an
    // exclusive create that does not follow links refuses anything planted under the name meanwhile.
    const std::string temp = mTarget + ".tmp";
    if (unlink(temp.c_str()) != 0 && errno != ENOENT)
    {
        errorText = Reason(temp, errno);
        return false;
    }
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
    {
        errorText = Reason(temp, errno);
        return false;
    }
    mTemp = temp;
    if (fchmod(fd, static_cast<mode_t>(mode)) != 0)
    {
        const int error = errno;
        close(fd);
        return Fail("set the permissions of", error, errorText);
    }
    mFile = fdopen(fd, "wb");
    if (mFile == nullptr)
    {
        const int error = errno;
        close(fd);
        return Fail("open", error, errorText);
    }
    return true;
}

void SafeOutput::Write(const void* data, size_t size)
{
    if (mFile == nullptr || mWriteError != 0 || size == 0)
        return;
    if (std::fwrite(data, 1, size, mFile) != size)
        mWriteError = errno != 0 ? errno : EIO;
}

bool SafeOutput::Finish(std::string& errorText)
{
    if (mFile == nullptr)
    {
        errorText = mPath + ": the file was not opened";
        return false;
    }
    std::FILE* file = mFile;
    mFile = nullptr;
    if (mWriteError != 0)
    {
        std::fclose(file);
        return Fail("write", mWriteError, errorText);
    }
    if (std::fflush(file) != 0 || std::ferror(file))
    {
        const int error = errno != 0 ? errno : EIO;
        std::fclose(file);
        return Fail("write", error, errorText);
    }
    if (fsync(fileno(file)) != 0)
    {
        const int error = errno;
        std::fclose(file);
        return Fail("sync", error, errorText);
    }
    if (std::fclose(file) != 0)
        return Fail("close", errno, errorText);
    return true;
}

bool SafeOutput::Replace(std::string& errorText)
{
    if (mTemp.empty() || mFile != nullptr)
    {
        errorText = mPath + ": the file was not finished";
        return false;
    }
    if (rename(mTemp.c_str(), mTarget.c_str()) != 0)
        return Fail("replace", errno, errorText);
    mTemp.clear();
    // Makes the rename itself durable; a failure here leaves a correct file, so it is not reported.
    const int folder = open(FolderOf(mTarget).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0)
    {
        fsync(folder);
        close(folder);
    }
    return true;
}

bool SafeOutput::Commit(std::string& errorText)
{
    return Finish(errorText) && Replace(errorText);
}

void SafeOutput::Abandon()
{
    if (mFile != nullptr)
    {
        std::fclose(mFile);
        mFile = nullptr;
    }
    if (!mTemp.empty())
    {
        unlink(mTemp.c_str());
        mTemp.clear();
    }
}

bool SafeOutput::Fail(const std::string& step, int error, std::string& errorText)
{
    const std::string shown = mTarget != mPath && !mTarget.empty() ? mPath + " (" + mTarget + ")" : mPath;
    errorText = "cannot " + step + " " + shown + ": " + std::strerror(error);
    Abandon();
    return false;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes, unsigned mode, std::string& errorText)
{
    SafeOutput out;
    if (!out.Open(path, mode, errorText))
        return false;
    out.Write(bytes);
    return out.Commit(errorText);
}

} // namespace Zestra
