// Told of every run of text a Graphics draws, with the rectangle the font measures for it: how a layout check
// sees where words land without reading pixels. A Graphics without one (the default) tells nobody.
#pragma once

#include "framework/graphics/Rect.h"

#include <string>

namespace Zestra
{

class TextObserver
{
public:
    virtual ~TextObserver() = default;
    // extent: the run's advance width by the band the font gives a line (its line spacing, ending at its
    // descent), at its place on the target; clip: the
    // target's clip it was drawn with. continues: the run belongs to the same print call as the one before (a
    // further line of a wrapped text, another colour of one line).
    virtual void TextDrawn(const std::string& text, const Rect& extent, const Rect& clip, bool continues) = 0;
};

} // namespace Zestra
