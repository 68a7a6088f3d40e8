// velmora-pak: builds, lists, extracts and checks the game's archives. It writes exactly the layout the game's
// reader mounts, and it never trusts an archive it reads: extraction stays inside the folder it is given.
#include "framework/pak/PakFormat.h"
#include "framework/pak/PakInterface.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace Zestra;

namespace
{

const char* kUsage =
    "usage: velmora-pak COMMAND ...\n"
    "  create OUT.pak DIR   pack every file below DIR with its path and modification time\n"
    "  list PAK             print each entry's name, size and time\n"
    "  extract PAK DIR      unpack every entry below DIR\n"
    "  verify PAK           check the table and that every entry lies inside the file\n"
    "  COMMAND -help        help on one command\n";

bool IsHelp(const std::string& arg)
{
    return arg == "-help" || arg == "--help" || arg == "-h" || arg == "help";
}

bool ReadWholeFile(const fs::path& path, std::vector<uint8_t>& data, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
    {
        error = "cannot open " + path.string() + ": " + std::strerror(errno);
        return false;
    }
    data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad())
    {
        error = "cannot read " + path.string();
        return false;
    }
    return true;
}

int64_t ModificationSeconds(const fs::path& path)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return 0;
    return int64_t(info.st_mtime);
}

std::string FormatTime(uint64_t fileTime)
{
    if (fileTime == 0)
        return "-";
    time_t seconds = time_t(FileTimeToUnix(fileTime));
    struct tm parts;
    if (gmtime_r(&seconds, &parts) == nullptr)
        return "-";
    char text[32];
    std::strftime(text, sizeof(text), "%Y-%m-%d %H:%M:%S", &parts);
    return text;
}

int Create(const std::vector<std::string>& args)
{
    if (args.size() == 1 && IsHelp(args[0]))
    {
        std::cout << "velmora-pak create OUT.pak DIR\n"
                     "  Packs every regular file below DIR; names are stored relative to DIR with \"\\\\\" separators,\n"
                     "  sorted, together with each file's modification time.\n";
        return 0;
    }
    if (args.size() != 2)
    {
        std::cerr << "velmora-pak create: expected OUT.pak DIR (see velmora-pak create -help)\n";
        return 2;
    }
    fs::path out = args[0];
    fs::path dir = args[1];
    std::error_code ec;
    if (!fs::is_directory(dir, ec))
    {
        std::cerr << "velmora-pak create: not a folder: " << dir.string() << "\n";
        return 1;
    }
    fs::path outAbsolute = fs::weakly_canonical(out, ec);
    std::vector<fs::path> paths;
    for (auto it = fs::recursive_directory_iterator(dir, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
    {
        if (it->is_regular_file() && fs::weakly_canonical(it->path()) != outAbsolute)
            paths.push_back(it->path());
    }
    if (ec)
    {
        std::cerr << "velmora-pak create: cannot list " << dir.string() << ": " << ec.message() << "\n";
        return 1;
    }
    std::vector<PakSourceFile> files;
    for (const fs::path& path : paths)
    {
        PakSourceFile file;
        file.mName = fs::relative(path, dir).generic_string();
        std::replace(file.mName.begin(), file.mName.end(), '/', '\\');
        file.mFileTime = UnixToFileTime(ModificationSeconds(path));
        std::string error;
        if (!ReadWholeFile(path, file.mData, error))
        {
            std::cerr << "velmora-pak create: " << error << "\n";
            return 1;
        }
        files.push_back(std::move(file));
    }
    std::sort(files.begin(), files.end(),
              [](const PakSourceFile& a, const PakSourceFile& b) { return a.mName < b.mName; });
    std::vector<uint8_t> archive;
    std::string error;
    if (!BuildPak(files, archive, error))
    {
        std::cerr << "velmora-pak create: " << error << "\n";
        return 1;
    }
    // Written beside the target and renamed, so a failed run never leaves a cut archive under the real name.
    fs::path temp = out;
    temp += ".tmp";
    {
        std::ofstream stream(temp, std::ios::binary | std::ios::trunc);
        stream.write(reinterpret_cast<const char*>(archive.data()), std::streamsize(archive.size()));
        stream.close();
        if (!stream)
        {
            std::cerr << "velmora-pak create: cannot write " << temp.string() << "\n";
            fs::remove(temp, ec);
            return 1;
        }
    }
    fs::rename(temp, out, ec);
    if (ec)
    {
        std::cerr << "velmora-pak create: cannot rename to " << out.string() << ": " << ec.message() << "\n";
        fs::remove(temp, ec);
        return 1;
    }
    std::cout << out.string() << ": " << files.size() << " files, " << archive.size() << " bytes\n";
    return 0;
}

bool LoadTable(const std::string& command, const std::string& pakPath, std::vector<uint8_t>& data, PakTable& table)
{
    std::string error;
    if (!ReadWholeFile(pakPath, data, error))
    {
        std::cerr << "velmora-pak " << command << ": " << error << "\n";
        return false;
    }
    table = ReadPakTable(data.data(), data.size());
    if (table.mFailed)
    {
        std::cerr << "velmora-pak " << command << ": " << pakPath << ": " << table.mError << "\n";
        return false;
    }
    return true;
}

int List(const std::vector<std::string>& args)
{
    if (args.size() == 1 && IsHelp(args[0]))
    {
        std::cout << "velmora-pak list PAK\n  Prints one line per entry: size in bytes, time (UTC) and name.\n";
        return 0;
    }
    if (args.size() != 1)
    {
        std::cerr << "velmora-pak list: expected PAK (see velmora-pak list -help)\n";
        return 2;
    }
    std::vector<uint8_t> data;
    PakTable table;
    if (!LoadTable("list", args[0], data, table))
        return 1;
    for (const std::string& warning : table.mWarnings)
        std::cerr << "velmora-pak list: " << args[0] << ": " << warning << "\n";
    for (const PakTableEntry& entry : table.mEntries)
        std::printf("%10llu  %s  %s\n", static_cast<unsigned long long>(entry.mSize), FormatTime(entry.mFileTime).c_str(),
                    entry.mName.c_str());
    return table.mWarnings.empty() ? 0 : 1;
}

int Extract(const std::vector<std::string>& args)
{
    if (args.size() == 1 && IsHelp(args[0]))
    {
        std::cout << "velmora-pak extract PAK DIR\n"
                     "  Writes every entry below DIR (created when missing), restoring modification times.\n"
                     "  Entries whose names would leave DIR are skipped and reported.\n";
        return 0;
    }
    if (args.size() != 2)
    {
        std::cerr << "velmora-pak extract: expected PAK DIR (see velmora-pak extract -help)\n";
        return 2;
    }
    std::vector<uint8_t> data;
    PakTable table;
    if (!LoadTable("extract", args[0], data, table))
        return 1;
    int status = 0;
    for (const std::string& warning : table.mWarnings)
    {
        std::cerr << "velmora-pak extract: " << args[0] << ": " << warning << "\n";
        status = 1;
    }
    std::error_code ec;
    fs::path root = args[1];
    fs::create_directories(root, ec);
    root = fs::weakly_canonical(root, ec);
    for (const PakTableEntry& entry : table.mEntries)
    {
        std::string relative = entry.mName;
        std::replace(relative.begin(), relative.end(), '\\', '/');
        fs::path target = fs::weakly_canonical(root / fs::path(relative).relative_path(), ec);
        auto [rootEnd, targetIt] = std::mismatch(root.begin(), root.end(), target.begin(), target.end());
        if (ec || rootEnd != root.end() || target == root)
        {
            std::cerr << "velmora-pak extract: skipping '" << entry.mName << "': it would leave " << root.string()
                      << "\n";
            status = 1;
            continue;
        }
        fs::create_directories(target.parent_path(), ec);
        std::vector<uint8_t> bytes(data.begin() + ptrdiff_t(entry.mOffset),
                                   data.begin() + ptrdiff_t(entry.mOffset + entry.mSize));
        PakXor(bytes.data(), bytes.size());
        std::ofstream out(target, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        out.close();
        if (!out)
        {
            std::cerr << "velmora-pak extract: cannot write " << target.string() << "\n";
            status = 1;
            continue;
        }
        if (entry.mFileTime != 0)
        {
            struct timespec times[2];
            times[0].tv_sec = times[1].tv_sec = time_t(FileTimeToUnix(entry.mFileTime));
            times[0].tv_nsec = times[1].tv_nsec = 0;
            utimensat(AT_FDCWD, target.c_str(), times, 0);
        }
    }
    return status;
}

int Verify(const std::vector<std::string>& args)
{
    if (args.size() == 1 && IsHelp(args[0]))
    {
        std::cout << "velmora-pak verify PAK\n"
                     "  Checks the header, that the table is complete, that every entry lies inside the file and\n"
                     "  that every name is usable. Exit status 0 when the archive is sound, 1 otherwise.\n";
        return 0;
    }
    if (args.size() != 1)
    {
        std::cerr << "velmora-pak verify: expected PAK (see velmora-pak verify -help)\n";
        return 2;
    }
    std::vector<uint8_t> data;
    PakTable table;
    if (!LoadTable("verify", args[0], data, table))
        return 1;
    int status = 0;
    for (const std::string& warning : table.mWarnings)
    {
        std::cerr << "velmora-pak verify: " << args[0] << ": " << warning << "\n";
        status = 1;
    }
    std::set<std::string> seen;
    uint64_t end = table.mTableEnd;
    for (const PakTableEntry& entry : table.mEntries)
    {
        if (!seen.insert(NormalizePakPath(entry.mName)).second)
        {
            std::cerr << "velmora-pak verify: " << args[0] << ": duplicate name '" << entry.mName
                      << "' (the later entry wins)\n";
            status = 1;
        }
        end = std::max(end, entry.mOffset + entry.mSize);
    }
    if (status == 0)
        std::cout << args[0] << ": OK, " << table.mEntries.size() << " entries, " << data.size() << " bytes\n";
    if (end < data.size())
        std::cout << args[0] << ": note: " << (data.size() - end) << " bytes after the last entry\n";
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || IsHelp(argv[1]))
    {
        (argc < 2 ? std::cerr : std::cout) << kUsage;
        return argc < 2 ? 2 : 0;
    }
    std::string command = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "create")
        return Create(args);
    if (command == "list")
        return List(args);
    if (command == "extract")
        return Extract(args);
    if (command == "verify")
        return Verify(args);
    std::cerr << "velmora-pak: unknown command '" << command << "'\n" << kUsage;
    return 2;
}
