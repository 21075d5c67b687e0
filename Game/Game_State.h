// Decides what the program is doing: a screen (logo, menu, story, pause, death, level
// complete, cave map, results, high scores) or play. While a screen is current,
// ProcessMenus runs the screens' own frame loop and returns only when play resumes or
// the program is to end.
#pragma once

#include <cstdint>
#include <string>

#include "Game/Screens.h"
#include "Graphics/Animation.h"

class Game_Timer;

class Game_State
{
public:
    // PLAY: no screen; play runs, or the program ends once it is quitting.
    enum Screen
    {
        PLAY,
        TEAM_LOGO,
        MAIN_MENU,
        INTRO,
        CREDITS,
        PAUSE,
        DEATH,
        LEVEL_COMPLETE,
        CAVE_MAP,
        RESULTS,
        HIGH_SCORES,
        OPTIONS,
        SCREEN_COUNT
    };

    static constexpr uint16_t LEVEL_COUNT = 8;
    static constexpr uint16_t CREDITS_LEVEL = 7; // the credits roll as the last level

    // For GoTo: the backdrop stays as it is.
    static constexpr const char* KEEP_BACKDROP = nullptr;

    void Init();
    void ProcessMenus(Game_Timer& timer);
    void CheckPlayTransitions();
    void EnterPause();
    void StartLevel(bool restart);
    void ResetLevel(bool restart);
    float GetPlayerProgress() const;
    float GetDragonProgress() const;
    void MovePlayerToEnd();

    // Every screen switch: makes screen current, then sets the backdrop as SetBackdrop
    // does, or leaves it with KEEP_BACKDROP.
    void GoTo(Screen screen, const char* backdrop);
    Screen GetScreen() const { return mScreen; }
    // The program is to end: no screen, and the main loop stops.
    void Quit();
    // After a quit from the main menu or a quit signal, or a level that cannot be read.
    bool IsQuitting() const;
    // This frame brought Escape, the pad's back button or a close of the window.
    bool BackAsked() const { return mBackAsked; }
    // The image key of the backdrop, "NONE" while there is none.
    const std::string& GetBackdrop() const { return mBackdrop.mKey; }

    // One pass of the nested screen loop: input, backdrop, the current screen, sound,
    // floating texts, render and frame pacing.
    void RunScreenFrame(Game_Timer& timer);
    // The current screen's share of that: whether its picture stands, the backdrop, the
    // screen's frame. The window is to be rendered unless the picture stands whole.
    void RunScreen();
    // Called by a screen drawing anew once all but what moves in front is drawn.
    void KeepPicture();
    // "NONE" clears the backdrop; any other key is an image of the bank.
    void SetBackdrop(const std::string& key);
    // Menu cursors as the y of the item under them.
    float PauseCursorY() const { return mPause.CursorY(); }
    float DeathCursorY() const { return mDeath.CursorY(); }
    // Where the high score table lives (tests point it elsewhere).
    void SetHighScorePath(const std::string& path) { mHighScores.SetPath(path); }
    // The level played, or the one StartLevel starts.
    uint16_t GetLevel() const { return mLevel; }
    void SetLevel(uint16_t level) { mLevel = level; }
    // The images the menus share.
    Menu_Art& Art() { return mArt; }

private:
    // Tests read the screens' own state through this.
    friend struct Game_State_Probe;

    // How much of the picture drawn last stands: the screen's say, given that the
    // window shows its picture still: no expose or new window since, nothing drifting
    // over it, and not a second old (should the window have lost it without a word).
    Game_Screen::Stand PictureStands(const Game_Screen& screen) const;

    Screen mScreen = PLAY;
    uint16_t mLevel = 0;
    bool mQuit = false;
    bool mBackAsked = false;
    bool mPictureLost = false;             // an expose or a new window since the last picture
    const Game_Screen* mDrawnBy = nullptr; // the screen whose picture the window shows, if any
    bool mKept = false;                    // a copy of it stands in for all but what moves
    int mFramesSinceDraw = 0;
    bool mSkipRender = false; // this frame leaves the window as it is

    Animation_Frame mBackdrop;
    Menu_Art mArt;

    Team_Logo_Screen mLogo{*this};
    Main_Menu_Screen mMainMenu{*this};
    Options_Screen mOptions{*this};
    Intro_Screen mIntro{*this};
    Credits_Screen mCredits{*this};
    Pause_Screen mPause{*this};
    Death_Screen mDeath{*this};
    Level_Complete_Screen mLevelComplete{*this};
    Results_Screen mResults{*this};
    High_Score_Screen mHighScores{*this};
    Cave_Map_Screen mCaveMap{*this};
    // By Screen; none for PLAY.
    Game_Screen* const mScreens[SCREEN_COUNT] = {nullptr,   &mLogo,    &mMainMenu,   &mIntro,
                                                 &mCredits, &mPause,   &mDeath,      &mLevelComplete,
                                                 &mCaveMap, &mResults, &mHighScores, &mOptions};
};

extern Game_State gGameState;
