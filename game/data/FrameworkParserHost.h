// The data readers' host over the framework's own media services: pictures through the image loader, songs into
// the music player and voices into the game's voice sound manager. The application owns all three and keeps them
// alive until after FreeDataTables; progress steps go to a callback (the loading thread's counter).
#pragma once

#include "game/data/ParserHost.h"

#include <functional>

namespace Zestra
{
class ImageRegistry;
class MusicInterface;
class SoundManager;
}

class FrameworkParserHost : public ParserHost
{
public:
    // Any pointer may be null: no registry, no music (songs read as -1) or no voices (voices read as -1).
    FrameworkParserHost(Zestra::MusicInterface* music, Zestra::SoundManager* voices,
                        Zestra::ImageRegistry* registry = nullptr, std::function<void()> onLoadingStep = {});

    std::unique_ptr<Zestra::Image> LoadDataImage(const std::string& path) override;
    bool LoadMusic(int id, const std::string& path) override;
    void UnloadMusic(int id) override;
    bool LoadVoice(int id, const std::string& path) override;
    void ReleaseVoice(int id) override;
    void OnLoadingStep() override;

private:
    Zestra::MusicInterface* mMusic;
    Zestra::SoundManager* mVoices;
    Zestra::ImageRegistry* mRegistry;
    std::function<void()> mOnLoadingStep;
};
