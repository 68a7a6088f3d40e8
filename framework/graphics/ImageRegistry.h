// Keeps the graphics library independent of the application: whoever tracks live memory images (the application,
// under its display lock) implements this, and every MemoryImage reports itself from construction to destruction.
#pragma once

namespace Zestra
{

class MemoryImage;

class ImageRegistry
{
public:
    virtual ~ImageRegistry() = default;
    virtual void AddMemoryImage(MemoryImage* image) = 0;
    virtual void RemoveMemoryImage(MemoryImage* image) = 0;
};

} // namespace Zestra
