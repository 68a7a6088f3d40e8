// PNG and JPEG through libpng and libjpeg-turbo. Both libraries report errors by jumping out of the decoder, so
// nothing with a destructor may live between a setjmp and the calls that can jump.
#include "framework/graphics/ImageCodecs.h"

#include "framework/graphics/ImageLoader.h"

#include <algorithm>
#include <csetjmp>
#include <cstring>

#include <jpeglib.h>
#include <png.h>

namespace Zestra
{

namespace
{

// ---- PNG ----

struct PngReader
{
    const uint8_t* mData;
    size_t mSize;
    size_t mPos;
    std::string mError;
};

void PngRead(png_structp png, png_bytep out, png_size_t length)
{
    auto* reader = static_cast<PngReader*>(png_get_io_ptr(png));
    if (length > reader->mSize - reader->mPos)
        png_error(png, "file is truncated");
    std::memcpy(out, reader->mData + reader->mPos, length);
    reader->mPos += length;
}

void PngError(png_structp png, png_const_charp message)
{
    auto* reader = static_cast<PngReader*>(png_get_error_ptr(png));
    if (reader && reader->mError.empty())
        reader->mError = message;
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

bool DecodePng(const uint8_t* data, size_t size, CodecImage& out, std::string& error)
{
    if (size < 8 || png_sig_cmp(const_cast<png_bytep>(data), 0, 8) != 0)
    {
        error = "not a PNG file";
        return false;
    }
    PngReader reader{data, size, 0, {}};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &reader, PngError, PngWarning);
    if (!png)
    {
        error = "out of memory";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    std::vector<uint32_t>& pixels = out.mPixels;
    std::vector<png_bytep> rows;
    int width = 0, height = 0;
    if (!info || setjmp(png_jmpbuf(png)))
    {
        png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
        error = reader.mError.empty() ? "corrupt PNG file" : "corrupt PNG file: " + reader.mError;
        return false;
    }
    png_set_read_fn(png, &reader, PngRead);
    png_set_user_limits(png, 1u << 20, 1u << 20); // our own limits below give the clearer message
    png_read_info(png, info);
    width = int(png_get_image_width(png, info));
    height = int(png_get_image_height(png, info));
    if (!ImageLoader::SizeAllowed(width, height))
    {
        png_destroy_read_struct(&png, &info, nullptr);
        error = "image is too large";
        return false;
    }
    int colorType = png_get_color_type(png, info);
    int bitDepth = png_get_bit_depth(png, info);
    if (bitDepth == 16)
        png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t(width) * 4)
        png_error(png, "unexpected row layout");
    pixels.resize(size_t(width) * size_t(height));
    rows.resize(size_t(height));
    for (int y = 0; y < height; ++y)
        rows[size_t(y)] = reinterpret_cast<png_bytep>(pixels.data() + size_t(y) * size_t(width));
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    out.mWidth = width;
    out.mHeight = height;
    return true;
}

bool WritePng(const CodecImage& image, FILE* file)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(image.mWidth), png_uint_32(image.mHeight), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    for (int y = 0; y < image.mHeight; ++y)
        png_write_row(png, reinterpret_cast<png_const_bytep>(image.mPixels.data() + size_t(y) * size_t(image.mWidth)));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

// ---- JPEG ----

struct JpegError
{
    jpeg_error_mgr mManager;
    jmp_buf mJump;
    char mMessage[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info)
{
    auto* err = reinterpret_cast<JpegError*>(info->err);
    info->err->format_message(info, err->mMessage);
    longjmp(err->mJump, 1);
}

void JpegSilence(j_common_ptr, int) {}

bool DecodeJpeg(const uint8_t* data, size_t size, CodecImage& out, std::string& error)
{
    jpeg_decompress_struct info;
    JpegError err;
    info.err = jpeg_std_error(&err.mManager);
    err.mManager.error_exit = JpegErrorExit;
    err.mManager.emit_message = JpegSilence;
    err.mMessage[0] = 0;
    std::vector<uint32_t>& pixels = out.mPixels;
    if (setjmp(err.mJump))
    {
        jpeg_destroy_decompress(&info);
        error = std::string("corrupt JPEG file: ") + err.mMessage;
        return false;
    }
    jpeg_create_decompress(&info);
    if (size == 0)
    {
        jpeg_destroy_decompress(&info);
        error = "empty file";
        return false;
    }
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (!ImageLoader::SizeAllowed(info.image_width, info.image_height))
    {
        jpeg_destroy_decompress(&info);
        error = "image is too large";
        return false;
    }
    info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    int width = int(info.output_width), height = int(info.output_height);
    pixels.resize(size_t(width) * size_t(height));
    while (info.output_scanline < info.output_height)
    {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(pixels.data() + size_t(info.output_scanline) * size_t(width));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    for (uint32_t& p : pixels)
        p |= 0xFF000000u;
    out.mWidth = width;
    out.mHeight = height;
    return true;
}

bool WriteJpeg(const CodecImage& image, FILE* file, int quality)
{
    jpeg_compress_struct info;
    JpegError err;
    info.err = jpeg_std_error(&err.mManager);
    err.mManager.error_exit = JpegErrorExit;
    if (setjmp(err.mJump))
    {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = JDIMENSION(image.mWidth);
    info.image_height = JDIMENSION(image.mHeight);
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, std::clamp(quality, 0, 100), TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height)
    {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(
            const_cast<uint32_t*>(image.mPixels.data() + size_t(info.next_scanline) * size_t(image.mWidth)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

const ImageCodecs& LibraryImageCodecs()
{
    static const ImageCodecs codecs{"libpng+libjpeg", DecodePng, DecodeJpeg, WritePng, WriteJpeg};
    return codecs;
}

} // namespace Zestra
