// Forwards the readers' media requests to the framework.
#include "game/data/FrameworkParserHost.h"

#include "framework/graphics/ImageLoader.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/sound/MusicInterface.h"
#include "framework/sound/SoundManager.h"

FrameworkParserHost::FrameworkParserHost(Zestra::MusicInterface* music, Zestra::SoundManager* voices,
                                         Zestra::ImageRegistry* registry, std::function<void()> onLoadingStep)
    : mMusic(music), mVoices(voices), mRegistry(registry), mOnLoadingStep(std::move(onLoadingStep))
{
}

std::unique_ptr<Zestra::Image> FrameworkParserHost::LoadDataImage(const std::string& path)
{
    // As for every picture of the game, a "_" grey-level file next to it supplies the alpha.
    return Zestra::ImageLoader::GetImage(path, true, Zestra::Color::White, mRegistry);
}

bool FrameworkParserHost::LoadMusic(int id, const std::string& path)
{
    // Without a sound device the songs are never played; their ids still count, as the data expects.
    if (!mMusic || mMusic->IsSilent())
        return true;
    return mMusic->LoadMusic(id, path);
}

void FrameworkParserHost::UnloadMusic(int id)
{
    if (mMusic)
        mMusic->UnloadSong(id);
}

bool FrameworkParserHost::LoadVoice(int id, const std::string& path)
{
    return mVoices && mVoices->LoadSound(id, path);
}

void FrameworkParserHost::ReleaseVoice(int id)
{
    if (mVoices)
        mVoices->UnloadSound(id);
}

void FrameworkParserHost::OnLoadingStep()
{
    if (mOnLoadingStep)
        mOnLoadingStep();
}
