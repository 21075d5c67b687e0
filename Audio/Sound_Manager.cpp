#include "Audio/Sound_Manager.h"

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <fcntl.h>
#include <unistd.h>

Sound_Manager gSound;

namespace
{
// Longest sound we decode whole; anything longer is cut here rather than filling memory.
const sf_count_t MAX_DECODED_SECONDS = 300;
// Effects and music play at these fractions of the volumes chosen, under the voices.
const float EFFECT_FACTOR = 0.4f;
const float MUSIC_FACTOR = 0.3f;
// The voice's own channel, which effects never land on.
const int VOICE_CHANNEL = 0;

// The mixer takes volumes 0..128.
int MixerVolume(float v)
{
    int level = static_cast<int>(std::lround(v * MIX_MAX_VOLUME));
    if (level < 0)
        return 0;
    return level > MIX_MAX_VOLUME ? MIX_MAX_VOLUME : level;
}

// Some audio back ends (ALSA without a card) write pages of their own complaints while
// SDL probes them; those are muted while the device opens, and a failure is told in
// one line of ours.
class Quiet_Stderr
{
public:
    Quiet_Stderr()
    {
        std::fflush(stderr);
        mSaved = dup(STDERR_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        if (mSaved >= 0 && null >= 0)
            dup2(null, STDERR_FILENO);
        if (null >= 0)
            close(null);
    }
    ~Quiet_Stderr()
    {
        std::fflush(stderr);
        if (mSaved >= 0)
        {
            dup2(mSaved, STDERR_FILENO);
            close(mSaved);
        }
    }

private:
    int mSaved;
};

float Limit(float v)
{
    if (!(v >= 0.0f)) // also catches NaN
        return 0.0f;
    return v > 1.0f ? 1.0f : v;
}

// Reads in blocks: an MP3's frame count is only an estimate. Gives the frames read.
sf_count_t ReadFrames(SNDFILE* file, const SF_INFO& info, std::vector<float>& in)
{
    const sf_count_t maxFrames = MAX_DECODED_SECONDS * info.samplerate;
    const sf_count_t block = 16384;
    std::vector<float> buffer(static_cast<size_t>(block * info.channels));
    sf_count_t total = 0;
    while (total < maxFrames)
    {
        const sf_count_t got = sf_readf_float(file, buffer.data(), block);
        if (got <= 0)
            break;
        in.insert(in.end(), buffer.begin(), buffer.begin() + got * info.channels);
        total += got;
    }
    return total;
}

// To the wanted channel count, still at the file's rate.
void MixChannels(std::vector<float>& samples, sf_count_t total, int inChannels, int channels)
{
    if (inChannels == channels)
        return;
    std::vector<float> mixed(static_cast<size_t>(total * channels));
    for (sf_count_t i = 0; i < total; ++i)
    {
        const float* frame = &samples[static_cast<size_t>(i * inChannels)];
        float* dest = &mixed[static_cast<size_t>(i * channels)];
        if (channels == 1)
        {
            float sum = 0.0f;
            for (int k = 0; k < inChannels; ++k)
                sum += frame[k];
            dest[0] = sum / inChannels;
        }
        else
        {
            for (int c = 0; c < channels; ++c)
                dest[c] = frame[c < inChannels ? c : inChannels - 1];
        }
    }
    samples.swap(mixed);
}

// Then to the mixer's rate, in 16 bits.
void Resample(const std::vector<float>& mixed, sf_count_t total, int inRate, int rate, int channels,
              sf_count_t outFrames, std::vector<int16_t>& out)
{
    out.resize(static_cast<size_t>(outFrames * channels));
    const double step = static_cast<double>(inRate) / rate;
    for (sf_count_t i = 0; i < outFrames; ++i)
    {
        const double pos = static_cast<double>(i) * step;
        sf_count_t i0 = static_cast<sf_count_t>(pos);
        if (i0 >= total)
            i0 = total - 1;
        const sf_count_t i1 = i0 + 1 < total ? i0 + 1 : i0;
        const float frac = static_cast<float>(pos - static_cast<double>(i0));
        const float* a = &mixed[static_cast<size_t>(i0 * channels)];
        const float* b = &mixed[static_cast<size_t>(i1 * channels)];
        int16_t* dest = &out[static_cast<size_t>(i * channels)];
        for (int c = 0; c < channels; ++c)
        {
            float v = (a[c] + (b[c] - a[c]) * frac) * 32767.0f;
            if (!(v > -32767.0f)) // also catches NaN
                v = -32767.0f;
            else if (v > 32767.0f)
                v = 32767.0f;
            dest[c] = static_cast<int16_t>(v >= 0.0f ? v + 0.5f : v - 0.5f);
        }
    }
}
} // namespace

struct Sound_Manager::Decoded
{
    Pcm pcm; // in the mixer's own format; the chunk points here
    Mix_Chunk* chunk = nullptr;

    Decoded(Pcm samples, Mix_Chunk* c) : pcm(std::move(samples)), chunk(c) {}
    Decoded(const Decoded&) = delete;
    Decoded& operator=(const Decoded&) = delete;
    // Freeing a chunk also stops every channel still playing it.
    ~Decoded() { Mix_FreeChunk(chunk); }
};

Sound_Manager::Sound_Manager() : mFormat(AUDIO_S16SYS) {}

Sound_Manager::~Sound_Manager()
{
    Shutdown();
}

bool Sound_Manager::Init()
{
    Shutdown();
    mNextSlot = 0;
    mVolume = 1.0f;
    mMusicLevel = 1.0f;
    mVoiceLevel = 1.0f;

    std::string failure;
    {
        Quiet_Stderr quiet;
        if (!SDL_WasInit(SDL_INIT_AUDIO))
        {
            if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0)
                failure = std::string("no audio device (") + SDL_GetError() + ")";
            else
                mStartedAudio = true;
        }
        if (failure.empty() && Mix_OpenAudio(MIX_RATE, AUDIO_S16SYS, 2, 1024) < 0)
        {
            failure = std::string("the audio device would not open (") + Mix_GetError() + ")";
            if (mStartedAudio)
                SDL_QuitSubSystem(SDL_INIT_AUDIO);
            mStartedAudio = false;
        }
    }
    if (!failure.empty())
    {
        std::fprintf(stderr, "Sound: %s, playing silently\n", failure.c_str());
        return false;
    }

    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    mRate = rate > 0 ? rate : MIX_RATE;
    mFormat = format;
    mChannels = channels > 0 ? channels : 2;

    Mix_AllocateChannels(CHANNELS);
    Mix_ReserveChannels(1); // the voice's
    mOpen = true;
    return true;
}

void Sound_Manager::Shutdown()
{
    if (mOpen)
    {
        Mix_HaltMusic();
        Mix_HaltChannel(-1);
    }
    for (int i = 0; i < EFFECT_SLOTS; ++i)
        mEffects[i].reset();
    mVoice.reset();
    ReleaseMusic();
    mDecoded.clear();
    if (mOpen)
    {
        Mix_CloseAudio();
        if (mStartedAudio)
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    mOpen = false;
    mStartedAudio = false;
}

void Sound_Manager::SetVolume(float v)
{
    SetVolume(v, v);
}

void Sound_Manager::SetVolume(float effects, float music)
{
    mVolume = Limit(effects);
    const float musicLevel = Limit(music);
    if (musicLevel == mMusicLevel)
        return;
    mMusicLevel = musicLevel;
    // Heard at once while it is being chosen, not only when the next track starts.
    if (mMusic)
    {
        mMusicVolume = mMusicLevel * MUSIC_FACTOR;
        Mix_VolumeMusic(MixerVolume(mMusicVolume));
    }
}

void Sound_Manager::SetVoiceLevel(float v)
{
    mVoiceLevel = Limit(v);
}

void Sound_Manager::ReleaseMusic()
{
    if (!mMusic)
        return;
    Mix_Music* music = static_cast<Mix_Music*>(mMusic);
    if (mOpen)
        Mix_HaltMusic();
    Mix_FreeMusic(music);
    mMusic = nullptr;
}

Sound_Manager::Pcm Sound_Manager::Decode(const std::string& path) const
{
    std::vector<int16_t> samples;
    if (!DecodeFile(path, mRate, mChannels, samples))
        return nullptr;
    const size_t bytes = samples.size() * sizeof(int16_t);
    const Uint8* raw = reinterpret_cast<const Uint8*>(samples.data());
    auto pcm = std::make_shared<std::vector<uint8_t>>();
    if (mFormat == AUDIO_S16SYS)
    {
        pcm->assign(raw, raw + bytes);
        return pcm;
    }
    // The device gave us another sample format: convert once, here.
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, AUDIO_S16SYS, static_cast<Uint8>(mChannels), mRate, mFormat,
                          static_cast<Uint8>(mChannels), mRate) < 0)
        return nullptr;
    pcm->resize(bytes * static_cast<size_t>(cvt.len_mult > 0 ? cvt.len_mult : 1));
    std::copy(raw, raw + bytes, pcm->begin());
    cvt.buf = pcm->data();
    cvt.len = static_cast<int>(bytes);
    if (SDL_ConvertAudio(&cvt) < 0)
        return nullptr;
    pcm->resize(static_cast<size_t>(cvt.len_cvt));
    return pcm;
}

std::unique_ptr<Sound_Manager::Decoded> Sound_Manager::Load(const std::string& path)
{
    if (!mOpen || path.empty())
        return nullptr;
    Pcm pcm;
    auto found = mDecoded.find(path);
    if (found != mDecoded.end())
    {
        pcm = found->second;
    }
    else
    {
        // A missing file is looked for again next time: it is cheap to fail.
        pcm = Decode(path);
        if (!pcm || pcm->empty())
            return nullptr;
        mDecoded[path] = pcm;
        // Past the budget, forget sounds nothing is playing: over a long session every
        // one of the dragon's lines is heard, and keeping them all would grow the game
        // by megabytes for as long as it runs.
        size_t total = 0;
        for (const auto& entry : mDecoded)
            total += entry.second->size();
        for (auto it = mDecoded.begin(); total > DECODED_BUDGET && it != mDecoded.end();)
        {
            if (it->second.use_count() == 1) // held by this cache alone
            {
                total -= it->second->size();
                it = mDecoded.erase(it);
            }
            else
            {
                ++it;
            }
        }
    }
    // Each play gets its own chunk (it carries its own volume) over the shared samples.
    Mix_Chunk* chunk = Mix_QuickLoad_RAW(const_cast<Uint8*>(pcm->data()), static_cast<Uint32>(pcm->size()));
    if (!chunk)
        return nullptr;
    return std::make_unique<Decoded>(pcm, chunk);
}

void Sound_Manager::PlayEffect(const std::string& path)
{
    PlayEffectAt(path, mVolume * EFFECT_FACTOR);
}

void Sound_Manager::PlayMusicSample(const std::string& path)
{
    PlayEffectAt(path, mMusicLevel * MUSIC_FACTOR);
}

void Sound_Manager::PlayEffectAt(const std::string& path, float volume)
{
    if (path.empty())
        return;
    const int slot = mNextSlot;
    mEffects[slot].reset();
    mSlotNames[slot] = path;
    mEffectVolumes[slot] = volume;
    mEffects[slot] = Load(path);
    if (mEffects[slot])
    {
        // The chunk carries the volume, so it holds from the first sample on; effect
        // channels themselves stay at full volume.
        Mix_VolumeChunk(mEffects[slot]->chunk, MixerVolume(mEffectVolumes[slot]));
        const int channel = Mix_PlayChannel(-1, mEffects[slot]->chunk, 0);
        if (channel >= 0)
            Mix_Volume(channel, MIX_MAX_VOLUME);
    }
    mNextSlot = (mNextSlot + 1) % EFFECT_SLOTS;
}

void Sound_Manager::PlayVoice(const std::string& path)
{
    std::printf("Playing: %s\n", path.c_str());
    std::fflush(stdout);
    if (mOpen)
        Mix_HaltChannel(VOICE_CHANNEL);
    mVoice.reset();
    mVoiceName = path;
    mVoiceVolume = mVoiceLevel * mVolume;
    mVoice = Load(path);
    if (mVoice)
    {
        Mix_Volume(VOICE_CHANNEL, MixerVolume(mVoiceVolume));
        Mix_PlayChannel(VOICE_CHANNEL, mVoice->chunk, 0);
    }
}

void Sound_Manager::PlayMusic(const std::string& path)
{
    ReleaseMusic();
    mMusicName = path;
    mMusicVolume = mMusicLevel * MUSIC_FACTOR;
    if (!mOpen)
        return;
    Mix_Music* music = Mix_LoadMUS(path.c_str());
    if (!music)
        return;
    mMusic = music;
    Mix_VolumeMusic(MixerVolume(mMusicVolume));
    if (Mix_PlayMusic(music, -1) == 0)
        Mix_VolumeMusic(MixerVolume(mMusicVolume));
}

void Sound_Manager::StopMusic()
{
    ReleaseMusic();
    mMusicName.clear();
}

void Sound_Manager::StopVoice()
{
    if (mOpen && mVoice)
        Mix_HaltChannel(VOICE_CHANNEL);
    mVoice.reset();
    mVoiceName.clear();
}

void Sound_Manager::PlayRandomEffect(const std::vector<std::string>& paths)
{
    if (paths.empty())
        return;
    const size_t i = static_cast<size_t>(std::rand()) % paths.size();
    PlayEffect(paths[i]);
}

void Sound_Manager::PlayRandomVoice(const std::vector<std::string>& paths)
{
    if (paths.empty())
        return;
    const size_t i = static_cast<size_t>(std::rand()) % paths.size();
    std::printf("random: %zu\n", i);
    PlayVoice(paths[i]);
}

void Sound_Manager::Update()
{
    mVoiceVolume = mVoiceLevel * mVolume;
    if (mOpen)
        Mix_Volume(VOICE_CHANNEL, MixerVolume(mVoiceVolume));
}

bool Sound_Manager::IsVoicePlaying() const
{
    return mOpen && mVoice && Mix_Playing(VOICE_CHANNEL) && Mix_GetChunk(VOICE_CHANNEL) == mVoice->chunk;
}

bool Sound_Manager::IsMusicPlaying() const
{
    return mOpen && mMusic && Mix_PlayingMusic();
}

bool Sound_Manager::DecodeFile(const std::string& path, int rate, int channels, std::vector<int16_t>& out)
{
    out.clear();
    if (path.empty() || rate <= 0 || channels <= 0)
        return false;
    SF_INFO info = {};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
        return false;
    std::vector<float> samples;
    sf_count_t total = 0;
    if (info.channels > 0 && info.channels <= 64 && info.samplerate > 0)
        total = ReadFrames(file, info, samples);
    sf_close(file);
    if (total == 0)
        return false;

    // Linear resampling to the mixer's rate, mixing or spreading the channels.
    const sf_count_t outFrames = static_cast<sf_count_t>(static_cast<double>(total) * rate / info.samplerate);
    if (outFrames <= 0)
        return false;
    MixChannels(samples, total, info.channels, channels);
    Resample(samples, total, info.samplerate, rate, channels, outFrames, out);
    return true;
}
