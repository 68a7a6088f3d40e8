#pragma once

#include "framework/low/Low.h"
