#include "game/people/Walkways.h"

namespace
{
const Walkways* gActiveWalkways = nullptr;
} // namespace

const Walkways* ActiveWalkways()
{
    return gActiveWalkways;
}

void SetActiveWalkways(const Walkways* walkways)
{
    gActiveWalkways = walkways;
}

void ClearActiveWalkways(const Walkways* walkways)
{
    if (gActiveWalkways == walkways)
        gActiveWalkways = nullptr;
}
