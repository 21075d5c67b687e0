#include "Game/Trace.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

namespace
{

struct Screen_Name
{
    Game_State::Screen mScreen;
    const char* mName;
};

const Screen_Name SCREEN_NAMES[] = {
    {Game_State::PLAY, "play"},
    {&Game_State::TeamLogoScreen, "TeamLogoScreen"},
    {&Game_State::MainMenuScreen, "MainMenuScreen"},
    {&Game_State::IntroScreen, "IntroScreen"},
    {&Game_State::CreditsScreen, "CreditsScreen"},
    {&Game_State::PauseScreen, "PauseScreen"},
    {&Game_State::DeathScreen, "DeathScreen"},
    {&Game_State::LevelCompleteScreen, "LevelCompleteScreen"},
    {&Game_State::CaveMapScreen, "CaveMapScreen"},
    {&Game_State::ResultsScreen, "ResultsScreen"},
    {&Game_State::HighScoreScreen, "HighScoreScreen"},
    {&Game_State::OptionsScreen, "OptionsScreen"},
};

// Opened at the first line; a file that cannot be written is said once and the game
// goes on without a trace.
std::FILE* TraceFile()
{
    static bool tried = false;
    static std::FILE* file = nullptr;
    if (tried)
        return file;
    tried = true;
    const char* path = std::getenv("ZQ_TRACE");
    if (!path || !*path)
        return nullptr;
    file = std::fopen(path, "w");
    if (!file)
        std::cerr << "ZQ_TRACE: cannot write " << path << " (" << std::strerror(errno) << "): no trace"
                  << std::endl;
    return file;
}

void Line(const char* what, const char* name, const char* more = "")
{
    std::FILE* file = TraceFile();
    if (!file)
        return;
    std::fprintf(file, "%s %s%s\n", what, name, more);
    // A script reads it while the game runs.
    std::fflush(file);
}

} // namespace

void TraceScreen(Game_State::Screen screen)
{
    const char* name = "unknown";
    for (const Screen_Name& s : SCREEN_NAMES)
        if (s.mScreen == screen)
            name = s.mName;
    Line("screen", name);
}

void TraceLevel(int level, bool restart)
{
    Line("level", std::to_string(level).c_str(), restart ? " restart" : "");
}
