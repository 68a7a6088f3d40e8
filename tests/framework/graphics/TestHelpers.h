// Small helpers shared by the graphics tests: images from pixel lists and a target that records primitive calls.
#pragma once

#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace GfxTest
{

inline std::unique_ptr<Zestra::MemoryImage> MakeImage(int w, int h, const std::vector<uint32_t>& pixels)
{
    auto img = std::make_unique<Zestra::MemoryImage>();
    img->AssignPixels(pixels.data(), w, h, true);
    return img;
}

inline std::unique_ptr<Zestra::MemoryImage> MakeFilled(int w, int h, uint32_t argb)
{
    return MakeImage(w, h, std::vector<uint32_t>(size_t(w) * size_t(h), argb));
}

// Records which primitive Graphics called, with its rectangles.
class RecordingImage : public Zestra::Image
{
public:
    struct Call
    {
        std::string mName;
        Zestra::Rect mRect;
        Zestra::Rect mSrc;
        Zestra::Color mColor;
        int mMode = 0;
    };

    RecordingImage(int w, int h)
    {
        mWidth = w;
        mHeight = h;
    }

    void FillRectangle(const Zestra::Rect& r, const Zestra::Color& c, int mode) override
    {
        mCalls.push_back({"fill", r, {}, c, mode});
    }
    void OutlineRectangle(const Zestra::Rect& r, const Zestra::Color& c, int mode) override
    {
        mCalls.push_back({"outline", r, {}, c, mode});
    }
    void DrawSegment(double x1, double y1, double x2, double y2, const Zestra::Color& c, int mode) override
    {
        mCalls.push_back({"line", Zestra::Rect(int(x1), int(y1), int(x2), int(y2)), {}, c, mode});
    }
    void BlitImage(Zestra::Image* src, int x, int y, const Zestra::Rect& srcRect, const Zestra::Color& c,
                   int mode) override
    {
        mCalls.push_back({"blit", Zestra::Rect(x, y, srcRect.mWidth, srcRect.mHeight), srcRect, c, mode});
    }
    void BlitMirroredImage(Zestra::Image* src, int x, int y, const Zestra::Rect& srcRect, const Zestra::Color& c,
                           int mode) override
    {
        mCalls.push_back({"mirror", Zestra::Rect(x, y, srcRect.mWidth, srcRect.mHeight), srcRect, c, mode});
    }
    void BlitStretchedImage(Zestra::Image* src, const Zestra::Rect& dest, const Zestra::Rect& srcRect,
                            const Zestra::Rect& clip, const Zestra::Color& c, int mode, bool quick) override
    {
        mCalls.push_back({"stretch", dest, srcRect, c, mode});
    }

    std::vector<Call> mCalls;
};

// A fresh folder under the system temporary folder, removed at the end of the test.
class TempDir
{
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "zestra-gfx-XXXXXX").string();
        std::vector<char> buf(pattern.begin(), pattern.end());
        buf.push_back(0);
        char* made = mkdtemp(buf.data());
        mPath = made ? made : "";
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(mPath, ec);
    }
    std::string File(const std::string& name) const { return mPath + "/" + name; }
    const std::string& Path() const { return mPath; }

private:
    std::string mPath;
};

} // namespace GfxTest
