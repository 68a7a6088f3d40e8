// The picture codec libraries behind ImageLoader, as one table per implementation: libpng and libjpeg-turbo on
// the desktop, the stb single-file codecs in the browser build. Every implementation gives 0xAARRGGBB pixels row
// by row, refuses a picture ImageLoader::SizeAllowed refuses before allocating its pixels, and never throws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace Zestra
{

struct CodecImage
{
    int mWidth = 0;
    int mHeight = 0;
    std::vector<uint32_t> mPixels; // mWidth * mHeight, rows top down
};

struct ImageCodecs
{
    const char* mName;
    // false with the reason in error ("not a PNG file", "image is too large", "corrupt ...").
    bool (*mDecodePng)(const uint8_t* data, size_t size, CodecImage& out, std::string& error);
    bool (*mDecodeJpeg)(const uint8_t* data, size_t size, CodecImage& out, std::string& error);
    // Writes to an open file; PNG keeps alpha, JPEG drops it. false on failure.
    bool (*mWritePng)(const CodecImage& image, FILE* file);
    bool (*mWriteJpeg)(const CodecImage& image, FILE* file, int quality);
};

// The library implementation exists only where the libraries are linked (not in the browser build).
const ImageCodecs& LibraryImageCodecs();
const ImageCodecs& StbImageCodecs();
// The implementation this build decodes with.
const ImageCodecs& BuildImageCodecs();

} // namespace Zestra
