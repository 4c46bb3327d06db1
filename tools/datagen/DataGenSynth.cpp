#include "DataGenSynth.h"

#include <cmath>
#include <cstdio>

float DataGenNoise::Next()
{
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return float(m_state) / 2147483648.0f - 1.0f;
}

DataGenBiquad DataGenBiquad::Make(double b0, double b1, double b2, double a0, double a1, double a2)
{
    DataGenBiquad f;
    f.b0 = b0 / a0;
    f.b1 = b1 / a0;
    f.b2 = b2 / a0;
    f.a1 = a1 / a0;
    f.a2 = a2 / a0;
    return f;
}

DataGenBiquad DataGenBiquad::BandPass(double rate, double centre, double q)
{
    double w = 2.0 * DATAGEN_PI * centre / rate;
    double alpha = std::sin(w) / (2.0 * q);
    return Make(alpha, 0.0, -alpha, 1.0 + alpha, -2.0 * std::cos(w), 1.0 - alpha);
}

DataGenBiquad DataGenBiquad::LowPass(double rate, double cutoff, double q)
{
    double w = 2.0 * DATAGEN_PI * cutoff / rate;
    double alpha = std::sin(w) / (2.0 * q);
    double c = std::cos(w);
    return Make((1.0 - c) / 2.0, 1.0 - c, (1.0 - c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

DataGenBiquad DataGenBiquad::HighPass(double rate, double cutoff, double q)
{
    double w = 2.0 * DATAGEN_PI * cutoff / rate;
    double alpha = std::sin(w) / (2.0 * q);
    double c = std::cos(w);
    return Make((1.0 + c) / 2.0, -(1.0 + c), (1.0 + c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

float DataGenBiquad::Run(float x)
{
    double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return float(y);
}

void DataGenFilterLooped(DataGenSignal* signal, DataGenBiquad filter)
{
    for (float x : *signal)
        filter.Run(x);
    for (float& x : *signal)
        x = filter.Run(x);
}

void DataGenNormalise(DataGenSignal* signal, float peak)
{
    float highest = 0.0f;
    for (float x : *signal)
        highest = std::fmax(highest, std::fabs(x));
    if (highest <= 0.0f)
        return;
    for (float& x : *signal)
        x *= peak / highest;
}

void DataGenFadeEnds(DataGenSignal* signal, int fade_in, int fade_out)
{
    int n = int(signal->size());
    for (int i = 0; i < fade_in && i < n; i++)
        (*signal)[i] *= float(i) / float(fade_in);
    for (int i = 0; i < fade_out && i < n; i++)
        (*signal)[n - 1 - i] *= float(i) / float(fade_out);
}

int16_t DataGenToPcm16(float x)
{
    long v = std::lround(double(x) * 32767.0);
    return int16_t(v > 32767 ? 32767 : v < -32768 ? -32768 : v);
}

namespace {

void PutU32(std::vector<unsigned char>* out, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        out->push_back((unsigned char)(v >> (8 * i)));
}

void PutU16(std::vector<unsigned char>* out, unsigned v)
{
    out->push_back((unsigned char)v);
    out->push_back((unsigned char)(v >> 8));
}

void PutId(std::vector<unsigned char>* out, const char* id)
{
    out->insert(out->end(), id, id + 4);
}

} // namespace

bool DataGenWriteWave(const char* path, const DataGenSignal& signal, int rate)
{
    uint32_t data_size = uint32_t(signal.size() * 2);
    std::vector<unsigned char> out;
    PutId(&out, "RIFF");
    PutU32(&out, 36 + data_size);
    PutId(&out, "WAVE");
    PutId(&out, "fmt ");
    PutU32(&out, 16);
    PutU16(&out, 1); // PCM
    PutU16(&out, 1); // mono
    PutU32(&out, uint32_t(rate));
    PutU32(&out, uint32_t(rate) * 2);
    PutU16(&out, 2);
    PutU16(&out, 16);
    PutId(&out, "data");
    PutU32(&out, data_size);
    for (float x : signal)
        PutU16(&out, uint16_t(DataGenToPcm16(x)));
    FILE* file = std::fopen(path, "wb");
    if (!file) {
        std::fprintf(stderr, "torvi_datagen: cannot write %s\n", path);
        return false;
    }
    bool ok = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && ok;
}
