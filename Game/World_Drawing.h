// The world as play shows it: backdrop, entities far to near with the runner among
// them, then the HUD. Screens that show the frozen world behind them call it too.
#pragma once

void DrawWorld(bool withRunner = true);

// True when drawing the world again would give the same picture and move nothing on:
// no claw attack under way, no hint spinning or fading, no fresh hit reddening the
// backdrop. A screen may then show a kept copy of it instead.
bool WorldIsStill();
