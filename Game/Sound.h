#pragma once

// The game's sound set: 44 wave sounds in slots. Per car an engine loop whose pitch follows the speed, a
// rough-ground loop, a wall hit, a crash and a finish sound, placed after the car's screen position; four
// menu sounds played by the GUI's button hook. Silent when the start-up settings switch sound off, while the
// cars simulate a race quietly, and for good once the sound device has gone away.

#include <cstdint>

#include "Engine/Core/EngSound.h"

class Game;
struct CarState;

constexpr int SOUND_CARS = 8;
constexpr int SOUND_SLOTS = 44;
constexpr int SOUND_SLOT_ENGINE = 0;
constexpr int SOUND_SLOT_ROUGH = 8;
constexpr int SOUND_SLOT_WALL = 16;
constexpr int SOUND_SLOT_CRASH = 24;
constexpr int SOUND_SLOT_FINISH = 32;
constexpr int SOUND_SLOT_MENU = 40;

// Which of a car's sounds a position is for.
enum _SoundWhich
{
    SOUND_ENGINE = 0,
    SOUND_ROUGH = 1,
    SOUND_WALL = 2,
    SOUND_CRASH = 3,
};

// The file whose format the output takes; the first engine sound.
constexpr const char* SOUND_SAMPLE_FILE = "Data/1300.dat";

class Sound
{
public:
    explicit Sound(Game* game);
    ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    // Pre-device set-up: starts the sound layer and loads every slot when sound is on; a failure turns the
    // game's sound off.
    void Setup();
    // Destroys the slots and stops the sound layer.
    void Shutdown();
    bool IsLoaded() const { return m_loaded; }

    // n 0..3: a button fired, a step (typed character, wheel), a choice changed, the mouse over a button.
    void PlayMenuSound(int n);
    static void MenuSoundCB(int event, void* user_data);

    // The race's cars, read from the game's Car: position in the 640 x 480 screen and speed.
    // At the race start every car's engine loops at full volume with its pitch.
    void StartRaceSounds();
    void SetEnginePitch(int car, bool force);
    void SetPosition(int car, _SoundWhich which);
    void SetRoughGround(int car, bool on);
    void PlayWallHit(int car);
    void PlayCrash(int car);
    void SetSlotVolume(int slot, float volume);
    void PlaySlot(int slot);
    void StopCar(int car);
    // Every car of the race.
    void StopCarSounds();
    void StopAll();

    EngSound* GetSlot(int slot);
    float GetEnginePitch(int car) const;
    bool IsRoughGroundPlaying(int car) const;

private:
    // True when sound may be made now; notices a lost device once.
    bool Audible();
    // The car's state when the car number is valid.
    const CarState* CarOf(int car, const char* own_name) const;
    void PlaceSlot(int slot, const CarState& car);
    void StopRoughGround(int car);

    Game* m_game;
    EngSound m_slots[SOUND_SLOTS];
    bool m_loaded = false;
    bool m_device_lost = false;
    bool m_rough_playing[SOUND_CARS] = {};
    int64_t m_rough_started_ms[SOUND_CARS];
    int64_t m_last_crash_ms[SOUND_CARS];
    float m_engine_pitch[SOUND_CARS];
};
