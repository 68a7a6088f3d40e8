// The one program-wide counter that gives every menu its dialog id (and the game's buttons and check boxes theirs
// when their menu does not name them), so that no two open menus share an id.
#pragma once

// The next id; the first is 1.
int TakeMenuId();
