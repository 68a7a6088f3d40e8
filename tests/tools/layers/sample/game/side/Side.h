#pragma once

#include "game/high/High.h"
