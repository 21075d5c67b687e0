// level_curve: how hard each level is for a person. The human-like runner plays each
// level a number of seeded times, headless and as fast as the machine goes, and one
// line per level gives the share of runs finished uncaught and the knocks taken.
//
//   level_curve [--runs N] [--seed S] [--speed P] [--trace] [--ghosts] [LEVEL...]
//
// --speed plays at the game speed P percent (100, 90, 80, 70 or 60, as the options
// screen offers): the runner looks and acts in every drawn frame, play steps in P of
// every 100, and the mean run length is in the player's seconds.
// By default 50 runs of each of levels 0 to 7. --trace lists every knock with the
// obstacles at that spot, run by run, before the table. --ghosts also has the automatic
// runner play each level once, and after the table (and an empty line) gives, per kind
// of obstacle, the touches of all those runs and how many of them were ghost touches
// (no opaque pixel of the runner on one of the obstacle's):
//   type touches ghosts
// Output, tab-separated, one header line then one line per level:
//   level runs finished caught hits_mean hits_median hits_max mistakes_mean seconds_mean
// The same arguments give the same numbers on every machine.

#include <SDL/SDL.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/runners/Ghost_Touches.h"
#include "Core/Game_Speed.h"
#include "tools/runners/Human_Runner.h"

namespace
{

int Usage()
{
    std::fprintf(stderr,
                 "usage: level_curve [--runs N] [--seed S] [--speed P] [--trace] [--ghosts] [LEVEL...]\n");
    return 2;
}

uint32_t RunSeed(uint32_t seed, int level, int run)
{
    return (seed * 7919u + static_cast<uint32_t>(level)) * 104729u + static_cast<uint32_t>(run);
}

// The automatic runner plays the level once, on the game's clock as the tests run it.
void PlayBot(int level)
{
    SetClockSource(&auto_run::FakeClock);
    auto_run::gFakeMs = 0;
    std::srand(static_cast<unsigned>(level) + 1u);
    gTimer.SetFps(TARGET_FPS);
    gGraphics.SetFogColour(0.0f, 0.0f, 0.0f);
    gGraphics.SetFogParameters(CAVE_FOG);
    auto_run::Keyboard keys;
    auto_run::StartLevel(level, keys);
    auto_run::Auto_Runner runner;
    auto_run::Run_Report report;
    const int limit = static_cast<int>(gEntities.GetLastZ() * 3.0f) + 3000;
    while (report.mFrames < limit && auto_run::PlayFrame(runner, keys, report))
    {
    }
    keys.ReleaseAll();
    SetClockSource(&human_run::Clock);
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 50;
    uint32_t seed = 1;
    std::vector<int> levels;
    bool trace = false;
    bool ghosts = false;
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc)
            runs = std::atoi(argv[++i]);
        else if (arg == "--trace")
            trace = true;
        else if (arg == "--ghosts")
            ghosts = true;
        else if (arg == "--speed" && i + 1 < argc)
        {
            const int percent = std::atoi(argv[++i]);
            gGameSpeed.SetPercent(percent);
            if (gGameSpeed.GetPercent() != percent)
                return Usage();
        }
        else if (arg == "--seed" && i + 1 < argc)
            seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        else if (!arg.empty() && arg.find_first_not_of("0123456789") == std::string::npos)
            levels.push_back(std::atoi(arg.c_str()));
        else
            return Usage();
    }
    if (runs < 1)
        return Usage();
    if (levels.empty())
        for (int l = 0; l < 8; ++l)
            levels.push_back(l);

    // The game talks on both streams as it plays; the table keeps the real output.
    FILE* out = fdopen(dup(STDOUT_FILENO), "w");
    if (!out || !std::freopen("/dev/null", "w", stdout) || !std::freopen("/dev/null", "w", stderr))
        return 2;

    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        return 2;
    human_run::SetUp();
    if (trace)
        human_run::gTrace = out;
    if (ghosts)
        ghost_touch::Start();

    std::fprintf(
        out,
        "level\truns\tfinished\tcaught\thits_mean\thits_median\thits_max\tmistakes_mean\tseconds_mean\n");
    for (int level : levels)
    {
        int finished = 0, caught = 0, mistakes = 0;
        double seconds = 0.0;
        std::vector<int> hits;
        for (int run = 0; run < runs; ++run)
        {
            if (trace)
                std::fprintf(out, "level %d run %d\n", level, run);
            const human_run::Run_Report r = human_run::PlayLevel(level, RunSeed(seed, level, run));
            if (trace)
                std::fprintf(out, "  %s after %.0f s, %d knocks, %d mistakes\n",
                             r.mFinished ? "finished" : "caught", r.mFrames / 60.0, r.mHits, r.mMistakes);
            finished += r.mFinished;
            caught += r.mCaught;
            mistakes += r.mMistakes;
            hits.push_back(r.mHits);
            seconds += r.mFrames / 60.0;
        }
        std::sort(hits.begin(), hits.end());
        double total = 0.0;
        for (int h : hits)
            total += h;
        const double median = runs % 2 ? hits[runs / 2] : 0.5 * (hits[runs / 2 - 1] + hits[runs / 2]);
        std::fprintf(out, "%d\t%d\t%d\t%d\t%.2f\t%.1f\t%d\t%.2f\t%.1f\n", level, runs, finished, caught,
                     total / runs, median, hits.back(), static_cast<double>(mistakes) / runs, seconds / runs);
        std::fflush(out);
    }
    if (ghosts)
    {
        for (int level : levels)
            PlayBot(level);
        std::fprintf(out, "\ntype\ttouches\tghosts\n");
        for (int t = 0; t < ghost_touch::TYPE_COUNT; ++t)
            std::fprintf(out, "%s\t%ld\t%ld\n", ghost_touch::TYPES[t], ghost_touch::gTally.mTouches[t],
                         ghost_touch::gTally.mGhosts[t]);
    }
    gEntities.Clear();
    SDL_Quit();
    return 0;
}
