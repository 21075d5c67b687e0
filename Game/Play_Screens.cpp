// Screens that interrupt or follow play: pause, the dragon's catch, level complete and
// the cave map.
#include "Game/Game_State.h"

#include <cstdio>

#include "Audio/Sound_Manager.h"
#include "Core/Clock.h"
#include "Core/Constants.h"
#include "Game/World_Drawing.h"
#include "Entities/Player.h"
#include "Game/HUD.h"
#include "Graphics/Font.h"
#include "Graphics/Graphics.h"
#include "Input/Input_Handler.h"
#include "Input/Keys.h"
#include "World/Camera.h"
#include "World/Entity_Handler.h"

namespace
{
// Top to bottom, as the cursor counts them.
const char* const PAUSE_ITEMS[] = {"Continue", "continue from last checkpoint", "Replay",
                                   "Quit to main menu"};
enum
{
    PAUSE_CONTINUE,
    PAUSE_CHECKPOINT,
    PAUSE_REPLAY,
    PAUSE_QUIT,
    PAUSE_ITEM_COUNT
};
const float PAUSE_TOP_Y = 0.2f;

// Cave map marks: how far above a cave the runner's hood sits, how far left of the
// next cave the arrow points from, and how far below a cave its label is written.
const float MAP_MARK_RISE = -0.03f;
const float MAP_ARROW_LEFT = 0.2f;
const float MAP_LABEL_DROP = 0.14f;
const float MAP_LABEL_SCALE = 0.5f;

const char* const DEATH_ITEMS[] = {"Continue from last checkpoint", "Quit"};
enum
{
    DEATH_CHECKPOINT,
    DEATH_QUIT,
    DEATH_ITEM_COUNT
};
const float DEATH_TOP_Y = 0.2f;

const int32_t CLAW_FRAMES = 50;
const int32_t JAW_FRAMES = 50;
const int32_t BURP_FRAME = 120; // 70 frames after the jaws shut
const float TEETH_END_Y = 0.3f;
const float SWALLOW_X = 0.5f, SWALLOW_Y = 0.5f;
const float SWALLOW_DEPTH = 15.0f;

const uint32_t LEVEL_COMPLETE_WAIT_MS = 50;
const float VOLUME_STEP = 0.1f;

// Down (+1) or Up (-1) from the cursor, round from one end to the other.
int MovedCursor(int cursor, int count)
{
    return (cursor + (gInput.IsKeyPressed(KEY_DOWN) ? 1 : -1) + count) % count;
}
} // namespace

void Menu_Art::Init()
{
    mMenuSlab.SetImage("MENU_SLAB");
    mArrow.SetImage("ARROW");
    mSelection.SetImage("MENU_SELECTION");
    mArrow.mScale.Set(0.6f, 0.6f, 0.6f);
}

void Menu_Art::DrawLines(const char* const* items, int count, float topY, int cursor)
{
    gFont.SetScale(0.75f);
    DrawGlow(items[cursor], -0.5f, topY, cursor);
    for (int i = 0; i < count; ++i)
    {
        const float x = i == cursor ? -0.5f : -0.525f;
        gFont.drawString(items[i], x, topY - 0.1f * i, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    }
    gFont.SetScale(1.0f);
}

void Menu_Art::DrawGlow(const std::string& label, float x, float topY, int cursor)
{
    // The glow spans the line, whatever its length: the image is one glyph wide.
    mSelection.mScale.Set(static_cast<float>(label.size()) + 1.0f, 1.0f, 1.0f);
    gGraphics.DrawFrameAt(mSelection, x + 0.06f + 0.045f * 0.5f * (label.size() - 1.0f),
                          topY - 0.1f * cursor - 0.05f, -0.01f);
}

void Menu_Art::DrawArrow(float topY, int cursor, float& arrowAngle, float x)
{
    mArrow.mRotation.Set(arrowAngle, 1.0f, 0.0f, 0.0f);
    arrowAngle += 10.0f;
    gGraphics.DrawFrameAt(mArrow, x, topY - 0.1f * cursor - 0.03f, 0.0f);
}

bool Menu_Art::CountUp(int64_t& count, float r, float g, float b)
{
    char text[32];
    std::snprintf(text, sizeof text, "x%lld", static_cast<long long>(count));
    gHUD.TintGem(1.0f, 1.0f, 1.0f, 1.0f);
    gHUD.DrawGemAt(-0.075f, -0.02f, 0.0f);
    gFont.drawStringNormalized(text, 0.5f, 0.5f, 0.0f, r, g, b, 1.0f);

    const int64_t score = gPlayer.mScore;
    if (count < score)
        ++count;
    if (!gInput.IsKeyPressed(KEY_RETURN))
        return false;
    const bool complete = count == score;
    count = score;
    return complete;
}

float Pause_Screen::CursorY() const
{
    return PAUSE_TOP_Y - 0.1f * mCursor;
}

float Death_Screen::CursorY() const
{
    return DEATH_TOP_Y - 0.1f * mCursor;
}

void Pause_Screen::Frame(bool pictureStands)
{
    gSound.StopMusic();
    Draw(pictureStands);
    if (gInput.IsKeyPressed(gKeys.mPause) || mGame.BackAsked())
    {
        gSound.PlayMusic(MUSIC_LEVEL);
        mGame.GoTo(Game_State::PLAY, Game_State::KEEP_BACKDROP);
    }
    else if (gInput.IsKeyPressed(KEY_RETURN))
    {
        gSound.PlayMusic(MUSIC_LEVEL);
        Choose();
        mCursor = PAUSE_CONTINUE;
    }
    else if (gInput.IsKeyPressed(KEY_DOWN) || gInput.IsKeyPressed(KEY_UP))
    {
        mCursor = MovedCursor(mCursor, PAUSE_ITEM_COUNT);
    }
    else if (gInput.IsKeyPressed(KEY_LEFT) || gInput.IsKeyPressed(KEY_RIGHT))
    {
        // Music and effects move together, each from where the options screen left it.
        const float step = gInput.IsKeyPressed(KEY_LEFT) ? -VOLUME_STEP : VOLUME_STEP;
        gSound.SetVolume(gSound.GetVolume() + step, gSound.GetMusicLevel() + step);
        gSound.PlayEffect(SOUND_BELL); // a sample at the new volume
    }
}

Game_Screen::Stand Pause_Screen::PictureStands() const
{
    // Still or not is decided before drawing: drawing moves a claw attack on, and may
    // end it in the picture about to be kept.
    return WorldIsStill() && mCursor == mDrawnCursor ? STANDS_BEHIND : REDRAWN;
}

void Pause_Screen::Draw(bool pictureStands)
{
    // Redrawing the world and the menu every frame kept a core busy for a picture in
    // which only the arrow spins.
    Menu_Art& art = mGame.Art();
    if (!pictureStands)
    {
        const bool still = WorldIsStill();
        gGraphics.PushColour(0.25f, 1.0f, 1.0f, 1.0f);
        DrawWorld();
        gGraphics.PopColour();
        gGraphics.DrawFrameAt(art.mMenuSlab, 0.08f, 0.0f, -0.7f);

        gFont.SetScale(0.7f);
        gFont.drawStringCentered("Volume Down: <Left Arrow<", 0.0f, -0.37f, 0.0f, 1.0f, 1.0f, 0.5f, 1.0f);
        gFont.drawStringCentered("Volume Up:  >Right Arrow>", 0.0f, -0.42f, 0.0f, 1.0f, 1.0f, 0.5f, 1.0f);
        gFont.SetScale(2.0f);
        gFont.drawStringCentered("P a u s e d", 0.0f, 0.4f, 0.0f, 1.0f, 1.0f, 0.5f, 1.0f);
        art.DrawLines(PAUSE_ITEMS, PAUSE_ITEM_COUNT, PAUSE_TOP_Y, mCursor);
        mDrawnCursor = mCursor;
        if (still)
            mGame.KeepPicture();
    }
    art.DrawArrow(PAUSE_TOP_Y, mCursor, mArrowAngle);
}

void Pause_Screen::Choose()
{
    if (mCursor == PAUSE_CONTINUE)
    {
        mGame.GoTo(Game_State::PLAY, Game_State::KEEP_BACKDROP);
        return;
    }
    gHUD.Show();
    if (mCursor == PAUSE_REPLAY)
    {
        mGame.StartLevel(true);
    }
    else if (mCursor == PAUSE_QUIT)
    {
        gEntities.ResetAll();
        mGame.GoTo(Game_State::MAIN_MENU, "NONE");
    }
    else
    {
        if (!gPlayer.RespawnAtCheckpoint())
            mGame.StartLevel(true);
        mGame.GoTo(Game_State::PLAY, Game_State::KEEP_BACKDROP);
    }
}

void Death_Screen::Init()
{
    mTeethTop.SetImage("DRAGON_TEETH_TOP");
    mTeethBottom.SetImage("DRAGON_TEETH_BOT");
    mClaw.SetImage("DRAGON_CLAW");
    mClaw.mRotation.Set(90.0f, 0.0f, 0.0f, 1.0f);
}

Game_Screen::Stand Death_Screen::PictureStands() const
{
    return mJawFrame >= JAW_FRAMES && mCursor == mDrawnCursor ? STANDS_BEHIND : REDRAWN;
}

void Death_Screen::Frame(bool pictureStands)
{
    // Under the copy of the menu while it stands.
    if (!pictureStands)
        gHUD.DrawChaseBar();
    if (mClawFrame < CLAW_FRAMES)
        ClawFrame();
    if (mJawFrame < JAW_FRAMES)
    {
        if (mClawDone)
            JawFrame();
        return;
    }
    MenuFrame(pictureStands);
}

// The claw sweeps in from the right over the runner.
void Death_Screen::ClawFrame()
{
    DrawWorld();
    gGraphics.DrawFrameAt(mClaw, 1.1f - mClawFrame / static_cast<float>(CLAW_FRAMES), -0.3f, 0.7f);
    gPlayer.Draw();
    ++mClawFrame;
    if (mClawFrame >= CLAW_FRAMES)
        mClawDone = true;
}

// The jaws close while the runner spins away into the middle.
void Death_Screen::JawFrame()
{
    const float f = mJawFrame / static_cast<float>(JAW_FRAMES);
    const float topY = 1.0f - 0.7f * f;
    const float bottomY = 0.7f * f - 1.0f;
    const float px = gPlayer.mX + (SWALLOW_X - gPlayer.mX) * f;
    const float py = gPlayer.mY + (SWALLOW_Y - gPlayer.mY) * f;
    if (f < 0.8f)
    {
        // The runner is in the claw's grip now: only the spinning one below is drawn.
        gGraphics.PushColour(1.0f - f, 1.0f, 1.0f, 1.0f);
        DrawWorld(false);
        gGraphics.DrawFrameAt(mClaw, 0.1f, -0.3f, 0.7f);
        gGraphics.PopColour();
    }
    gGraphics.DrawFrameAt(mTeethTop, 0.0f, topY, 0.0f);
    gGraphics.DrawFrameAt(mTeethBottom, 0.0f, bottomY, 0.0f);

    // Swallowed: the runner recedes down the corridor, the way the far end lies.
    Quad quad = gCamera.ProjectBox(px, py, 2.0f * gPlayer.mHalfWidth, 2.0f * gPlayer.mHalfHeight,
                                   gPlayer.mZ + SWALLOW_DEPTH * f);
    // The spin is for this picture only; the runner stands upright again afterwards.
    const Rotation upright = gPlayer.mAnimation.mRotation;
    gPlayer.mAnimation.mRotation.Set(f * 360.0f, 0.0f, 0.0f, 1.0f);
    gGraphics.DrawAnimation(gPlayer.mAnimation, quad);
    gPlayer.mAnimation.mRotation = upright;
    ++mJawFrame;
}

void Death_Screen::MenuFrame(bool pictureStands)
{
    if (mJawFrame <= BURP_FRAME)
    {
        ++mJawFrame;
        if (mJawFrame == BURP_FRAME)
            gSound.PlayEffect(VOICE_BURP);
    }
    Menu_Art& art = mGame.Art();
    if (!pictureStands)
    {
        gGraphics.PushColour(0.25f, 1.0f, 1.0f, 1.0f);
        gGraphics.DrawFrameAt(mTeethTop, 0.0f, TEETH_END_Y, 0.0f);
        gGraphics.DrawFrameAt(mTeethBottom, 0.0f, -TEETH_END_Y, 0.0f);
        gGraphics.PopColour();
        gGraphics.DrawFrameAt(art.mMenuSlab, 0.0f, 0.0f, -0.7f);
        gFont.drawStringCentered("You got dragon snacked!", 0.0f, 0.35f, 0.0f, 1.0f, 1.0f, 0.5f, 1.0f);
        art.DrawLines(DEATH_ITEMS, DEATH_ITEM_COUNT, DEATH_TOP_Y, mCursor);
        mDrawnCursor = mCursor;
        mGame.KeepPicture();
    }
    art.DrawArrow(DEATH_TOP_Y, mCursor, mArrowAngle);

    if (gInput.IsKeyPressed(KEY_RETURN))
        Choose();
    else if (gInput.IsKeyPressed(KEY_DOWN) || gInput.IsKeyPressed(KEY_UP))
        mCursor = MovedCursor(mCursor, DEATH_ITEM_COUNT);
}

void Death_Screen::Choose()
{
    mClawFrame = 0;
    mClawDone = false;
    mJawFrame = 0;
    gHUD.Show();
    if (mCursor == DEATH_QUIT)
    {
        gEntities.ResetAll();
        gHUD.Init();
        mGame.GoTo(Game_State::MAIN_MENU, "NONE");
    }
    else
    {
        gHUD.Init();
        if (!gPlayer.RespawnAtCheckpoint())
            mGame.StartLevel(true);
        mGame.GoTo(Game_State::PLAY, Game_State::KEEP_BACKDROP);
    }
    mCursor = DEATH_CHECKPOINT;
}

void Level_Complete_Screen::Frame(bool)
{
    const float grey = mFogGrey;
    gGraphics.SetFogColour(grey, grey, grey);
    gGraphics.EnableFog();
    gSound.StopVoice();

    gFont.SetScale(0.75f);
    gFont.drawStringCentered("Good job!  Now make it through the next area.", 0.0f, 0.7f, 0.0f, 1.0f, 1.0f,
                             0.0f, 1.0f);
    gFont.drawStringCentered("Press Enter to continue", 0.0f, -0.65f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f);
    gFont.SetScale(1.0f);

    if (mFogGrey > 0.0f)
        mFogGrey -= 0.01f;

    // Slows the count-up; a sleep, so the wait leaves the processor to others.
    SleepMs(LEVEL_COMPLETE_WAIT_MS);

    // The bell once the count has reached the score.
    if (mCountUp >= gPlayer.mScore && mBellPending)
    {
        gSound.PlayEffect(SOUND_BELL);
        mBellPending = false;
    }
    if (mGame.Art().CountUp(mCountUp, 1.0f, 1.0f, 1.0f))
    {
        mCountUp = 0;
        mFogGrey = 1.0f;
        mBellPending = true;
        gHUD.TintGem(0.0f, 1.0f, 1.0f, 1.0f);
        mGame.GoTo(Game_State::CAVE_MAP, "OVERWORLD");
    }
    gGraphics.DisableFog();
}

static bool CaveMapSpot(int level, float& x, float& y)
{
    // Where the map's picture has each level's cave, in its 800 by 600 pixels.
    static const float SPOTS[][2] = {{90, 380},  {190, 250}, {300, 360}, {400, 200},
                                     {500, 330}, {590, 180}, {680, 290}, {720, 120}};
    if (level < 0 || level >= static_cast<int>(sizeof(SPOTS) / sizeof(SPOTS[0])))
        return false;
    // The picture fills the window; at depth 0 the window is this wide and 2.0 high.
    const float halfWidth = Camera::GetVisibleHalfWidth(0.0f);
    x = (SPOTS[level][0] / 800.0f * 2.0f - 1.0f) * halfWidth;
    y = 1.0f - SPOTS[level][1] / 600.0f * SCREEN_PLANE_HEIGHT;
    return true;
}

void Cave_Map_Screen::Frame(bool pictureStands)
{
    if (!pictureStands)
        Draw();
    if (gInput.IsKeyPressed(KEY_RETURN))
    {
        mGame.SetLevel(mGame.GetLevel() + 1);
        mGame.StartLevel(false);
    }
}

void Cave_Map_Screen::Draw()
{
    gFont.drawStringCentered("This is the cave map", 0.0f, -0.5f, 0.5f, 0.0f, 0.0f, 0.0f, 1.0f);
    gFont.drawStringCentered("Press enter for next level", 0.0f, -0.65f, 0.5f, 0.0f, 0.0f, 0.0f, 1.0f);
    // The runner's hood on the cave just left, the menu's arrow pointing at the next.
    const int level = mGame.GetLevel();
    Animation_Frame& arrow = mGame.Art().mArrow;
    float x, y;
    gFont.SetScale(MAP_LABEL_SCALE);
    if (CaveMapSpot(level, x, y))
    {
        gGraphics.DrawFrameAt(mMapHere, x, y + MAP_MARK_RISE, 0.0f);
        gFont.drawStringCentered("just left", x, y - MAP_LABEL_DROP, 0.0f, 0.45f, 0.1f, 0.05f, 1.0f);
    }
    if (CaveMapSpot(level + 1, x, y))
    {
        arrow.mRotation.Set(0.0f, 1.0f, 0.0f, 0.0f);
        gGraphics.DrawFrameAt(arrow, x - MAP_ARROW_LEFT, y, 0.0f);
        gFont.drawStringCentered("next", x, y - MAP_LABEL_DROP, 0.0f, 0.45f, 0.1f, 0.05f, 1.0f);
    }
    gFont.SetScale(1.0f);
}
