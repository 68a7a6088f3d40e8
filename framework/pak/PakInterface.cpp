// The archive layer: mounted archives stay mapped read-only for the life of the interface; the process-wide slot
// holds the first interface so that every reader reaches the same archives without being handed them.
#include "framework/pak/PakInterface.h"

#include "framework/pak/PakFormat.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <functional>
#include <strings.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Zestra
{

struct PakRecord
{
    std::string mPath;
    int mFd = -1;
    const uint8_t* mView = nullptr;
    size_t mSize = 0;

    ~PakRecord()
    {
        if (mView != nullptr && mSize > 0)
            munmap(const_cast<uint8_t*>(mView), mSize);
        if (mFd >= 0)
            close(mFd);
    }
};

struct PakSearch
{
    std::string mPattern; // normalised
    std::string mLastName; // archive search continues after this key
    bool mInArchive = true;
    std::string mSystemPattern;
    std::vector<PakFindData> mSystemResults;
    size_t mSystemIndex = 0;
};

namespace
{

// The one process-wide interface; set by the first PakInterface, cleared when that one goes away.
std::atomic<PakInterfaceBase*> gPakInterface{nullptr};

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() && strncasecmp(text.c_str(), prefix.c_str(), prefix.size()) == 0;
}

bool IsReadMode(const std::string& mode)
{
    return strcasecmp(mode.c_str(), "r") == 0 || strcasecmp(mode.c_str(), "rb") == 0 ||
           strcasecmp(mode.c_str(), "rt") == 0;
}

bool PathExists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

// Finds the entry of folder whose name equals name without regard to case; empty when none.
std::string FindNoCase(const std::string& folder, const std::string& name)
{
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr)
        return std::string();
    std::string found;
    while (dirent* entry = readdir(dir))
    {
        if (strcasecmp(entry->d_name, name.c_str()) == 0)
        {
            found = entry->d_name;
            break;
        }
    }
    closedir(dir);
    return found;
}

std::string LowerCase(const std::string& text)
{
    std::string lower = text;
    for (char& c : lower)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

using FolderLookup = std::function<std::string(const std::string& folder, const std::string& name)>;

std::string ResolveOnDisk(const std::string& path, const FolderLookup& findNoCase = FindNoCase)
{
    std::string converted = path;
    std::replace(converted.begin(), converted.end(), '\\', '/');
    if (converted.empty() || PathExists(converted))
        return converted;

    // Walk the components, replacing each that does not exist by its spelling on disk.
    std::string base;
    size_t pos = 0;
    if (converted[0] == '/')
    {
        base = "/";
        pos = 1;
    }
    while (pos <= converted.size())
    {
        size_t end = converted.find('/', pos);
        if (end == std::string::npos)
            end = converted.size();
        std::string part = converted.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty())
            continue;
        std::string joined = (base.empty() || base.back() == '/') ? base + part : base + "/" + part;
        if (!PathExists(joined) && part != "." && part != "..")
        {
            std::string onDisk = findNoCase(base, part);
            if (onDisk.empty())
                return converted; // nothing on disk: the caller's spelling, for writing or a clean failure
            joined = (base.empty() || base.back() == '/') ? base + onDisk : base + "/" + onDisk;
        }
        base = joined;
    }
    return base;
}

PFILE* OpenLoose(const std::string& resolved, const std::string& mode)
{
    // A folder opens as a file on Linux and then reads as empty; readers would take it for an empty document.
    struct stat info;
    if (IsReadMode(mode) && stat(resolved.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        return nullptr;
    FILE* file = fopen(resolved.c_str(), mode.c_str());
    if (file == nullptr)
        return nullptr;
    PFILE* handle = new PFILE;
    handle->mFile = file;
    return handle;
}

int CloseLoose(PFILE* file)
{
    int result = 0;
    if (file->mFile != nullptr)
        result = fclose(file->mFile);
    delete file;
    return result;
}

// One fgets-style line from next(), which yields the next plain byte or EOF; carriage returns are dropped so
// files written on Windows read the same.
template <class NextByte>
char* ReadLine(char* buffer, int length, NextByte next)
{
    if (length <= 0)
        return nullptr;
    int count = 0;
    while (count < length - 1)
    {
        int c = next();
        if (c == EOF)
            break;
        if (c == 13)
            continue;
        buffer[count++] = char(c);
        if (c == 10)
            break;
    }
    buffer[count] = 0;
    return count == 0 ? nullptr : buffer;
}

char* GetLineLoose(char* buffer, int length, FILE* file)
{
    return ReadLine(buffer, length, [file] { return fgetc(file); });
}

int GetCharLoose(FILE* file)
{
    for (;;)
    {
        int c = fgetc(file);
        if (c != 13)
            return c == EOF ? -1 : c;
    }
}

// Same system search the archive falls back to: the pattern's folder is listed and its last part matched.
void SystemSearch(const std::string& pattern, std::vector<PakFindData>& results)
{
    std::string converted = pattern;
    std::replace(converted.begin(), converted.end(), '\\', '/');
    size_t slash = converted.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : converted.substr(0, slash);
    std::string filePattern = slash == std::string::npos ? converted : converted.substr(slash + 1);
    std::string resolvedFolder = folder.empty() ? std::string(".") : ResolveOnDisk(folder);
    DIR* dir = opendir(resolvedFolder.c_str());
    if (dir == nullptr)
        return;
    while (dirent* entry = readdir(dir))
    {
        if (fnmatch(filePattern.c_str(), entry->d_name, FNM_CASEFOLD) != 0)
            continue;
        std::string full = resolvedFolder + "/" + entry->d_name;
        struct stat info;
        if (stat(full.c_str(), &info) != 0)
            continue;
        PakFindData data;
        data.mFileName = entry->d_name;
        data.mAttributes = S_ISDIR(info.st_mode) ? kPakAttrDirectory : 0;
        data.mSize = uint64_t(info.st_size);
        data.mCreationTime = UnixToFileTime(info.st_ctime);
        data.mAccessTime = UnixToFileTime(info.st_atime);
        data.mWriteTime = UnixToFileTime(info.st_mtime);
        results.push_back(std::move(data));
    }
    closedir(dir);
    std::sort(results.begin(), results.end(),
              [](const PakFindData& a, const PakFindData& b) { return a.mFileName < b.mFileName; });
}

} // namespace

std::string NormalizePakPath(const std::string& path)
{
    std::string source = path;
    // An absolute path inside the current folder names the same entry as the relative one.
    if (!source.empty() && (IsSeparator(source[0]) || (source.size() > 1 && source[1] == ':')))
    {
        char cwd[4096];
        if (getcwd(cwd, sizeof(cwd)) != nullptr)
        {
            std::string prefix = cwd;
            if (StartsWithNoCase(source, prefix) && source.size() > prefix.size() &&
                IsSeparator(source[prefix.size()]))
                source = source.substr(prefix.size() + 1);
        }
    }

    std::string result;
    result.reserve(source.size());
    size_t i = 0;
    while (i < source.size())
    {
        char c = source[i];
        if (IsSeparator(c))
        {
            if (result.empty() || result.back() != '\\')
                result.push_back('\\');
            ++i;
            continue;
        }
        bool atComponentStart = result.empty() || result.back() == '\\';
        if (atComponentStart && c == '.' && i + 1 < source.size() && source[i + 1] == '.' &&
            (i + 2 == source.size() || IsSeparator(source[i + 2])))
        {
            // Drop the component before (and its separator); at the root there is nothing to climb out of.
            if (!result.empty())
                result.pop_back();
            while (!result.empty() && result.back() != '\\')
                result.pop_back();
            i += 2;
            while (i < source.size() && IsSeparator(source[i]))
                ++i;
            continue;
        }
        result.push_back(char(std::toupper(static_cast<unsigned char>(c))));
        ++i;
    }
    return result;
}

std::string ResolveLoosePathUncached(const std::string& path)
{
    return ResolveOnDisk(path);
}

PakInterfaceBase* GetPakInterface()
{
    return gPakInterface.load(std::memory_order_acquire);
}

PakInterface::PakInterface()
{
    PakInterfaceBase* expected = nullptr;
    gPakInterface.compare_exchange_strong(expected, this, std::memory_order_acq_rel);
}

PakInterface::~PakInterface()
{
    PakInterfaceBase* expected = this;
    gPakInterface.compare_exchange_strong(expected, nullptr, std::memory_order_acq_rel);
}

bool PakInterface::MountArchive(const std::string& path)
{
    mErrorText.clear();
    mWarnings.clear();
    auto record = std::make_unique<PakRecord>();
    record->mPath = path;
    std::string resolved = ResolveLoosePath(path);
    record->mFd = open(resolved.c_str(), O_RDONLY | O_CLOEXEC);
    if (record->mFd < 0)
    {
        mErrorText = path + ": cannot open: " + strerror(errno);
        return false;
    }
    struct stat info;
    if (fstat(record->mFd, &info) != 0 || !S_ISREG(info.st_mode))
    {
        mErrorText = path + ": not a regular file";
        return false;
    }
    record->mSize = size_t(info.st_size);
    if (record->mSize == 0)
    {
        mErrorText = path + ": empty file";
        return false;
    }
    void* view = mmap(nullptr, record->mSize, PROT_READ, MAP_PRIVATE, record->mFd, 0);
    if (view == MAP_FAILED)
    {
        mErrorText = path + ": cannot map: " + strerror(errno);
        return false;
    }
    record->mView = static_cast<const uint8_t*>(view);

    PakTable table = ReadPakTable(record->mView, record->mSize);
    if (table.mFailed)
    {
        mErrorText = path + ": " + table.mError;
        return false;
    }
    for (const std::string& warning : table.mWarnings)
        mWarnings.push_back(path + ": " + warning);

    PakRecord* raw = record.get();
    mRecords.push_back(std::move(record));

    PakEntry self;
    self.mRecord = raw;
    self.mName = path;
    self.mFileTime = UnixToFileTime(info.st_mtime);
    self.mOffset = 0;
    self.mSize = raw->mSize;
    mEntries[NormalizePakPath(path)] = self;

    for (const PakTableEntry& tableEntry : table.mEntries)
    {
        PakEntry entry;
        entry.mRecord = raw;
        entry.mName = tableEntry.mName;
        entry.mFileTime = tableEntry.mFileTime;
        entry.mOffset = tableEntry.mOffset;
        entry.mSize = tableEntry.mSize;
        std::string key = NormalizePakPath(tableEntry.mName);
        if (key.empty())
            continue;
        mEntries[key] = std::move(entry);
    }
    return true;
}

const PakEntry* PakInterface::FindEntry(const std::string& path) const
{
    if (mEntries.empty())
        return nullptr;
    auto it = mEntries.find(NormalizePakPath(path));
    return it == mEntries.end() ? nullptr : &it->second;
}

std::string PakInterface::ResolveLoosePath(const std::string& path)
{
    {
        std::lock_guard<std::mutex> lock(mResolveMutex);
        auto it = mResolved.find(path);
        if (it != mResolved.end())
            return it->second;
    }
    std::string resolved =
        ResolveOnDisk(path, [this](const std::string& folder, const std::string& name) { return FindInFolder(folder, name); });
    // Only paths that exist are remembered: a file written later must still be found under its new name.
    if (PathExists(resolved))
    {
        std::lock_guard<std::mutex> lock(mResolveMutex);
        mResolved[path] = resolved;
    }
    return resolved;
}

std::string PakInterface::FindInFolder(const std::string& folder, const std::string& name)
{
    std::lock_guard<std::mutex> lock(mResolveMutex);
    auto it = mFolders.find(folder);
    if (it == mFolders.end())
    {
        std::unordered_map<std::string, std::string> listing;
        if (DIR* dir = opendir(folder.empty() ? "." : folder.c_str()))
        {
            while (dirent* entry = readdir(dir))
                listing.emplace(LowerCase(entry->d_name), entry->d_name);
            closedir(dir);
        }
        it = mFolders.emplace(folder, std::move(listing)).first;
    }
    // Misses are answered from the listing too: image loading probes several extensions per picture. A file
    // created later under its exact name is still found, because exact names are tried on disk first.
    auto found = it->second.find(LowerCase(name));
    return found == it->second.end() ? std::string() : found->second;
}

PFILE* PakInterface::Open(const std::string& path, const std::string& mode)
{
    if (IsReadMode(mode))
    {
        if (const PakEntry* entry = FindEntry(path))
        {
            PFILE* handle = new PFILE;
            handle->mEntry = entry;
            return handle;
        }
    }
    return OpenLoose(ResolveLoosePath(path), mode);
}

int PakInterface::Close(PFILE* file)
{
    if (file == nullptr)
        return -1;
    return CloseLoose(file);
}

int PakInterface::Seek(PFILE* file, int64_t offset, int origin)
{
    if (file == nullptr)
        return -1;
    if (file->mEntry == nullptr)
        return fseeko(file->mFile, off_t(offset), origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : SEEK_END);
    int64_t size = int64_t(file->mEntry->mSize);
    int64_t base = origin == 1 ? file->mPos : origin == 2 ? size : 0;
    // Saturate instead of overflowing on absurd offsets; the clamp below brings it back into the entry.
    int64_t target;
    if (__builtin_add_overflow(base, offset, &target))
        target = offset < 0 ? 0 : size;
    file->mPos = std::clamp<int64_t>(target, 0, size);
    return 0;
}

int64_t PakInterface::Tell(PFILE* file)
{
    if (file == nullptr)
        return -1;
    if (file->mEntry == nullptr)
        return int64_t(ftello(file->mFile));
    return file->mPos;
}

size_t PakInterface::Read(void* buffer, size_t itemSize, size_t count, PFILE* file)
{
    if (file == nullptr || itemSize == 0 || count == 0)
        return 0;
    if (file->mEntry == nullptr)
        return fread(buffer, itemSize, count, file->mFile);
    uint64_t left = file->mEntry->mSize - uint64_t(file->mPos);
    uint64_t wanted;
    if (__builtin_mul_overflow(uint64_t(itemSize), uint64_t(count), &wanted))
        wanted = UINT64_MAX;
    size_t n = size_t(std::min(wanted, left));
    const uint8_t* source = file->mEntry->mRecord->mView + file->mEntry->mOffset + uint64_t(file->mPos);
    uint8_t* target = static_cast<uint8_t*>(buffer);
    for (size_t i = 0; i < n; ++i)
        target[i] = uint8_t(source[i] ^ kPakKey);
    file->mPos += int64_t(n);
    return n / itemSize;
}

int PakInterface::GetChar(PFILE* file)
{
    if (file == nullptr)
        return -1;
    if (file->mEntry == nullptr)
        return GetCharLoose(file->mFile);
    const uint8_t* view = file->mEntry->mRecord->mView + file->mEntry->mOffset;
    while (uint64_t(file->mPos) < file->mEntry->mSize)
    {
        int c = view[file->mPos++] ^ kPakKey;
        if (c != 13)
            return c;
    }
    return -1;
}

int PakInterface::UngetChar(int ch, PFILE* file)
{
    if (file == nullptr)
        return -1;
    if (file->mEntry == nullptr)
        return ungetc(ch, file->mFile);
    if (file->mPos > 0)
        --file->mPos;
    return ch;
}

char* PakInterface::GetLine(char* buffer, int length, PFILE* file)
{
    if (file == nullptr || buffer == nullptr || length <= 0)
        return nullptr;
    if (file->mEntry == nullptr)
        return GetLineLoose(buffer, length, file->mFile);
    const uint8_t* view = file->mEntry->mRecord->mView + file->mEntry->mOffset;
    const uint64_t size = file->mEntry->mSize;
    return ReadLine(buffer, length,
                    [&] { return uint64_t(file->mPos) < size ? int(view[file->mPos++] ^ kPakKey) : EOF; });
}

bool PakInterface::AtEnd(PFILE* file)
{
    if (file == nullptr)
        return true;
    if (file->mEntry == nullptr)
        return feof(file->mFile) != 0;
    return uint64_t(file->mPos) >= file->mEntry->mSize;
}

PakSearch* PakInterface::FindFirstEntry(const std::string& pattern, PakFindData& findData)
{
    auto search = std::make_unique<PakSearch>();
    search->mPattern = NormalizePakPath(pattern);
    search->mSystemPattern = pattern;
    if (FindNextEntry(search.get(), findData))
        return search.release();
    return nullptr;
}

bool PakInterface::FindNextEntry(PakSearch* search, PakFindData& findData)
{
    if (search == nullptr)
        return false;
    if (search->mInArchive)
    {
        size_t star = search->mPattern.find('*');
        if (star != std::string::npos)
        {
            std::string prefix = search->mPattern.substr(0, star);
            std::string suffix = search->mPattern.substr(star + 1);
            auto it = search->mLastName.empty() ? mEntries.lower_bound(prefix) : mEntries.upper_bound(search->mLastName);
            for (; it != mEntries.end(); ++it)
            {
                const std::string& name = it->first;
                if (name.compare(0, prefix.size(), prefix) != 0)
                    break; // map order: no later name has the prefix either
                std::string rest = name.substr(prefix.size());
                bool matches = suffix.empty() || suffix == ".*" ||
                               (rest.size() >= suffix.size() &&
                                rest.compare(rest.size() - suffix.size(), suffix.size(), suffix) == 0);
                if (!matches)
                    continue;
                const PakEntry& entry = it->second;
                search->mLastName = name;
                size_t slash = entry.mName.find_last_of("\\/");
                findData.mFileName = slash == std::string::npos ? entry.mName : entry.mName.substr(slash + 1);
                findData.mAttributes = rest.find('\\') != std::string::npos ? kPakAttrDirectory : 0;
                findData.mSize = entry.mSize;
                findData.mCreationTime = findData.mAccessTime = findData.mWriteTime = entry.mFileTime;
                return true;
            }
        }
        search->mInArchive = false;
        SystemSearch(search->mSystemPattern, search->mSystemResults);
        search->mSystemIndex = 0;
    }
    if (search->mSystemIndex < search->mSystemResults.size())
    {
        findData = search->mSystemResults[search->mSystemIndex++];
        return true;
    }
    return false;
}

bool PakInterface::EndFind(PakSearch* search)
{
    delete search;
    return true;
}

// ---- the process-wide functions ----

PFILE* ArchiveFileOpen(const std::string& path, const std::string& mode)
{
    if (PakInterfaceBase* pak = GetPakInterface())
        return pak->Open(path, mode);
    return OpenLoose(ResolveOnDisk(path), mode);
}

int ArchiveFileClose(PFILE* file)
{
    if (PakInterfaceBase* pak = GetPakInterface())
        return pak->Close(file);
    return file == nullptr ? -1 : CloseLoose(file);
}

int ArchiveFileSeek(PFILE* file, int64_t offset, int origin)
{
    if (PakInterfaceBase* pak = GetPakInterface())
        return pak->Seek(file, offset, origin);
    if (file == nullptr || file->mFile == nullptr)
        return -1;
    return fseeko(file->mFile, off_t(offset), origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : SEEK_END);
}

int64_t ArchiveFileTell(PFILE* file)
{
    if (PakInterfaceBase* pak = GetPakInterface())
        return pak->Tell(file);
    if (file == nullptr || file->mFile == nullptr)
        return -1;
    return int64_t(ftello(file->mFile));
}

size_t ArchiveFileRead(void* buffer, size_t itemSize, size_t count, PFILE* file)
{
    if (PakInterfaceBase* pak = GetPakInterface())
        return pak->Read(buffer, itemSize, count, file);
    if (file == nullptr || file->mFile == nullptr || itemSize == 0)
        return 0;
    return fread(buffer, itemSize, count, file->mFile);
}

bool ArchiveFileAtEnd(PFILE* file)
{
    if (PakInterfaceBase* pak = GetPakInterface())
        return pak->AtEnd(file);
    if (file == nullptr || file->mFile == nullptr)
        return true;
    return feof(file->mFile) != 0;
}

int ArchiveFileGetChar(PFILE* file)
{
    if (PakInterfaceBase* pak = GetPakInterface())
        return pak->GetChar(file);
    if (file == nullptr || file->mFile == nullptr)
        return -1;
    return GetCharLoose(file->mFile);
}

int ArchiveFileUngetChar(int ch, PFILE* file)
{
    if (PakInterfaceBase* pak = GetPakInterface())
        return pak->UngetChar(ch, file);
    if (file == nullptr || file->mFile == nullptr)
        return -1;
    return ungetc(ch, file->mFile);
}

char* ArchiveFileGetLine(char* buffer, int length, PFILE* file)
{
    if (PakInterfaceBase* pak = GetPakInterface())
        return pak->GetLine(buffer, length, file);
    if (file == nullptr || file->mFile == nullptr || buffer == nullptr)
        return nullptr;
    return GetLineLoose(buffer, length, file->mFile);
}

size_t ArchiveFileWrite(const void* buffer, size_t itemSize, size_t count, PFILE* file)
{
    if (file == nullptr || file->mFile == nullptr || itemSize == 0)
        return 0;
    return fwrite(buffer, itemSize, count, file->mFile);
}

PakSearch* ArchiveFindFirst(const std::string& pattern, PakFindData& findData)
{
    if (PakInterfaceBase* pak = GetPakInterface())
        return pak->FindFirstEntry(pattern, findData);
    auto search = std::make_unique<PakSearch>();
    search->mInArchive = false;
    SystemSearch(pattern, search->mSystemResults);
    if (search->mSystemResults.empty())
        return nullptr;
    findData = search->mSystemResults[search->mSystemIndex++];
    return search.release();
}

bool ArchiveFindNext(PakSearch* search, PakFindData& findData)
{
    if (PakInterfaceBase* pak = GetPakInterface())
        return pak->FindNextEntry(search, findData);
    if (search == nullptr || search->mSystemIndex >= search->mSystemResults.size())
        return false;
    findData = search->mSystemResults[search->mSystemIndex++];
    return true;
}

bool ArchiveFindClose(PakSearch* search)
{
    if (PakInterfaceBase* pak = GetPakInterface())
        return pak->EndFind(search);
    delete search;
    return true;
}

std::string ArchiveFileLabel(const std::string& path)
{
    auto* pak = dynamic_cast<PakInterface*>(GetPakInterface());
    const PakEntry* entry = pak != nullptr ? pak->FindEntry(path) : nullptr;
    if (entry == nullptr || entry->mRecord == nullptr)
        return path;
    return entry->mRecord->mPath + ": " + path;
}

bool ArchiveFileExists(const std::string& path)
{
    if (auto* pak = dynamic_cast<PakInterface*>(GetPakInterface()))
    {
        if (pak->FindEntry(path) != nullptr)
            return true;
        return PathExists(pak->ResolveLoosePath(path));
    }
    return PathExists(ResolveOnDisk(path));
}

namespace
{

// Whole file into any byte container: an archive entry in one copy, a loose file by its size, then whatever follows.
template <typename Container>
bool ReadAllInto(const std::string& path, Container& data)
{
    data.clear();
    ArchiveFilePtr file(ArchiveFileOpen(path, "rb"));
    if (!file)
        return false;
    size_t expected = 0;
    if (file->mEntry != nullptr)
    {
        expected = size_t(file->mEntry->mSize);
    }
    else if (file->mFile != nullptr)
    {
        struct stat info;
        if (fstat(fileno(file->mFile), &info) == 0 && info.st_size > 0)
            expected = size_t(info.st_size);
    }
    data.resize(expected);
    size_t got = expected > 0 ? ArchiveFileRead(data.data(), 1, expected, file.get()) : 0;
    data.resize(got);
    if (file->mEntry != nullptr)
        return true;
    // Files that grow or report no size (pipes, /proc) are read on to their real end.
    char chunk[65536];
    for (;;)
    {
        size_t n = ArchiveFileRead(chunk, 1, sizeof(chunk), file.get());
        data.insert(data.end(), chunk, chunk + n);
        if (n < sizeof(chunk))
            break;
    }
    return true;
}

} // namespace

bool ArchiveFileReadAll(const std::string& path, std::vector<uint8_t>& data)
{
    return ReadAllInto(path, data);
}

bool ArchiveFileReadAll(const std::string& path, std::string& data)
{
    return ReadAllInto(path, data);
}

bool ArchiveFileTime(const std::string& path, uint64_t& fileTime)
{
    fileTime = 0;
    std::string resolved;
    if (auto* pak = dynamic_cast<PakInterface*>(GetPakInterface()))
    {
        if (const PakEntry* entry = pak->FindEntry(path))
        {
            fileTime = entry->mFileTime;
            return true;
        }
        resolved = pak->ResolveLoosePath(path);
    }
    else
    {
        resolved = ResolveOnDisk(path);
    }
    struct stat info;
    if (stat(resolved.c_str(), &info) != 0)
        return false;
    fileTime = UnixToFileTime(info.st_mtime);
    return true;
}

} // namespace Zestra
