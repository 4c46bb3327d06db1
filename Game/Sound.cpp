#include "Game/Sound.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngRandom.h"
#include "Engine/MWin/MWin.h"
#include "Game/Car.h"
#include "Game/Game.h"
#include "Game/Program.h"

namespace {

constexpr int kMenuSounds = 4;
// The engine sound of car i is kEngineFiles[i % 4].
const char* const kEngineFiles[4] = {"Data/1300.dat", "Data/1301.dat", "Data/1302.dat", "Data/1303.dat"};
constexpr const char* kFinishFile = "Data/1304.dat";
constexpr const char* kRoughFile = "Data/1305.dat";
constexpr const char* kWallFile = "Data/1306.dat";
constexpr const char* kCrashFile = "Data/1307.dat";
const char* const kMenuFiles[kMenuSounds] = {"Data/1350.dat", "Data/1351.dat", "Data/1352.dat", "Data/1353.dat"};
// Menu sound n plays this slot.
const int kMenuSlots[kMenuSounds] = {40, 41, 43, 42};

constexpr float kPitchPerSpeedUnit = 0.007f;
constexpr float kPitchChange = 0.001f;
constexpr float kRoughGroundSpeed = 1.0f;
constexpr int64_t kRoughGroundRestartMs = 10;
constexpr float kWallHitSpeed = 10.0f;
constexpr int64_t kCrashIntervalMs = 100;
constexpr float kCrashPitchLow = 0.5f;
constexpr float kCrashPitchHigh = 1.0f;
constexpr float kSoundDepth = 0.5f;
constexpr int64_t kNever = INT64_MIN / 2;

const char* SlotFile(int slot)
{
    if (slot < SOUND_SLOT_ROUGH)
        return kEngineFiles[slot % 4];
    if (slot < SOUND_SLOT_WALL)
        return kRoughFile;
    if (slot < SOUND_SLOT_CRASH)
        return kWallFile;
    if (slot < SOUND_SLOT_FINISH)
        return kCrashFile;
    if (slot < SOUND_SLOT_MENU)
        return kFinishFile;
    return kMenuFiles[slot - SOUND_SLOT_MENU];
}

int64_t NowMs()
{
    return int64_t(game_clock_ms);
}

} // namespace

Sound::Sound(Game* game) : m_game(game)
{
    DebugFatalCheck(game != nullptr, ENG_FUNC, "No game.");
    for (int car = 0; car < SOUND_CARS; car++) {
        m_rough_started_ms[car] = kNever;
        m_last_crash_ms[car] = kNever;
        m_engine_pitch[car] = 0.0f;
    }
}

Sound::~Sound()
{
    Shutdown();
}

void Sound::Setup()
{
    if (!m_game->IsSoundOn() || m_loaded)
        return;
    if (!EngSoundInit(ENG_SOUND_SYSTEM_DX8, true, true, false, SOUND_SAMPLE_FILE, 44)) {
        DebugInfo("No sound device: the game goes on without sound");
        m_game->SetSoundOn(false);
        return;
    }
    for (int slot = 0; slot < SOUND_SLOTS; slot++) {
        bool is_3d = slot < SOUND_SLOT_MENU;
        if (!m_slots[slot].LoadSoundFromFile(SlotFile(slot), is_3d))
            DebugError(ENG_FUNC, "Could not load sound <%s>", SlotFile(slot));
    }
    for (int car = 0; car < SOUND_CARS; car++)
        m_slots[SOUND_SLOT_CRASH + car].SetPitch(EngMiscRandFloatRange(kCrashPitchLow, kCrashPitchHigh, false));
    m_loaded = true;
    m_device_lost = false;
    m_game->GetMWin()->SetButtonPressedHook(Sound::MenuSoundCB, this);
}

void Sound::Shutdown()
{
    if (!m_loaded)
        return;
    if (m_game->GetMWin())
        m_game->GetMWin()->SetButtonPressedHook(nullptr, nullptr);
    for (EngSound& slot : m_slots)
        slot.DestroyDX();
    EngSoundShutdown();
    m_loaded = false;
}

bool Sound::Audible()
{
    if (!m_loaded || m_device_lost)
        return false;
    if (m_game->GetCar() && m_game->GetCar()->IsQuietSimulation())
        return false;
    if (!EngSoundIsDeviceLost())
        return true;
    m_device_lost = true;
    DebugInfo("The sound device has gone: the game goes on without sound");
    return false;
}

const CarState* Sound::CarOf(int car, const char* own_name) const
{
    if (car < 0 || car >= SOUND_CARS || !m_game->GetCar()) {
        DebugError(own_name, "Bad car %d", car);
        return nullptr;
    }
    return m_game->GetCar()->GetState(car);
}

EngSound* Sound::GetSlot(int slot)
{
    return slot >= 0 && slot < SOUND_SLOTS ? &m_slots[slot] : nullptr;
}

float Sound::GetEnginePitch(int car) const
{
    return car >= 0 && car < SOUND_CARS ? m_engine_pitch[car] : 0.0f;
}

bool Sound::IsRoughGroundPlaying(int car) const
{
    return car >= 0 && car < SOUND_CARS && m_rough_playing[car];
}

void Sound::PlayMenuSound(int n)
{
    if (n >= 0 && n < kMenuSounds)
        PlaySlot(kMenuSlots[n]);
}

void Sound::MenuSoundCB(int event, void* user_data)
{
    if (user_data)
        static_cast<Sound*>(user_data)->PlayMenuSound(event);
}

void Sound::StartRaceSounds()
{
    for (int car = 0; car < m_game->GetCarsInRace() && car < SOUND_CARS; car++) {
        if (!Audible())
            return;
        m_slots[SOUND_SLOT_ENGINE + car].PlayLooped();
        m_slots[SOUND_SLOT_ENGINE + car].SetVolume(1.0f);
        SetEnginePitch(car, true);
    }
}

void Sound::SetEnginePitch(int car, bool force)
{
    if (!Audible())
        return;
    const CarState* state = CarOf(car, ENG_FUNC);
    float unit = m_game->GetCar() ? m_game->GetCar()->GetSizes().speed_unit : 0.0f;
    if (!state || !(unit > 0.0f))
        return;
    float pitch = (state->speed > 0.0f ? state->speed : 0.0f) * kPitchPerSpeedUnit / unit + 1.0f;
    float change = pitch - m_engine_pitch[car];
    if (!force && change <= kPitchChange && change >= -kPitchChange)
        return;
    m_slots[SOUND_SLOT_ENGINE + car].SetPitch(pitch);
    m_engine_pitch[car] = pitch;
}

void Sound::PlaceSlot(int slot, const CarState& car)
{
    m_slots[slot].Set3dPosition(car.x / 320.0f - 1.0f, car.y / 240.0f - 1.0f, kSoundDepth);
}

void Sound::SetPosition(int car, _SoundWhich which)
{
    if (!Audible())
        return;
    const CarState* state = CarOf(car, ENG_FUNC);
    if (!state)
        return;
    switch (which) {
    case SOUND_ENGINE:
        PlaceSlot(SOUND_SLOT_ENGINE + car, *state);
        if (m_rough_playing[car])
            PlaceSlot(SOUND_SLOT_ROUGH + car, *state);
        break;
    case SOUND_ROUGH: PlaceSlot(SOUND_SLOT_ROUGH + car, *state); break;
    case SOUND_WALL: PlaceSlot(SOUND_SLOT_WALL + car, *state); break;
    case SOUND_CRASH: PlaceSlot(SOUND_SLOT_CRASH + car, *state); break;
    }
}

void Sound::SetRoughGround(int car, bool on)
{
    if (!Audible())
        return;
    const CarState* state = CarOf(car, ENG_FUNC);
    if (!state)
        return;
    if (!on || state->speed < kRoughGroundSpeed) {
        StopRoughGround(car);
        return;
    }
    int64_t now = NowMs();
    if (m_rough_playing[car] || now - m_rough_started_ms[car] < kRoughGroundRestartMs)
        return;
    SetPosition(car, SOUND_ROUGH);
    m_slots[SOUND_SLOT_ROUGH + car].PlayLooped();
    m_rough_started_ms[car] = now;
    m_rough_playing[car] = true;
}

void Sound::StopRoughGround(int car)
{
    if (!m_rough_playing[car])
        return;
    m_slots[SOUND_SLOT_ROUGH + car].Stop();
    m_rough_playing[car] = false;
}

void Sound::PlayWallHit(int car)
{
    if (!Audible())
        return;
    const CarState* state = CarOf(car, ENG_FUNC);
    if (!state || state->speed < kWallHitSpeed)
        return;
    SetPosition(car, SOUND_WALL);
    m_slots[SOUND_SLOT_WALL + car].Play();
}

void Sound::PlayCrash(int car)
{
    if (!Audible() || !CarOf(car, ENG_FUNC))
        return;
    int64_t now = NowMs();
    if (now - m_last_crash_ms[car] < kCrashIntervalMs)
        return;
    m_last_crash_ms[car] = now;
    SetPosition(car, SOUND_CRASH);
    m_slots[SOUND_SLOT_CRASH + car].Play();
}

void Sound::SetSlotVolume(int slot, float volume)
{
    if (GetSlot(slot) && Audible())
        m_slots[slot].SetVolume(volume);
}

void Sound::PlaySlot(int slot)
{
    if (GetSlot(slot) && Audible())
        m_slots[slot].Play();
}

void Sound::StopCar(int car)
{
    if (!m_loaded || !CarOf(car, ENG_FUNC))
        return;
    m_slots[SOUND_SLOT_ENGINE + car].Stop();
    StopRoughGround(car);
}

void Sound::StopCarSounds()
{
    for (int car = 0; car < m_game->GetCarsInRace() && car < SOUND_CARS; car++)
        StopCar(car);
}

void Sound::StopAll()
{
    if (!m_loaded)
        return;
    for (EngSound& slot : m_slots)
        slot.Stop();
    for (bool& playing : m_rough_playing)
        playing = false;
}
