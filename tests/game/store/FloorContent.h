// Loads the game's own content from a built game folder (data tables, store pictures, the scene's resource ids)
// for the tests and benchmarks that draw the real store floor. Nothing here is needed by the game itself.
#pragma once

#include <string>

// The built game folder: $VELMORA_GAME_DIR when set, else the build tree's own game folder.
std::string FloorContentFolder();

// Reads stores, levels, clothing and people of the folder and binds every image id of its resource manifest.
// False (with the reason in errorText) when the folder holds no content.
bool LoadFloorContent(const std::string& gameFolder, std::string* errorText);

// Frees the tables and unbinds the ids.
void FreeFloorContent();
