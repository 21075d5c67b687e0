// Decides what the program is doing: a screen (logo, menu, story, pause, death, level
// complete, cave map, results, high scores) or play. While a screen is current,
// ProcessMenus runs the screens' own frame loop and returns only when play resumes or
// the program is to end.
#pragma once

#include <cstdint>
#include <string>

#include "Game/Menu_Art.h"
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

    Game_State();

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
    // One frame of the current screen alone, drawn in full.
    void RunScreen();
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
    Menu_Art& Art() { return mArt; }

private:
    // Tests read the screens' own state through this.
    friend struct Game_State_Probe;

    // Whether the window may keep showing what it shows: drawn last by this screen, the
    // same picture again, no expose or new window since, nothing drifting over it, and
    // not a second old (should the window have lost it without a word).
    bool PictureStands(const Game_Screen& screen) const;

    Screen mScreen;
    uint16_t mLevel;
    bool mQuit;
    bool mBackAsked;
    bool mPictureLost;           // an expose or a new window since the last picture
    const Game_Screen* mDrawnBy; // the screen whose picture the window shows, if any
    int mFramesSinceDraw;
    bool mSkipRender; // this frame leaves the window as it is

    Animation_Frame mBackdrop;
    Menu_Art mArt;

    Team_Logo_Screen mLogo;
    Main_Menu_Screen mMainMenu;
    Options_Screen mOptions;
    Intro_Screen mIntro;
    Credits_Screen mCredits;
    Pause_Screen mPause;
    Death_Screen mDeath;
    Level_Complete_Screen mLevelComplete;
    Results_Screen mResults;
    High_Score_Screen mHighScores;
    Cave_Map_Screen mCaveMap;
    Game_Screen* const mScreens[SCREEN_COUNT]; // by Screen; none for PLAY
};

extern Game_State gGameState;
