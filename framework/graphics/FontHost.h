// What an image font needs from its surroundings: layer images from the application's shared image cache and a
// place to report descriptor errors. Without a host, fonts load their images directly and report on stderr.
#pragma once

#include <memory>
#include <string>

namespace Zestra
{

class Image;

class FontHost
{
public:
    virtual ~FontHost() = default;

    // The shared image for a file; null when it cannot be loaded. created is true when this call loaded it.
    virtual std::shared_ptr<Image> AcquireFontImage(const std::string& path, bool& created) = 0;
    // A fatal message box that does not end the program.
    virtual void ShowFatalMessage(const std::string& text) = 0;
};

} // namespace Zestra
