#include "game/high/High.h"

#include "game/side/Side.h"
#include <SDL.h>
