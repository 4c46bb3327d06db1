#include "DataGenSounds.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "DataGenSynth.h"

namespace {

constexpr double kRate = DATAGEN_SOUND_RATE;

int Samples(double seconds)
{
    return int(std::lround(seconds * kRate));
}

// ---- engine loops ----

// An engine at its idle pitch: a train of firing pulses through two exhaust resonances, with some rasp.
// The loop holds a whole number of engine cycles, so it repeats without a seam; the game raises the pitch
// up to about four times with the speed, hence the low-pass that keeps the top end clean.
struct EngineVoice
{
    const char* file;
    int period;          // samples between firings
    int cylinders;       // firings in one engine cycle
    float weights[8];    // strength of each firing in the cycle
    int cycles;          // engine cycles in the loop
    float formant1, q1;  // exhaust resonances
    float formant2, q2;
    float body;          // weight of the plain fundamental
    float rasp;          // noise on each firing
    float decay;         // firing pulse decay, as a share of the period
    float cutoff;
    uint32_t seed;
};

const EngineVoice kEngines[] = {
    // a four-cylinder buzz
    {"1300.dat", 800, 4, {1.0f, 0.85f, 0.95f, 0.8f}, 14, 420.0f, 3.0f, 1300.0f, 4.0f, 0.35f, 0.25f, 0.18f, 2800.0f,
     11},
    // a cross-plane V8 burble: uneven firings, deep
    {"1301.dat", 1050, 8, {1.0f, 0.6f, 0.9f, 0.5f, 1.0f, 0.7f, 0.8f, 0.55f}, 5, 250.0f, 2.5f, 800.0f, 3.0f, 0.5f,
     0.3f, 0.22f, 2400.0f, 23},
    // a high-revving screamer: even, bright
    {"1302.dat", 640, 4, {1.0f, 0.95f, 1.0f, 0.95f}, 17, 700.0f, 5.0f, 2100.0f, 6.0f, 0.2f, 0.15f, 0.12f, 3200.0f,
     37},
    // a rough twin: few firings, lots of rasp
    {"1303.dat", 900, 2, {1.0f, 0.75f}, 24, 330.0f, 2.0f, 1000.0f, 2.5f, 0.4f, 0.5f, 0.25f, 2600.0f, 41},
};

DataGenSignal MakeEngine(const EngineVoice& v)
{
    const int n = v.period * v.cylinders * v.cycles;
    DataGenSignal pulses(n, 0.0f);
    DataGenNoise noise(v.seed);
    const float tau = v.decay * float(v.period);
    for (int firing = 0; firing * v.period < n; firing++) {
        // Each firing a little different, as a real engine's are.
        float strength = v.weights[firing % v.cylinders] * (0.9f + 0.1f * noise.Unit());
        int start = firing * v.period;
        for (int j = 0; j < v.period; j++) {
            float envelope = std::exp(-float(j) / tau);
            pulses[(start + j) % n] += strength * envelope * (1.0f - v.rasp + v.rasp * noise.Next());
        }
    }
    DataGenSignal low = pulses;
    DataGenSignal first = pulses;
    DataGenSignal second = pulses;
    DataGenFilterLooped(&low, DataGenBiquad::LowPass(kRate, 180.0, 0.7));
    DataGenFilterLooped(&first, DataGenBiquad::BandPass(kRate, v.formant1, v.q1));
    DataGenFilterLooped(&second, DataGenBiquad::BandPass(kRate, v.formant2, v.q2));
    DataGenSignal mix(n);
    for (int i = 0; i < n; i++) {
        double phase = 2.0 * DATAGEN_PI * double(i) / double(v.period);
        mix[i] = 1.2f * low[i] + 1.0f * first[i] + 0.45f * second[i] + v.body * float(std::sin(phase));
    }
    DataGenFilterLooped(&mix, DataGenBiquad::LowPass(kRate, v.cutoff, 0.7));
    DataGenFilterLooped(&mix, DataGenBiquad::LowPass(kRate, v.cutoff, 0.7));
    // No offset, so a looping source has no step to jump at the seam either.
    DataGenFilterLooped(&mix, DataGenBiquad::HighPass(kRate, 25.0, 0.7));
    // Eight of them run at once in a race, beside the music: each leaves room for the others.
    DataGenNormalise(&mix, 0.3f);
    return mix;
}

// ---- rough ground: gravel under the tyres ----

void AddGrain(DataGenSignal* signal, int at, int length, float amplitude, DataGenNoise* noise)
{
    int n = int(signal->size());
    for (int j = 0; j < length; j++)
        (*signal)[(at + j) % n] += amplitude * noise->Next() * std::exp(-4.0f * float(j) / float(length));
}

DataGenSignal MakeRoughGround()
{
    const int n = Samples(1.0);
    DataGenNoise noise(77);
    DataGenSignal hiss(n);
    DataGenSignal rumble(n);
    for (int i = 0; i < n; i++) {
        hiss[i] = noise.Next();
        rumble[i] = noise.Next();
    }
    DataGenFilterLooped(&hiss, DataGenBiquad::BandPass(kRate, 900.0, 0.7));
    DataGenFilterLooped(&rumble, DataGenBiquad::LowPass(kRate, 120.0, 0.9));
    DataGenSignal grains(n, 0.0f);
    for (int k = 0; k < 220; k++)
        AddGrain(&grains, int(noise.Unit() * float(n)), Samples(0.002 + 0.004 * noise.Unit()),
                 0.3f + 0.7f * noise.Unit(), &noise);
    DataGenFilterLooped(&grains, DataGenBiquad::BandPass(kRate, 2600.0, 1.2));
    DataGenSignal mix(n);
    for (int i = 0; i < n; i++) {
        // Bumps: a whole number of swells in the loop.
        float bump = 0.65f + 0.35f * float(std::sin(2.0 * DATAGEN_PI * 9.0 * i / n));
        mix[i] = bump * (0.5f * hiss[i] + 4.0f * rumble[i]) + 0.8f * grains[i];
    }
    DataGenFilterLooped(&mix, DataGenBiquad::HighPass(kRate, 30.0, 0.7));
    DataGenNormalise(&mix, 0.5f);
    return mix;
}

// ---- one-shot sounds ----

// A tone whose frequency glides from f0 to f1, with a few harmonics and an exponential decay.
void AddTone(DataGenSignal* signal, double start, double length, double f0, double f1, double decay,
             float amplitude, int harmonics)
{
    int first = Samples(start);
    int count = Samples(length);
    double phase = 0.0;
    for (int j = 0; j < count && first + j < int(signal->size()); j++) {
        double t = j / kRate;
        double f = f0 + (f1 - f0) * (t / length);
        phase += 2.0 * DATAGEN_PI * f / kRate;
        double value = 0.0;
        for (int h = 1; h <= harmonics; h++)
            value += std::sin(phase * h) / (h * h);
        double attack = t < 0.003 ? t / 0.003 : 1.0;
        (*signal)[first + j] += amplitude * float(value * attack * std::exp(-t / decay));
    }
}

// Filtered noise with an exponential decay.
void AddBurst(DataGenSignal* signal, double start, double length, double decay, float amplitude,
              DataGenBiquad filter, DataGenNoise* noise)
{
    int first = Samples(start);
    int count = Samples(length);
    for (int j = 0; j < count && first + j < int(signal->size()); j++) {
        double t = j / kRate;
        (*signal)[first + j] += amplitude * filter.Run(noise->Next()) * float(std::exp(-t / decay));
    }
}

DataGenSignal MakeWallHit()
{
    DataGenSignal s(Samples(0.5), 0.0f);
    DataGenNoise noise(101);
    AddTone(&s, 0.0, 0.4, 110.0, 50.0, 0.08, 1.0f, 2);
    AddBurst(&s, 0.0, 0.15, 0.02, 2.0f, DataGenBiquad::LowPass(kRate, 2500.0, 0.7), &noise);
    AddBurst(&s, 0.01, 0.45, 0.12, 1.5f, DataGenBiquad::BandPass(kRate, 1800.0, 2.0), &noise);
    for (double f : {523.0, 1371.0, 2290.0})
        AddTone(&s, 0.005, 0.45, f, f * 0.99, 0.15, 0.12f, 1);
    DataGenFadeEnds(&s, 0, Samples(0.02));
    DataGenNormalise(&s, 0.9f);
    return s;
}

DataGenSignal MakeCrash()
{
    DataGenSignal s(Samples(1.4), 0.0f);
    DataGenNoise noise(202);
    AddTone(&s, 0.0, 1.0, 80.0, 35.0, 0.25, 1.0f, 3);
    AddBurst(&s, 0.0, 1.3, 0.3, 1.6f, DataGenBiquad::LowPass(kRate, 4000.0, 0.7), &noise);
    // Bodywork crumpling and parts flying: short clanks spread over the first second.
    for (int k = 0; k < 14; k++) {
        double at = 0.03 + 0.85 * noise.Unit();
        double centre = 800.0 + 3200.0 * noise.Unit();
        AddBurst(&s, at, 0.12, 0.03, 1.2f * (1.0f - float(at)), DataGenBiquad::BandPass(kRate, centre, 3.0),
                 &noise);
        AddTone(&s, at, 0.2, centre * 0.7, centre * 0.69, 0.05, 0.2f * (1.0f - float(at)), 1);
    }
    // Glass.
    for (int k = 0; k < 7; k++) {
        double f = 3000.0 + 3000.0 * noise.Unit();
        AddTone(&s, 0.05 + 0.6 * noise.Unit(), 0.3, f, f, 0.06, 0.12f, 1);
    }
    DataGenFadeEnds(&s, 0, Samples(0.05));
    DataGenNormalise(&s, 0.95f);
    return s;
}

// A brass line: a band-limited sawtooth that opens up as it swells, with vibrato on held notes.
void AddBrassNote(DataGenSignal* signal, double start, double length, double f, float amplitude)
{
    int first = Samples(start);
    int count = Samples(length + 0.25);
    double phase = 0.0;
    for (int j = 0; j < count && first + j < int(signal->size()); j++) {
        double t = j / kRate;
        double vibrato = t > 0.15 ? 1.0 + 0.006 * std::sin(2.0 * DATAGEN_PI * 5.5 * t) : 1.0;
        phase += 2.0 * DATAGEN_PI * f * vibrato / kRate;
        double brightness = std::fmin(1.0, 0.3 + t * 6.0);
        double value = 0.0;
        for (int h = 1; h <= 12; h++)
            value += std::sin(phase * h) / h * std::pow(brightness, h * 0.5);
        double attack = std::fmin(1.0, t / 0.025);
        double release = t < length ? 1.0 : std::exp(-(t - length) / 0.06);
        (*signal)[first + j] += amplitude * float(value * attack * release);
    }
}

DataGenSignal MakeFanfare()
{
    DataGenSignal s(Samples(1.6), 0.0f);
    const double g4 = 392.0, c5 = 523.25, e5 = 659.26, g5 = 783.99;
    AddBrassNote(&s, 0.00, 0.12, g4, 0.6f);
    AddBrassNote(&s, 0.14, 0.12, c5, 0.6f);
    AddBrassNote(&s, 0.28, 0.12, e5, 0.6f);
    AddBrassNote(&s, 0.42, 0.85, g5, 0.7f);
    AddBrassNote(&s, 0.42, 0.85, e5, 0.45f);
    AddBrassNote(&s, 0.42, 0.85, c5, 0.4f);
    DataGenSignal out = s;
    DataGenBiquad soften = DataGenBiquad::LowPass(kRate, 5000.0, 0.7);
    for (float& x : out)
        x = soften.Run(x);
    DataGenFadeEnds(&out, 0, Samples(0.05));
    DataGenNormalise(&out, 0.9f);
    return out;
}

DataGenSignal MakeMenuSound(int which)
{
    DataGenSignal s(Samples(which == 1 ? 0.04 : 0.16), 0.0f);
    DataGenNoise noise(300 + uint32_t(which));
    switch (which) {
    case 0: // a button fired: two rising notes
        AddTone(&s, 0.0, 0.07, 880.0, 880.0, 0.03, 1.0f, 3);
        AddTone(&s, 0.05, 0.11, 1318.5, 1318.5, 0.04, 1.0f, 3);
        break;
    case 1: // a typed character or a wheel step: a tick
        AddTone(&s, 0.0, 0.03, 2000.0, 1800.0, 0.006, 1.0f, 1);
        AddBurst(&s, 0.0, 0.01, 0.002, 0.6f, DataGenBiquad::HighPass(kRate, 3000.0, 0.7), &noise);
        break;
    case 2: // the mouse over a button: a soft blip
        AddTone(&s, 0.0, 0.08, 1200.0, 1250.0, 0.025, 1.0f, 1);
        break;
    default: // a choice changed: a quick upward sweep
        AddTone(&s, 0.0, 0.12, 600.0, 1100.0, 0.05, 1.0f, 2);
        break;
    }
    DataGenFadeEnds(&s, 0, Samples(0.01));
    // The hover sound comes often: keep it quiet.
    DataGenNormalise(&s, which == 2 ? 0.35f : which == 1 ? 0.5f : 0.7f);
    return s;
}

bool Write(const char* data_dir, const char* name, const DataGenSignal& signal)
{
    for (const DataGenSoundFile& file : DATAGEN_SOUND_FILES) {
        if (std::strcmp(file.name, name) == 0 && file.samples != int(signal.size())) {
            std::fprintf(stderr, "torvi_datagen: %s has %d samples, not %d\n", name, int(signal.size()), file.samples);
            return false;
        }
    }
    char path[1024];
    std::snprintf(path, sizeof(path), "%s/%s", data_dir, name);
    return DataGenWriteWave(path, signal, DATAGEN_SOUND_RATE);
}

} // namespace

bool DataGenWriteSounds(const char* data_dir)
{
    for (const EngineVoice& engine : kEngines)
        if (!Write(data_dir, engine.file, MakeEngine(engine)))
            return false;
    const char* const menu_files[] = {"1350.dat", "1351.dat", "1352.dat", "1353.dat"};
    for (int i = 0; i < 4; i++)
        if (!Write(data_dir, menu_files[i], MakeMenuSound(i)))
            return false;
    return Write(data_dir, "1304.dat", MakeFanfare()) && Write(data_dir, "1305.dat", MakeRoughGround()) &&
           Write(data_dir, "1306.dat", MakeWallHit()) && Write(data_dir, "1307.dat", MakeCrash());
}
