#include "Engine/Core/EngSound.h"

#include <cmath>
#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/PC/EngSoundDX.h"

namespace {

constexpr float kQuietestVolume = 0.00001f;
constexpr int kSilence = -10000;

_EngSoundOptions g_options = {ENG_SOUND_SYSTEM_NONE, false, false, false, "", 0};
_EngSoundSystem g_running = ENG_SOUND_SYSTEM_NONE;

// True while the one sound system runs; otherwise notes that the call does nothing.
bool SystemRunning(const char* own_name)
{
    if (g_running == ENG_SOUND_SYSTEM_DX8)
        return true;
    DebugNoteQuick(0, own_name, "%s", DebugErrorCodeText(DEBUG_CODE_NIMP));
    return false;
}

}  // namespace

bool EngSoundInit(_EngSoundSystem system, bool allow_3d, bool frequency_control, bool current_position_2,
                  const char* sample_wave, int unused)
{
    g_options.system = system;
    g_options.allow_3d = allow_3d;
    g_options.frequency_control = frequency_control;
    g_options.current_position_2 = current_position_2;
    g_options.unused = unused;
    if (system == ENG_SOUND_SYSTEM_NONE) {
        DebugError(ENG_FUNC, "Sound parameters not setup");
        return false;
    }
    if (sample_wave && std::strlen(sample_wave) >= sizeof(g_options.sample_wave)) {
        DebugError(ENG_FUNC, "Sample sound filename too long");
        return false;
    }
    EngSafeStrcpy(g_options.sample_wave, sample_wave ? sample_wave : "", sizeof(g_options.sample_wave));
    if (g_running == system)
        return true;
    EngSoundShutdown();
    if (system != ENG_SOUND_SYSTEM_DX8) {
        DebugError(ENG_FUNC, "Unknown sound system %d", system);
        return false;
    }
    if (!EngSoundInit_DX9(allow_3d))
        return false;
    g_running = system;
    return true;
}

void EngSoundShutdown()
{
    if (g_running == ENG_SOUND_SYSTEM_DX8)
        EngSoundShutdown_DX9();
    g_running = ENG_SOUND_SYSTEM_NONE;
}

_EngSoundSystem EngSoundGetRunningSystem()
{
    return g_running;
}

const _EngSoundOptions& EngSoundGetOptions()
{
    return g_options;
}

bool EngSoundIsDeviceLost()
{
    return g_running == ENG_SOUND_SYSTEM_DX8 && EngSoundDeviceLost_DX9();
}

int EngSoundVolumeToAttenuation(float volume)
{
    if (!(volume >= kQuietestVolume))
        volume = kQuietestVolume;
    long attenuation = std::lround(2000.0 * std::log10(double(volume)));
    if (attenuation < kSilence)
        return kSilence;
    return attenuation > 0 ? 0 : int(attenuation);
}

EngSound::EngSound()
    : m_loaded(false), m_duration(0.0f), m_initial_frequency(0), m_buffer(0), m_source(0), m_has_3d(false),
      m_generation(0), m_reserved(0)
{
    std::memset(&m_format, 0, sizeof(m_format));
}

EngSound::EngSound(const char* file, bool is_3d, int unused) : EngSound()
{
    (void)unused;
    if (!file || !*file) {
        DebugError(ENG_FUNC, "No filename");
        return;
    }
    if (!EngFileExists(file, false)) {
        DebugError(ENG_FUNC, "Filename does not exist <%s>", file);
        return;
    }
    if (!LoadSoundFromFile(file, is_3d))
        DebugError(ENG_FUNC, "Could not load sound");
}

EngSound::~EngSound()
{
    DestroyDX();
}

bool EngSound::LoadSoundFromFile(const char* file, bool is_3d)
{
    if (!SystemRunning(ENG_FUNC))
        return false;
    return LoadSoundFromFileDX(file, is_3d && g_options.allow_3d, false);
}

bool EngSound::Play()
{
    return SystemRunning(ENG_FUNC) && PlayDX(false);
}

bool EngSound::PlayLooped()
{
    return SystemRunning(ENG_FUNC) && PlayDX(true);
}

void EngSound::Stop()
{
    if (SystemRunning(ENG_FUNC))
        StopDX();
}

void EngSound::SetVolume(float volume)
{
    if (SystemRunning(ENG_FUNC))
        SetVolumeDX(EngSoundVolumeToAttenuation(volume));
}

void EngSound::SetPitch(float factor)
{
    if (!SystemRunning(ENG_FUNC))
        return;
    if (!g_options.frequency_control) {
        DebugError(ENG_FUNC, "Frequency operations not enabled.");
        return;
    }
    double frequency = double(m_initial_frequency) * factor;
    SetFrequencyDX(frequency > 0.0 ? unsigned(frequency) : 0);
}

void EngSound::Set3dPosition(float x, float y, float z)
{
    if (SystemRunning(ENG_FUNC) && g_options.allow_3d)
        Set3dPositionDX(x, y, z);
}
