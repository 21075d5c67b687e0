// The world as play shows it: backdrop, entities far to near with the runner among
// them, then the HUD. Screens that show the frozen world behind them call it too.
#pragma once

void DrawWorld(bool withRunner = true);
