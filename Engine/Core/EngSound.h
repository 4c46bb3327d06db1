#pragma once

// Sound effects: each EngSound is one PCM wave file held whole in a static buffer, played once or looped,
// with volume, pitch and an optional 3D position. The generic calls forward to the platform half (the
// methods ending in DX, backed by OpenAL) while sound system 1 runs; with none running they only note it.
// Main thread only.

#include "Engine/Core/EngTypes.h"
#include "Engine/Core/EngWave.h"

// 0 none, 1 the one system there is (named after the interface it stands in for).
typedef int _EngSoundSystem;
constexpr _EngSoundSystem ENG_SOUND_SYSTEM_NONE = 0;
constexpr _EngSoundSystem ENG_SOUND_SYSTEM_DX8 = 1;

constexpr int ENG_SOUND_SAMPLE_NAME_SIZE = 512;

// Set by EngSoundInit; the running system is kept apart.
struct _EngSoundOptions
{
    _EngSoundSystem system;
    bool allow_3d;
    bool frequency_control;
    bool current_position_2;
    char sample_wave[ENG_SOUND_SAMPLE_NAME_SIZE];
    int unused;
};

bool EngSoundInit(_EngSoundSystem system, bool allow_3d, bool frequency_control, bool current_position_2,
                  const char* sample_wave, int unused);
void EngSoundShutdown();
_EngSoundSystem EngSoundGetRunningSystem();
const _EngSoundOptions& EngSoundGetOptions();
// True once the running system's output device has gone away (unplugged, the sound server ended).
bool EngSoundIsDeviceLost();

// Attenuation in hundredths of a decibel for a volume of 0..1: 0 at full volume, -10,000 for silence.
int EngSoundVolumeToAttenuation(float volume);

class EngSound
{
public:
    EngSound();
    EngSound(const char* file, bool is_3d, int unused);
    ~EngSound();
    EngSound(const EngSound&) = delete;
    EngSound& operator=(const EngSound&) = delete;

    bool LoadSoundFromFile(const char* file, bool is_3d);
    // Both start from the beginning, also when the sound is already playing.
    bool Play();
    bool PlayLooped();
    void Stop();
    void SetVolume(float volume);
    // Frequency := the file's frequency x factor, in whole hertz.
    void SetPitch(float factor);
    void Set3dPosition(float x, float y, float z);

    bool IsLoaded() const { return m_loaded; }
    float GetDuration() const { return m_duration; }
    unsigned GetInitialFrequency() const { return m_initial_frequency; }
    const _EngWaveFormat& GetFormat() const { return m_format; }

    // The platform half.
    bool LoadSoundFromFileDX(const char* file, bool is_3d, bool format_only);
    bool PlayDX(bool looped);
    void StopDX();
    void SetVolumeDX(int attenuation);
    bool SetFrequencyDX(unsigned frequency);
    unsigned GetFrequencyDX();
    void Set3dPositionDX(float x, float y, float z);
    void DestroyDX();
    // The OpenAL source that plays this sound, 0 when there is none.
    unsigned GetSourceDX() const { return m_source; }

private:
    bool HasBufferDX() const;

    bool m_loaded;
    float m_duration;
    unsigned m_initial_frequency;
    unsigned m_buffer;
    unsigned m_source;
    bool m_has_3d;
    // Which start of the sound system made the buffers: after a restart they belong to no one.
    unsigned m_generation;
    _EngWaveFormat m_format;
    EngUInt32 m_reserved;
};
