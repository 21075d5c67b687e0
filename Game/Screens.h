// The screens Game_State shows between stretches of play. Each keeps its own state from
// frame to frame, set once with the object and never by Game_State::Init: the intro
// remembers its last line, the menus their cursors, and so on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Game/Game_Screen.h"
#include "Game/Menu_Art.h"
#include "Graphics/Animation.h"

class Team_Logo_Screen : public Game_Screen
{
public:
    using Game_Screen::Game_Screen;
    const char* Name() const override { return "TeamLogoScreen"; }
    void Frame(bool pictureStands) override;

private:
    float mHold = 1.0f;
    float mFade = 1.0f;
};

class Main_Menu_Screen : public Game_Screen
{
public:
    using Game_Screen::Game_Screen;
    const char* Name() const override { return "MainMenuScreen"; }
    void Init() override;
    void Frame(bool pictureStands) override;
    bool PictureCanStand() const override { return Stepped(mLook) == mShownLook; }

private:
    friend struct Game_State_Probe;
    struct Look
    {
        bool mStartSelected; // else the options item (the credits) is, unless...
        float mStartDepth, mOptionsDepth;
        bool mSettingsSelected; // ... the options screen's item below them is
        float mSettingsDepth;
        bool operator==(const Look& o) const
        {
            return mStartSelected == o.mStartSelected && mStartDepth == o.mStartDepth &&
                   mOptionsDepth == o.mOptionsDepth && mSettingsSelected == o.mSettingsSelected &&
                   mSettingsDepth == o.mSettingsDepth;
        }
    };
    // The look a frame later: the selected item comes forward, the others sink back.
    static Look Stepped(Look look);
    void Choose();
    void Draw() const;

    Look mLook{true, 0.5f, -2.0f, false, -2.0f};    // the items as they stand now
    Look mShownLook{true, 0.0f, 0.0f, false, 0.0f}; // the menu as last drawn
    Animation_Frame mTitleImage, mStartItem, mOptionsItem;
    Animation_Frame mSettingsItem; // opens the options screen
};

// Volumes, full screen, steering, the keys of play and the assists.
class Options_Screen : public Game_Screen
{
public:
    using Game_Screen::Game_Screen;
    const char* Name() const override { return "OptionsScreen"; }
    void Init() override { mSlab.SetImage("OPTIONS_SLAB"); }
    void Frame(bool pictureStands) override;

    int mCursor = 0;
    int mWaitingLine = -1; // the key line waiting, else -1
    std::string mMessage;  // one line under the menu: a prompt or a refusal

private:
    // What Left (-1), Right (+1) or Enter (0) does on the line under the cursor.
    void ChangeOption(int line, int direction);
    // The key pressed while a key line waits: taken, or refused with a line on screen.
    void ChooseKey(int key);
    void WaitForKey();
    void Draw();

    float mArrowAngle = 0.0f;
    bool mWaitFullScreen = false; // the window's state when the wait began (F11)
    Animation_Frame mSlab;
};

class Intro_Screen : public Game_Screen
{
public:
    using Game_Screen::Game_Screen;
    const char* Name() const override { return "IntroScreen"; }
    void Frame(bool pictureStands) override;

    float mTimer = 1.0f;
    bool mLastLineReached = false;
};

class Credits_Screen : public Game_Screen
{
public:
    using Game_Screen::Game_Screen;
    const char* Name() const override { return "CreditsScreen"; }
    void Frame(bool pictureStands) override;
};

class Results_Screen : public Game_Screen
{
public:
    using Game_Screen::Game_Screen;
    const char* Name() const override { return "ResultsScreen"; }
    void Frame(bool pictureStands) override;

    int64_t mCountUp = 0;
    bool mVoicePending = true; // the dragon's parting line, once per visit
};

class High_Score_Screen : public Game_Screen
{
public:
    using Game_Screen::Game_Screen;
    const char* Name() const override { return "HighScoreScreen"; }
    void Init() override { mLoaded = false; }
    void Frame(bool pictureStands) override;
    void SetPath(const std::string& path) { mPath = path; }

    bool mLoaded = false;
    std::vector<uint32_t> mScores;

private:
    // Records the score and reads the table, once per visit; false when it cannot be read.
    bool Load(uint32_t score);
    void Draw(uint32_t score) const;

    std::string mPath;
};

class Pause_Screen : public Game_Screen
{
public:
    using Game_Screen::Game_Screen;
    const char* Name() const override { return "PauseScreen"; }
    void Frame(bool pictureStands) override;
    // The next pause finds another world behind it.
    void Leave() override { mKept.Forget(); }
    // The cursor as the y of the item under it.
    float CursorY() const;

private:
    void Draw();
    void Choose();

    int mCursor = 0; // index of the item, top to bottom
    float mArrowAngle = 0.0f;
    Kept_Menu mKept;
};

// The dragon's claw, its jaws closing, then a small menu.
class Death_Screen : public Game_Screen
{
public:
    using Game_Screen::Game_Screen;
    const char* Name() const override { return "DeathScreen"; }
    void Init() override;
    void Frame(bool pictureStands) override;
    void Leave() override { mKept.Forget(); }
    float CursorY() const;

    int32_t mClawFrame = 0;
    bool mClawDone = false;
    int32_t mJawFrame = 0;

private:
    void ClawFrame();
    void JawFrame();
    void MenuFrame();
    void Choose();

    int mCursor = 0;
    float mArrowAngle = 0.0f;
    Kept_Menu mKept; // once the jaws have shut
    Animation_Frame mTeethTop, mTeethBottom, mClaw;
};

class Level_Complete_Screen : public Game_Screen
{
public:
    using Game_Screen::Game_Screen;
    const char* Name() const override { return "LevelCompleteScreen"; }
    void Frame(bool pictureStands) override;

    float mFogGrey = 1.0f;
    bool mBellPending = true;
    int64_t mCountUp = 0;
};

// Its backdrop and a few marks: nothing on the cave map moves.
class Cave_Map_Screen : public Game_Screen
{
public:
    using Game_Screen::Game_Screen;
    const char* Name() const override { return "CaveMapScreen"; }
    void Init() override { mMapHere.SetImage("CHASE_PLAYER"); }
    void Frame(bool pictureStands) override;
    bool PictureCanStand() const override { return true; }

private:
    void Draw();

    Animation_Frame mMapHere; // the runner's hood on the cave just left
};
