// The manifest parser on top of the XML reader: any input must end in success or one error message, and a
// failed read must say where.
#include "framework/resources/ResourceManager.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Zestra::ResourceManager manager(nullptr, nullptr);
    manager.SetAllowRedefinition(size > 0 && (data[0] & 1));
    bool ok = manager.ReadManifestFromText(std::string(reinterpret_cast<const char*>(data), size), "fuzz.xml");
    if (ok == manager.Failed() || (!ok && manager.ErrorMessage().empty()))
        std::abort();
    manager.CountResources("");
    // Nothing can load without a host; a group load must fail cleanly or find nothing to do.
    manager.LoadGroup("Init");
    return 0;
}
