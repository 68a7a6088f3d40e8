// The two codec implementations behind ImageLoader (libpng/libjpeg-turbo on the desktop, stb in the browser build)
// must give the same pictures: PNG, being lossless, to the pixel; JPEG within the rounding its decoders may differ
// by. Fixtures of every PNG colour type are written here with libpng itself.
#include "framework/graphics/ImageCodecs.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{

using Zestra::CodecImage;
using Zestra::ImageCodecs;

struct PngCase
{
    const char* name;
    int colorType;
    int bitDepth;
    bool interlaced;
    bool transparentIndex; // palette only: index 1 gets alpha 0x40 through tRNS
};

void AppendToVector(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

// A width x height picture whose samples run through the whole range of the case's depth.
std::vector<uint8_t> MakePng(const PngCase& c, int width, int height)
{
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, AppendToVector, NoFlush);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), c.bitDepth, c.colorType,
                 c.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (c.colorType == PNG_COLOR_TYPE_PALETTE)
    {
        std::vector<png_color> palette(16);
        for (int i = 0; i < 16; ++i)
            palette[size_t(i)] = png_color{png_byte(i * 16), png_byte(255 - i * 9), png_byte(i * 5 + 30)};
        png_set_PLTE(png, info, palette.data(), 16);
        if (c.transparentIndex)
        {
            png_byte alpha[2] = {0xFF, 0x40};
            png_set_tRNS(png, info, alpha, 2, nullptr);
        }
    }
    png_write_info(png, info);
    const int channels = png_get_channels(png, info);
    const int rowBytes = int(png_get_rowbytes(png, info));
    std::vector<uint8_t> row(static_cast<size_t>(rowBytes), 0);
    const int passes = c.interlaced ? png_set_interlace_handling(png) : 1;
    for (int pass = 0; pass < passes; ++pass)
        for (int y = 0; y < height; ++y)
        {
            if (c.colorType == PNG_COLOR_TYPE_PALETTE)
            {
                // 4-bit indices, two to a byte.
                for (int x = 0; x < rowBytes; ++x)
                    row[size_t(x)] = uint8_t((((2 * x + y) % 16) << 4) | ((2 * x + 1 + y) % 16));
            }
            else
            {
                for (int i = 0; i < rowBytes; ++i)
                    row[size_t(i)] = uint8_t((i * 37 + y * 11 + (i % channels) * 71) & 0xFF);
            }
            png_write_row(png, row.data());
        }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// An opaque picture with soft gradients and a few hard edges, as the game's backgrounds have.
CodecImage MakePicture(int width, int height)
{
    CodecImage image;
    image.mWidth = width;
    image.mHeight = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const uint32_t r = uint32_t(x * 255 / width), g = uint32_t(y * 255 / height);
            const uint32_t b = ((x / 16 + y / 16) % 2) ? 200 : 40;
            image.mPixels.push_back(0xFF000000u | r << 16 | g << 8 | b);
        }
    return image;
}

std::vector<uint8_t> WriteWith(bool (*write)(const CodecImage&, FILE*), const CodecImage& image)
{
    FILE* file = std::tmpfile();
    EXPECT_NE(file, nullptr);
    EXPECT_TRUE(write(image, file));
    std::vector<uint8_t> bytes(size_t(std::ftell(file)));
    std::rewind(file);
    EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), file), bytes.size());
    std::fclose(file);
    return bytes;
}

std::vector<uint8_t> WriteJpegWith(const ImageCodecs& codecs, const CodecImage& image)
{
    FILE* file = std::tmpfile();
    EXPECT_NE(file, nullptr);
    EXPECT_TRUE(codecs.mWriteJpeg(image, file, 90));
    std::vector<uint8_t> bytes(size_t(std::ftell(file)));
    std::rewind(file);
    EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), file), bytes.size());
    std::fclose(file);
    return bytes;
}

// The largest difference of one channel between two pictures of one size, and the mean over all channels.
void Compare(const CodecImage& a, const CodecImage& b, int& largest, double& mean)
{
    largest = 0;
    double sum = 0;
    for (size_t i = 0; i < a.mPixels.size(); ++i)
        for (int shift = 0; shift < 32; shift += 8)
        {
            const int d = std::abs(int((a.mPixels[i] >> shift) & 0xFF) - int((b.mPixels[i] >> shift) & 0xFF));
            largest = std::max(largest, d);
            sum += d;
        }
    mean = sum / double(a.mPixels.size() * 4);
}

TEST(ImageCodecsTest, PngDecodesToTheSamePixelsWithBothCodecs)
{
    const PngCase cases[] = {
        {"grey 8", PNG_COLOR_TYPE_GRAY, 8, false, false},
        {"grey 1", PNG_COLOR_TYPE_GRAY, 1, false, false},
        {"grey+alpha 8", PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, false},
        {"rgb 8", PNG_COLOR_TYPE_RGB, 8, false, false},
        {"rgba 8", PNG_COLOR_TYPE_RGBA, 8, false, false},
        {"rgba 8 interlaced", PNG_COLOR_TYPE_RGBA, 8, true, false},
        {"rgba 16", PNG_COLOR_TYPE_RGBA, 16, false, false},
        {"palette 4", PNG_COLOR_TYPE_PALETTE, 4, false, false},
        {"palette 4 with tRNS", PNG_COLOR_TYPE_PALETTE, 4, false, true},
    };
    for (const PngCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> file = MakePng(c, 37, 23);
        ASSERT_FALSE(file.empty());
        CodecImage fromLibrary, fromStb;
        std::string error;
        ASSERT_TRUE(Zestra::LibraryImageCodecs().mDecodePng(file.data(), file.size(), fromLibrary, error)) << error;
        ASSERT_TRUE(Zestra::StbImageCodecs().mDecodePng(file.data(), file.size(), fromStb, error)) << error;
        EXPECT_EQ(fromStb.mWidth, 37);
        EXPECT_EQ(fromStb.mHeight, 23);
        EXPECT_EQ(fromLibrary.mPixels, fromStb.mPixels);
    }
}

TEST(ImageCodecsTest, PngWrittenByEitherCodecReadsBackExactlyWithTheOther)
{
    CodecImage image = MakePicture(40, 30);
    image.mPixels[5] = 0x00123456; // fully clear, colour kept
    image.mPixels[77] = 0x80FF00FF;
    const ImageCodecs* codecs[] = {&Zestra::LibraryImageCodecs(), &Zestra::StbImageCodecs()};
    for (const ImageCodecs* writer : codecs)
        for (const ImageCodecs* reader : codecs)
        {
            SCOPED_TRACE(std::string(writer->mName) + " -> " + reader->mName);
            const std::vector<uint8_t> file = WriteWith(writer->mWritePng, image);
            CodecImage back;
            std::string error;
            ASSERT_TRUE(reader->mDecodePng(file.data(), file.size(), back, error)) << error;
            EXPECT_EQ(back.mPixels, image.mPixels);
        }
}

TEST(ImageCodecsTest, JpegDecodesAlikeWithBothCodecs)
{
    // Baseline JPEG leaves its decoders freedom in the inverse transform and the chroma upsampling, so the two
    // agree only closely; a fault (swapped channels, a shifted row, lost alpha) shows far beyond these bounds.
    const CodecImage picture = MakePicture(64, 48);
    for (const ImageCodecs* writer : {&Zestra::LibraryImageCodecs(), &Zestra::StbImageCodecs()})
    {
        SCOPED_TRACE(writer->mName);
        const std::vector<uint8_t> file = WriteJpegWith(*writer, picture);
        CodecImage fromLibrary, fromStb;
        std::string error;
        ASSERT_TRUE(Zestra::LibraryImageCodecs().mDecodeJpeg(file.data(), file.size(), fromLibrary, error)) << error;
        ASSERT_TRUE(Zestra::StbImageCodecs().mDecodeJpeg(file.data(), file.size(), fromStb, error)) << error;
        ASSERT_EQ(fromStb.mWidth, 64);
        ASSERT_EQ(fromStb.mHeight, 48);
        int largest = 0;
        double mean = 0;
        Compare(fromLibrary, fromStb, largest, mean);
        EXPECT_LE(largest, 24);
        EXPECT_LT(mean, 1.5);
        for (uint32_t p : fromStb.mPixels)
            ASSERT_EQ(p >> 24, 0xFFu);
        Compare(picture, fromStb, largest, mean);
        EXPECT_LT(mean, 4.0) << "stb's picture strays from what was written";
    }
}

TEST(ImageCodecsTest, BothCodecsRefuseTheSameBrokenFiles)
{
    const std::vector<uint8_t> png = MakePng({"rgb", PNG_COLOR_TYPE_RGB, 8, false, false}, 8, 8);
    std::vector<uint8_t> huge = png;
    huge[16] = 0x7F; // width 0x7F000008: far beyond the size limit, refused before any allocation
    const std::vector<uint8_t> cut(png.begin(), png.begin() + long(png.size() / 2));
    const std::vector<uint8_t> notPng = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0};
    for (const ImageCodecs* codecs : {&Zestra::LibraryImageCodecs(), &Zestra::StbImageCodecs()})
    {
        SCOPED_TRACE(codecs->mName);
        CodecImage out;
        std::string error;
        EXPECT_FALSE(codecs->mDecodePng(notPng.data(), notPng.size(), out, error));
        EXPECT_EQ(error, "not a PNG file");
        EXPECT_FALSE(codecs->mDecodePng(cut.data(), cut.size(), out, error));
        EXPECT_NE(error.find("corrupt PNG file"), std::string::npos) << error;
        error.clear();
        EXPECT_FALSE(codecs->mDecodePng(huge.data(), huge.size(), out, error));
        EXPECT_FALSE(error.empty());
        EXPECT_FALSE(codecs->mDecodeJpeg(notPng.data(), 0, out, error));
        EXPECT_EQ(error, "empty file");
    }
}

} // namespace
