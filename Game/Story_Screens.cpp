// The story told before level 0, the credits launcher, and the end of the run: the
// results and the high score table.
#include "Game/Game_State.h"

#include <iostream>
#include <string>

#include "Audio/Sound_Manager.h"
#include "Core/Constants.h"
#include "Entities/Player.h"
#include "Game/High_Scores.h"
#include "Graphics/Font.h"
#include "Input/Input_Handler.h"
#include "Input/Keys.h"

namespace
{
const float INTRO_STEP = 0.002f;
const float INTRO_TEXT_X = 0.13f;

struct Intro_Line
{
    float mAbove; // shown while the timer is above this (and not above the previous)
    const char* mText;
    float mY;          // fraction of the screen from the top
    float mBlueOffset; // each line goes from white toward yellow as its quarter runs out
};

const Intro_Line INTRO_LINES[] = {
    {0.75f, "You came to steal the dragon's treasure...", 0.0f, 0.0f},
    {0.5f, "But he woke up.", 0.2f, 0.25f},
    {0.25f, "Now you only have one option...", 0.4f, 0.5f},
    {-1e30f, "Zoomquest!", 0.6f, 0.75f},
};
const int INTRO_LINE_COUNT = 4;

int IntroLineFor(float t)
{
    for (int i = 0; i < INTRO_LINE_COUNT - 1; ++i)
        if (t > INTRO_LINES[i].mAbove)
            return i;
    return INTRO_LINE_COUNT - 1;
}
} // namespace

void Intro_Screen::Frame(bool)
{
    gSound.PlayEffect(SOUND_INTRO_WAKE);

    mTimer -= INTRO_STEP;
    const int line = IntroLineFor(mTimer);
    const Intro_Line& shown = INTRO_LINES[line];
    gFont.drawStringNormalized(shown.mText, INTRO_TEXT_X, shown.mY, 0.0f, 1.0f, 1.0f,
                               mTimer + shown.mBlueOffset, 1.0f);
    if (line == INTRO_LINE_COUNT - 1)
        mLastLineReached = true;

    // Enter skips to the next line (the last one sets mLastLineReached first).
    if (gInput.IsKeyPressed(KEY_RETURN) && !mLastLineReached)
    {
        mTimer = shown.mAbove;
    }
    else if (mLastLineReached &&
             (mTimer < 0.0f || gInput.IsKeyPressed(KEY_RETURN) || gInput.IsLeftButtonDown()))
    {
        mTimer = 1.0f;
        mGame.StartLevel(false);
    }
}

void Credits_Screen::Frame(bool)
{
    gSound.SetVoiceLevel(0.0f);
    gSound.PlayMusic(MUSIC_THEME);
    mGame.SetLevel(Game_State::CREDITS_LEVEL);
    mGame.StartLevel(false);
}

void Results_Screen::Frame(bool)
{
    // The dragon gives up once per visit; asking every frame would restart the line.
    if (mVoicePending)
    {
        gSound.PlayVoice(VOICE_NOT_WORTH_IT);
        mVoicePending = false;
    }

    gFont.drawStringCentered("GREAT JOB!!!", 0.0f, 0.7f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f);
    gFont.drawStringCentered(" You escaped with ", 0.0f, 0.55f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f);
    gFont.drawStringCentered(" the dragon's treasure!", 0.0f, 0.45f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f);
    gFont.drawStringCentered("Press Enter to continue", 0.0f, -0.65f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f);

    if (mGame.Art().CountUp(mCountUp, 1.0f, 1.0f, 0.0f))
    {
        mGame.GoTo(Game_State::HIGH_SCORES, "NONE");
        mGame.SetLevel(0);
        mCountUp = 0;
        mVoicePending = true;
    }
}

bool High_Score_Screen::Load(uint32_t score)
{
    mLoaded = true;
    std::vector<uint32_t> entries;
    const High_Scores::Result result = High_Scores::Record(mPath, score, entries);
    if (result == High_Scores::NOT_OPENED)
    {
        std::cerr << "High score table could not be opened. The path is " << mPath << std::endl;
        // The next visit tries again.
        mLoaded = false;
        return false;
    }
    if (result == High_Scores::NOT_SAVED)
        std::cerr << "High score table could not be saved. The path is " << mPath << std::endl;
    mScores = High_Scores::TopTen(entries);
    return true;
}

void High_Score_Screen::Frame(bool)
{
    const uint32_t score = static_cast<uint32_t>(gPlayer.mScore);
    // Nothing to show and no level to play: back to the menu.
    if (!mLoaded && !Load(score))
    {
        mGame.GoTo(Game_State::MAIN_MENU, "NONE");
        return;
    }
    Draw(score);
    if (gInput.IsKeyPressed(KEY_RETURN))
    {
        mGame.GoTo(Game_State::MAIN_MENU, "NONE");
        std::vector<uint32_t>().swap(mScores);
        mLoaded = false;
    }
}

void High_Score_Screen::Draw(uint32_t score) const
{
    gFont.drawStringCentered("Top Ten High Scores", 0.0f, 0.9f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    gFont.SetScale(0.75f);
    if (High_Scores::MadeTopTen(score, mScores))
        gFont.drawStringCentered("Congratulations! You've made it to the top ten!", 0.0f, -0.75f, 0.0f, 0.0f,
                                 1.0f, 1.0f, 1.0f);
    else
        gFont.drawStringCentered("Sorry, you didn't make it to the top ten", 0.0f, -0.75f, 0.0f, 1.0f, 1.0f,
                                 1.0f, 1.0f);
    gFont.drawStringCentered("Press enter to continue", 0.0f, -0.9f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    for (const High_Scores::Table_Line& line : High_Scores::Lines(mScores, score))
        gFont.drawStringCentered(line.mText, 0.0f, line.mY, 0.0f, line.mHighlighted ? 0.0f : 1.0f, 1.0f, 1.0f,
                                 1.0f);
    gFont.SetScale(1.0f);
}
