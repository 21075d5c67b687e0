// The sound manager on SDL's dummy audio driver (and with no driver at all).
#include "Audio/Sound_Manager.h"
#include "Core/Constants.h"

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
class Sound_Test : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_TRUE(mSound.Init());
    }
    void TearDown() override { mSound.Shutdown(); }

    Sound_Manager mSound;
};

// Writes a one-second sine tone as a WAV file at the given rate.
// One second of a tone at half loudness, on the first channel; any others are silent.
std::string WriteTone(const std::string& name, int rate, double freq, int channels = 1)
{
    const std::string path = testing::TempDir() + name;
    SF_INFO info = {};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    std::vector<float> samples(static_cast<size_t>(rate * channels));
    for (int i = 0; i < rate; ++i)
        samples[static_cast<size_t>(i * channels)] =
            0.5f * static_cast<float>(std::sin(2 * M_PI * freq * i / rate));
    sf_writef_float(file, samples.data(), rate);
    sf_close(file);
    return path;
}
} // namespace

TEST(Sound_Volume, LevelsAreLimitedToZeroAndOne)
{
    Sound_Manager sound;
    sound.SetVolume(1.3f);
    EXPECT_FLOAT_EQ(1.0f, sound.GetVolume());
    sound.SetVolume(-0.2f);
    EXPECT_FLOAT_EQ(0.0f, sound.GetVolume());
    sound.SetVolume(0.7f);
    EXPECT_FLOAT_EQ(0.7f, sound.GetVolume());
    sound.SetVolume(NAN);
    EXPECT_FLOAT_EQ(0.0f, sound.GetVolume());

    sound.SetVoiceLevel(1.3f);
    EXPECT_FLOAT_EQ(1.0f, sound.GetVoiceLevel());
    sound.SetVoiceLevel(-0.2f);
    EXPECT_FLOAT_EQ(0.0f, sound.GetVoiceLevel());

    // The pause screen's volume keys step from 1.0 upwards and from 0.0 downwards.
    sound.SetVolume(1.0f);
    sound.SetVolume(sound.GetVolume() + 0.1f);
    EXPECT_FLOAT_EQ(1.0f, sound.GetVolume());
}

TEST_F(Sound_Test, EachKindOfSoundPlaysAtItsProductOfLevels)
{
    mSound.SetVolume(0.5f);
    mSound.SetVoiceLevel(0.5f);
    mSound.PlayEffect(SOUND_BELL);
    mSound.PlayVoice(VOICE_ROAR);
    mSound.PlayMusic(MUSIC_LEVEL);
    EXPECT_FLOAT_EQ(0.2f, mSound.GetSlotVolume(0));  // volume x 0.4
    EXPECT_FLOAT_EQ(0.25f, mSound.GetVoiceVolume()); // voice level x volume
    EXPECT_FLOAT_EQ(0.15f, mSound.GetMusicVolume()); // volume x 0.3
    EXPECT_EQ(32, Mix_Volume(0, -1));                // the voice channel, on the mixer's scale
    EXPECT_EQ(19, Mix_VolumeMusic(-1));

    // A change reaches the voice at the next Update, the music playing at once (it is
    // heard while being chosen), and effects only when they start.
    mSound.SetVolume(1.0f);
    mSound.SetVoiceLevel(0.8f);
    EXPECT_FLOAT_EQ(0.25f, mSound.GetVoiceVolume());
    mSound.Update();
    EXPECT_FLOAT_EQ(0.8f, mSound.GetVoiceVolume());
    EXPECT_EQ(102, Mix_Volume(0, -1));
    EXPECT_FLOAT_EQ(0.3f, mSound.GetMusicVolume());
    EXPECT_EQ(38, Mix_VolumeMusic(-1));
    EXPECT_FLOAT_EQ(0.2f, mSound.GetSlotVolume(0));
    mSound.PlayEffect(SOUND_BELL);
    EXPECT_FLOAT_EQ(0.4f, mSound.GetSlotVolume(1));

    // Music and effects each keep their own level; voices follow the effects, and the
    // music's sample sounds at the music's level.
    mSound.SetVolume(0.5f, 0.2f);
    EXPECT_NEAR(0.06f, mSound.GetMusicVolume(), 1e-6f);
    EXPECT_EQ(8, Mix_VolumeMusic(-1));
    mSound.PlayEffect(SOUND_BELL);
    EXPECT_FLOAT_EQ(0.2f, mSound.GetSlotVolume(2));
    mSound.PlayMusicSample(SOUND_GOOD_TONE);
    EXPECT_NEAR(0.06f, mSound.GetSlotVolume(3), 1e-6f);
    mSound.Update();
    EXPECT_FLOAT_EQ(0.4f, mSound.GetVoiceVolume());
    mSound.PlayMusic(MUSIC_LEVEL);
    EXPECT_NEAR(0.06f, mSound.GetMusicVolume(), 1e-6f);
}

TEST_F(Sound_Test, TwentyFirstEffectCutsOffTheOldest)
{
    // The bell rings for two seconds, so all of them are still sounding.
    for (int i = 0; i < Sound_Manager::EFFECT_SLOTS; ++i)
        mSound.PlayEffect(i == 0 ? SOUND_THUNDER : SOUND_BELL);
    EXPECT_EQ(0, mSound.GetNextSlot());
    EXPECT_EQ(Sound_Manager::EFFECT_SLOTS, Mix_Playing(-1));
    EXPECT_EQ(SOUND_THUNDER, mSound.GetSlotName(0));

    mSound.PlayEffect(SOUND_MONEY);
    EXPECT_EQ(1, mSound.GetNextSlot());
    EXPECT_EQ(SOUND_MONEY, mSound.GetSlotName(0));
    EXPECT_TRUE(mSound.SlotHoldsSound(0));
    EXPECT_EQ(SOUND_BELL, mSound.GetSlotName(1));
    // Still twenty at once: the thunder of slot 0 stopped when its slot was reused.
    EXPECT_EQ(Sound_Manager::EFFECT_SLOTS, Mix_Playing(-1));
    // The voice channel is kept free for the voice.
    EXPECT_FALSE(Mix_Playing(0));
}

TEST_F(Sound_Test, EmptyNameAndMissingFilesAreSilent)
{
    mSound.PlayEffect(SOUND_BELL);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    mSound.PlayEffect(SOUND_NONE);
    EXPECT_EQ(1, mSound.GetNextSlot()); // the empty name does not use a slot
    EXPECT_EQ("", mSound.GetSlotName(1));

    mSound.PlayEffect(SOUND_INTRO_WAKE);       // no such file ships
    mSound.PlayEffect("Data/Images/wall.png"); // not a sound at all
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ("", out);
    EXPECT_EQ("", err);
    EXPECT_EQ(3, mSound.GetNextSlot());
    EXPECT_FALSE(mSound.SlotHoldsSound(1));
    EXPECT_FALSE(mSound.SlotHoldsSound(2));
    EXPECT_EQ(1, Mix_Playing(-1)); // only the bell

    testing::internal::CaptureStderr();
    mSound.PlayMusic(MUSIC_PATH + "no_such_tune.wav");
    EXPECT_EQ("", testing::internal::GetCapturedStderr());
    EXPECT_FALSE(mSound.HoldsMusic());
    EXPECT_FALSE(mSound.IsMusicPlaying());
}

TEST_F(Sound_Test, RandomChoiceFromAnEmptyListDoesNothing)
{
    mSound.PlayVoice(VOICE_ROAR);
    testing::internal::CaptureStdout();
    mSound.PlayRandomVoice({});
    mSound.PlayRandomEffect({});
    EXPECT_EQ("", testing::internal::GetCapturedStdout());
    EXPECT_EQ(VOICE_ROAR, mSound.GetVoiceName());
    EXPECT_EQ(0, mSound.GetNextSlot());

    const std::vector<std::string> lines = {VOICE_I_SEE_YOU, VOICE_PUT_THAT_DOWN};
    srand(7);
    const int expected = rand() % 2;
    srand(7);
    testing::internal::CaptureStdout();
    mSound.PlayRandomVoice(lines);
    EXPECT_EQ("random: " + std::to_string(expected) + "\nPlaying: " + lines[expected] + "\n",
              testing::internal::GetCapturedStdout());
    EXPECT_EQ(lines[expected], mSound.GetVoiceName());
}

TEST_F(Sound_Test, NewVoiceLineReplacesTheOldOne)
{
    testing::internal::CaptureStdout();
    mSound.PlayVoice(VOICE_MINE_AGAIN);
    EXPECT_EQ("Playing: " + VOICE_MINE_AGAIN + "\n", testing::internal::GetCapturedStdout());
    EXPECT_TRUE(mSound.IsVoicePlaying());
    mSound.PlayVoice(VOICE_LUNCH_TIME); // no extension: known by its content
    EXPECT_EQ(VOICE_LUNCH_TIME, mSound.GetVoiceName());
    EXPECT_TRUE(mSound.HoldsVoice());
    EXPECT_TRUE(mSound.IsVoicePlaying());
    EXPECT_EQ(1, Mix_Playing(-1)); // one voice line at a time

    mSound.StopVoice();
    EXPECT_FALSE(mSound.IsVoicePlaying());
    EXPECT_FALSE(mSound.HoldsVoice());
    EXPECT_EQ(0, Mix_Playing(-1));
    mSound.StopVoice(); // stopping twice is harmless

    // A missing line silences the one before it.
    mSound.PlayVoice(VOICE_ROAR);
    mSound.PlayVoice(DRAGON_PATH + "Missing_Line.mp3");
    EXPECT_FALSE(mSound.IsVoicePlaying());
    EXPECT_EQ(0, Mix_Playing(-1));
}

TEST_F(Sound_Test, NewMusicReplacesTheOldAndLoops)
{
    mSound.PlayMusic(MUSIC_THEME);
    EXPECT_TRUE(mSound.IsMusicPlaying());
    mSound.PlayMusic(MUSIC_CREDITS);
    EXPECT_EQ(MUSIC_CREDITS, mSound.GetMusicName());
    EXPECT_TRUE(mSound.IsMusicPlaying());
    mSound.StopMusic();
    EXPECT_FALSE(mSound.IsMusicPlaying());
    EXPECT_EQ("", mSound.GetMusicName());
    mSound.StopMusic();
    mSound.PlayMusic(MUSIC_LEVEL);
    EXPECT_TRUE(mSound.IsMusicPlaying());
}

TEST_F(Sound_Test, ShutdownReleasesEverythingAndInitStartsAfresh)
{
    mSound.SetVolume(0.3f);
    mSound.PlayEffect(SOUND_BELL);
    mSound.PlayVoice(VOICE_ROAR);
    mSound.PlayMusic(MUSIC_LEVEL);
    mSound.Shutdown();
    EXPECT_FALSE(mSound.IsOpen());
    EXPECT_FALSE(mSound.SlotHoldsSound(0));
    EXPECT_FALSE(mSound.HoldsVoice());
    EXPECT_FALSE(mSound.HoldsMusic());
    mSound.Shutdown();

    ASSERT_TRUE(mSound.Init());
    EXPECT_FLOAT_EQ(1.0f, mSound.GetVolume());
    EXPECT_EQ(0, mSound.GetNextSlot());
    mSound.PlayEffect(SOUND_BELL);
    EXPECT_EQ(1, Mix_Playing(-1));
}

TEST(Sound_No_Device, StaysSilentButKeepsItsBooks)
{
    setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
    Sound_Manager sound;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(sound.Init());
    const std::string err = testing::internal::GetCapturedStderr();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_FALSE(err.empty());
    EXPECT_EQ(1, std::count(err.begin(), err.end(), '\n')); // one line

    sound.SetVolume(0.5f);
    for (int i = 0; i < 21; ++i)
        sound.PlayEffect(i == 20 ? SOUND_MONEY : SOUND_BELL);
    EXPECT_EQ(1, sound.GetNextSlot());
    EXPECT_EQ(SOUND_MONEY, sound.GetSlotName(0));
    EXPECT_FALSE(sound.SlotHoldsSound(0));
    EXPECT_FLOAT_EQ(0.2f, sound.GetSlotVolume(0));

    testing::internal::CaptureStdout();
    sound.PlayVoice(VOICE_ROAR);
    EXPECT_EQ("Playing: " + VOICE_ROAR + "\n", testing::internal::GetCapturedStdout());
    sound.PlayMusic(MUSIC_LEVEL);
    sound.Update();
    EXPECT_EQ(VOICE_ROAR, sound.GetVoiceName());
    EXPECT_EQ(MUSIC_LEVEL, sound.GetMusicName());
    EXPECT_FALSE(sound.IsVoicePlaying());
    EXPECT_FALSE(sound.IsMusicPlaying());
    sound.StopVoice();
    sound.StopMusic();
    sound.Shutdown();
}

TEST(Sound_No_Device, BackEndChatterIsKeptOffTheConsole)
{
    // ALSA without a sound card complains at length while SDL probes it.
    setenv("SDL_AUDIODRIVER", "alsa", 1);
    Sound_Manager sound;
    testing::internal::CaptureStderr();
    const bool opened = sound.Init();
    const std::string err = testing::internal::GetCapturedStderr();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (opened)
        EXPECT_EQ("", err);
    else
        EXPECT_EQ(1, std::count(err.begin(), err.end(), '\n')) << err;
    sound.Shutdown();
}

TEST(Sound_Decode, ResamplesToTheMixerRateKeepingThePitch)
{
    const std::string path = WriteTone("zq_tone_8k.wav", 8000, 1000.0);
    std::vector<int16_t> pcm;
    ASSERT_TRUE(Sound_Manager::DecodeFile(path, 44100, 2, pcm));
    const size_t frames = pcm.size() / 2;
    EXPECT_NEAR(44100.0, static_cast<double>(frames), 2.0);
    int crossings = 0;
    for (size_t i = 1; i < frames; ++i)
    {
        EXPECT_EQ(pcm[2 * i], pcm[2 * i + 1]) << "mono is spread to both sides";
        if ((pcm[2 * (i - 1)] < 0) != (pcm[2 * i] < 0))
            ++crossings;
        if (HasFailure())
            break;
    }
    EXPECT_NEAR(2000, crossings, 4); // 1000 Hz for one second
    int16_t peak = 0;
    for (int16_t s : pcm)
        peak = std::max<int16_t>(peak, static_cast<int16_t>(std::abs(s)));
    EXPECT_NEAR(16383, peak, 400);

    EXPECT_FALSE(Sound_Manager::DecodeFile("Data/Sound/no_such_file.wav", 44100, 2, pcm));
    EXPECT_TRUE(pcm.empty());
    EXPECT_FALSE(Sound_Manager::DecodeFile(path, 0, 2, pcm));
}

// A device that opened in mono gets stereo files mixed down: a tone on the left alone
// comes out at half its loudness, one sample a frame.
TEST(Sound_Decode, StereoMixesDownForAMonoMixer)
{
    const std::string path = WriteTone("zq_tone_left.wav", 8000, 1000.0, 2);
    std::vector<int16_t> pcm;
    ASSERT_TRUE(Sound_Manager::DecodeFile(path, 8000, 1, pcm));
    EXPECT_EQ(8000u, pcm.size());
    EXPECT_NEAR(8192, *std::max_element(pcm.begin(), pcm.end()), 300);
}

TEST(Sound_Shutdown, SafeAfterTheProgramHasClosedSdl)
{
    // main closes SDL before the global manager is destroyed; what it still holds then
    // must be let go without touching the closed device.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    Sound_Manager sound;
    ASSERT_TRUE(sound.Init());
    sound.PlayEffect(SOUND_BELL);
    sound.PlayVoice(VOICE_ROAR);
    sound.PlayMusic(MUSIC_LEVEL);
    SDL_Quit();
    sound.Shutdown();
    EXPECT_FALSE(sound.IsOpen());
    EXPECT_FALSE(sound.HoldsMusic());

    // and the audio starts again afterwards
    ASSERT_TRUE(sound.Init());
    sound.PlayEffect(SOUND_BELL);
    EXPECT_EQ(1, Mix_Playing(-1));
}

TEST_F(Sound_Test, ReplayedSoundsAreDecodedOnceAndPlayTogether)
{
    mSound.PlayEffect(SOUND_BELL);
    mSound.PlayEffect(SOUND_BELL);
    mSound.PlayEffect(SOUND_INTRO_WAKE);
    EXPECT_EQ(1u, mSound.GetDecodedCount()); // a missing file is not remembered
    EXPECT_EQ(2, Mix_Playing(-1));           // two bells at once over the same samples
    for (int frame = 0; frame < 30; ++frame)
        mSound.PlayVoice(VOICE_NOT_WORTH_IT);
    EXPECT_EQ(2u, mSound.GetDecodedCount());
    EXPECT_TRUE(mSound.IsVoicePlaying());
    // Reusing the first bell's slot leaves the second ringing.
    for (int i = 3; i < Sound_Manager::EFFECT_SLOTS; ++i)
        mSound.PlayEffect(SOUND_INTRO_WAKE);
    mSound.PlayEffect(SOUND_INTRO_WAKE);
    EXPECT_FALSE(mSound.SlotHoldsSound(0));
    EXPECT_TRUE(mSound.SlotHoldsSound(1));
    EXPECT_EQ(2, Mix_Playing(-1)); // the second bell and the voice
    mSound.Shutdown();
    EXPECT_EQ(0u, mSound.GetDecodedCount());
}

TEST_F(Sound_Test, RememberedSoundsStayWithinABudgetKeepingWhatPlays)
{
    // A long session hears every one of the dragon's lines; keeping them all decoded
    // would make the game grow for as long as it runs.
    std::vector<std::string> lines;
    for (int i = 0; i < 40; ++i)
        lines.push_back(WriteTone("zq_line_" + std::to_string(i) + ".wav", 44100, 200.0 + 10 * i));
    for (const std::string& line : lines)
        mSound.PlayVoice(line);
    const size_t oneSecond = 44100u * 2u * sizeof(int16_t);
    EXPECT_LE(mSound.GetDecodedCount() * oneSecond, Sound_Manager::DECODED_BUDGET + oneSecond);
    EXPECT_GT(mSound.GetDecodedCount(), 1u);
    EXPECT_TRUE(mSound.IsVoicePlaying());
    EXPECT_EQ(lines.back(), mSound.GetVoiceName());

    // What is still playing is never dropped, even past the budget.
    for (int i = 0; i < Sound_Manager::EFFECT_SLOTS; ++i)
        mSound.PlayEffect(lines[static_cast<size_t>(i)]);
    for (int i = 0; i < Sound_Manager::EFFECT_SLOTS; ++i)
        EXPECT_TRUE(mSound.SlotHoldsSound(i));
    EXPECT_GE(mSound.GetDecodedCount(), static_cast<size_t>(Sound_Manager::EFFECT_SLOTS) + 1);
}
