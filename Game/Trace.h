// The game's own account of where it is, for the scripts that drive it: with ZQ_TRACE
// naming a file, one line per screen change ("screen MainMenuScreen", "screen play")
// and per level start ("level 3", "level 3 restart"), written as it happens.
#pragma once

void TraceScreen(const char* name);
void TraceLevel(int level, bool restart);
