#pragma once

#include "app/window/actionlist.h"

#include <vector>

// The window's commands as the two action lists hold them, row by row: name,
// category, caption, hint, icon, shortcut, tag and the handler each runs.
std::vector<TActionDef> ActionListTVTable();
std::vector<TActionDef> ActionListMemoTable();
