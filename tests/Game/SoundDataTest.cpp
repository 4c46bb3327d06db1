// The generated sounds and song, as the game finds them in Data/.
#include <gtest/gtest.h>

#include <libopenmpt/libopenmpt.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Engine/Core/EngWave.h"
#include "tools/datagen/DataGenMusic.h"
#include "tools/datagen/DataGenSounds.h"

namespace {

double Rms(const int16_t* samples, size_t count)
{
    double sum = 0.0;
    for (size_t i = 0; i < count; i++)
        sum += double(samples[i]) * samples[i];
    return count ? std::sqrt(sum / double(count)) / 32768.0 : 0.0;
}

std::vector<int16_t> Samples(const EngWave& wave)
{
    std::vector<int16_t> samples(wave.GetDataSize() / 2);
    std::memcpy(samples.data(), wave.GetData(), samples.size() * 2);
    return samples;
}

struct Song
{
    openmpt_module* module = nullptr;
    Song()
    {
        std::ifstream in("Data/1360.dat", std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        module = openmpt_module_create_from_memory2(bytes.data(), bytes.size(), nullptr, nullptr, nullptr, nullptr,
                                                    nullptr, nullptr, nullptr);
    }
    ~Song()
    {
        if (module)
            openmpt_module_destroy(module);
    }
};

} // namespace

TEST(GeneratedSounds, EveryWaveHasItsFormatLengthAndSound)
{
    for (const DataGenSoundFile& file : DATAGEN_SOUND_FILES) {
        SCOPED_TRACE(file.name);
        EngWave wave;
        ASSERT_TRUE(wave.LoadFromFile((std::string("Data/") + file.name).c_str(), false));
        EXPECT_EQ(wave.GetFormat().format_tag, ENG_WAVE_FORMAT_PCM);
        EXPECT_EQ(wave.GetFormat().channels, 1);
        EXPECT_EQ(wave.GetFormat().bits_per_sample, 16);
        EXPECT_EQ(wave.GetFormat().samples_per_sec, unsigned(DATAGEN_SOUND_RATE));
        EXPECT_EQ(wave.GetDataSize(), unsigned(file.samples) * 2);
        std::vector<int16_t> samples = Samples(wave);
        EXPECT_GT(Rms(samples.data(), samples.size()), 0.05);
        // No clipping: every sound leaves some headroom.
        int16_t loudest = *std::max_element(samples.begin(), samples.end(),
                                            [](int16_t a, int16_t b) { return std::abs(a) < std::abs(b); });
        EXPECT_LT(std::abs(loudest), 32000);
    }
}

// A loop's last sample leads into its first no more steeply than the sound moves within itself.
TEST(GeneratedSounds, LoopsJoinEndToStartWithoutAJump)
{
    for (const DataGenSoundFile& file : DATAGEN_SOUND_FILES) {
        if (!file.loop)
            continue;
        SCOPED_TRACE(file.name);
        EngWave wave;
        ASSERT_TRUE(wave.LoadFromFile((std::string("Data/") + file.name).c_str(), false));
        std::vector<int16_t> samples = Samples(wave);
        std::vector<int> steps;
        for (size_t i = 1; i < samples.size(); i++)
            steps.push_back(std::abs(samples[i] - samples[i - 1]));
        std::sort(steps.begin(), steps.end());
        int usual = steps[steps.size() * 99 / 100];
        int seam = std::abs(samples.front() - samples.back());
        EXPECT_LE(seam, usual);
        EXPECT_LT(seam, 1638);  // 5% of full scale
    }
}

TEST(GeneratedSong, LoadsWithItsOrdersPatternsAndLength)
{
    Song song;
    ASSERT_NE(song.module, nullptr);
    EXPECT_EQ(openmpt_module_get_num_orders(song.module), DATAGEN_MUSIC_ORDERS);
    EXPECT_GE(DATAGEN_MUSIC_ORDERS, 16);
    EXPECT_EQ(openmpt_module_get_num_patterns(song.module), DATAGEN_MUSIC_PATTERNS);
    EXPECT_EQ(openmpt_module_get_num_channels(song.module), 4);
    EXPECT_GT(openmpt_module_get_duration_seconds(song.module), 60.0);
}

TEST(GeneratedSong, EveryOrderPositionSoundsFromItsFirstRow)
{
    Song song;
    ASSERT_NE(song.module, nullptr);
    openmpt_module_set_repeat_count(song.module, 0);
    std::vector<int16_t> audio(44100 * 2);
    for (int order = 0; order < DATAGEN_MUSIC_ORDERS; order++) {
        SCOPED_TRACE(order);
        openmpt_module_set_position_order_row(song.module, order, 0);
        size_t frames = openmpt_module_read_interleaved_stereo(song.module, 44100, 44100, audio.data());
        ASSERT_EQ(frames, 44100u);
        EXPECT_GT(Rms(audio.data(), frames * 2), 0.05);
        EXPECT_EQ(openmpt_module_get_current_order(song.module), order);
    }
}
