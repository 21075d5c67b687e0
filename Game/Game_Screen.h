// A screen of the program other than play: the logo, a menu, a story page, a score
// table. Game_State shows one at a time, a frame at a time, and switches between them.
#pragma once

class Game_State;

class Game_Screen
{
public:
    // How much of its last picture a screen would draw the same again.
    enum Stand
    {
        REDRAWN,      // not all of it: the frame is drawn anew
        STANDS,       // all of it: the window keeps showing it and the frame draws nothing
        STANDS_BEHIND // all but what moves in front (a menu's arrow): a copy stands in
    };

    explicit Game_Screen(Game_State& game) : mGame(game) {}
    virtual ~Game_Screen() = default;

    // Takes its images, once the image bank is loaded.
    virtual void Init() {}
    // Asked before each frame, and changes nothing.
    virtual Stand PictureStands() const { return REDRAWN; }
    // One frame: input, the screen's own state and its picture. While the picture
    // stands it draws only what moves in front; drawing anew, a STANDS_BEHIND screen
    // has Game_State keep its picture once all but the moving part is drawn.
    virtual void Frame(bool pictureStands) = 0;

protected:
    Game_State& mGame;
};
