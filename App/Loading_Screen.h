// The loading screen shown while the image bank loads: redrawn at most every 34 ms
// with a spinning icon, up for at least 7 seconds. Handed to the image bank as its
// callback; true means the user asked to quit.
#pragma once

bool LoadingScreenCallback(bool finish);

// For tests: how many times the screen has been drawn, and a fresh start.
int LoadingScreenRedraws();
void ResetLoadingScreen();
