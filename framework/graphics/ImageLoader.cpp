#include "framework/graphics/ImageLoader.h"

#include "framework/graphics/ImageCodecs.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/pak/PakInterface.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace Zestra
{

namespace
{

void SetError(std::string* errorText, const std::string& text)
{
    if (errorText)
        *errorText = text;
}

std::string Lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return s;
}

std::unique_ptr<MemoryImage> MakeImage(int width, int height, std::vector<uint32_t>& pixels)
{
    auto image = std::make_unique<MemoryImage>();
    image->AssignPixels(pixels.data(), width, height, true);
    return image;
}

// ---- GIF ----

class GifDecoder
{
public:
    GifDecoder(const uint8_t* data, size_t size) : mData(data), mSize(size) {}

    std::unique_ptr<MemoryImage> Decode(std::string& error);

private:
    bool Need(size_t n) const { return n <= mSize - mPos; }
    uint8_t U8() { return mData[mPos++]; }
    // Reads count opaque RGB entries; false when the file ends first.
    bool ReadColorTable(uint32_t* table, int count)
    {
        if (!Need(size_t(count) * 3))
            return false;
        for (int i = 0; i < count; ++i, mPos += 3)
            table[i] = 0xFF000000u | (uint32_t(mData[mPos]) << 16) | (uint32_t(mData[mPos + 1]) << 8) |
                       mData[mPos + 2];
        return true;
    }
    int U16()
    {
        int v = mData[mPos] | (mData[mPos + 1] << 8);
        mPos += 2;
        return v;
    }
    bool SkipSubBlocks();
    bool ReadSubBlocks(std::vector<uint8_t>& out);

    const uint8_t* mData;
    size_t mSize;
    size_t mPos = 0;
};

bool GifDecoder::SkipSubBlocks()
{
    while (true)
    {
        if (!Need(1))
            return false;
        uint8_t len = U8();
        if (len == 0)
            return true;
        if (!Need(len))
            return false;
        mPos += len;
    }
}

bool GifDecoder::ReadSubBlocks(std::vector<uint8_t>& out)
{
    while (true)
    {
        if (!Need(1))
            return false;
        uint8_t len = U8();
        if (len == 0)
            return true;
        if (!Need(len))
            return false;
        out.insert(out.end(), mData + mPos, mData + mPos + len);
        mPos += len;
    }
}

// The LZW stream of one frame (codes of up to 12 bits) into its colour indices, pixelCount of them; a stream that
// ends early is padded with the transparent index (or 0). False with error on a corrupt or cut stream.
bool DecodeLzw(const std::vector<uint8_t>& lzw, int minCodeSize, size_t pixelCount, int transparent,
               std::vector<uint8_t>& indices, std::string& error)
{
    indices.clear();
    indices.reserve(pixelCount);
    uint16_t prefix[4096];
    uint8_t suffix[4096];
    uint8_t stack[4097];
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    int codeSize = minCodeSize + 1;
    int nextCode = endCode + 1;
    int oldCode = -1;
    uint8_t firstChar = 0;
    for (int i = 0; i < clearCode; ++i)
    {
        prefix[i] = 0;
        suffix[i] = uint8_t(i);
    }
    uint32_t bitBuffer = 0;
    int bitCount = 0;
    size_t bytePos = 0;
    bool ended = false;
    while (!ended && indices.size() < pixelCount)
    {
        while (bitCount < codeSize && bytePos < lzw.size())
        {
            bitBuffer |= uint32_t(lzw[bytePos++]) << bitCount;
            bitCount += 8;
        }
        if (bitCount < codeSize)
            break;
        int code = int(bitBuffer & ((1u << codeSize) - 1));
        bitBuffer >>= codeSize;
        bitCount -= codeSize;
        if (code == clearCode)
        {
            codeSize = minCodeSize + 1;
            nextCode = endCode + 1;
            oldCode = -1;
            continue;
        }
        if (code == endCode)
        {
            ended = true;
            break;
        }
        if (oldCode == -1)
        {
            if (code >= clearCode)
            {
                error = "corrupt LZW data";
                return false;
            }
            indices.push_back(uint8_t(code));
            firstChar = uint8_t(code);
            oldCode = code;
            continue;
        }
        int sp = 0;
        int cur = code;
        if (code >= nextCode)
        {
            if (code > nextCode)
            {
                error = "corrupt LZW data";
                return false;
            }
            stack[sp++] = firstChar;
            cur = oldCode;
        }
        while (cur >= clearCode)
        {
            if (sp >= 4096)
            {
                error = "corrupt LZW data";
                return false;
            }
            stack[sp++] = suffix[cur];
            cur = prefix[cur];
        }
        firstChar = uint8_t(cur);
        stack[sp++] = firstChar;
        while (sp > 0 && indices.size() < pixelCount)
            indices.push_back(stack[--sp]);
        if (nextCode < 4096)
        {
            prefix[nextCode] = uint16_t(oldCode);
            suffix[nextCode] = firstChar;
            ++nextCode;
            if (nextCode == (1 << codeSize) && codeSize < 12)
                ++codeSize;
        }
        oldCode = code;
    }
    if (indices.size() < pixelCount)
    {
        if (!ended)
        {
            error = "image data is truncated";
            return false;
        }
        indices.resize(pixelCount, uint8_t(transparent >= 0 ? transparent : 0));
    }
    return true;
}

// Where one frame lies on the logical screen, and whether its rows come in the four interlaced passes.
struct Frame
{
    int left;
    int top;
    int width;
    int height;
    bool interlaced;
};

// Paints the frame's indices through its colour table onto the screen's pixels, clipped to the screen; the
// transparent index leaves a pixel as it was, an index past the table paints opaque black.
void PlaceFrame(const Frame& frame, const std::vector<uint8_t>& indices, int transparent, const uint32_t* table,
                int tableCount, int screenW, int screenH, std::vector<uint32_t>& pixels)
{
    std::vector<int> rowOrder;
    rowOrder.reserve(size_t(frame.height));
    if (frame.interlaced)
    {
        const int starts[4] = {0, 4, 2, 1}, steps[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int r = starts[pass]; r < frame.height; r += steps[pass])
                rowOrder.push_back(r);
    }
    else
    {
        for (int r = 0; r < frame.height; ++r)
            rowOrder.push_back(r);
    }
    for (int i = 0; i < frame.height; ++i)
    {
        int y = frame.top + rowOrder[size_t(i)];
        if (y >= screenH)
            continue;
        for (int x = 0; x < frame.width; ++x)
        {
            int px = frame.left + x;
            if (px >= screenW)
                break;
            int index = indices[size_t(i) * size_t(frame.width) + size_t(x)];
            if (index == transparent)
                continue;
            pixels[size_t(y) * size_t(screenW) + size_t(px)] = index < tableCount ? table[index] : 0xFF000000u;
        }
    }
}

std::unique_ptr<MemoryImage> GifDecoder::Decode(std::string& error)
{
    if (!Need(13) || (std::memcmp(mData, "GIF87a", 6) != 0 && std::memcmp(mData, "GIF89a", 6) != 0))
    {
        error = "not a GIF file";
        return nullptr;
    }
    mPos = 6;
    int screenW = U16();
    int screenH = U16();
    uint8_t packed = U8();
    mPos += 2; // background colour index, aspect ratio
    uint32_t globalTable[256] = {};
    int globalCount = 0;
    if (packed & 0x80)
    {
        globalCount = 1 << ((packed & 7) + 1);
        if (!ReadColorTable(globalTable, globalCount))
        {
            error = "file is truncated";
            return nullptr;
        }
    }
    int transparent = -1;
    while (true)
    {
        if (!Need(1))
        {
            error = "file is truncated";
            return nullptr;
        }
        uint8_t block = U8();
        if (block == 0x3B)
        {
            error = "no image in file";
            return nullptr;
        }
        if (block == 0x21)
        {
            if (!Need(1))
            {
                error = "file is truncated";
                return nullptr;
            }
            uint8_t label = U8();
            if (label == 0xF9 && Need(6) && mData[mPos] >= 4)
            {
                uint8_t gcPacked = mData[mPos + 1];
                if (gcPacked & 1)
                    transparent = mData[mPos + 4];
            }
            if (!SkipSubBlocks())
            {
                error = "file is truncated";
                return nullptr;
            }
            continue;
        }
        if (block != 0x2C)
        {
            error = "unknown block in GIF file";
            return nullptr;
        }
        if (!Need(9))
        {
            error = "file is truncated";
            return nullptr;
        }
        int left = U16(), top = U16(), frameW = U16(), frameH = U16();
        uint8_t imagePacked = U8();
        uint32_t localTable[256] = {};
        const uint32_t* table = globalTable;
        int tableCount = globalCount;
        if (imagePacked & 0x80)
        {
            tableCount = 1 << ((imagePacked & 7) + 1);
            if (!ReadColorTable(localTable, tableCount))
            {
                error = "file is truncated";
                return nullptr;
            }
            table = localTable;
        }
        if (tableCount == 0)
        {
            error = "GIF has no colour table";
            return nullptr;
        }
        if (screenW == 0 || screenH == 0)
        {
            screenW = left + frameW;
            screenH = top + frameH;
        }
        if (!ImageLoader::SizeAllowed(screenW, screenH) || !ImageLoader::SizeAllowed(frameW, frameH))
        {
            error = "image is too large";
            return nullptr;
        }
        if (!Need(1))
        {
            error = "file is truncated";
            return nullptr;
        }
        int minCodeSize = U8();
        if (minCodeSize < 1 || minCodeSize > 11)
        {
            error = "bad LZW code size";
            return nullptr;
        }
        std::vector<uint8_t> lzw;
        if (!ReadSubBlocks(lzw))
        {
            error = "file is truncated";
            return nullptr;
        }

        const size_t pixelCount = size_t(frameW) * size_t(frameH);
        std::vector<uint8_t> indices;
        if (!DecodeLzw(lzw, minCodeSize, pixelCount, transparent, indices, error))
            return nullptr;
        std::vector<uint32_t> pixels(size_t(screenW) * size_t(screenH), 0);
        const Frame frame{left, top, frameW, frameH, (imagePacked & 0x40) != 0};
        PlaceFrame(frame, indices, transparent, table, tableCount, screenW, screenH, pixels);
        return MakeImage(screenW, screenH, pixels);
    }
}

} // namespace

bool ImageLoader::SizeAllowed(int64_t width, int64_t height)
{
    return width > 0 && height > 0 && width <= MAX_SIDE && height <= MAX_SIDE && width * height <= MAX_PIXELS;
}

std::unique_ptr<MemoryImage> ImageLoader::DecodePNG(const uint8_t* data, size_t size, std::string* errorText)
{
    CodecImage decoded;
    std::string error;
    if (!BuildImageCodecs().mDecodePng(data, size, decoded, error))
    {
        SetError(errorText, error);
        return nullptr;
    }
    return MakeImage(decoded.mWidth, decoded.mHeight, decoded.mPixels);
}

std::unique_ptr<MemoryImage> ImageLoader::DecodeJPEG(const uint8_t* data, size_t size, std::string* errorText)
{
    CodecImage decoded;
    std::string error;
    if (!BuildImageCodecs().mDecodeJpeg(data, size, decoded, error))
    {
        SetError(errorText, error);
        return nullptr;
    }
    return MakeImage(decoded.mWidth, decoded.mHeight, decoded.mPixels);
}

std::unique_ptr<MemoryImage> ImageLoader::DecodeTGA(const uint8_t* data, size_t size, std::string* errorText)
{
    if (size < 18)
    {
        SetError(errorText, "file is truncated");
        return nullptr;
    }
    int idLength = data[0];
    int colorMapType = data[1];
    int imageType = data[2];
    int width = data[12] | (data[13] << 8);
    int height = data[14] | (data[15] << 8);
    int depth = data[16];
    int descriptor = data[17];
    if (imageType != 2 || colorMapType != 0)
    {
        SetError(errorText, "only uncompressed true-colour TGA files are supported");
        return nullptr;
    }
    if (depth != 32 || descriptor != 0x28)
    {
        SetError(errorText, "only 32-bit TGA files with 8 alpha bits stored top-down are supported");
        return nullptr;
    }
    if (!SizeAllowed(width, height))
    {
        SetError(errorText, width == 0 || height == 0 ? "image is empty" : "image is too large");
        return nullptr;
    }
    uint64_t needed = 18 + uint64_t(idLength) + uint64_t(width) * uint64_t(height) * 4;
    if (needed > size)
    {
        SetError(errorText, "file is truncated");
        return nullptr;
    }
    std::vector<uint32_t> pixels(size_t(width) * size_t(height));
    const uint8_t* p = data + 18 + idLength;
    for (size_t i = 0; i < pixels.size(); ++i, p += 4)
        pixels[i] = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
    return MakeImage(width, height, pixels);
}

std::unique_ptr<MemoryImage> ImageLoader::DecodeGIF(const uint8_t* data, size_t size, std::string* errorText)
{
    std::string error;
    GifDecoder decoder(data, size);
    auto image = decoder.Decode(error);
    if (!image)
        SetError(errorText, error);
    return image;
}

std::unique_ptr<MemoryImage> ImageLoader::DecodeMemory(const uint8_t* data, size_t size, const std::string& extension,
                                                       ImageRegistry* registry, std::string* errorText)
{
    std::string ext = Lower(extension);
    if (!ext.empty() && ext[0] == '.')
        ext.erase(0, 1);
    while (!ext.empty() && ext.back() == '_')
        ext.pop_back(); // "picture.png_", the alpha image of "picture.png", is still a PNG
    std::unique_ptr<MemoryImage> image;
    if (ext == "png")
        image = DecodePNG(data, size, errorText);
    else if (ext == "jpg" || ext == "jpeg")
        image = DecodeJPEG(data, size, errorText);
    else if (ext == "tga")
        image = DecodeTGA(data, size, errorText);
    else if (ext == "gif")
        image = DecodeGIF(data, size, errorText);
    else if (ext == "j2k" || ext == "jp2")
        SetError(errorText, "JPEG-2000 is not available");
    else
        SetError(errorText, "unknown image format \"" + extension + "\"");
    if (image && registry)
    {
        // Registration belongs to construction; re-home the pixels in a registered image.
        auto registered = std::make_unique<MemoryImage>(registry);
        registered->AssignPixels(image->GetBits(), image->GetWidth(), image->GetHeight(), true);
        image = std::move(registered);
    }
    return image;
}

namespace
{

// Splits at the last separator and finds the extension after it (empty when there is none).
void SplitPath(const std::string& path, std::string& folder, std::string& name, std::string& ext)
{
    size_t sep = path.find_last_of("/\\");
    folder = sep == std::string::npos ? "" : path.substr(0, sep + 1);
    name = sep == std::string::npos ? path : path.substr(sep + 1);
    size_t dot = name.rfind('.');
    ext = dot == std::string::npos ? "" : name.substr(dot + 1);
}

std::unique_ptr<MemoryImage> LoadOne(const std::string& path, ImageRegistry* registry, std::string* errorText,
                                     bool& found)
{
    std::string folder, name, ext;
    SplitPath(path, folder, name, ext);
    std::vector<uint8_t> data;
    if (!ext.empty())
    {
        found = ArchiveFileReadAll(path, data);
        if (!found)
        {
            SetError(errorText, "file not found");
            return nullptr;
        }
        auto image = ImageLoader::DecodeMemory(data.data(), data.size(), ext, registry, errorText);
        if (image)
            image->SetSourcePath(path);
        return image;
    }
    static const char* const kSearch[] = {"tga", "jpg", "png", "gif", "j2k", "jp2"};
    for (const char* candidate : kSearch)
    {
        std::string full = path + "." + candidate;
        if (!ArchiveFileReadAll(full, data))
            continue;
        found = true;
        auto image = ImageLoader::DecodeMemory(data.data(), data.size(), candidate, registry, errorText);
        if (image)
        {
            image->SetSourcePath(full);
            return image;
        }
    }
    if (!found)
        SetError(errorText, "file not found");
    return nullptr;
}

} // namespace

std::unique_ptr<MemoryImage> ImageLoader::GetImage(const std::string& path, bool lookForAlpha,
                                                   const Color& alphaCompose, ImageRegistry* registry,
                                                   std::string* errorText)
{
    std::string mainError;
    bool mainFound = false;
    auto image = LoadOne(path, registry, &mainError, mainFound);
    if (!lookForAlpha)
    {
        if (!image)
            SetError(errorText, path + ": " + mainError);
        return image;
    }
    std::string folder, name, ext;
    SplitPath(path, folder, name, ext);
    std::string alphaError;
    bool alphaFound = false;
    auto alpha = LoadOne(folder + "_" + name, nullptr, &alphaError, alphaFound);
    if (!alpha && !alphaFound)
        alpha = LoadOne(path + "_", nullptr, &alphaError, alphaFound);

    if (image && alpha)
    {
        if (alpha->GetWidth() == image->GetWidth() && alpha->GetHeight() == image->GetHeight())
        {
            uint32_t* bits = image->GetBits();
            const uint32_t* mask = alpha->GetBits();
            size_t n = size_t(image->GetWidth()) * size_t(image->GetHeight());
            for (size_t i = 0; i < n; ++i)
                bits[i] = (bits[i] & 0x00FFFFFFu) | ((mask[i] & 0xFF) << 24);
            image->MarkPixelsChanged();
            image->RefreshTransparencyFlags();
        }
        return image;
    }
    if (image)
        return image;
    if (alpha)
    {
        uint32_t rgb = alphaCompose.ToArgb() & 0x00FFFFFFu;
        std::vector<uint32_t> pixels(size_t(alpha->GetWidth()) * size_t(alpha->GetHeight()));
        const uint32_t* mask = alpha->GetBits();
        for (size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = rgb | ((mask[i] & 0xFF) << 24);
        auto composed = std::make_unique<MemoryImage>(registry);
        composed->AssignPixels(pixels.data(), alpha->GetWidth(), alpha->GetHeight(), true);
        composed->SetSourcePath(path);
        return composed;
    }
    SetError(errorText, path + ": " + (mainFound || !alphaFound ? mainError : alphaError));
    return nullptr;
}

namespace
{

// Writes to a temporary file in the same folder and renames it over the target once complete.
struct TempFile
{
    std::string mPath;
    std::string mTemp;
    FILE* mFile = nullptr;

    explicit TempFile(const std::string& path) : mPath(path), mTemp(path + ".tmp")
    {
        mFile = std::fopen(mTemp.c_str(), "wb");
    }
    bool Commit()
    {
        bool ok = std::fflush(mFile) == 0 && !std::ferror(mFile);
        ok = std::fclose(mFile) == 0 && ok;
        mFile = nullptr;
        if (ok && std::rename(mTemp.c_str(), mPath.c_str()) == 0)
            return true;
        std::remove(mTemp.c_str());
        return false;
    }
    ~TempFile()
    {
        if (mFile)
        {
            std::fclose(mFile);
            std::remove(mTemp.c_str());
        }
    }
};

CodecImage CollectPixels(const MemoryImage& image)
{
    CodecImage out;
    out.mWidth = image.GetWidth();
    out.mHeight = image.GetHeight();
    out.mPixels.resize(size_t(image.GetWidth()) * size_t(image.GetHeight()));
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            out.mPixels[size_t(y) * size_t(image.GetWidth()) + size_t(x)] = image.GetPixel(x, y);
    return out;
}

} // namespace

bool EncodePNG(const MemoryImage& image, std::string& bytes)
{
    bytes.clear();
    if (image.GetWidth() <= 0 || image.GetHeight() <= 0)
        return false;
    char* buffer = nullptr;
    size_t size = 0;
    FILE* memory = open_memstream(&buffer, &size);
    if (memory == nullptr)
        return false;
    bool ok = BuildImageCodecs().mWritePng(CollectPixels(image), memory);
    ok = std::fclose(memory) == 0 && ok;
    if (ok && buffer != nullptr)
        bytes.assign(buffer, size);
    std::free(buffer);
    return ok && !bytes.empty();
}

bool WritePNG(const MemoryImage& image, const std::string& path)
{
    if (image.GetWidth() <= 0 || image.GetHeight() <= 0)
        return false;
    TempFile out(path);
    if (!out.mFile)
        return false;
    if (!BuildImageCodecs().mWritePng(CollectPixels(image), out.mFile))
        return false;
    return out.Commit();
}

bool WriteJPEG(const MemoryImage& image, const std::string& path, int quality)
{
    if (image.GetWidth() <= 0 || image.GetHeight() <= 0)
        return false;
    TempFile out(path);
    if (!out.mFile)
        return false;
    if (!BuildImageCodecs().mWriteJpeg(CollectPixels(image), out.mFile, quality))
        return false;
    return out.Commit();
}

const ImageCodecs& BuildImageCodecs()
{
#ifdef ZESTRA_STB_CODECS
    return StbImageCodecs();
#else
    return LibraryImageCodecs();
#endif
}

} // namespace Zestra
