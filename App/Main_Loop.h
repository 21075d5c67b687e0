// The steps of one frame of play, shared by the game's loop and the frame benchmark,
// so that what is measured is what the player gets.
#pragma once

// Start-up once the images are in: entity window, runner, the game's keys, font, HUD,
// the cave's own textures, camera and fog, in the order the game needs them.
void SetUpPlay();

// Runner, dragon and camera, the developer keys, the fog fade at the level's end,
// entities, collisions, backdrop and HUD, in that order. Input is read before this.
void UpdatePlay();

// The world and the floating texts; the caller presents the frame (Graphics Render).
void DrawPlay();
