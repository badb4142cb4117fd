// The board's code reaches the game's random generator here; it lives with the text module so
// the data libraries, which build without the framework, can use it too.
#pragma once

#include "game/text/Rand.h"
