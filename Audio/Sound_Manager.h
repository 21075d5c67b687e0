// Plays everything the game sounds: one-shot effects (20 slots used in turn, each on a
// free channel), one voice line at a time on its own channel, and one looping music
// stream. Without an audio device it stays silent; a missing file is silence.
#pragma once

#include <string>
#include <vector>

class Sound_Manager
{
public:
    static const int EFFECT_SLOTS = 20;
    static const int CHANNELS = 32;

    Sound_Manager();
    ~Sound_Manager();

    // Starts the audio device. False (one line on standard error) when there is none;
    // every operation then does nothing.
    bool Init();
    void Shutdown();

    void SetVolume(float v);           // limited to [0, 1]
    float GetVolume() const { return mVolume; }
    void SetVoiceLevel(float v);       // limited to [0, 1]
    float GetVoiceLevel() const { return mVoiceLevel; }

    void PlayEffect(const std::string& path);   // the empty name plays nothing
    void PlayVoice(const std::string& path);    // replaces the line before
    void PlayMusic(const std::string& path);    // replaces the music before; loops
    void StopMusic();
    void StopVoice();
    void PlayRandomEffect(const std::vector<std::string>& paths);
    void PlayRandomVoice(const std::vector<std::string>& paths);
    void Update();                     // once a frame: re-applies the voice volume

    // For tests and diagnostics.
    bool IsOpen() const { return mOpen; }
    int GetNextSlot() const { return mNextSlot; }
    const std::string& GetSlotName(int slot) const { return mSlotNames[slot]; }
    const std::string& GetVoiceName() const { return mVoiceName; }
    const std::string& GetMusicName() const { return mMusicName; }

private:
    struct Decoded;                    // a decoded sound, owned by its slot

    int mNextSlot;
    float mEffectFactor;
    float mMusicFactor;
    float mVolume;
    float mVoiceLevel;
    bool mOpen;
    int mEffectChannel;
    int mVoiceChannel;
    Decoded* mEffects[EFFECT_SLOTS];
    std::string mSlotNames[EFFECT_SLOTS];
    Decoded* mVoice;
    std::string mVoiceName;
    void* mMusic;                      // the streamed music (Mix_Music)
    std::string mMusicName;
};

extern Sound_Manager gSound;
