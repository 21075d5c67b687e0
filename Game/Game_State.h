// Decides what the program is doing: a screen (logo, menu, story, pause, death, level
// complete, cave map, results, high scores) or play. A screen is a member function;
// while one is current, ProcessMenus runs its own frame loop and returns only when
// play resumes or the program is to end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Graphics/Animation.h"

class Game_Timer;

class Game_State
{
public:
    typedef void (Game_State::*Screen)();

    static constexpr uint16_t LEVEL_COUNT = 8;
    static constexpr uint16_t CREDITS_LEVEL = 7; // the credits roll as the last level

    // No screen: play runs, or the program ends once the quit flag is set.
    static constexpr Screen PLAY = nullptr;
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

    void TeamLogoScreen();
    void MainMenuScreen();
    void IntroScreen();
    void CreditsScreen();
    void PauseScreen();
    void DeathScreen();
    void LevelCompleteScreen();
    void CaveMapScreen();
    void ResultsScreen();
    void HighScoreScreen();

    // One pass of the nested screen loop: backdrop, input, the current screen, sound,
    // floating texts, render and frame pacing.
    void RunScreenFrame(Game_Timer& timer);
    // Whether the window already shows the main menu as look would draw it (else it
    // is taken as drawn now).
    struct Menu_Look;
    bool MenuLookShown(const Menu_Look& look);
    void DrawMainMenu();
    // "NONE" clears the backdrop; any other key is an image of the bank.
    void SetBackdrop(const std::string& key);
    // Menu cursors as the y of the item under them.
    float PauseCursorY() const;
    float DeathCursorY() const;

    Screen mScreen;
    uint16_t mLevel;
    bool mQuit;
    Animation_Frame mBackdrop;
    Animation_Frame mTitleImage;
    Animation_Frame mStartItem;
    Animation_Frame mOptionsItem;
    Animation_Frame mMenuSlab;
    Animation_Frame mArrow;
    Animation_Frame mSelection; // glow behind the item under the cursor
    Animation_Frame mTeethTop;
    Animation_Frame mTeethBottom;
    Animation_Frame mClaw;
    bool mWindowClosed;
    bool mScoresLoaded;
    std::vector<uint32_t> mScores;

    // Where the high score table lives (tests point it elsewhere).
    std::string mHighScorePath;

    // What the screens keep from frame to frame. Set once with the object and never by
    // Init: the intro remembers its last line, the menus their cursors, and so on.
    float mLogoHold, mLogoFade;
    bool mStartSelected; // else the options item is selected
    float mStartDepth, mOptionsDepth;
    // The main menu as last drawn. While nothing in it changes, the picture on screen
    // is left standing and the frame only reads input and sleeps.
    struct Menu_Look
    {
        bool mStartSelected;
        float mStartDepth, mOptionsDepth;
        bool operator==(const Menu_Look& o) const
        {
            return mStartSelected == o.mStartSelected && mStartDepth == o.mStartDepth &&
                   mOptionsDepth == o.mOptionsDepth;
        }
    };
    Menu_Look mShownLook;
    bool mShownValid;     // the window shows mShownLook
    bool mSkipRender;     // this frame leaves the window as it is
    int mFramesSinceDraw; // a frame drawn now and then all the same
    float mIntroTimer;
    bool mIntroLastLineReached;
    int mPauseCursor; // index of the item, top to bottom
    float mPauseArrowAngle;
    int32_t mDeathClawFrame;
    bool mDeathClawDone;
    int32_t mDeathJawFrame;
    int mDeathCursor;
    float mDeathArrowAngle;
    float mFogGrey;
    bool mBellPending;
    int64_t mLevelCountUp;
    int64_t mResultsCountUp;
    bool mResultsVoicePending; // the dragon's parting line, once per visit

private:
    void DrawMenuItems(const char* const* items, int count, float topY, int cursor, float& arrowAngle);
    void DrawCountUp(int64_t value, float r, float g, float b);
};

extern Game_State gGameState;
