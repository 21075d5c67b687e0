// Plays everything the game sounds: one-shot effects (20 slots used in turn, each on a
// free channel), one voice line at a time on its own channel, and one looping music
// stream. Without an audio device it stays silent; a missing file is silence.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class Sound_Manager
{
public:
    static constexpr int EFFECT_SLOTS = 20;
    static constexpr int CHANNELS = 32;
    static constexpr int MIX_RATE = 44100;
    // Decoded sounds kept for replays beyond those playing, in bytes (about 24 s of sound).
    static constexpr size_t DECODED_BUDGET = 4u << 20;

    Sound_Manager();
    ~Sound_Manager();

    // Starts the audio device. False (one line on standard error) when there is none;
    // every operation then does nothing.
    bool Init();
    void Shutdown();

    // Music and effects at once (the pause menu's keys move both), limited to [0, 1].
    void SetVolume(float v);
    // The effects' volume, which voice lines follow too.
    float GetVolume() const { return mVolume; }
    void SetEffectsLevel(float v) { SetVolume(v, mMusicLevel); }
    // The music's volume; the music playing takes it at once.
    void SetMusicLevel(float v) { SetVolume(mVolume, v); }
    float GetMusicLevel() const { return mMusicLevel; }
    void SetVolume(float effects, float music); // each limited to [0, 1]
    void SetVoiceLevel(float v);                // limited to [0, 1]
    float GetVoiceLevel() const { return mVoiceLevel; }

    void PlayEffect(const std::string& path); // the empty name plays nothing
    // An effect at the music's volume: what the music level sounds like as it is chosen.
    void PlayMusicSample(const std::string& path);
    void PlayVoice(const std::string& path); // replaces the line before
    void PlayMusic(const std::string& path); // replaces the music before; loops
    void StopMusic();
    void StopVoice();
    void PlayRandomEffect(const std::vector<std::string>& paths);
    void PlayRandomVoice(const std::vector<std::string>& paths);
    void Update(); // once a frame: re-applies the voice volume

    // For tests and diagnostics.
    bool IsOpen() const { return mOpen; }
    int GetNextSlot() const { return mNextSlot; }
    const std::string& GetSlotName(int slot) const { return mSlotNames[slot]; }
    const std::string& GetVoiceName() const { return mVoiceName; }
    const std::string& GetMusicName() const { return mMusicName; }
    // Volumes (0..1) as last handed to the mixer: an effect's when it started, the
    // voice's at its start or the last Update, the music's when it started.
    float GetSlotVolume(int slot) const { return mEffectVolumes[slot]; }
    float GetVoiceVolume() const { return mVoiceVolume; }
    float GetMusicVolume() const { return mMusicVolume; }
    // Whether a decoded sound / loaded stream is really held (false for a missing file
    // or without a device).
    bool SlotHoldsSound(int slot) const { return mEffects[slot] != nullptr; }
    bool HoldsVoice() const { return mVoice != nullptr; }
    bool HoldsMusic() const { return mMusic != nullptr; }
    bool IsVoicePlaying() const;
    bool IsMusicPlaying() const;
    size_t GetDecodedCount() const { return mDecoded.size(); }

    // Decodes a whole sound file (WAV, MP3, recognised by content) into interleaved
    // 16-bit samples at the given rate and channel count. False, with out left empty,
    // for a missing or undecodable file.
    static bool DecodeFile(const std::string& path, int rate, int channels, std::vector<int16_t>& out);

private:
    struct Decoded; // a decoded sound, owned by its slot

    typedef std::shared_ptr<const std::vector<uint8_t>> Pcm;

    std::unique_ptr<Decoded> Load(const std::string& path);
    void PlayEffectAt(const std::string& path, float volume);
    Pcm Decode(const std::string& path) const;
    void ReleaseMusic();

    int mNextSlot = 0;
    float mVolume = 1.0f; // effects and voices
    float mMusicLevel = 1.0f;
    float mVoiceLevel = 1.0f;
    bool mOpen = false;
    bool mStartedAudio = false; // we started SDL's audio part, so we stop it
    int mRate = MIX_RATE;
    int mChannels = 2;
    uint16_t mFormat; // the mixer's sample format, 16-bit in the machine's order
    std::unique_ptr<Decoded> mEffects[EFFECT_SLOTS];
    std::string mSlotNames[EFFECT_SLOTS];
    float mEffectVolumes[EFFECT_SLOTS] = {};
    std::unique_ptr<Decoded> mVoice;
    std::string mVoiceName;
    float mVoiceVolume = 0.0f;
    void* mMusic = nullptr; // the streamed music (Mix_Music)
    std::string mMusicName;
    float mMusicVolume = 0.0f;
    // Decoded samples by file name, so a sound played again (the results screen asks
    // for its line every frame) costs no decoding; the files do not change during play.
    std::map<std::string, Pcm> mDecoded;
};

extern Sound_Manager gSound;
