#pragma once

// The ghost of a time trial: car 0's lap recorded every 50 ms, kept in the ".gho" file when it beats the
// stored one, and replayed beside the driver in the next time trial.

#include "Engine/Core/EngTypes.h"

constexpr int GHOST_MAX_SAMPLES = 125000;
constexpr EngUInt32 GHOST_SAMPLE_MS = 50;

// One sample: position in whole pixels, heading and turn in 256ths of a turn.
struct GhostSample
{
    EngInt32 x;
    EngInt32 y;
    EngUInt8 heading;
    EngUInt8 turn;
    EngUInt8 padding[2];
};
static_assert(sizeof(GhostSample) == 12, "ghost sample layout");

// The ".gho" file, little-endian, written and read whole.
struct GhostBlock
{
    EngUInt8 replaying; // runtime
    EngUInt8 present;
    EngUInt8 padding[2];
    GhostSample samples[GHOST_MAX_SAMPLES];
    EngUInt32 count;
    EngUInt32 race_time;
    float replay[4]; // runtime: the replayed x, y, heading, turn
};
static_assert(sizeof(GhostBlock) == 1500028, "the .gho file is 1,500,028 bytes");
static_assert(__builtin_offsetof(GhostBlock, count) == 1500004, "ghost file layout");

// The car state a ghost records and replays.
struct GhostPose
{
    float x;
    float y;
    float heading;
    float turn;
};

enum _GhostRecordState : int
{
    GHOST_RECORD_OFF = -1,
    GHOST_RECORD_ON = 0,
    GHOST_RECORD_ARMED = 2,
};

class Ghost
{
public:
    Ghost() = default;
    Ghost(const Ghost&) = delete;
    Ghost& operator=(const Ghost&) = delete;

    // Recording.
    void Arm() { m_state = GHOST_RECORD_ARMED; }
    void StopRecording() { m_state = GHOST_RECORD_OFF; }
    bool IsRecording() const { return m_state == GHOST_RECORD_ON; }
    // One car step: starts an armed recording, adds a sample for every 50 ms passed.
    void Record(const GhostPose& pose, EngUInt32 now);
    int GetRecordedCount() const { return m_count; }
    const GhostSample* GetRecorded() const { return m_recording; }

    // The stored ghost.
    void ClearBlock();
    // Reads the file whole; a file of the wrong size or with too many samples is ignored (no ghost).
    bool Load(const char* file_name);
    // Keeps the recording as the ghost when it is faster than the stored one (or there is none) and writes
    // the file; false when the recording was dropped or the file could not be written.
    bool KeepIfFaster(EngUInt32 race_time, const char* file_name);
    bool IsPresent() const { return m_block.present != 0; }
    EngUInt32 GetRaceTime() const { return m_block.race_time; }
    EngUInt32 GetCount() const { return m_block.count; }
    const GhostBlock& GetBlock() const { return m_block; }

    // Replay, by the time since the lap started.
    void StartReplay();
    bool IsReplaying() const { return m_block.replaying != 0 && m_block.count > 0; }
    void Replay(EngUInt32 elapsed_ms);
    GhostPose GetReplayPose() const;

    // Packing of angles into a byte and back (a negative turn is stored modulo 256 and read back signed).
    static EngUInt8 PackAngle(float radians);
    static float UnpackHeading(EngUInt8 value);
    static float UnpackTurn(EngUInt8 value);

private:
    GhostSample MakeSample(const GhostPose& pose) const;

    GhostSample m_recording[GHOST_MAX_SAMPLES] = {};
    int m_count = 0;
    int m_state = GHOST_RECORD_OFF;
    EngUInt32 m_last_sample_time = 0;
    GhostBlock m_block = {};
};
