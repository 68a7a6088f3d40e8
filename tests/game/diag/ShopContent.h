// The game's own content for whole-day runs: the floor content plus customers and texts. Skips (false) when the
// build has no content folder.
#pragma once

#include <string>

bool LoadShopContent(std::string* errorText);
void FreeShopContent();
