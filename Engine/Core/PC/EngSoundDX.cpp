#include "Engine/Core/PC/EngSoundDX.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <cmath>
#include <cstdio>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngSound.h"
#include "Engine/Core/EngWave.h"

namespace {

constexpr unsigned kLowestFrequency = 100;
constexpr unsigned kHighestFrequency = 200000;
constexpr float kMinDistance = 1.0f;
constexpr float kMaxDistance = 10000.0f;

ALCdevice* g_device = nullptr;
int g_device_users = 0;
ALCcontext* g_context = nullptr;
bool g_initialised = false;
unsigned g_generation = 0;

const char* SourceErrorText(int code)
{
    switch (code) {
    case AL_NO_ERROR: return "The method succeeded.";
    case AL_INVALID_NAME: return "The buffer or source name is invalid.";
    case AL_INVALID_ENUM: return "An invalid parameter was passed to the returned function.";
    case AL_INVALID_VALUE: return "An invalid parameter was passed to the returned function.";
    case AL_INVALID_OPERATION: return "The function called is not supported at this time.";
    case AL_OUT_OF_MEMORY:
        return "The OpenAL subsystem could not allocate sufficient memory to complete the caller's request.";
    default: return nullptr;
    }
}

const char* DeviceErrorText(int code)
{
    switch (code) {
    case ALC_NO_ERROR: return "The method succeeded.";
    case ALC_INVALID_DEVICE: return "No sound driver is available for use.";
    case ALC_INVALID_CONTEXT: return "The object is not initialized.";
    case ALC_INVALID_ENUM: return "An invalid parameter was passed to the returned function.";
    case ALC_INVALID_VALUE: return "An invalid parameter was passed to the returned function.";
    case ALC_OUT_OF_MEMORY:
        return "The OpenAL subsystem could not allocate sufficient memory to complete the caller's request.";
    default: return nullptr;
    }
}

void ReleaseDevice()
{
    alcMakeContextCurrent(nullptr);
    if (g_context)
        alcDestroyContext(g_context);
    if (g_context || g_initialised)
        EngSoundCloseSharedDevice_DX9();
    g_context = nullptr;
    g_initialised = false;
}

// The sample's rate becomes the mixing rate, as the primary buffer's format did.
bool SampleAttributes(ALCint* attributes)
{
    const char* sample = EngSoundGetOptions().sample_wave;
    attributes[0] = 0;
    if (!*sample)
        return true;
    EngWave wave;
    if (!wave.LoadFromFile(sample, true)) {
        DebugError(ENG_FUNC, "(primary)SetFormat - The specified wave format is not supported.");
        return false;
    }
    attributes[0] = ALC_FREQUENCY;
    attributes[1] = ALCint(wave.GetFormat().samples_per_sec);
    attributes[2] = 0;
    return true;
}

ALenum BufferFormat(const _EngWaveFormat& format)
{
    if (format.channels == 1)
        return format.bits_per_sample == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16;
    return format.bits_per_sample == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
}

}  // namespace

bool EngSoundErrorCheck_DX9(const char* call_name, int code, bool device_call)
{
    if (code == (device_call ? ALC_NO_ERROR : AL_NO_ERROR))
        return true;
    const char* text = device_call ? DeviceErrorText(code) : SourceErrorText(code);
    if (text)
        DebugError(ENG_FUNC, "%s - %s", call_name, text);
    else
        DebugError(ENG_FUNC, "%s - Unknown Error (%d) (0x%x)", call_name, code, unsigned(code));
    return false;
}

bool EngSoundCheckLastError_DX9(const char* call_name)
{
    return EngSoundErrorCheck_DX9(call_name, alGetError(), false);
}

ALCdevice* EngSoundOpenSharedDevice_DX9()
{
    if (!g_device) {
        g_device = alcOpenDevice(nullptr);
        if (!g_device) {
            DebugError(ENG_FUNC, "alcOpenDevice - No sound driver is available for use.");
            return nullptr;
        }
    }
    g_device_users++;
    return g_device;
}

void EngSoundCloseSharedDevice_DX9()
{
    if (g_device_users <= 0)
        return;
    if (--g_device_users > 0)
        return;
    alcCloseDevice(g_device);
    g_device = nullptr;
}

bool EngSoundDeviceConnected_DX9(ALCdevice* device)
{
    if (!device)
        return false;
    if (!alcIsExtensionPresent(device, "ALC_EXT_disconnect"))
        return true;
    ALCint connected = ALC_TRUE;
    alcGetIntegerv(device, ALC_CONNECTED, 1, &connected);
    return connected == ALC_TRUE;
}

bool EngSoundDeviceLost_DX9()
{
    return g_initialised && !EngSoundDeviceConnected_DX9(g_device);
}

bool EngSoundInit_DX9(bool allow_3d)
{
    (void)allow_3d;  // every source can be positioned; only 3D sounds are
    if (g_initialised)
        return true;
    ALCint attributes[3];
    if (!SampleAttributes(attributes))
        return false;
    if (!EngSoundOpenSharedDevice_DX9())
        return false;
    g_context = alcCreateContext(g_device, attributes);
    if (!g_context) {
        EngSoundErrorCheck_DX9("alcCreateContext", alcGetError(g_device), true);
        EngSoundCloseSharedDevice_DX9();
        return false;
    }
    if (!alcMakeContextCurrent(g_context)) {
        EngSoundErrorCheck_DX9("alcMakeContextCurrent", alcGetError(g_device), true);
        ReleaseDevice();
        return false;
    }
    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    alGetError();
    g_initialised = true;
    g_generation++;
    return true;
}

void EngSoundShutdown_DX9()
{
    ReleaseDevice();
}

bool EngSoundDeviceExists_DX9()
{
    return g_initialised;
}

unsigned EngSoundGeneration_DX9()
{
    return g_generation;
}

// ---- the platform half of EngSound ----

bool EngSound::HasBufferDX() const
{
    return m_source != 0 && g_initialised && m_generation == g_generation;
}

bool EngSound::LoadSoundFromFileDX(const char* file, bool is_3d, bool format_only)
{
    if (!g_initialised) {
        DebugError(ENG_FUNC, "No sound device");
        return false;
    }
    DestroyDX();
    EngWave wave;
    if (!wave.LoadFromFile(file, format_only))
        return false;
    m_format = wave.GetFormat();
    if (format_only)
        return true;
    alGetError();
    alGenBuffers(1, &m_buffer);
    if (!EngSoundCheckLastError_DX9("alGenBuffers")) {
        m_buffer = 0;
        return false;
    }
    m_generation = g_generation;
    alBufferData(m_buffer, BufferFormat(m_format), wave.GetData(), ALsizei(wave.GetDataSize()),
                 ALsizei(m_format.samples_per_sec));
    if (!EngSoundCheckLastError_DX9("alBufferData")) {
        DestroyDX();
        return false;
    }
    alGenSources(1, &m_source);
    if (!EngSoundCheckLastError_DX9("alGenSources")) {
        m_source = 0;
        DestroyDX();
        return false;
    }
    alSourcei(m_source, AL_BUFFER, ALint(m_buffer));
    m_has_3d = is_3d;
    // A plain sound stays at the listener; a 3D one is placed in the world.
    alSourcei(m_source, AL_SOURCE_RELATIVE, is_3d ? AL_FALSE : AL_TRUE);
    alSource3f(m_source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSourcef(m_source, AL_REFERENCE_DISTANCE, kMinDistance);
    alSourcef(m_source, AL_MAX_DISTANCE, kMaxDistance);
    if (!EngSoundCheckLastError_DX9("alSourcei(AL_BUFFER)")) {
        DestroyDX();
        return false;
    }
    m_duration = wave.GetDuration();
    m_initial_frequency = EngSoundGetOptions().frequency_control ? m_format.samples_per_sec : 0;
    m_loaded = true;
    return true;
}

bool EngSound::PlayDX(bool looped)
{
    if (!HasBufferDX()) {
        DebugError(ENG_FUNC, "Sound called but no buffer present");
        return false;
    }
    alGetError();
    alSourceStop(m_source);
    alSourceRewind(m_source);
    alSourcei(m_source, AL_LOOPING, looped ? AL_TRUE : AL_FALSE);
    alSourcePlay(m_source);
    return EngSoundCheckLastError_DX9("alSourcePlay");
}

void EngSound::StopDX()
{
    if (!HasBufferDX()) {
        DebugError(ENG_FUNC, "Sound called but no buffer present");
        return;
    }
    alSourceStop(m_source);
}

void EngSound::SetVolumeDX(int attenuation)
{
    if (!HasBufferDX()) {
        DebugError(ENG_FUNC, "Sound called but no buffer present");
        return;
    }
    alSourcef(m_source, AL_GAIN, float(std::pow(10.0, attenuation / 2000.0)));
}

bool EngSound::SetFrequencyDX(unsigned frequency)
{
    if (!EngSoundGetOptions().frequency_control || m_initial_frequency == 0) {
        DebugError(ENG_FUNC, "Frequency operations not enabled.");
        return false;
    }
    if (!HasBufferDX()) {
        DebugError(ENG_FUNC, "No buffer for sound");
        return false;
    }
    if (frequency < kLowestFrequency || frequency > kHighestFrequency)
        return EngSoundErrorCheck_DX9("SetFrequency", AL_INVALID_VALUE, false);
    alSourcef(m_source, AL_PITCH, float(frequency) / float(m_initial_frequency));
    return true;
}

unsigned EngSound::GetFrequencyDX()
{
    if (!EngSoundGetOptions().frequency_control || m_initial_frequency == 0) {
        DebugError(ENG_FUNC, "Frequency operations not enabled.");
        return 0;
    }
    if (!HasBufferDX()) {
        DebugError(ENG_FUNC, "No buffer for sound");
        return 0;
    }
    float pitch = 1.0f;
    alGetSourcef(m_source, AL_PITCH, &pitch);
    return unsigned(std::lround(double(pitch) * m_initial_frequency));
}

// The engine's axes are left-handed (z into the screen); OpenAL's are right-handed.
void EngSound::Set3dPositionDX(float x, float y, float z)
{
    if (!HasBufferDX() || !m_has_3d) {
        DebugError(ENG_FUNC, "Sound called but no 3d buffer present");
        return;
    }
    alSource3f(m_source, AL_POSITION, x, y, -z);
}

void EngSound::DestroyDX()
{
    if (m_source || m_buffer) {
        if (g_initialised && m_generation == g_generation) {
            if (m_source)
                alDeleteSources(1, &m_source);
            if (m_buffer)
                alDeleteBuffers(1, &m_buffer);
        } else {
            DebugError(ENG_FUNC, "Sound was not released");
        }
    }
    m_source = 0;
    m_buffer = 0;
    m_has_3d = false;
    m_loaded = false;
}
