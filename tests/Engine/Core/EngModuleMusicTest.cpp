#include <gtest/gtest.h>

#include <AL/al.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "EngFileTestSupport.h"
#include "EngWaveTestSupport.h"
#include "Engine/Core/EngSound.h"
#include "Engine/Core/PC/EngModuleMusic_PC.h"
#include "Support/WaitFor.h"

namespace {

// A short four-channel module made byte by byte: `orders` positions of one pattern that runs 64 rows at
// speed 1 and 255 beats a minute (about 0.63 s), a looped square wave on channel 1 throughout.
std::vector<unsigned char> TinyModule(int orders)
{
    std::vector<unsigned char> bytes(20, 0);
    auto u16be = [&](unsigned v) {
        bytes.push_back((unsigned char)(v >> 8));
        bytes.push_back((unsigned char)v);
    };
    for (int sample = 0; sample < 31; sample++) {
        bytes.insert(bytes.end(), 22, 0);
        u16be(sample == 0 ? 16 : 0);
        bytes.push_back(0);
        bytes.push_back(sample == 0 ? 64 : 0);
        u16be(0);
        u16be(sample == 0 ? 16 : 1);
    }
    bytes.push_back((unsigned char)orders);
    bytes.push_back(127);
    for (int i = 0; i < 128; i++)
        bytes.push_back(0);
    for (char c : std::string("M.K."))
        bytes.push_back((unsigned char)c);
    std::vector<unsigned char> pattern(1024, 0);
    // Row 0: note C-2 (period 428) of sample 1 with speed 1; channel 2 sets 255 beats a minute.
    pattern[0] = 0x01;
    pattern[1] = 0xAC;
    pattern[2] = 0x1F;
    pattern[3] = 0x01;
    pattern[6] = 0x0F;
    pattern[7] = 0xFF;
    bytes.insert(bytes.end(), pattern.begin(), pattern.end());
    for (int i = 0; i < 32; i++)
        bytes.push_back(i < 2 ? 0 : (i % 16 < 8 ? 100 : 156));
    return bytes;
}

class EngModuleMusicTest : public TempFolderTest
{
protected:
    void SetUp() override
    {
        setenv("ALSOFT_DRIVERS", "null", 0);
        TempFolderTest::SetUp();
    }
    void TearDown() override
    {
        EngModuleMusicFree();
        EngSoundShutdown();
        TempFolderTest::TearDown();
    }

    std::string WriteBytes(const char* name, const std::vector<unsigned char>& bytes)
    {
        WaveBytes file;
        file.bytes = bytes;
        WriteWave(Path(name), file);
        return Path(name);
    }

};

} // namespace

TEST_F(EngModuleMusicTest, CallsBeforeInitAndBadArgumentsFailWithTheirCodes)
{
    EXPECT_FALSE(EngModuleMusicLoad(WriteBytes("song.mod", TinyModule(2)).c_str()));
    EXPECT_EQ(EngModuleMusicErrorGetCode(), ENG_MODULE_MUSIC_ERROR_INIT);
    EXPECT_FALSE(EngModuleMusicPlay(0));
    EXPECT_EQ(EngModuleMusicErrorGetCode(), ENG_MODULE_MUSIC_ERROR_INIT);
    EXPECT_FALSE(EngModuleMusicIsActive());
    EXPECT_FALSE(EngModuleMusicInit(3, 22050));
    EXPECT_EQ(EngModuleMusicErrorGetCode(), ENG_MODULE_MUSIC_ERROR_DRIVER);

    ASSERT_TRUE(EngModuleMusicInit(ENG_MODULE_MUSIC_DEFAULT_DEVICE, 22050));
    EXPECT_GT(EngModuleMusicGetRate(), 0u);
    EXPECT_FALSE(EngModuleMusicInit(ENG_MODULE_MUSIC_DEFAULT_DEVICE, 22050));
    EXPECT_EQ(EngModuleMusicErrorGetCode(), ENG_MODULE_MUSIC_ERROR_ALREADY);

    EXPECT_FALSE(EngModuleMusicPlay(0));
    EXPECT_EQ(EngModuleMusicErrorGetCode(), ENG_MODULE_MUSIC_ERROR_HANDLE);
    EXPECT_FALSE(EngModuleMusicLoad(Path("missing.mod").c_str()));
    EXPECT_EQ(EngModuleMusicErrorGetCode(), ENG_MODULE_MUSIC_ERROR_FILE_OPEN);
    EXPECT_FALSE(EngModuleMusicLoad(WriteBytes("text.mod", {'n', 'o', 't', ' ', 'a', ' ', 's', 'o', 'n', 'g'}).c_str()));
    EXPECT_EQ(EngModuleMusicErrorGetCode(), ENG_MODULE_MUSIC_ERROR_FORMAT);

    ASSERT_TRUE(EngModuleMusicLoad(WriteBytes("song.mod", TinyModule(2)).c_str()));
    EXPECT_EQ(EngModuleMusicGetOrderCount(), 2);
    for (int order : {-1, 2, 1000}) {
        EXPECT_FALSE(EngModuleMusicPlay(order)) << order;
        EXPECT_EQ(EngModuleMusicErrorGetCode(), ENG_MODULE_MUSIC_ERROR_POSITION) << order;
    }
    EXPECT_FALSE(EngModuleMusicIsActive());
}

TEST_F(EngModuleMusicTest, AmplifyIsKeptWithinZeroToFifty)
{
    ASSERT_TRUE(EngModuleMusicInit(ENG_MODULE_MUSIC_DEFAULT_DEVICE, 22050));
    const int cases[][2] = {{25, 25}, {60, 50}, {50, 50}, {-5, 0}, {0, 0}};
    for (const auto& c : cases) {
        EXPECT_TRUE(EngModuleMusicSetAmplify(c[0]));
        EXPECT_EQ(EngModuleMusicGetAmplify(), c[1]) << c[0];
    }
}

TEST_F(EngModuleMusicTest, PlaysFromAnOrderPositionAndGoesInactiveAtTheSongsEnd)
{
    ASSERT_TRUE(EngModuleMusicInit(ENG_MODULE_MUSIC_DEFAULT_DEVICE, 22050));
    ASSERT_TRUE(EngModuleMusicLoad(WriteBytes("song.mod", TinyModule(3)).c_str()));
    ASSERT_TRUE(EngModuleMusicPlay(1));
    EXPECT_TRUE(EngModuleMusicIsActive());
    EXPECT_EQ(EngModuleMusicGetPosition() & 0xffff, 1u);
    // Two positions of about 0.63 s are left; the song must not loop back to the start.
    EXPECT_TRUE(WaitFor([] { return (EngModuleMusicGetPosition() & 0xffff) == 2; }));
    EXPECT_TRUE(WaitFor([] { return !EngModuleMusicIsActive(); }));
    EXPECT_EQ(EngModuleMusicErrorGetCode(), ENG_MODULE_MUSIC_OK);
    // Played again, it starts over.
    ASSERT_TRUE(EngModuleMusicPlay(0));
    EXPECT_TRUE(EngModuleMusicIsActive());
    EXPECT_TRUE(EngModuleMusicStop());
    EXPECT_FALSE(EngModuleMusicIsActive());
}

TEST_F(EngModuleMusicTest, FreeingTheSongOrThePlayerStopsAtOnce)
{
    ASSERT_TRUE(EngModuleMusicInit(ENG_MODULE_MUSIC_DEFAULT_DEVICE, 22050));
    ASSERT_TRUE(EngModuleMusicLoad(WriteBytes("song.mod", TinyModule(3)).c_str()));
    ASSERT_TRUE(EngModuleMusicPlay(0));
    EngModuleMusicFreeSong();
    EXPECT_FALSE(EngModuleMusicIsActive());
    EXPECT_EQ(EngModuleMusicGetOrderCount(), 0);
    EXPECT_FALSE(EngModuleMusicPlay(0));
    ASSERT_TRUE(EngModuleMusicLoad(WriteBytes("song.mod", TinyModule(3)).c_str()));
    ASSERT_TRUE(EngModuleMusicPlay(0));
    auto start = std::chrono::steady_clock::now();
    EngModuleMusicFree();
    EXPECT_FALSE(EngModuleMusicIsInitialised());
    EXPECT_FALSE(EngModuleMusicIsActive());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));  // joined, not hung
    ASSERT_TRUE(EngModuleMusicInit(ENG_MODULE_MUSIC_DEFAULT_DEVICE, 22050));  // and it starts again
}

// Effects and music share one output device: either may stop first without taking it from the other.
TEST_F(EngModuleMusicTest, SharesTheDeviceWithTheSoundEffects)
{
    std::string sample = Path("sample.wav");
    WriteWave(sample, MakeWave(1, 16, 44100, 4410));
    ASSERT_TRUE(EngSoundInit(ENG_SOUND_SYSTEM_DX8, true, true, false, sample.c_str(), 44));
    ASSERT_TRUE(EngModuleMusicInit(ENG_MODULE_MUSIC_DEFAULT_DEVICE, 22050));
    EXPECT_EQ(EngModuleMusicGetRate(), 44100u);  // the device's rate, set by the effects' sample
    ASSERT_TRUE(EngModuleMusicLoad(WriteBytes("song.mod", TinyModule(3)).c_str()));
    ASSERT_TRUE(EngModuleMusicPlay(0));
    EngModuleMusicFree();
    EngSound effect(sample.c_str(), true, 0);
    ASSERT_TRUE(effect.PlayLooped());
    ALint state = 0;
    alGetSourcei(effect.GetSourceDX(), AL_SOURCE_STATE, &state);
    EXPECT_EQ(state, AL_PLAYING);
    EXPECT_FALSE(EngSoundIsDeviceLost());
    effect.DestroyDX();

    ASSERT_TRUE(EngModuleMusicInit(ENG_MODULE_MUSIC_DEFAULT_DEVICE, 22050));
    EngSoundShutdown();
    ASSERT_TRUE(EngModuleMusicLoad(WriteBytes("song.mod", TinyModule(3)).c_str()));
    ASSERT_TRUE(EngModuleMusicPlay(0));
    EXPECT_TRUE(WaitFor([] { return (EngModuleMusicGetPosition() >> 16) > 0; }));  // still decoding
}
