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
    Screen GetScreen() const { return mScreen; }
    // Set by a quit from the main menu or a quit signal, and by a level that cannot be read.
    bool IsQuitting() const { return mQuit; }
    // The image key of the backdrop, "NONE" while there is none.
    const std::string& GetBackdrop() const { return mBackdrop.mKey; }

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
    void OptionsScreen();

    // One pass of the nested screen loop: backdrop, input, the current screen, sound,
    // floating texts, render and frame pacing.
    void RunScreenFrame(Game_Timer& timer);
    // "NONE" clears the backdrop; any other key is an image of the bank.
    void SetBackdrop(const std::string& key);
    // Menu cursors as the y of the item under them.
    float PauseCursorY() const;
    float DeathCursorY() const;
    // Where the high score table lives (tests point it elsewhere).
    void SetHighScorePath(const std::string& path) { mHighScores.mPath = path; }
    // The level played, or the one StartLevel starts.
    uint16_t GetLevel() const { return mLevel; }
    void SetLevel(uint16_t level) { mLevel = level; }

private:
    // Tests read the screens' own state through this.
    friend struct Game_State_Probe;

    // What the screens keep from frame to frame, one record each. Set once with the
    // object and never by Init: the intro remembers its last line, the menus their
    // cursors, and so on.
    struct Team_Logo
    {
        float mHold = 1.0f;
        float mFade = 1.0f;
    };
    struct Menu_Look
    {
        bool mStartSelected; // else the options item (the credits) is, unless...
        float mStartDepth, mOptionsDepth;
        bool mSettingsSelected; // ... the options screen's item below them is
        float mSettingsDepth;
        bool operator==(const Menu_Look& o) const
        {
            return mStartSelected == o.mStartSelected && mStartDepth == o.mStartDepth &&
                   mOptionsDepth == o.mOptionsDepth && mSettingsSelected == o.mSettingsSelected &&
                   mSettingsDepth == o.mSettingsDepth;
        }
    };
    // A screen whose picture is left standing in the window while nothing in it changes:
    // its frames then only read input and sleep.
    struct Shown_Picture
    {
        bool mValid = false;      // the window shows what the screen drew last
        int mFramesSinceDraw = 0; // a frame drawn now and then all the same
    };
    // A menu shown from a copy of all but its spinning arrow (Graphics keeps it).
    struct Kept_Menu
    {
        bool mValid = false; // the copy is there, taken with the cursor on mCursor
        int mCursor = 0;
    };
    struct Main_Menu
    {
        Menu_Look mLook{true, 0.5f, -2.0f, false, -2.0f};    // the items as they stand now
        Menu_Look mShownLook{true, 0.0f, 0.0f, false, 0.0f}; // the menu as last drawn
        Shown_Picture mShown;
    };
    // The options screen: the line under the cursor, and a key line waiting for the
    // key the player presses next.
    struct Options_Menu
    {
        int mCursor = 0;
        float mArrowAngle = 0.0f;
        int mWaitingLine = -1;        // the key line waiting, else -1
        bool mWaitFullScreen = false; // the window's state when the wait began (F11)
        std::string mMessage;         // one line under the menu: a prompt or a refusal
    };
    struct Intro
    {
        float mTimer = 1.0f;
        bool mLastLineReached = false;
    };
    struct Pause_Menu
    {
        int mCursor = 0; // index of the item, top to bottom
        float mArrowAngle = 0.0f;
        Kept_Menu mKept;
    };
    struct Death_Sequence
    {
        int32_t mClawFrame = 0;
        bool mClawDone = false;
        int32_t mJawFrame = 0;
        int mCursor = 0;
        float mArrowAngle = 0.0f;
        Kept_Menu mKept; // once the jaws have shut
    };
    struct Level_Complete
    {
        float mFogGrey = 1.0f;
        bool mBellPending = true;
        int64_t mCountUp = 0;
    };
    struct Results
    {
        int64_t mCountUp = 0;
        bool mVoicePending = true; // the dragon's parting line, once per visit
    };
    struct High_Score_Table
    {
        std::string mPath;
        bool mLoaded = false;
        std::vector<uint32_t> mScores;
    };

    // Whether the window already shows the main menu as look would draw it (else it
    // is taken as drawn now).
    bool MenuLookShown(const Menu_Look& look);
    // Whether the window still shows what was drawn last (else it is taken as drawn
    // now): the same look, no expose or new window since, nothing drifting over it, and
    // a backdrop behind it only if that stands still too. Drawn once a second anyway.
    bool PictureStands(bool sameLook, bool backdropStill, Shown_Picture& shown);
    // Draws the kept copy of a menu when there is one for this cursor and whatever lies
    // behind stands still; false when the menu is to be drawn (and KeepMenu'd) anew.
    bool DrawKeptMenu(const Kept_Menu& kept, int cursor, bool stillBehind);
    void KeepMenu(Kept_Menu& kept, int cursor, bool stillBehind);
    void DrawMainMenu();
    void DrawMenuItems(const char* const* items, int count, float topY, int cursor, float& arrowAngle);
    // The two halves of DrawMenuItems: the lines with the selected one's glow, and the
    // spinning arrow drawn over them.
    void DrawMenuLines(const char* const* items, int count, float topY, int cursor);
    void DrawMenuArrow(float topY, int cursor, float& arrowAngle);
    void DrawCountUp(int64_t value, float r, float g, float b);
    void DrawOptions();
    // What Left (-1), Right (+1) or Enter (0) does on the options line under the cursor.
    void ChangeOption(int line, int direction);
    // The key pressed while a key line waits: taken, or refused with a line on screen.
    void ChooseKey(int key);

    Screen mScreen;
    uint16_t mLevel;
    bool mQuit;
    bool mWindowClosed;
    bool mSkipRender; // this frame leaves the window as it is

    Animation_Frame mBackdrop;
    // The screens' images, set by Init.
    Animation_Frame mTitleImage;
    Animation_Frame mStartItem;
    Animation_Frame mOptionsItem;
    Animation_Frame mSettingsItem; // opens the options screen
    Animation_Frame mOptionsSlab;  // the options screen's board
    Animation_Frame mMenuSlab;
    Animation_Frame mArrow;
    Animation_Frame mMapHere;   // the runner's hood on the cave map's cave just left
    Animation_Frame mSelection; // glow behind the item under the cursor
    Animation_Frame mTeethTop;
    Animation_Frame mTeethBottom;
    Animation_Frame mClaw;

    Team_Logo mLogo;
    Main_Menu mMainMenu;
    Options_Menu mOptions;
    Intro mIntro;
    Pause_Menu mPause;
    Death_Sequence mDeath;
    Level_Complete mLevelComplete;
    Results mResults;
    High_Score_Table mHighScores;
    Shown_Picture mCaveMap; // nothing on the cave map moves
};

extern Game_State gGameState;
