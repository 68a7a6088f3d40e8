// Every file the program writes for its user (screenshots, demos, profiles, settings, crash reports) goes through
// here. The target is followed through symbolic links and must turn out to be a regular file or a new name in an
// existing folder; the bytes go to a temporary file beside that real target, and only a complete, synced file
// replaces it, by rename. Every step is checked, and a failed write leaves the target as it was and no temporary
// file behind.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace Zestra
{

class SafeOutput
{
public:
    SafeOutput() = default;
    // An output neither committed nor abandoned is abandoned: its temporary file goes.
    ~SafeOutput();
    SafeOutput(const SafeOutput&) = delete;
    SafeOutput& operator=(const SafeOutput&) = delete;

    // Resolves the target and makes the temporary file "<target>.tmp" beside it. A new file gets mode; a replaced
    // one keeps its own unless keepTargetMode is false (private files that older copies left readable). False with
    // errorText naming the file and the reason (a folder, a device, a missing folder, no permission).
    bool Open(const std::string& path, unsigned mode, std::string& errorText, bool keepTargetMode = true);
    // Appends bytes; the first failure is kept and reported by Finish (later writes do nothing).
    void Write(const void* data, size_t size);
    void Write(const std::string& text) { Write(text.data(), text.size()); }
    // Flushes, syncs and closes the temporary file: its bytes are then all on disk, and the target is untouched.
    bool Finish(std::string& errorText);
    // Renames the finished temporary file over the target and syncs the folder.
    bool Replace(std::string& errorText);
    // Finish, then Replace; on any failure the temporary file is removed.
    bool Commit(std::string& errorText);
    // Closes and removes the temporary file; the target stays as it was.
    void Abandon();

    bool IsOpen() const { return mFile != nullptr || !mTemp.empty(); }
    // The real file that Replace writes: the path after its symbolic links.
    const std::string& Target() const { return mTarget; }

private:
    bool Fail(const std::string& step, int error, std::string& errorText);

    std::string mPath;   // as given, for messages
    std::string mTarget; // after its links
    std::string mTemp;   // empty once renamed or removed
    std::FILE* mFile = nullptr;
    int mWriteError = 0;
};

// The real file a write to path would replace: links followed (relative link texts against their own folder).
// False with errorText when it is a folder, a device, a pipe or a socket, when its folder is missing, or when the
// links go round in a circle.
bool ResolveOutputTarget(const std::string& path, std::string& target, std::string& errorText);

// One whole file through SafeOutput.
bool WriteWholeFile(const std::string& path, const std::string& bytes, unsigned mode, std::string& errorText);

} // namespace Zestra
