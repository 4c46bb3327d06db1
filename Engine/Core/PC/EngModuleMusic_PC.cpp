#include "Engine/Core/PC/EngModuleMusic_PC.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <libopenmpt/libopenmpt.h>

#include <atomic>
#include <mutex>
#include <new>
#include <vector>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngThread.h"
#include "Engine/Core/PC/EngSoundDX.h"

namespace {

// Eight buffers of 1,024 stereo frames hold about 0.19 s at 44.1 kHz: enough to ride over a late worker
// tick, short enough that a stop or a new position is heard at once.
constexpr int kBuffers = 8;
constexpr int kFramesPerBuffer = 1024;
constexpr double kDecoderSleep = 0.01;
constexpr unsigned kLargestSongFile = 16u << 20;
constexpr int kStereoSeparation = 60;

typedef ALCboolean(ALC_APIENTRY* SetThreadContextFunction)(ALCcontext* context);

class Decoder;

// Everything the worker and the main thread share is under g_lock; the flags and figures the main thread
// asks for every frame are atomics, so asking never waits for a decoding pass.
std::mutex g_lock;
openmpt_module* g_module = nullptr;
bool g_playing = false;
bool g_flush = false;
bool g_decoded_to_end = false;

std::atomic<bool> g_active{false};
std::atomic<unsigned> g_position{0};
std::atomic<int> g_amplify{ENG_MODULE_MUSIC_MAX_AMPLIFY};
std::atomic<bool> g_device_lost{false};

// Main thread only.
bool g_initialised = false;
ALCdevice* g_device = nullptr;
ALCcontext* g_context = nullptr;
SetThreadContextFunction g_set_thread_context = nullptr;
unsigned g_rate = 0;
ALuint g_source = 0;
ALuint g_buffers[kBuffers] = {};
Decoder* g_decoder = nullptr;
int g_order_count = 0;
_EngModuleMusicError g_error = ENG_MODULE_MUSIC_OK;

bool Fail(_EngModuleMusicError code)
{
    g_error = code;
    return false;
}

bool Succeed()
{
    g_error = ENG_MODULE_MUSIC_OK;
    return true;
}

// The worker: keeps the source's queue full while a song plays. Its OpenAL calls go to the music's own
// context, so they never meet the sound effects' calls on the main thread.
class Decoder : public EngThread
{
public:
    Decoder() : EngThread("ModuleMusic", 0, 0)
    {
        SetTickSleep(kDecoderSleep);
        m_samples.resize(size_t(kFramesPerBuffer) * 2);
        for (int i = 0; i < kBuffers; i++)
            m_free.push_back(g_buffers[i]);
    }

    bool InitCB() override { return g_set_thread_context(g_context) == ALC_TRUE; }

    void ExitCB(bool destroying) override
    {
        (void)destroying;
        alSourceStop(g_source);
        alSourcei(g_source, AL_BUFFER, 0);
        g_set_thread_context(nullptr);
    }

    bool TickCB() override
    {
        if (!CheckDevice())
            return true;
        ApplyGain();
        Reclaim();
        while (!m_free.empty() && QueueOneBuffer()) {
        }
        KeepPlaying();
        return true;
    }

private:
    bool CheckDevice()
    {
        if (g_device_lost)
            return false;
        if (EngSoundDeviceConnected_DX9(g_device))
            return true;
        g_device_lost = true;
        g_active = false;
        return false;
    }

    void ApplyGain()
    {
        int amplify = g_amplify;
        if (amplify == m_applied_amplify)
            return;
        alSourcef(g_source, AL_GAIN, float(amplify) / float(ENG_MODULE_MUSIC_MAX_AMPLIFY));
        m_applied_amplify = amplify;
    }

    // Takes back the buffers that were heard, or every buffer when the queue is to be dropped.
    void Reclaim()
    {
        bool flush;
        {
            std::lock_guard<std::mutex> lock(g_lock);
            flush = g_flush;
            g_flush = false;
        }
        if (flush) {
            alSourceStop(g_source);
            alSourcei(g_source, AL_BUFFER, 0);
            m_free.assign(g_buffers, g_buffers + kBuffers);
            return;
        }
        ALint processed = 0;
        alGetSourcei(g_source, AL_BUFFERS_PROCESSED, &processed);
        for (; processed > 0; processed--) {
            ALuint buffer = 0;
            alSourceUnqueueBuffers(g_source, 1, &buffer);
            m_free.push_back(buffer);
        }
    }

    // One buffer's worth of the song; false when there is nothing (more) to decode.
    bool QueueOneBuffer()
    {
        size_t frames;
        {
            std::lock_guard<std::mutex> lock(g_lock);
            if (!g_playing || !g_module || g_decoded_to_end)
                return false;
            frames = openmpt_module_read_interleaved_stereo(g_module, int32_t(g_rate), kFramesPerBuffer,
                                                            m_samples.data());
            if (frames == 0) {
                g_decoded_to_end = true;
                return false;
            }
            g_position = unsigned(openmpt_module_get_current_order(g_module) & 0xffff) |
                         unsigned(openmpt_module_get_current_row(g_module) & 0xffff) << 16;
        }
        ALuint buffer = m_free.back();
        m_free.pop_back();
        alBufferData(buffer, AL_FORMAT_STEREO16, m_samples.data(), ALsizei(frames * 2 * sizeof(int16_t)),
                     ALsizei(g_rate));
        alSourceQueueBuffers(g_source, 1, &buffer);
        return true;
    }

    // Starts the source after a fill or an underrun; the song is over once its last buffer was heard.
    void KeepPlaying()
    {
        ALint queued = 0;
        ALint state = AL_STOPPED;
        alGetSourcei(g_source, AL_BUFFERS_QUEUED, &queued);
        alGetSourcei(g_source, AL_SOURCE_STATE, &state);
        if (queued > 0 && state != AL_PLAYING)
            alSourcePlay(g_source);
        std::lock_guard<std::mutex> lock(g_lock);
        if (g_playing && g_decoded_to_end && queued == 0) {
            g_playing = false;
            g_active = false;
        }
    }

    std::vector<int16_t> m_samples;
    std::vector<ALuint> m_free;
    int m_applied_amplify = -1;
};

// Creates the source and buffers on the music's context from the main thread, before the worker exists.
bool CreateSourceAndBuffers()
{
    g_set_thread_context(g_context);
    alGetError();
    alGenSources(1, &g_source);
    alGenBuffers(kBuffers, g_buffers);
    bool ok = alGetError() == AL_NO_ERROR;
    if (ok) {
        alSourcei(g_source, AL_SOURCE_RELATIVE, AL_TRUE);
        alSource3f(g_source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    }
    g_set_thread_context(nullptr);
    return ok;
}

void DeleteSourceAndBuffers()
{
    g_set_thread_context(g_context);
    if (g_source)
        alDeleteSources(1, &g_source);
    alDeleteBuffers(kBuffers, g_buffers);
    g_set_thread_context(nullptr);
    g_source = 0;
    for (ALuint& buffer : g_buffers)
        buffer = 0;
}

void ReleaseOutput()
{
    if (g_context)
        alcDestroyContext(g_context);
    if (g_device)
        EngSoundCloseSharedDevice_DX9();
    g_context = nullptr;
    g_device = nullptr;
}

bool OpenOutput(unsigned rate)
{
    g_device = EngSoundOpenSharedDevice_DX9();
    if (!g_device)
        return false;
    if (!alcIsExtensionPresent(g_device, "ALC_EXT_thread_local_context")) {
        DebugError(ENG_FUNC, "The sound device has no thread-local contexts");
        return false;
    }
    g_set_thread_context =
        reinterpret_cast<SetThreadContextFunction>(alcGetProcAddress(g_device, "alcSetThreadContext"));
    g_context = alcCreateContext(g_device, nullptr);
    if (!g_set_thread_context || !g_context)
        return false;
    ALCint device_rate = 0;
    alcGetIntegerv(g_device, ALC_FREQUENCY, 1, &device_rate);
    g_rate = device_rate > 0 ? unsigned(device_rate) : rate;
    return CreateSourceAndBuffers();
}

// Hands a new song (or none) to the worker; the old one is destroyed outside the lock.
void ReplaceModule(openmpt_module* module)
{
    openmpt_module* old;
    {
        std::lock_guard<std::mutex> lock(g_lock);
        old = g_module;
        g_module = module;
        g_playing = false;
        g_flush = true;
        g_decoded_to_end = false;
    }
    g_active = false;
    g_position = 0;
    g_order_count = module ? openmpt_module_get_num_orders(module) : 0;
    if (old)
        openmpt_module_destroy(old);
}

}  // namespace

bool EngModuleMusicInit(int device, unsigned rate)
{
    if (g_initialised)
        return Fail(ENG_MODULE_MUSIC_ERROR_ALREADY);
    if (device != ENG_MODULE_MUSIC_DEFAULT_DEVICE || rate == 0)
        return Fail(ENG_MODULE_MUSIC_ERROR_DRIVER);
    if (!OpenOutput(rate)) {
        if (g_source)
            DeleteSourceAndBuffers();
        ReleaseOutput();
        return Fail(ENG_MODULE_MUSIC_ERROR_DRIVER);
    }
    g_device_lost = false;
    g_amplify = ENG_MODULE_MUSIC_MAX_AMPLIFY;
    g_decoder = new (std::nothrow) Decoder();
    if (!g_decoder || !g_decoder->Create("ModuleMusic")) {
        delete g_decoder;
        g_decoder = nullptr;
        DeleteSourceAndBuffers();
        ReleaseOutput();
        return Fail(ENG_MODULE_MUSIC_ERROR_THREAD);
    }
    g_initialised = true;
    return Succeed();
}

void EngModuleMusicFree()
{
    if (!g_initialised)
        return;
    ReplaceModule(nullptr);
    g_decoder->Destroy(true);
    delete g_decoder;
    g_decoder = nullptr;
    DeleteSourceAndBuffers();
    ReleaseOutput();
    g_initialised = false;
    Succeed();
}

bool EngModuleMusicIsInitialised()
{
    return g_initialised;
}

unsigned EngModuleMusicGetRate()
{
    return g_initialised ? g_rate : 0;
}

bool EngModuleMusicLoad(const char* file)
{
    if (!g_initialised)
        return Fail(ENG_MODULE_MUSIC_ERROR_INIT);
    EngFile input;
    if (!file || !input.OpenForReadingQuietly(file, false))
        return Fail(ENG_MODULE_MUSIC_ERROR_FILE_OPEN);
    unsigned size = input.GetSize();
    if (size == 0 || size > kLargestSongFile)
        return Fail(ENG_MODULE_MUSIC_ERROR_FORMAT);
    std::vector<unsigned char> image(size);
    if (!input.Read(image.data(), int(size), false))
        return Fail(ENG_MODULE_MUSIC_ERROR_FILE_OPEN);
    openmpt_module* module = openmpt_module_create_from_memory2(
        image.data(), size, openmpt_log_func_silent, nullptr, openmpt_error_func_ignore, nullptr, nullptr,
        nullptr, nullptr);
    if (!module)
        return Fail(ENG_MODULE_MUSIC_ERROR_FORMAT);
    // Once through: the caller moves on to the next song at the end.
    openmpt_module_set_repeat_count(module, 0);
    // Four-channel modules pan their channels hard apart; narrowed, they sit well on headphones too.
    openmpt_module_set_render_param(module, OPENMPT_MODULE_RENDER_STEREOSEPARATION_PERCENT, kStereoSeparation);
    ReplaceModule(module);
    return Succeed();
}

void EngModuleMusicFreeSong()
{
    if (g_initialised)
        ReplaceModule(nullptr);
}

int EngModuleMusicGetOrderCount()
{
    return g_order_count;
}

bool EngModuleMusicSetAmplify(int amplify)
{
    if (!g_initialised)
        return Fail(ENG_MODULE_MUSIC_ERROR_INIT);
    g_amplify = amplify < 0 ? 0 : amplify > ENG_MODULE_MUSIC_MAX_AMPLIFY ? ENG_MODULE_MUSIC_MAX_AMPLIFY : amplify;
    return Succeed();
}

int EngModuleMusicGetAmplify()
{
    return g_amplify;
}

bool EngModuleMusicPlay(int order)
{
    if (!g_initialised)
        return Fail(ENG_MODULE_MUSIC_ERROR_INIT);
    if (g_device_lost)
        return Fail(ENG_MODULE_MUSIC_ERROR_DRIVER);
    std::lock_guard<std::mutex> lock(g_lock);
    if (!g_module)
        return Fail(ENG_MODULE_MUSIC_ERROR_HANDLE);
    if (order < 0 || order >= g_order_count)
        return Fail(ENG_MODULE_MUSIC_ERROR_POSITION);
    openmpt_module_set_position_order_row(g_module, order, 0);
    g_playing = true;
    g_flush = true;
    g_decoded_to_end = false;
    g_active = true;
    g_position = unsigned(order);
    return Succeed();
}

bool EngModuleMusicIsActive()
{
    return g_initialised && g_active && !g_device_lost;
}

unsigned EngModuleMusicGetPosition()
{
    return g_position;
}

bool EngModuleMusicStop()
{
    if (!g_initialised)
        return Fail(ENG_MODULE_MUSIC_ERROR_INIT);
    std::lock_guard<std::mutex> lock(g_lock);
    if (!g_module)
        return Fail(ENG_MODULE_MUSIC_ERROR_HANDLE);
    g_playing = false;
    g_flush = true;
    g_active = false;
    return Succeed();
}

_EngModuleMusicError EngModuleMusicErrorGetCode()
{
    if (g_initialised && g_device_lost)
        return ENG_MODULE_MUSIC_ERROR_DRIVER;
    return g_error;
}
