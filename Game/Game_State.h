// Decides what the program is doing: a screen (logo, menu, story, pause, death, level
// complete, cave map, results, high scores) or play. A screen is a member function;
// while one is current, ProcessMenus runs its own frame loop and returns only when
// play resumes or the program is to end.
#pragma once

#include <cstdint>
#include <vector>

#include "Graphics/Animation.h"

class Game_Timer;

class Game_State
{
public:
    typedef void (Game_State::*Screen)();

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

    Screen mScreen;
    uint16_t mLevel;
    bool mQuit;
    Animation_Frame mBackdrop;
    Animation_Frame mTitleImage;
    Animation_Frame mStartItem;
    Animation_Frame mOptionsItem;
    Animation_Frame mMenuSlab;
    Animation_Frame mArrow;
    Animation_Frame mTeethTop;
    Animation_Frame mTeethBottom;
    Animation_Frame mClaw;
    bool mWindowClosed;
    bool mScoresLoaded;
    std::vector<uint32_t> mScores;
};

extern Game_State gGameState;
