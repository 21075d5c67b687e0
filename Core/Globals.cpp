#include "Core/Globals.h"

bool gKeyboardControl = true;
bool gMouseControl = false;
bool gReduceFlashing = false;
