// Archive-aware file access: every data file of the program is opened through the ArchiveFile... functions, which
// serve a read from a mounted "main.pak" when the path is archived and from the file system otherwise. Archives are
// mapped read-only and never change once mounted, so any number of handles may read them at once.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace Zestra
{

struct PakRecord;

// One archived file. Offsets are 64-bit and were checked against the mapping at mount time.
struct PakEntry
{
    PakRecord* mRecord = nullptr; // the mounted archive holding the bytes
    std::string mName;            // the path as stored in the archive
    uint64_t mFileTime = 0;       // Windows file time (100 ns since 1601)
    uint64_t mOffset = 0;         // byte offset within the mapped view
    uint64_t mSize = 0;
};

// An open file: an archive entry (mEntry set) or a loose file (mFile set). Each handle has its own position.
struct PFILE
{
    const PakEntry* mEntry = nullptr;
    int64_t mPos = 0;
    FILE* mFile = nullptr;
};

// One result of an entry search; times are Windows file times.
struct PakFindData
{
    std::string mFileName; // the name after the last separator
    uint32_t mAttributes = 0; // 0x10: directory
    uint64_t mSize = 0;
    uint64_t mCreationTime = 0;
    uint64_t mAccessTime = 0;
    uint64_t mWriteTime = 0;
};

// A running entry search: archive matches first, then the file system's.
struct PakSearch;

inline constexpr uint32_t kPakAttrDirectory = 0x10;

class PakInterfaceBase
{
public:
    virtual ~PakInterfaceBase() = default;

    virtual PFILE* OpenSecondForm(const std::string& path, const std::string& mode) { return nullptr; }
    virtual PFILE* Open(const std::string& path, const std::string& mode) = 0;
    virtual int Close(PFILE* file) = 0;
    // origin 0 = from the start, 1 = from the position, 2 = from the end. Archive entries clamp to 0..size.
    virtual int Seek(PFILE* file, int64_t offset, int origin) = 0;
    virtual int64_t Tell(PFILE* file) = 0;
    // Returns whole items read (bytes / itemSize); itemSize 0 reads nothing.
    virtual size_t Read(void* buffer, size_t itemSize, size_t count, PFILE* file) = 0;
    // -1 at the end; carriage returns are skipped.
    virtual int GetChar(PFILE* file) = 0;
    virtual int UngetChar(int ch, PFILE* file) = 0;
    virtual char* GetLineSecondForm(char* buffer, int length, PFILE* file) { return buffer; }
    // Reads up to a line feed (kept) or length - 1 bytes, skipping carriage returns; null at the end.
    virtual char* GetLine(char* buffer, int length, PFILE* file) = 0;
    virtual bool AtEnd(PFILE* file) = 0;
    // Null when nothing matches; the caller ends every non-null search with EndFind.
    virtual PakSearch* FindFirstEntry(const std::string& pattern, PakFindData& findData) = 0;
    virtual bool FindNextEntry(PakSearch* search, PakFindData& findData) = 0;
    virtual bool EndFind(PakSearch* search) = 0;
};

class PakInterface : public PakInterfaceBase
{
public:
    // The first interface constructed becomes the process-wide one used by the ArchiveFile... functions.
    PakInterface();
    ~PakInterface() override;
    PakInterface(const PakInterface&) = delete;
    PakInterface& operator=(const PakInterface&) = delete;

    // False (and nothing mounted) for a missing or malformed archive; ErrorText tells why. Entries of a later
    // archive replace those of the same name mounted before.
    bool MountArchive(const std::string& path);
    const std::string& ErrorText() const { return mErrorText; }
    // What the last mount left out ("PATH: record N has an unusable name ..."); the caller decides who hears of
    // it, since a library that prints would flood whoever mounts many archives (tools, fuzzing).
    const std::vector<std::string>& Warnings() const { return mWarnings; }

    PFILE* Open(const std::string& path, const std::string& mode) override;
    int Close(PFILE* file) override;
    int Seek(PFILE* file, int64_t offset, int origin) override;
    int64_t Tell(PFILE* file) override;
    size_t Read(void* buffer, size_t itemSize, size_t count, PFILE* file) override;
    int GetChar(PFILE* file) override;
    int UngetChar(int ch, PFILE* file) override;
    char* GetLine(char* buffer, int length, PFILE* file) override;
    bool AtEnd(PFILE* file) override;
    PakSearch* FindFirstEntry(const std::string& pattern, PakFindData& findData) override;
    bool FindNextEntry(PakSearch* search, PakFindData& findData) override;
    bool EndFind(PakSearch* search) override;

    // Archive entry by any spelling of its path; null when not archived.
    const PakEntry* FindEntry(const std::string& path) const;
    size_t EntryCount() const { return mEntries.size(); }

    // The loose-file path to use on this system: "\\" becomes "/", and components written in another letter case
    // than on disk are resolved against the folders (cached). Returns the converted path when nothing exists.
    std::string ResolveLoosePath(const std::string& path);

private:
    std::vector<std::unique_ptr<PakRecord>> mRecords;
    std::map<std::string, PakEntry> mEntries; // by normalised path
    std::string mErrorText;
    std::vector<std::string> mWarnings;
    // Looks a name up in a folder's listing without regard to case; listings are read once per folder.
    std::string FindInFolder(const std::string& folder, const std::string& name);

    std::mutex mResolveMutex; // the loading thread and the main thread open loose files at the same time
    std::unordered_map<std::string, std::string> mResolved;
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> mFolders; // lower case -> on disk
};

// Upper case, "\\" separators, runs of separators collapsed, ".." removing the component before it (dropped at the
// root), and a leading current-directory prefix removed. Used for entry names and lookups alike.
std::string NormalizePakPath(const std::string& path);

// Loose-file resolution without an interface (nothing cached).
std::string ResolveLoosePathUncached(const std::string& path);

// The process-wide interface, or null when none was constructed.
PakInterfaceBase* GetPakInterface();

// The file functions of every reader. Without a process-wide interface they use the C runtime directly.
PFILE* ArchiveFileOpen(const std::string& path, const std::string& mode);
int ArchiveFileClose(PFILE* file);
int ArchiveFileSeek(PFILE* file, int64_t offset, int origin);
int64_t ArchiveFileTell(PFILE* file);
size_t ArchiveFileRead(void* buffer, size_t itemSize, size_t count, PFILE* file);
bool ArchiveFileAtEnd(PFILE* file);
int ArchiveFileGetChar(PFILE* file);
int ArchiveFileUngetChar(int ch, PFILE* file);
char* ArchiveFileGetLine(char* buffer, int length, PFILE* file);
// Loose files opened for writing only; an archive handle writes nothing.
size_t ArchiveFileWrite(const void* buffer, size_t itemSize, size_t count, PFILE* file);
PakSearch* ArchiveFindFirst(const std::string& pattern, PakFindData& findData);
bool ArchiveFindNext(PakSearch* search, PakFindData& findData);
bool ArchiveFindClose(PakSearch* search);

// Conveniences on top of the functions above.
bool ArchiveFileExists(const std::string& path);
// The file's name for messages: "main.pak: images/x.png" when the archive serves it, the path itself otherwise, so
// a damaged entry is never mistaken for a damaged loose file.
std::string ArchiveFileLabel(const std::string& path);
// Whole file into data; false (data emptied) when it cannot be opened.
bool ArchiveFileReadAll(const std::string& path, std::vector<uint8_t>& data);
bool ArchiveFileReadAll(const std::string& path, std::string& data);
// Last-write time as a Windows file time: the entry's stored time, or the loose file's modification time;
// false when the file does not exist.
bool ArchiveFileTime(const std::string& path, uint64_t& fileTime);

struct ArchiveFileCloser
{
    void operator()(PFILE* file) const { ArchiveFileClose(file); }
};
using ArchiveFilePtr = std::unique_ptr<PFILE, ArchiveFileCloser>;

} // namespace Zestra
