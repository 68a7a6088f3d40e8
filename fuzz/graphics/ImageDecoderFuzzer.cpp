// Every decoder sees every input: a file of one format must be refused cleanly by the others too.
#include "framework/graphics/ImageLoader.h"
#include "framework/graphics/MemoryImage.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (const char* ext : {"png", "jpg", "tga", "gif"})
    {
        std::string error;
        auto image = Zestra::ImageLoader::DecodeMemory(data, size, ext, nullptr, &error);
        if (image)
        {
            // A decoded image is fully usable: touch its last pixel and its caches.
            const uint32_t* bits = image->GetBits();
            volatile uint32_t last = bits[size_t(image->GetWidth()) * size_t(image->GetHeight()) - 1];
            (void)last;
            image->AlphaRuns();
            if (!image->GuardIntact())
                __builtin_trap();
        }
        else if (error.empty())
            __builtin_trap(); // a failure always says why
    }
    return 0;
}
