// What the data readers need of the application: decoding media files into the shared caches, loading songs and
// voices under the ids the caches pick, progress steps, and a place to report data problems. The game application
// implements it; tests and velmora-lint bring their own. Calls come from the thread that runs the readers (the
// loading thread), except UnloadMusic and ReleaseVoice, which FreeSharedMedia makes at shutdown.
#pragma once

#include <memory>
#include <string>

namespace Zestra
{
class Image;
}

// How bad a data problem is: errors make content show nothing or behave wrongly in play, warnings are legal but
// suspicious. Neither stops the game.
enum class DataSeverity
{
    Warning,
    Error,
};

class ParserHost
{
public:
    virtual ~ParserHost() = default;

    // Decodes the image at path (no extension: the loader tries the known ones). Null when there is no such file.
    virtual std::unique_ptr<Zestra::Image> LoadDataImage(const std::string& path) = 0;

    // Songs go to the music player under the given id; voices to the game's own voice sound manager.
    virtual bool LoadMusic(int id, const std::string& path) = 0;
    virtual void UnloadMusic(int id) = 0;
    virtual bool LoadVoice(int id, const std::string& path) = 0;
    virtual void ReleaseVoice(int id) = 0;

    // One unit of loading progress (a store image or a minigame clothing picture was requested).
    virtual void OnLoadingStep() {}

    // A data file problem at file:line (line 0: the whole file). The default prints "file:line: what" on stderr,
    // which is where a modder looks when content silently fails to show.
    virtual void ReportDataIssue(DataSeverity severity, const std::string& file, int line, const std::string& what);

    // A file that cannot be trusted as a whole (empty, cut short, not well formed): reported as an error, and the
    // first one is kept, because tables read from half a file look whole and a day played on them would record
    // progress against the wrong stores and levels.
    void ReportDamagedFile(const std::string& file, int line, const std::string& what);
    // "file:line: what" of the first damaged file; empty while every file read was whole.
    const std::string& FirstDamage() const { return mFirstDamage; }

private:
    std::string mFirstDamage;
};
