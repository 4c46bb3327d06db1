#include "DataGenMusic.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "DataGenSynth.h"

// "Full Throttle" in A minor at 140 beats a minute: intro, two verses, a climbing bridge, a chorus, a
// breakdown on bells, the lot once more, and an outro that rings out. Four channels: drums, bass, lead
// (bells in the breakdown), and chords played as arpeggios.

namespace {

constexpr int kRows = 64;
constexpr int kChannels = 4;
constexpr int kSamples = 31;
// The rate a sample plays at on note C-3 (period 214) on a PAL machine: drums are made at it.
constexpr double kDrumRate = 3546895.0 / 214.0;

// Periods of C-1 to B-3.
const int kPeriods[36] = {856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453,
                          428, 404, 381, 360, 339, 320, 302, 285, 269, 254, 240, 226,
                          214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113};

enum Instrument { KICK = 1, SNARE, HAT, CRASH, BASS, LEAD, CHORD, BELL };

struct SampleData
{
    const char* name;
    std::vector<int8_t> data;
    int volume;
    int loop_start; // bytes; -1 none
};

int8_t ToByte(float x)
{
    long v = std::lround(double(x) * 127.0);
    return int8_t(v > 127 ? 127 : v < -128 ? -128 : v);
}

std::vector<int8_t> ToBytes(const DataGenSignal& signal)
{
    std::vector<int8_t> bytes;
    for (float x : signal)
        bytes.push_back(ToByte(x));
    // The player's idle loop sits on the first two bytes: keep them silent.
    if (bytes.size() >= 2)
        bytes[0] = bytes[1] = 0;
    if (bytes.size() % 2)
        bytes.push_back(0);
    return bytes;
}

// ---- instruments ----

DataGenSignal Kick()
{
    DataGenSignal s(int(kDrumRate * 0.3));
    double phase = 0.0;
    for (size_t i = 0; i < s.size(); i++) {
        double t = i / kDrumRate;
        double f = 45.0 + 120.0 * std::exp(-t / 0.04);
        phase += 2.0 * DATAGEN_PI * f / kDrumRate;
        s[i] = float(std::sin(phase) * std::exp(-t / 0.13));
    }
    DataGenNormalise(&s, 1.0f);
    return s;
}

DataGenSignal Snare()
{
    DataGenSignal s(int(kDrumRate * 0.22));
    DataGenNoise noise(5);
    DataGenBiquad band = DataGenBiquad::BandPass(kDrumRate, 3000.0, 0.8);
    for (size_t i = 0; i < s.size(); i++) {
        double t = i / kDrumRate;
        double tone = std::sin(2.0 * DATAGEN_PI * 190.0 * t) * std::exp(-t / 0.04);
        s[i] = float(0.6 * tone + 1.6 * band.Run(noise.Next()) * std::exp(-t / 0.07));
    }
    DataGenNormalise(&s, 1.0f);
    return s;
}

DataGenSignal Cymbal(double length, double decay, uint32_t seed)
{
    DataGenSignal s(int(kDrumRate * length));
    DataGenNoise noise(seed);
    DataGenBiquad high = DataGenBiquad::HighPass(kDrumRate, 6000.0, 0.7);
    for (size_t i = 0; i < s.size(); i++)
        s[i] = high.Run(noise.Next()) * float(std::exp(-(i / kDrumRate) / decay));
    DataGenNormalise(&s, 1.0f);
    return s;
}

// A pitched sound of `cycle` samples a period. The attack's cycles morph with `shape`(t, cycle position);
// after it, `loop_cycles` plain periods repeat. A second voice `detune_cycles` out of step over the loop
// makes a slow chorus that still joins at the loop's end.
template <typename Shape>
SampleData Pitched(const char* name, int cycle, int attack_cycles, int loop_cycles, int volume, Shape shape)
{
    DataGenSignal s;
    int total = cycle * (attack_cycles + loop_cycles);
    for (int i = 0; i < total; i++) {
        double position = double(i % cycle) / cycle;
        double t = double(i) / total;
        s.push_back(float(shape(t, position, i)));
    }
    DataGenNormalise(&s, 0.95f);
    return {name, ToBytes(s), volume, loop_cycles > 0 ? cycle * attack_cycles : -1};
}

double Saw(double position, int harmonics, double softness)
{
    double value = 0.0;
    for (int h = 1; h <= harmonics; h++)
        value += std::sin(2.0 * DATAGEN_PI * h * position) / h * std::pow(softness, h - 1);
    return value;
}

std::vector<SampleData> MakeInstruments()
{
    std::vector<SampleData> samples;
    samples.push_back({"kick", ToBytes(Kick()), 64, -1});
    samples.push_back({"snare", ToBytes(Snare()), 52, -1});
    samples.push_back({"hat", ToBytes(Cymbal(0.06, 0.015, 9)), 26, -1});
    samples.push_back({"crash", ToBytes(Cymbal(0.9, 0.3, 13)), 34, -1});
    // Bass: a saw whose top falls away over the first periods, like a filter closing.
    samples.push_back(Pitched("bass", 128, 24, 8, 58, [](double t, double p, int) {
        double open = t < 0.75 ? 0.75 - t : 0.0;
        return Saw(p, 10, 0.45 + 0.5 * open);
    }));
    // Lead: a saw that mellows after its attack, with a second voice slightly out of tune in the loop.
    constexpr int kLeadCycle = 32;
    constexpr int kLeadAttack = 32;
    constexpr int kLeadLoop = 128;
    samples.push_back(Pitched("lead", kLeadCycle, kLeadAttack, kLeadLoop, 44, [](double, double p, int i) {
        double attack = i < kLeadCycle * kLeadAttack ? 1.0 - double(i) / (kLeadCycle * kLeadAttack) : 0.0;
        double second = double(i) * (kLeadLoop + 1) / (double(kLeadCycle) * kLeadLoop);
        return 0.6 * Saw(p, 8, 0.5 + 0.3 * attack) + 0.4 * Saw(second - std::floor(second), 8, 0.5);
    }));
    // Chords: a hollow square, arpeggiated by the player.
    samples.push_back(Pitched("chord", 64, 0, 16, 22, [](double, double p, int) {
        double value = 0.0;
        for (int h = 1; h <= 9; h += 2)
            value += std::sin(2.0 * DATAGEN_PI * h * p) / h;
        return value;
    }));
    // Bells: a few partials dying away.
    samples.push_back(Pitched("bell", 32, 320, 0, 40, [](double t, double p, int) {
        double decay = std::exp(-t * 5.0);
        return decay * (std::sin(2.0 * DATAGEN_PI * p) + 0.5 * std::sin(4.0 * DATAGEN_PI * p) * std::exp(-t * 8.0) +
                        0.25 * std::sin(6.0 * DATAGEN_PI * p) * std::exp(-t * 14.0));
    }));
    return samples;
}

// ---- patterns ----

struct Cell
{
    int sample = 0;
    int note = -1; // 0..35, C-1..B-3
    int effect = 0;
    int param = 0;
};

struct Pattern
{
    Cell cells[kRows][kChannels];
};

// "A2" is A-2, "C#3" C#-3; "." holds, "-" cuts the note.
int ParseNote(const std::string& token)
{
    static const int kLetters[7] = {9, 11, 0, 2, 4, 5, 7}; // A..G
    int semitone = kLetters[token[0] - 'A'];
    size_t at = 1;
    if (token[at] == '#') {
        semitone++;
        at++;
    }
    int octave = token[at] - '0';
    return (octave - 1) * 12 + semitone;
}

std::vector<std::string> Tokens(const char* text)
{
    std::vector<std::string> tokens;
    std::string current;
    for (const char* c = text;; c++) {
        if (*c == ' ' || *c == 0) {
            if (!current.empty())
                tokens.push_back(current);
            current.clear();
            if (*c == 0)
                return tokens;
        } else {
            current += *c;
        }
    }
}

// A line of 64 tokens, one a row.
void PutLine(Pattern* pattern, int channel, int sample, const char* line)
{
    std::vector<std::string> tokens = Tokens(line);
    for (int row = 0; row < kRows && row < int(tokens.size()); row++) {
        Cell& cell = pattern->cells[row][channel];
        if (tokens[row] == "-") {
            cell.effect = 0xC; // volume 0
            cell.param = 0;
        } else if (tokens[row] != ".") {
            cell.sample = sample;
            cell.note = ParseNote(tokens[row]);
        }
    }
}

// Drum rows: K kick, S snare, H hat, C crash, "." nothing.
void PutDrums(Pattern* pattern, const char* hits)
{
    for (int row = 0; row < kRows && hits[row]; row++) {
        Cell& cell = pattern->cells[row][0];
        switch (hits[row]) {
        case 'K': cell.sample = KICK; break;
        case 'S': cell.sample = SNARE; break;
        case 'H': cell.sample = HAT; break;
        case 'C': cell.sample = CRASH; break;
        default: continue;
        }
        cell.note = 24; // C-3: the drums' own rate
    }
}

struct Chord
{
    const char* root; // in the chords' octave
    bool minor;
};

// Four chords of 16 rows, held as arpeggios; a new strike every `strike` rows.
void PutChords(Pattern* pattern, const Chord (&chords)[4], int strike, int from_row)
{
    for (int row = from_row; row < kRows; row++) {
        const Chord& chord = chords[row / 16];
        Cell& cell = pattern->cells[row][3];
        cell.effect = 0x0;
        cell.param = chord.minor ? 0x37 : 0x47;
        if ((row - from_row) % strike == 0) {
            cell.sample = CHORD;
            cell.note = ParseNote(chord.root);
        }
    }
}

// Eighth notes pumping between the root and its octave.
void PutBass(Pattern* pattern, const char* const (&roots)[4], const char* rhythm)
{
    for (int row = 0; row < kRows; row++) {
        char step = rhythm[row % 16];
        if (step == '.')
            continue;
        Cell& cell = pattern->cells[row][1];
        cell.sample = BASS;
        cell.note = ParseNote(roots[row / 16]) + (step == 'o' ? 12 : 0);
    }
}

const char* const kDrumsIntro = "K.H.K.H.K.H.K.H.K.H.K.H.K.H.K.H.K.H.K.H.K.H.K.H.K.H.K.H.K.H.KKSS";
const char* const kDrumsGroove = "K.H.S.H.K.K.S.H.K.H.S.H.K.K.S.H.K.H.S.H.K.K.S.H.K.H.S.H.K.K.S.H.";
const char* const kDrumsFill = "K.H.S.H.K.K.S.H.K.H.S.H.K.K.S.H.K.H.S.H.K.K.S.H.K.H.S.H.S.SSSSSS";
const char* const kDrumsChorus = "C.H.S.H.K.K.S.H.K.H.S.H.K.K.S.H.C.H.S.H.K.K.S.H.K.H.S.H.K.KSSSS";
const char* const kDrumsBreak = "K...H...H...H...K...H...H...H...K...H...H...H...K...H...H.H.SSSS";
const char* const kDrumsOutro = "C.H.S.H.K.K.S.H.K.H.S.H.K.K.S.H.K.H.S.H.K.K.S.H.C...............";

const char* const kBassPump = "r.r.o.r.r.r.o.r.";
const char* const kBassLong = "r...............";

const char* const kRootsVerse[4] = {"A1", "F1", "C2", "G1"};
const char* const kRootsBridge[4] = {"F1", "G1", "E1", "A1"};
const char* const kRootsOutro[4] = {"A1", "F1", "G1", "A1"};
const Chord kChordsVerse[4] = {{"A2", true}, {"F2", false}, {"C2", false}, {"G2", false}};
const Chord kChordsBridge[4] = {{"F2", false}, {"G2", false}, {"E2", true}, {"A2", true}};
const Chord kChordsOutro[4] = {{"A2", true}, {"F2", false}, {"G2", false}, {"A2", true}};

const char* const kVerse1 =
    "A2 . C3 . E3 . . . D3 . C3 . B2 . C3 . "
    "A2 . . . . . F2 . A2 . C3 . A2 . . . "
    "G2 . . . C3 . . . E3 . D3 . C3 . . . "
    "B2 . . . D3 . . . G3 . . . - . . . ";
const char* const kVerse2 =
    "A2 . C3 . E3 . . . A3 . G3 . E3 . . . "
    "F3 . E3 . C3 . . . A2 . C3 . F3 . . . "
    "E3 . . . G3 . E3 . C3 . . . D3 . E3 . "
    "D3 . . . B2 . . . G2 . . . - . . . ";
const char* const kBridge1 =
    "C3 . . . A2 . C3 . F3 . . . E3 . C3 . "
    "D3 . . . B2 . D3 . G3 . . . F3 . D3 . "
    "E3 . . . G3 . . . B3 . . . A3 . G3 . "
    "A3 . . . E3 . . . C3 . . . - . . . ";
const char* const kBridge2 =
    "A3 . G3 . F3 . E3 . F3 . . . C3 . . . "
    "B2 . . . D3 . G3 . B3 . . . A3 . G3 . "
    "G3 . . . E3 . B2 . E3 . . . G3 . B3 . "
    "A3 . . . . . . . . . . . - . . . ";
const char* const kChorus1 =
    "A3 . G3 . E3 . G3 . A3 . . . C3 . E3 . "
    "F3 . E3 . C3 . E3 . F3 . . . A2 . C3 . "
    "E3 . D3 . C3 . D3 . E3 . . . G3 . . . "
    "D3 . B2 . G2 . B2 . D3 . . . - . . . ";
const char* const kChorus2 =
    "A3 . G3 . E3 . G3 . A3 . . . B3 . A3 . "
    "A3 . G3 . F3 . E3 . F3 . . . C3 . . . "
    "E3 . D3 . C3 . E3 . G3 . . . E3 . D3 . "
    "D3 . . . B2 . . . D3 . . . G3 . . . ";
const char* const kBells =
    "A2 . C3 . E3 . A3 . E3 . C3 . A2 . C3 . "
    "F2 . A2 . C3 . F3 . C3 . A2 . F2 . A2 . "
    "C3 . E3 . G3 . C3 . G2 . C3 . E3 . G3 . "
    "G2 . B2 . D3 . G3 . D3 . B2 . G2 . B2 . ";
const char* const kOutro =
    "A2 . C3 . E3 . . . D3 . C3 . B2 . C3 . "
    "A2 . . . . . F2 . A2 . C3 . A2 . . . "
    "B2 . . . D3 . . . G3 . . . F3 . D3 . "
    "E3 . . . . . . . . . . . . . - . ";

std::vector<Pattern> MakePatterns()
{
    std::vector<Pattern> patterns(DATAGEN_MUSIC_PATTERNS);
    // 0 intro
    PutDrums(&patterns[0], kDrumsIntro);
    PutBass(&patterns[0], kRootsVerse, kBassPump);
    PutChords(&patterns[0], kChordsVerse, 8, 32);
    // 1, 2 verse
    for (int p = 1; p <= 2; p++) {
        PutDrums(&patterns[p], p == 2 ? kDrumsFill : kDrumsGroove);
        PutBass(&patterns[p], kRootsVerse, kBassPump);
        PutLine(&patterns[p], 2, LEAD, p == 1 ? kVerse1 : kVerse2);
        PutChords(&patterns[p], kChordsVerse, 16, 0);
    }
    // 3, 4 bridge
    for (int p = 3; p <= 4; p++) {
        PutDrums(&patterns[p], p == 4 ? kDrumsFill : kDrumsGroove);
        PutBass(&patterns[p], kRootsBridge, kBassPump);
        PutLine(&patterns[p], 2, LEAD, p == 3 ? kBridge1 : kBridge2);
        PutChords(&patterns[p], kChordsBridge, 8, 0);
    }
    // 5 breakdown
    PutDrums(&patterns[5], kDrumsBreak);
    PutBass(&patterns[5], kRootsVerse, kBassLong);
    PutLine(&patterns[5], 2, BELL, kBells);
    PutChords(&patterns[5], kChordsVerse, 16, 0);
    // 6, 7 chorus
    for (int p = 6; p <= 7; p++) {
        PutDrums(&patterns[p], kDrumsChorus);
        PutBass(&patterns[p], kRootsVerse, kBassPump);
        PutLine(&patterns[p], 2, LEAD, p == 6 ? kChorus1 : kChorus2);
        PutChords(&patterns[p], kChordsVerse, 4, 0);
    }
    // 8 outro: the last chord rings into silence
    PutDrums(&patterns[8], kDrumsOutro);
    PutBass(&patterns[8], kRootsOutro, kBassPump);
    for (int row = 50; row < kRows; row++)
        patterns[8].cells[row][1] = Cell();
    PutLine(&patterns[8], 2, LEAD, kOutro);
    PutChords(&patterns[8], kChordsOutro, 16, 0);
    for (int row = 56; row < kRows; row++)
        patterns[8].cells[row][3] = Cell();
    patterns[8].cells[56][3].effect = 0xC;
    // Every pattern sets the tempo, so the song keeps it when it starts from any position.
    for (Pattern& pattern : patterns) {
        pattern.cells[0][0].effect = 0xF;
        pattern.cells[0][0].param = 140;
    }
    return patterns;
}

const unsigned char kOrders[DATAGEN_MUSIC_ORDERS] = {0, 1, 2, 3, 4, 6, 7, 5, 1, 2, 3, 4, 6, 7, 6, 7, 8};

// ---- the file ----

void PutU16BigEndian(std::vector<unsigned char>* out, unsigned v)
{
    out->push_back((unsigned char)(v >> 8));
    out->push_back((unsigned char)v);
}

void PutText(std::vector<unsigned char>* out, const char* text, size_t size)
{
    size_t length = std::strlen(text);
    for (size_t i = 0; i < size; i++)
        out->push_back(i < length ? (unsigned char)text[i] : 0);
}

void PutCell(std::vector<unsigned char>* out, const Cell& cell)
{
    int period = cell.note >= 0 ? kPeriods[cell.note] : 0;
    out->push_back((unsigned char)((cell.sample & 0xF0) | (period >> 8)));
    out->push_back((unsigned char)(period & 0xFF));
    out->push_back((unsigned char)(((cell.sample & 0x0F) << 4) | cell.effect));
    out->push_back((unsigned char)cell.param);
}

std::vector<unsigned char> MakeModule()
{
    std::vector<SampleData> samples = MakeInstruments();
    std::vector<unsigned char> out;
    PutText(&out, "Full Throttle", 20);
    for (int i = 0; i < kSamples; i++) {
        if (i >= int(samples.size())) {
            PutText(&out, "", 22);
            PutU16BigEndian(&out, 0);
            out.push_back(0);
            out.push_back(0);
            PutU16BigEndian(&out, 0);
            PutU16BigEndian(&out, 1);
            continue;
        }
        const SampleData& s = samples[i];
        PutText(&out, s.name, 22);
        PutU16BigEndian(&out, unsigned(s.data.size() / 2));
        out.push_back(0); // finetune
        out.push_back((unsigned char)s.volume);
        bool looped = s.loop_start >= 0;
        PutU16BigEndian(&out, looped ? unsigned(s.loop_start / 2) : 0);
        PutU16BigEndian(&out, looped ? unsigned((s.data.size() - s.loop_start) / 2) : 1);
    }
    out.push_back(DATAGEN_MUSIC_ORDERS);
    out.push_back(127);
    for (int i = 0; i < 128; i++)
        out.push_back(i < DATAGEN_MUSIC_ORDERS ? kOrders[i] : 0);
    PutText(&out, "M.K.", 4);
    for (const Pattern& pattern : MakePatterns())
        for (int row = 0; row < kRows; row++)
            for (int channel = 0; channel < kChannels; channel++)
                PutCell(&out, pattern.cells[row][channel]);
    for (const SampleData& s : samples)
        out.insert(out.end(), s.data.begin(), s.data.end());
    return out;
}

} // namespace

bool DataGenWriteMusic(const char* data_dir)
{
    std::vector<unsigned char> module = MakeModule();
    char path[1024];
    std::snprintf(path, sizeof(path), "%s/1360.dat", data_dir);
    FILE* file = std::fopen(path, "wb");
    if (!file) {
        std::fprintf(stderr, "torvi_datagen: cannot write %s\n", path);
        return false;
    }
    bool ok = std::fwrite(module.data(), 1, module.size(), file) == module.size();
    return std::fclose(file) == 0 && ok;
}
