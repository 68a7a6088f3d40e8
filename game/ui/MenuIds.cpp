// The shared id counter.
#include "game/ui/MenuIds.h"

namespace
{
int gLastMenuId = 0;
} // namespace

int TakeMenuId()
{
    return ++gLastMenuId;
}
