// Keys for developers, read every frame of play: k or m swaps keyboard and mouse
// steering for this run (and says so on screen), d lets the dragon catch up at once,
// w jumps to the level's end, and f with g, s, e, keypad plus/minus and space switches
// and tunes the fog. Also the fog fade over the last fifth of a level.
#pragma once

class Input_Handler;

extern bool gFogEnabled;
extern float gFogDensity;
extern float gFogStart;
extern float gFogEnd;

void DeveloperKeys(const Input_Handler& input);
void FogKeys(const Input_Handler& input);
// Fades fog and clear colour from the level's fog colour to white as the runner's
// progress goes from 0.8 to 1; below that the fog keeps whatever was set last.
class Fog_Fade
{
public:
    void Update(float playerProgress);

private:
    float mLevelFog[3] = {0.0f, 0.0f, 0.0f}; // fading from black, coloured fog would jump
};
