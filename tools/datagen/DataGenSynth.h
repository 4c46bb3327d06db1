#pragma once

// Small synthesis tools shared by the sound and music generators: a seeded noise source, two filters,
// level helpers and a RIFF WAVE writer. Everything is deterministic, so every build makes the same bytes.

#include <cstdint>
#include <vector>

typedef std::vector<float> DataGenSignal;

constexpr double DATAGEN_PI = 3.14159265358979323846;

// xorshift32: the same sequence on every machine.
class DataGenNoise
{
public:
    explicit DataGenNoise(uint32_t seed) : m_state(seed ? seed : 1u) {}
    // -1..1
    float Next();
    // 0..1
    float Unit() { return (Next() + 1.0f) * 0.5f; }

private:
    uint32_t m_state;
};

// A resonant band-pass (constant peak gain) or low-pass, in the usual biquad form.
class DataGenBiquad
{
public:
    static DataGenBiquad BandPass(double rate, double centre, double q);
    static DataGenBiquad LowPass(double rate, double cutoff, double q);
    static DataGenBiquad HighPass(double rate, double cutoff, double q);
    float Run(float x);

private:
    static DataGenBiquad Make(double b0, double b1, double b2, double a0, double a1, double a2);

    double b0 = 0, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

// Runs a filter over a looped signal twice and keeps the second pass, so the filter's state at the end
// flows into the start and the loop joins without a step.
void DataGenFilterLooped(DataGenSignal* signal, DataGenBiquad filter);

// Scales to a peak of `peak` (0..1).
void DataGenNormalise(DataGenSignal* signal, float peak);
// Fades the first and last samples in and out (for one-shot sounds).
void DataGenFadeEnds(DataGenSignal* signal, int fade_in, int fade_out);
int16_t DataGenToPcm16(float x);

// Mono 16-bit PCM RIFF WAVE.
bool DataGenWriteWave(const char* path, const DataGenSignal& signal, int rate);
