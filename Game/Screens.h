// The screens Game_State shows between stretches of play. Each keeps its own state from
// frame to frame, set once with the object and never by Game_State::Init: the intro
// remembers its last line, the menus their cursors, and so on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Core/Constants.h"
#include "Game/Game_Screen.h"
#include "Graphics/Animation.h"

// The images the menus share, and how a menu draws its lines, its cursor and a count.
struct Menu_Art
{
    void Init();
    // The lines, with the selected one's glow behind it.
    void DrawLines(const char* const* items, int count, float topY, int cursor);
    // The glow behind the selected line, its label starting at x.
    void DrawGlow(const std::string& label, float x, float topY, int cursor);
    // The arrow beside the selected line, turned a step further each time.
    void DrawArrow(float topY, int cursor, float& arrowAngle, float x = -0.7f);
    // The gem and a count beside it, which rises a step a frame to the score; Enter
    // completes it at once. True when Enter comes once it is complete.
    bool CountUp(int64_t& count, float r, float g, float b);

    Animation_Frame mArrow;
    Animation_Frame mSelection; // glow behind the item under the cursor
    Animation_Frame mMenuSlab;
};

struct Team_Logo_Screen : Game_Screen
{
    using Game_Screen::Game_Screen;
    void Frame(bool pictureStands) override;

    float mHold = 1.0f;
    float mFade = 1.0f;
};

class Main_Menu_Screen : public Game_Screen
{
public:
    using Game_Screen::Game_Screen;
    void Init() override;
    Stand PictureStands() const override { return Stepped(mLook) == mShownLook ? STANDS : REDRAWN; }
    void Frame(bool pictureStands) override;

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
    Look mLook{true, 0.5f, -2.0f, false, -2.0f}; // the items as they stand now

private:
    // The look a frame later: the selected item comes forward, the others sink back.
    static Look Stepped(Look look);
    void Choose();
    void Draw() const;

    Look mShownLook{true, 0.0f, 0.0f, false, 0.0f}; // the menu as last drawn
    Animation_Frame mTitleImage, mStartItem, mOptionsItem;
    Animation_Frame mSettingsItem; // opens the options screen
};

// Volumes, full screen, steering, the keys of play and the assists.
class Options_Screen : public Game_Screen
{
public:
    using Game_Screen::Game_Screen;
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

struct Intro_Screen : Game_Screen
{
    using Game_Screen::Game_Screen;
    void Frame(bool pictureStands) override;

    float mTimer = 1.0f;
    bool mLastLineReached = false;
};

struct Credits_Screen : Game_Screen
{
    using Game_Screen::Game_Screen;
    void Frame(bool pictureStands) override;
};

struct Results_Screen : Game_Screen
{
    using Game_Screen::Game_Screen;
    void Frame(bool pictureStands) override;

    int64_t mCountUp = 0;
    bool mVoicePending = true; // the dragon's parting line, once per visit
};

class High_Score_Screen : public Game_Screen
{
public:
    using Game_Screen::Game_Screen;
    void Init() override { mLoaded = false; }
    void Frame(bool pictureStands) override;
    void SetPath(const std::string& path) { mPath = path; }

    bool mLoaded = false;
    std::vector<uint32_t> mScores;

private:
    // Records the score and reads the table, once per visit; false when it cannot be read.
    bool Load(uint32_t score);
    void Draw(uint32_t score) const;

    std::string mPath = HIGH_SCORE_FILE;
};

class Pause_Screen : public Game_Screen
{
public:
    using Game_Screen::Game_Screen;
    // Only the arrow moves while the world behind stands still and the cursor stays.
    Stand PictureStands() const override;
    void Frame(bool pictureStands) override;
    // The cursor as the y of the item under it.
    float CursorY() const;

private:
    void Draw(bool pictureStands);
    void Choose();

    int mCursor = 0; // index of the item, top to bottom
    int mDrawnCursor = 0;
    float mArrowAngle = 0.0f;
};

// The dragon's claw, its jaws closing, then a small menu.
class Death_Screen : public Game_Screen
{
public:
    using Game_Screen::Game_Screen;
    void Init() override;
    // Once the jaws have shut only the arrow moves, until the cursor does.
    Stand PictureStands() const override;
    void Frame(bool pictureStands) override;
    float CursorY() const;

    int32_t mClawFrame = 0;
    bool mClawDone = false;
    int32_t mJawFrame = 0;

private:
    void ClawFrame();
    void JawFrame();
    void MenuFrame(bool pictureStands);
    void Choose();

    int mCursor = 0;
    int mDrawnCursor = 0;
    float mArrowAngle = 0.0f;
    Animation_Frame mTeethTop, mTeethBottom, mClaw;
};

struct Level_Complete_Screen : Game_Screen
{
    using Game_Screen::Game_Screen;
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
    void Init() override { mMapHere.SetImage("CHASE_PLAYER"); }
    Stand PictureStands() const override { return STANDS; }
    void Frame(bool pictureStands) override;

private:
    void Draw();

    Animation_Frame mMapHere; // the runner's hood on the cave just left
};
