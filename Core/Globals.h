// Program-wide switches shared by the main loop, the player and the input handler.
#pragma once

extern bool gKeyboardControl; // the runner is steered with the arrow keys
extern bool gMouseControl;    // ... or with the mouse (developer option)
// The player's assist: the hurt flash, the claw and earthquakes drawn at a fraction.
extern bool gReduceFlashing;
