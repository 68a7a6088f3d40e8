// PNG and JPEG through the stb single-file codecs (Debian's libstb-dev), for builds without libpng and
// libjpeg-turbo. Sizes are read from the header and checked before anything is decoded.
#include "framework/graphics/ImageCodecs.h"

#include "framework/graphics/ImageLoader.h"

#include <algorithm>
#include <cstring>

// The codecs' own code is compiled here and nowhere else; they do their own memory checks, ours come first.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb_image.h>
#include <stb_image_write.h>

namespace Zestra
{

namespace
{

bool HasPngSignature(const uint8_t* data, size_t size)
{
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return size >= 8 && std::memcmp(data, kSignature, 8) == 0;
}

// RGBA bytes to 0xAARRGGBB words.
bool Decode(const uint8_t* data, size_t size, CodecImage& out, std::string& error, const char* corrupt)
{
    if (size > size_t(0x7FFFFFFF))
    {
        error = "image is too large";
        return false;
    }
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(data, int(size), &width, &height, &channels))
    {
        error = std::string(corrupt) + ": " + stbi_failure_reason();
        return false;
    }
    if (!ImageLoader::SizeAllowed(width, height))
    {
        error = "image is too large";
        return false;
    }
    stbi_uc* rgba = stbi_load_from_memory(data, int(size), &width, &height, &channels, 4);
    if (rgba == nullptr)
    {
        error = std::string(corrupt) + ": " + stbi_failure_reason();
        return false;
    }
    out.mWidth = width;
    out.mHeight = height;
    out.mPixels.resize(size_t(width) * size_t(height));
    const stbi_uc* p = rgba;
    for (uint32_t& pixel : out.mPixels)
    {
        pixel = uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | uint32_t(p[2]);
        p += 4;
    }
    stbi_image_free(rgba);
    return true;
}

bool DecodePng(const uint8_t* data, size_t size, CodecImage& out, std::string& error)
{
    if (!HasPngSignature(data, size))
    {
        error = "not a PNG file";
        return false;
    }
    return Decode(data, size, out, error, "corrupt PNG file");
}

bool DecodeJpeg(const uint8_t* data, size_t size, CodecImage& out, std::string& error)
{
    if (size == 0)
    {
        error = "empty file";
        return false;
    }
    if (!Decode(data, size, out, error, "corrupt JPEG file"))
        return false;
    for (uint32_t& p : out.mPixels)
        p |= 0xFF000000u;
    return true;
}

std::vector<uint8_t> ToRgba(const CodecImage& image, bool keepAlpha)
{
    std::vector<uint8_t> rgba(image.mPixels.size() * 4);
    uint8_t* p = rgba.data();
    for (uint32_t pixel : image.mPixels)
    {
        p[0] = uint8_t(pixel >> 16);
        p[1] = uint8_t(pixel >> 8);
        p[2] = uint8_t(pixel);
        p[3] = keepAlpha ? uint8_t(pixel >> 24) : 0xFF;
        p += 4;
    }
    return rgba;
}

struct FileSink
{
    FILE* mFile;
    bool mOk = true;
};

void WriteToFile(void* context, void* data, int size)
{
    auto* sink = static_cast<FileSink*>(context);
    if (size > 0 && std::fwrite(data, 1, size_t(size), sink->mFile) != size_t(size))
        sink->mOk = false;
}

bool WritePng(const CodecImage& image, FILE* file)
{
    std::vector<uint8_t> rgba = ToRgba(image, true);
    FileSink sink{file};
    return stbi_write_png_to_func(WriteToFile, &sink, image.mWidth, image.mHeight, 4, rgba.data(),
                                  image.mWidth * 4) != 0 &&
           sink.mOk;
}

bool WriteJpeg(const CodecImage& image, FILE* file, int quality)
{
    std::vector<uint8_t> rgba = ToRgba(image, false);
    FileSink sink{file};
    return stbi_write_jpg_to_func(WriteToFile, &sink, image.mWidth, image.mHeight, 4, rgba.data(),
                                  std::clamp(quality, 1, 100)) != 0 &&
           sink.mOk;
}

} // namespace

const ImageCodecs& StbImageCodecs()
{
    static const ImageCodecs codecs{"stb", DecodePng, DecodeJpeg, WritePng, WriteJpeg};
    return codecs;
}

} // namespace Zestra
