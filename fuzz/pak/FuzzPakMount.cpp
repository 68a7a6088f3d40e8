// Mounts arbitrary bytes as an archive (through an in-memory file, so the real mapping code runs) and reads every
// entry it accepts through each access path; a sanitizer run proves the reader never leaves the mapping.
#include "framework/pak/PakFormat.h"
#include "framework/pak/PakInterface.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    int fd = memfd_create("fuzz.pak", 0);
    if (fd < 0)
        return 0;
    if (size > 0 && write(fd, data, size) != ssize_t(size))
    {
        close(fd);
        return 0;
    }
    std::string path = "/proc/self/fd/" + std::to_string(fd);
    {
        Zestra::PakInterface pak;
        if (pak.MountArchive(path))
        {
            Zestra::PakTable table = Zestra::ReadPakTable(reinterpret_cast<const uint8_t*>(data), size);
            for (const Zestra::PakTableEntry& entry : table.mEntries)
            {
                if (entry.mOffset + entry.mSize > size)
                    std::abort();
                Zestra::PFILE* file = pak.Open(entry.mName, "rb");
                if (file == nullptr)
                    continue; // a later duplicate may have replaced it under another spelling
                char buffer[256];
                while (pak.Read(buffer, 3, sizeof(buffer) / 3, file) > 0)
                {
                }
                pak.Seek(file, -7, 2);
                while (pak.GetLine(buffer, sizeof(buffer), file) != nullptr)
                {
                }
                pak.Seek(file, 0, 0);
                while (pak.GetChar(file) >= 0)
                {
                }
                pak.UngetChar('x', file);
                pak.Close(file);
            }
        }
    }
    close(fd);
    return 0;
}
