// Every sound the game names is shipped and really sounds.
#include "Audio/Sound_Manager.h"
#include "Core/Constants.h"
#include "World/Environment_Handler.h"

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{
const int RATE = 22050;

std::vector<std::string> EffectNames()
{
    return {SOUND_MONEY,       SOUND_EARTHQUAKE, SOUND_WIND,    SOUND_FIRE,
            SOUND_MONSTER_HIT, SOUND_SPINNER,    SOUND_BELL,    SOUND_SPRING,
            SOUND_TICK_TOCK,   SOUND_GOOD_TONE,  SOUND_THUNDER, SOUND_LOOP,
            SOUND_SPARKLE,     SOUND_YEHAW,      SOUND_YEEHOO,  SOUND_CHEERING};
}

std::vector<std::string> VoiceNames()
{
    return {VOICE_WAKE_UP,       VOICE_MMM_CHEWY_NICER, VOICE_DINNERS_ON_YOU, VOICE_BURP,
            VOICE_EATING,        VOICE_LUNCH_TIME,      VOICE_MMM_CHEWY,      VOICE_LAUGHING,
            VOICE_LAUGHING2,     VOICE_NOT_WORTH_IT,    VOICE_TOO_OLD,        VOICE_FORGET_IT,
            VOICE_I_SEE_YOU,     VOICE_GONNA_CATCH,     VOICE_GONNA_GETCHA,   VOICE_FOUND_YOU,
            VOICE_PUT_THAT_DOWN, VOICE_PETTY_ROGUE,     VOICE_STOLE_TREASURE, VOICE_HANDS_OFF,
            VOICE_BREATHING,     VOICE_BET_THAT_HURT,   VOICE_SNARLING,       VOICE_MINE_AGAIN,
            VOICE_ROAR,          VOICE_COME_BACK,       VOICE_FAST_FOOD,      VOICE_HEY_SNACKIE,
            VOICE_DOWN_RIGHT,    VOICE_QUEASY,          VOICE_CUT_THAT_OUT,   VOICE_QUIT_SPINNING,
            VOICE_WHAT_THE_CRAP, VOICE_WHERED_HE_GO,    VOICE_SO_SLOW};
}

// Decodes through the game's own decoder; the sound must last and rise well above silence.
void ExpectAudible(const std::string& path, double minSeconds)
{
    SCOPED_TRACE(path);
    ASSERT_TRUE(fs::is_regular_file(path)) << "missing";
    std::vector<int16_t> pcm;
    ASSERT_TRUE(Sound_Manager::DecodeFile(path, RATE, 1, pcm)) << "does not decode";
    EXPECT_GE(pcm.size(), static_cast<size_t>(minSeconds * RATE));
    const auto range = std::minmax_element(pcm.begin(), pcm.end());
    // Both halves of the wave, not a lopsided offset.
    EXPECT_GT(*range.second, 8000);
    EXPECT_LT(*range.first, -8000);
}
} // namespace

TEST(Sound_Files, EveryEffectAndVoiceLineSounds)
{
    for (const std::string& path : EffectNames())
        ExpectAudible(path, 0.2);
    const std::vector<std::string> voices = VoiceNames();
    EXPECT_EQ(35u, std::set<std::string>(voices.begin(), voices.end()).size());
    for (const std::string& path : voices)
        ExpectAudible(path, 0.5);
}

TEST(Sound_Files, VoiceBanksNameShippedLines)
{
    Environment_Handler env;
    env.Init();
    for (const auto* bank : {&env.mEatingLines, &env.mGiveUpLines, &env.mTauntLines, &env.mAttackLines})
        for (const std::string& path : *bank)
            ExpectAudible(path, 0.5);
}

TEST(Sound_Files, DragonLinesAreMp3EvenWithoutExtension)
{
    for (const std::string& path : VoiceNames())
    {
        std::ifstream in(path, std::ios::binary);
        unsigned char head[3] = {};
        in.read(reinterpret_cast<char*>(head), 3);
        const bool frameSync = head[0] == 0xFF && (head[1] & 0xE0) == 0xE0;
        const bool id3 = head[0] == 'I' && head[1] == 'D' && head[2] == '3';
        EXPECT_TRUE(frameSync || id3) << path;
    }
}

TEST(Sound_Files, SoundsNamedInLevelFilesExist)
{
    if (!fs::is_directory(LEVEL_PATH))
        GTEST_SKIP() << "no level folder";
    for (const auto& entry : fs::directory_iterator(LEVEL_PATH))
    {
        if (entry.path().extension() != ".zqt")
            continue;
        std::ifstream in(entry.path());
        std::string word;
        while (in >> word)
        {
            const std::string ext = word.size() > 4 ? word.substr(word.size() - 4) : "";
            if (ext != ".wav" && ext != ".mp3")
                continue;
            std::string found;
            for (const std::string& folder : {std::string(), SOUND_PATH, DRAGON_PATH, MUSIC_PATH})
                if (fs::is_regular_file(folder + word))
                    found = folder + word;
            EXPECT_FALSE(found.empty()) << word << " named in " << entry.path();
            if (!found.empty())
                ExpectAudible(found, 0.2);
        }
    }
}

TEST(Sound_Files, MusicStreamsAndTheLevelLoopIsLongAndSeamless)
{
    for (const std::string& path : {MUSIC_LEVEL, MUSIC_CREDITS, MUSIC_THEME})
        ExpectAudible(path, 25.0);

    std::vector<int16_t> pcm;
    ASSERT_TRUE(Sound_Manager::DecodeFile(MUSIC_LEVEL, Sound_Manager::MIX_RATE, 1, pcm));
    EXPECT_GE(pcm.size(), 30u * Sound_Manager::MIX_RATE);
    // Wrapping from the last sample to the first must be no bigger a step than the
    // music takes anyway, or the loop clicks.
    for (const std::string& path : {MUSIC_LEVEL, MUSIC_CREDITS})
    {
        ASSERT_TRUE(Sound_Manager::DecodeFile(path, Sound_Manager::MIX_RATE, 1, pcm));
        std::vector<int> steps;
        for (size_t i = 1; i < pcm.size(); ++i)
            steps.push_back(std::abs(pcm[i] - pcm[i - 1]));
        std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
        EXPECT_LE(std::abs(pcm.back() - pcm.front()), steps[steps.size() * 99 / 100]) << path;
    }

    // The mixer streams them from disk, MP3 included.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_AUDIO));
    ASSERT_EQ(0, Mix_OpenAudio(Sound_Manager::MIX_RATE, AUDIO_S16SYS, 2, 1024));
    for (const std::string& path : {MUSIC_LEVEL, MUSIC_CREDITS, MUSIC_THEME})
    {
        Mix_Music* music = Mix_LoadMUS(path.c_str());
        EXPECT_NE(nullptr, music) << path << ": " << Mix_GetError();
        if (music)
            Mix_FreeMusic(music);
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

TEST(Sound_Files, WholeSetStaysSmall)
{
    uintmax_t total = 0;
    for (const auto& entry : fs::recursive_directory_iterator("Data/Sound"))
        if (entry.is_regular_file())
            total += entry.file_size();
    EXPECT_LT(total, 25u * 1024 * 1024);
    EXPECT_FALSE(fs::exists(SOUND_INTRO_WAKE)) << "the intro's bare name is meant to be silent";
}
