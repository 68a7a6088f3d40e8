#include "framework/graphics/ImageLoader.h"
#include "framework/graphics/MemoryImage.h"

#include "TestHelpers.h"

#include <gtest/gtest.h>

#include <fstream>

#include <zlib.h>

using namespace Zestra;
using GfxTest::MakeImage;
using GfxTest::TempDir;

namespace
{

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, int v)
{
    b.push_back(uint8_t(v & 0xFF));
    b.push_back(uint8_t((v >> 8) & 0xFF));
}

Bytes MakeTga(int w, int h, const std::vector<uint32_t>& px, int type = 2, int descriptor = 0x28, int idLength = 0)
{
    Bytes b = {uint8_t(idLength), 0, uint8_t(type), 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Put16(b, w);
    Put16(b, h);
    b.push_back(32);
    b.push_back(uint8_t(descriptor));
    for (int i = 0; i < idLength; ++i)
        b.push_back('x');
    for (uint32_t p : px)
        for (int s = 0; s < 32; s += 8)
            b.push_back(uint8_t(p >> s));
    return b;
}

// A GIF with a four-colour global table, literal-only LZW codes (as a plain encoder would emit them).
Bytes MakeGif(int w, int h, const std::vector<uint8_t>& indices, int transparent = -1, bool interlaced = false)
{
    Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(b, w);
    Put16(b, h);
    b.insert(b.end(), {0x81, 0, 0}); // global table of 4 entries
    b.insert(b.end(), {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255});
    if (transparent >= 0)
        b.insert(b.end(), {0x21, 0xF9, 4, 1, 0, 0, uint8_t(transparent), 0});
    b.push_back(0x2C);
    Put16(b, 0);
    Put16(b, 0);
    Put16(b, w);
    Put16(b, h);
    b.push_back(interlaced ? 0x40 : 0);
    const int minCode = 2, clear = 4, end = 5;
    b.push_back(minCode);
    Bytes data;
    uint32_t acc = 0;
    int bits = 0, size = minCode + 1, next = end + 1;
    auto emit = [&](int code) {
        acc |= uint32_t(code) << bits;
        bits += size;
        while (bits >= 8)
        {
            data.push_back(uint8_t(acc & 0xFF));
            acc >>= 8;
            bits -= 8;
        }
    };
    emit(clear);
    bool first = true;
    for (uint8_t index : indices)
    {
        emit(index);
        if (!first && next < 4096 && ++next == (1 << size) && size < 12)
            ++size;
        first = false;
    }
    emit(end);
    if (bits > 0)
        data.push_back(uint8_t(acc & 0xFF));
    for (size_t i = 0; i < data.size(); i += 255)
    {
        size_t n = std::min<size_t>(255, data.size() - i);
        b.push_back(uint8_t(n));
        b.insert(b.end(), data.begin() + long(i), data.begin() + long(i + n));
    }
    b.push_back(0);
    b.push_back(0x3B);
    return b;
}

void WriteFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
}

Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const std::vector<uint32_t> kPicture = {0xFFFF0000, 0x8000FF00, 0x000000FF, 0xFFFFFFFF, 0xFF000000, 0x40102030};

} // namespace

TEST(ImageLoader, DecodesEveryFormat)
{
    TempDir dir;
    auto picture = MakeImage(3, 2, kPicture);
    ASSERT_TRUE(WritePNG(*picture, dir.File("p.png")));
    ASSERT_TRUE(WriteJPEG(*MakeImage(3, 2, std::vector<uint32_t>(6, 0xFF808080)), dir.File("p.jpg"), 95));
    WriteFile(dir.File("p.tga"), MakeTga(3, 2, kPicture, 2, 0x28, 3));
    WriteFile(dir.File("p.gif"), MakeGif(3, 2, {0, 1, 2, 3, 3, 0}, 3));
    WriteFile(dir.File("q.gif"), MakeGif(2, 5, {0, 0, 1, 1, 2, 2, 3, 3, 0, 1}, -1, true));

    std::string error;
    auto png = ImageLoader::GetImage(dir.File("p.png"), false, Color::White, nullptr, &error);
    ASSERT_TRUE(png) << error;
    EXPECT_EQ(std::vector<uint32_t>(png->GetBits(), png->GetBits() + 6), kPicture);

    auto tga = ImageLoader::GetImage(dir.File("p.TGA").substr(0, dir.File("p.TGA").size() - 3) + "tga", false);
    ASSERT_TRUE(tga);
    EXPECT_EQ(std::vector<uint32_t>(tga->GetBits(), tga->GetBits() + 6), kPicture);

    auto jpg = ImageLoader::GetImage(dir.File("p.jpg"), false);
    ASSERT_TRUE(jpg);
    EXPECT_EQ(jpg->GetWidth(), 3);
    EXPECT_NEAR(int(jpg->GetPixel(2, 1) & 0xFF), 0x80, 3);
    EXPECT_EQ(jpg->GetPixel(2, 1) >> 24, 0xFFu);

    auto gif = ImageLoader::GetImage(dir.File("p.gif"), false);
    ASSERT_TRUE(gif);
    EXPECT_EQ(std::vector<uint32_t>(gif->GetBits(), gif->GetBits() + 6),
              (std::vector<uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0, 0, 0xFFFF0000}));
    // Interlaced rows arrive as 0, 4, 2, 1, 3.
    auto interlaced = ImageLoader::GetImage(dir.File("q.gif"), false);
    ASSERT_TRUE(interlaced);
    const uint32_t table[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    const int rowOf[5] = {0, 4, 2, 1, 3}; // stored row -> image row
    for (int stored = 0; stored < 5; ++stored)
        EXPECT_EQ(interlaced->GetPixel(0, rowOf[stored]), table[stored % 4]) << stored;

    // Without an extension the first format found in the search order wins.
    auto searched = ImageLoader::GetImage(dir.File("p"), false);
    ASSERT_TRUE(searched);
    EXPECT_EQ(searched->GetSourcePath(), dir.File("p.tga"));
    WriteFile(dir.File("p.j2k"), {0, 0, 0, 12, 'j', 'P'});
    EXPECT_FALSE(ImageLoader::GetImage(dir.File("p.j2k"), false, Color::White, nullptr, &error));
    EXPECT_NE(error.find("not available"), std::string::npos);
}

TEST(ImageLoader, AlphaImageRules)
{
    TempDir dir;
    ASSERT_TRUE(WriteJPEG(*MakeImage(2, 1, {0xFFFFFFFF, 0xFFFFFFFF}), dir.File("shirt.jpg"), 100));
    auto grey = MakeImage(2, 1, {0xFF404040, 0xFFC0C0C0});
    ASSERT_TRUE(WritePNG(*grey, dir.File("_shirt.png")));
    ASSERT_TRUE(WritePNG(*grey, dir.File("maskonly_.png")));

    // Only a JPEG and a "_" grey image: the JPEG picture with the grey levels as alpha.
    auto shirt = ImageLoader::GetImage(dir.File("shirt"), true);
    ASSERT_TRUE(shirt);
    EXPECT_EQ(shirt->GetPixel(0, 0) >> 24, 0x40u);
    EXPECT_EQ(shirt->GetPixel(1, 0) >> 24, 0xC0u);
    EXPECT_TRUE(shirt->HasPartialAlpha());

    // The alpha image alone: the compose colour with the grey level as alpha (path + "_" form).
    auto mask = ImageLoader::GetImage(dir.File("maskonly"), true, Color(10, 20, 30));
    ASSERT_TRUE(mask);
    EXPECT_EQ(mask->GetPixel(0, 0), 0x400A141Eu);

    // Without looking for alpha, the plain picture stays opaque.
    auto plain = ImageLoader::GetImage(dir.File("shirt"), false);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->GetPixel(0, 0) >> 24, 0xFFu);

    std::string error;
    EXPECT_FALSE(ImageLoader::GetImage(dir.File("nothing"), true, Color::White, nullptr, &error));
    EXPECT_FALSE(error.empty());
}

TEST(ImageLoader, BadFilesFailCleanly)
{
    TempDir dir;
    auto picture = MakeImage(3, 2, kPicture);
    ASSERT_TRUE(WritePNG(*picture, dir.File("ok.png")));
    ASSERT_TRUE(WriteJPEG(*picture, dir.File("ok.jpg")));
    Bytes png = ReadFile(dir.File("ok.png"));
    Bytes jpg = ReadFile(dir.File("ok.jpg"));
    Bytes gif = MakeGif(3, 2, {0, 1, 2, 3, 3, 0});
    Bytes tga = MakeTga(3, 2, kPicture);

    // Header sizes patched to more than 16384 or more than 64 million pixels.
    Bytes bigPng = png;
    bigPng[16] = 0, bigPng[17] = 0, bigPng[18] = 0x50, bigPng[19] = 0x00; // width 20480
    uLong crc = crc32(0, bigPng.data() + 12, 17);                       // keep the header chunk valid
    for (int i = 0; i < 4; ++i)
        bigPng[size_t(29 + i)] = uint8_t(crc >> (24 - 8 * i));
    Bytes bigJpg = jpg;
    for (size_t i = 2; i + 8 < bigJpg.size(); ++i)
        if (bigJpg[i] == 0xFF && (bigJpg[i + 1] == 0xC0 || bigJpg[i + 1] == 0xC2))
        {
            bigJpg[i + 5] = 0x50, bigJpg[i + 6] = 0x00; // height 20480
            break;
        }
    Bytes bigGif = MakeGif(3, 2, {0, 1, 2, 3, 3, 0});
    bigGif[6] = 0x01, bigGif[7] = 0x40; // screen width 16385
    Bytes hugeTga = MakeTga(0, 0, {});
    hugeTga[12] = hugeTga[13] = hugeTga[14] = hugeTga[15] = 0xFF;
    Bytes manyPixels = MakeTga(0, 0, {});
    manyPixels[13] = 0x40, manyPixels[15] = 0x40; // 16384 x 16384 = 256 M pixels
    Bytes bigCanvasGif = MakeGif(3, 2, {0, 1, 2, 3, 3, 0});
    bigCanvasGif[6] = 0x03, bigCanvasGif[7] = 0x2F, bigCanvasGif[8] = 0x01, bigCanvasGif[9] = 0x09; // 12035 x 2305

    struct Case
    {
        const char* mName;
        const char* mExt;
        Bytes mData;
        const char* mMessage = "";
    };
    std::vector<Case> cases = {
        {"truncated png", "png", Bytes(png.begin(), png.begin() + long(png.size() / 2))},
        {"truncated jpeg", "jpg", Bytes(jpg.begin(), jpg.begin() + long(jpg.size() / 2))},
        {"truncated gif", "gif", Bytes(gif.begin(), gif.end() - 6)},
        {"truncated tga", "tga", Bytes(tga.begin(), tga.end() - 1)},
        {"empty png", "png", {}},
        {"corrupt png", "png", Bytes(png.begin(), png.begin() + 8)},
        {"corrupt gif codes", "gif", {'G', 'I', 'F', '8', '7', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 1, 1, 1, 0x2C,
                                      0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 1, 0x07, 0, 0x3B}},
        {"gif without colour table", "gif", {'G', 'I', 'F', '8', '7', 'a', 1, 0, 1, 0, 0, 0, 0, 0x2C, 0, 0, 0, 0,
                                             1, 0, 1, 0, 0, 2, 0, 0x3B}},
        {"tga bottom-up", "tga", MakeTga(3, 2, kPicture, 2, 0x08)},
        {"tga run-length", "tga", MakeTga(3, 2, kPicture, 10)},
        {"tga 24-bit", "tga", [&] { Bytes b = tga; b[16] = 24; return b; }()},
        {"png too wide", "png", bigPng, "too large"},
        {"jpeg too tall", "jpg", bigJpg, "too large"},
        {"gif too wide", "gif", bigGif, "too large"},
        {"tga 65535 square", "tga", hugeTga, "too large"},
        {"tga too many pixels", "tga", manyPixels, "too large"},
        {"gif canvas of 27 M pixels from a few bytes", "gif", bigCanvasGif, "too large"},
    };
    for (const Case& c : cases)
    {
        std::string error;
        auto image = ImageLoader::DecodeMemory(c.mData.data(), c.mData.size(), c.mExt, nullptr, &error);
        EXPECT_FALSE(image) << c.mName;
        EXPECT_FALSE(error.empty()) << c.mName;
        EXPECT_NE(error.find(c.mMessage), std::string::npos) << c.mName << ": " << error;
    }
}

TEST(ImageLoader, WritePngLeavesNoPartialFile)
{
    TempDir dir;
    auto picture = MakeImage(3, 2, kPicture);
    EXPECT_FALSE(WritePNG(*picture, dir.File("missing-folder/x.png")));
    ASSERT_TRUE(picture->ToPalette());
    ASSERT_TRUE(WritePNG(*picture, dir.File("pal.png"))); // palette images write through their table
    auto back = ImageLoader::GetImage(dir.File("pal.png"), false);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->GetPixel(1, 0), kPicture[1]);
    EXPECT_FALSE(std::filesystem::exists(dir.File("pal.png.tmp")));
}
