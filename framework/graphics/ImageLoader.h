// Decodes image files (PNG, JPEG, 32-bit TGA, GIF) into memory images, with the extension search and the
// "_" alpha-image rules, and writes PNG and JPEG files. Decoders never throw and never trust a header: anything
// wider or taller than MAX_SIDE or larger than MAX_PIXELS is refused before allocating.
#pragma once

#include "framework/graphics/Color.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace Zestra
{

class ImageRegistry;
class MemoryImage;

class ImageLoader
{
public:
    static constexpr int MAX_SIDE = 16384;
    // 4096 x 4096: far above any picture of ours, and low enough that a few bytes claiming a huge canvas (a GIF
    // needs no data for its screen) cannot make us allocate hundreds of megabytes.
    static constexpr int64_t MAX_PIXELS = 16LL * 1024 * 1024;

    // Loads path; without an extension ".tga", ".jpg", ".png", ".gif", ".j2k", ".jp2" are tried in that order.
    // With lookForAlpha the "_" alpha image is looked for and composed; an alpha image alone becomes
    // alphaCompose with the grey level as alpha. Null on failure, with the reason in errorText when given.
    static std::unique_ptr<MemoryImage> GetImage(const std::string& path, bool lookForAlpha = true,
                                                 const Color& alphaCompose = Color::White,
                                                 ImageRegistry* registry = nullptr, std::string* errorText = nullptr);

    // Decodes one file's bytes; extension chooses the decoder (".png", "png" and any case work).
    static std::unique_ptr<MemoryImage> DecodeMemory(const uint8_t* data, size_t size, const std::string& extension,
                                                     ImageRegistry* registry = nullptr,
                                                     std::string* errorText = nullptr);
    static std::unique_ptr<MemoryImage> DecodePNG(const uint8_t* data, size_t size, std::string* errorText = nullptr);
    static std::unique_ptr<MemoryImage> DecodeJPEG(const uint8_t* data, size_t size,
                                                   std::string* errorText = nullptr);
    static std::unique_ptr<MemoryImage> DecodeTGA(const uint8_t* data, size_t size, std::string* errorText = nullptr);
    static std::unique_ptr<MemoryImage> DecodeGIF(const uint8_t* data, size_t size, std::string* errorText = nullptr);

    // True when a picture of this size may be allocated.
    static bool SizeAllowed(int64_t width, int64_t height);
};

// Writes a PNG with alpha; false (and nothing half-written left behind) on failure.
bool WritePNG(const MemoryImage& image, const std::string& path);
// The same PNG into memory, for writers that choose their own way to the disk; false for an empty image.
bool EncodePNG(const MemoryImage& image, std::string& bytes);
// Writes a JPEG (alpha dropped) at quality 0..100.
bool WriteJPEG(const MemoryImage& image, const std::string& path, int quality = 85);

} // namespace Zestra
