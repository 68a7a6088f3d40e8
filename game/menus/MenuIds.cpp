// The shared id counter.
#include "game/menus/MenuIds.h"

namespace
{
int gLastMenuId = 0;
} // namespace

int TakeMenuId()
{
    return ++gLastMenuId;
}
