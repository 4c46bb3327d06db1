#include "Game/Ghost.h"

#include <cmath>
#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Game/SaveFile.h"

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr float kTwoPi = 2.0f * kPi;
constexpr float kAngleToByte = 255.0f / kTwoPi;

float Wrap(float angle)
{
    angle = std::fmod(angle, kTwoPi);
    return angle < 0.0f ? angle + kTwoPi : angle;
}

// From a to b by the fraction t along the shorter arc, wrapped into [0, 2 pi).
float ArcLerp(float a, float b, float t)
{
    if (std::fabs(a - b) > kPi) {
        if (a < b)
            a += kTwoPi;
        else
            b += kTwoPi;
    }
    return Wrap(a + (b - a) * t);
}

GhostPose PoseOf(const GhostSample& sample)
{
    return {float(sample.x), float(sample.y), Ghost::UnpackHeading(sample.heading), Ghost::UnpackTurn(sample.turn)};
}

GhostPose Between(const GhostPose& a, const GhostPose& b, float t)
{
    // A turn stays within +-0.7, so its shorter arc is the straight way between the two signed values.
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, ArcLerp(a.heading, b.heading, t),
            a.turn + (b.turn - a.turn) * t};
}

} // namespace

EngUInt8 Ghost::PackAngle(float radians)
{
    // A negative turn wraps round the byte and comes back signed.
    return EngUInt8(int(std::lround(radians * kAngleToByte)) & 0xFF);
}

float Ghost::UnpackHeading(EngUInt8 value)
{
    return float(value) / kAngleToByte;
}

float Ghost::UnpackTurn(EngUInt8 value)
{
    return float(EngInt8(value)) / kAngleToByte;
}

GhostSample Ghost::MakeSample(const GhostPose& pose) const
{
    GhostSample sample = {};
    sample.x = EngInt32(pose.x);
    sample.y = EngInt32(pose.y);
    sample.heading = PackAngle(pose.heading);
    sample.turn = PackAngle(pose.turn);
    return sample;
}

void Ghost::Record(const GhostPose& pose, EngUInt32 now)
{
    if (m_state == GHOST_RECORD_ARMED) {
        // The first sample is the start itself, so that sample k is the car 50 x k ms into the lap, as the
        // replay reads it.
        m_recording[0] = MakeSample(pose);
        m_count = 1;
        m_last_sample_time = now;
        m_state = GHOST_RECORD_ON;
        return;
    }
    if (m_state != GHOST_RECORD_ON)
        return;
    while (m_count < GHOST_MAX_SAMPLES && now - m_last_sample_time >= GHOST_SAMPLE_MS) {
        float t = float(GHOST_SAMPLE_MS) / float(now - m_last_sample_time);
        m_recording[m_count] = MakeSample(Between(PoseOf(m_recording[m_count - 1]), pose, t));
        m_count++;
        m_last_sample_time += GHOST_SAMPLE_MS;
    }
}

void Ghost::ClearBlock()
{
    std::memset(&m_block, 0, sizeof(m_block));
}

bool Ghost::Load(const char* file_name)
{
    ClearBlock();
    EngFile file;
    if (!file_name || !file.OpenForReadingQuietly(file_name, false))
        return false;
    // Only a whole block with a believable count is a ghost.
    bool whole = file.GetSize() == sizeof(GhostBlock) && file.Read(&m_block, sizeof(GhostBlock), false);
    if (!whole || m_block.count > GHOST_MAX_SAMPLES) {
        ClearBlock();
        return false;
    }
    DebugInfo("Loaded ghosts ok. [%lu]", (unsigned long)m_block.count);
    m_block.replaying = 0;
    return true;
}

bool Ghost::KeepIfFaster(EngUInt32 race_time, const char* file_name)
{
    m_state = GHOST_RECORD_OFF;
    if (m_block.present && m_block.race_time <= race_time)
        return false;
    DebugInfo("New ghost (%lu < %lu)", (unsigned long)race_time, (unsigned long)m_block.race_time);
    std::memcpy(m_block.samples, m_recording, sizeof(GhostSample) * size_t(m_count));
    std::memset(m_block.samples + m_count, 0, sizeof(GhostSample) * size_t(GHOST_MAX_SAMPLES - m_count));
    m_block.count = EngUInt32(m_count);
    m_block.race_time = race_time;
    m_block.present = 1;
    m_block.replaying = 0;
    std::memset(m_block.replay, 0, sizeof(m_block.replay));
    return file_name && GameSaveFileSafely(file_name, &m_block, sizeof(m_block));
}

void Ghost::StartReplay()
{
    if (m_block.present && m_block.count > 0)
        m_block.replaying = 1;
}

void Ghost::Replay(EngUInt32 elapsed_ms)
{
    if (!IsReplaying())
        return;
    float f = float(elapsed_ms) / float(GHOST_SAMPLE_MS);
    int index = int(std::floor(f));
    // The lap's first instant shows the first sample: the replay starts on the step the line is crossed.
    if (EngUInt32(index + 1) >= m_block.count) {
        m_block.replaying = 0;
        return;
    }
    GhostPose pose = Between(PoseOf(m_block.samples[index]), PoseOf(m_block.samples[index + 1]), f - float(index));
    m_block.replay[0] = pose.x;
    m_block.replay[1] = pose.y;
    m_block.replay[2] = pose.heading;
    m_block.replay[3] = pose.turn;
}

GhostPose Ghost::GetReplayPose() const
{
    return {m_block.replay[0], m_block.replay[1], m_block.replay[2], m_block.replay[3]};
}
