// Runs arbitrary descriptor text; layer images resolve to one small picture so the image commands get exercised.
#include "framework/graphics/FontHost.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/ImageFont.h"
#include "framework/graphics/MemoryImage.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace
{

class FuzzHost : public Zestra::FontHost
{
public:
    std::shared_ptr<Zestra::Image> AcquireFontImage(const std::string& path, bool& created) override
    {
        created = true;
        if (path.find("missing") != std::string::npos)
            return nullptr;
        auto image = std::make_shared<Zestra::MemoryImage>(64, 16);
        image->FillRectangle(Zestra::Rect(0, 0, 64, 16), Zestra::Color(255, 255, 255, 200), 0);
        return image;
    }
    void ShowFatalMessage(const std::string&) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzHost host;
    auto parsed = std::make_shared<Zestra::FontData>(&host);
    bool ok = parsed->LoadDescriptorText(std::string(reinterpret_cast<const char*>(data), size));
    if (!ok && parsed->ErrorText().empty())
        __builtin_trap(); // every failure carries a message
    parsed->mLoaded = ok;
    Zestra::ImageFont font(parsed);
    Zestra::MemoryImage target(200, 40);
    Zestra::Graphics g(&target);
    g.SetTypeface(&font);
    g.PrintText("Velmora Row ^00FF00^AV", 2, 30);
    font.AddTag("bold");
    font.SetScale(1.5);
    g.PrintWrapped(Zestra::Rect(0, 0, 60, 40), "Shop day one two three", -1, 0);
    if (target.HasBits() && !target.GuardIntact())
        __builtin_trap();
    return 0;
}
