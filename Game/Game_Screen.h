// A screen of the program other than play: the logo, a menu, a story page, a score
// table. Game_State shows one at a time, a frame at a time, and switches between them.
#pragma once

class Game_State;

class Game_Screen
{
public:
    explicit Game_Screen(Game_State& game) : mGame(game) {}
    virtual ~Game_Screen() = default;

    // The name the trace gives it.
    virtual const char* Name() const = 0;
    // Takes its images, once the image bank is loaded.
    virtual void Init() {}
    // One frame: input, the screen's own state and its picture, which it leaves out when
    // the window is to keep showing the last one.
    virtual void Frame(bool pictureStands) = 0;
    // Whether this frame's picture would be the one drawn last; nothing drawn by then
    // may move.
    virtual bool PictureCanStand() const { return false; }
    // Another screen or play takes over.
    virtual void Leave() {}

protected:
    Game_State& mGame;
};
