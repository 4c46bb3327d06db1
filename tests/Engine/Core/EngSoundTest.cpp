#include <gtest/gtest.h>

#include <AL/al.h>
#include <AL/alc.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>

#include "EngFileTestSupport.h"
#include "EngWaveTestSupport.h"
#include "Engine/Core/EngSound.h"

namespace {

// Each test starts the silent OpenAL device (ALSOFT_DRIVERS=null) with its own wave files.
class EngSoundTest : public TempFolderTest
{
protected:
    void SetUp() override
    {
        // Never a real sound card: the silent device unless the environment already chose one.
        setenv("ALSOFT_DRIVERS", "null", 0);
        TempFolderTest::SetUp();
        sample = Write("sample.wav", MakeWave(1, 16, 22050, 2205));
    }
    void TearDown() override
    {
        EngSoundShutdown();
        TempFolderTest::TearDown();
    }

    std::string Write(const char* name, const WaveBytes& wave)
    {
        WriteWave(Path(name), wave);
        return Path(name);
    }

    bool Start(bool frequency_control = true)
    {
        return EngSoundInit(ENG_SOUND_SYSTEM_DX8, true, frequency_control, false, sample.c_str(), 44);
    }

    static ALint SourceInt(const EngSound& sound, ALenum what)
    {
        ALint value = -1;
        alGetSourcei(sound.GetSourceDX(), what, &value);
        return value;
    }

    static float SourceFloat(const EngSound& sound, ALenum what)
    {
        ALfloat value = -1.0f;
        alGetSourcef(sound.GetSourceDX(), what, &value);
        return value;
    }

    std::string sample;
};

}  // namespace

TEST(EngSoundVolume, AttenuationInHundredthsOfDecibel)
{
    EXPECT_EQ(EngSoundVolumeToAttenuation(0.0f), -10000);
    EXPECT_EQ(EngSoundVolumeToAttenuation(1.0f), 0);
    EXPECT_EQ(EngSoundVolumeToAttenuation(0.5f), -602);
    EXPECT_EQ(EngSoundVolumeToAttenuation(0.1f), -2000);
    EXPECT_EQ(EngSoundVolumeToAttenuation(3.0f), 0);
    EXPECT_EQ(EngSoundVolumeToAttenuation(-1.0f), -10000);
    EXPECT_EQ(EngSoundVolumeToAttenuation(std::nanf("")), -10000);
}

TEST_F(EngSoundTest, InitRefusesMissingSystemLongSampleAndUnknownSystem)
{
    int mark = LogMark();
    EXPECT_FALSE(EngSoundInit(ENG_SOUND_SYSTEM_NONE, true, true, false, sample.c_str(), 44));
    EXPECT_TRUE(LoggedSince(mark, "Sound parameters not setup"));
    std::string long_name(600, 'a');
    EXPECT_FALSE(EngSoundInit(ENG_SOUND_SYSTEM_DX8, true, true, false, long_name.c_str(), 44));
    EXPECT_TRUE(LoggedSince(mark, "Sample sound filename too long"));
    EXPECT_FALSE(EngSoundInit(_EngSoundSystem(2), true, true, false, sample.c_str(), 44));
    EXPECT_TRUE(LoggedSince(mark, "Unknown sound system 2"));
    EXPECT_EQ(EngSoundGetRunningSystem(), ENG_SOUND_SYSTEM_NONE);
}

TEST_F(EngSoundTest, InitTwiceKeepsTheRunningDevice)
{
    ASSERT_TRUE(Start());
    ALCcontext* context = alcGetCurrentContext();
    ASSERT_NE(context, nullptr);
    ALCint rate = 0;
    alcGetIntegerv(alcGetContextsDevice(context), ALC_FREQUENCY, 1, &rate);
    EXPECT_EQ(rate, 22050);  // the sample's rate became the mixing rate
    ASSERT_TRUE(Start());
    EXPECT_EQ(alcGetCurrentContext(), context);
    EXPECT_EQ(EngSoundGetRunningSystem(), ENG_SOUND_SYSTEM_DX8);
}

TEST_F(EngSoundTest, BadSampleFailsInitCleanly)
{
    std::string bad = Write("bad-sample.wav", MakeWave(1, 16, 22050, 10, 2));
    int mark = LogMark();
    EXPECT_FALSE(EngSoundInit(ENG_SOUND_SYSTEM_DX8, true, true, false, bad.c_str(), 44));
    EXPECT_TRUE(LoggedSince(mark, "(primary)SetFormat"));
    EXPECT_EQ(EngSoundGetRunningSystem(), ENG_SOUND_SYSTEM_NONE);
    EXPECT_EQ(alcGetCurrentContext(), nullptr);
}

TEST_F(EngSoundTest, PlayLoopAndStopReachOpenAL)
{
    ASSERT_TRUE(Start());
    EngSound sound(Write("engine.wav", MakeWave(1, 16, 22050, 22050)).c_str(), false, 0);
    ASSERT_TRUE(sound.IsLoaded());
    EXPECT_FLOAT_EQ(sound.GetDuration(), 1.0f);
    EXPECT_EQ(sound.GetInitialFrequency(), 22050u);
    ALint size = 0;
    ALint buffer = SourceInt(sound, AL_BUFFER);
    alGetBufferi(ALuint(buffer), AL_SIZE, &size);
    EXPECT_EQ(size, 44100);
    ASSERT_TRUE(sound.Play());
    EXPECT_EQ(SourceInt(sound, AL_SOURCE_STATE), AL_PLAYING);
    EXPECT_EQ(SourceInt(sound, AL_LOOPING), AL_FALSE);
    ASSERT_TRUE(sound.PlayLooped());
    EXPECT_EQ(SourceInt(sound, AL_SOURCE_STATE), AL_PLAYING);
    EXPECT_EQ(SourceInt(sound, AL_LOOPING), AL_TRUE);
    sound.Stop();
    EXPECT_EQ(SourceInt(sound, AL_SOURCE_STATE), AL_STOPPED);
    EXPECT_EQ(SourceInt(sound, AL_SOURCE_RELATIVE), AL_TRUE);  // a plain sound stays at the listener
}

TEST_F(EngSoundTest, PlayOnPlayingSoundRestartsFromBeginning)
{
    ASSERT_TRUE(Start());
    EngSound sound(Write("long.wav", MakeWave(1, 16, 22050, 22050 * 4)).c_str(), false, 0);
    ASSERT_TRUE(sound.PlayLooped());
    ALint offset = 0;
    for (int i = 0; i < 200 && offset < 2205; i++) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        offset = SourceInt(sound, AL_SAMPLE_OFFSET);
    }
    ASSERT_GE(offset, 2205);  // the silent device mixes in real time
    ASSERT_TRUE(sound.Play());
    EXPECT_LT(SourceInt(sound, AL_SAMPLE_OFFSET), offset);
    EXPECT_EQ(SourceInt(sound, AL_SOURCE_STATE), AL_PLAYING);
}

TEST_F(EngSoundTest, VolumeAndPitchSetGainAndFrequency)
{
    ASSERT_TRUE(Start());
    EngSound sound(Write("stereo8.wav", MakeWave(2, 8, 11025, 1000)).c_str(), false, 0);
    ASSERT_TRUE(sound.IsLoaded());
    sound.SetVolume(0.5f);
    EXPECT_NEAR(SourceFloat(sound, AL_GAIN), 0.5f, 0.001f);
    sound.SetVolume(0.0f);
    EXPECT_NEAR(SourceFloat(sound, AL_GAIN), 0.00001f, 0.000001f);
    sound.SetPitch(2.0f);
    EXPECT_EQ(sound.GetFrequencyDX(), 22050u);
    EXPECT_NEAR(SourceFloat(sound, AL_PITCH), 2.0f, 0.0001f);
    sound.SetPitch(0.5f);
    EXPECT_EQ(sound.GetFrequencyDX(), 5512u);
    int mark = LogMark();
    EXPECT_FALSE(sound.SetFrequencyDX(50));
    EXPECT_TRUE(LoggedSince(mark, "SetFrequency - An invalid parameter was passed to the returned function."));
    EXPECT_EQ(sound.GetFrequencyDX(), 5512u);
}

TEST_F(EngSoundTest, PitchWithoutFrequencyControlIsRefused)
{
    ASSERT_TRUE(Start(false));
    EngSound sound(Write("plain.wav", MakeWave(1, 8, 8000, 800)).c_str(), false, 0);
    ASSERT_TRUE(sound.IsLoaded());
    EXPECT_EQ(sound.GetInitialFrequency(), 0u);
    int mark = LogMark();
    sound.SetPitch(2.0f);
    EXPECT_TRUE(LoggedSince(mark, "Frequency operations not enabled."));
    EXPECT_EQ(sound.GetFrequencyDX(), 0u);
    EXPECT_NEAR(SourceFloat(sound, AL_PITCH), 1.0f, 0.0001f);
}

TEST_F(EngSoundTest, ThreeDimensionalSoundIsPlacedOthersAreRefused)
{
    ASSERT_TRUE(Start());
    std::string file = Write("crash.wav", MakeWave(1, 16, 22050, 500));
    EngSound placed(file.c_str(), true, 0);
    ASSERT_TRUE(placed.IsLoaded());
    placed.Set3dPosition(-0.5f, 0.25f, 0.5f);
    ALfloat x = 0, y = 0, z = 0;
    alGetSource3f(placed.GetSourceDX(), AL_POSITION, &x, &y, &z);
    EXPECT_FLOAT_EQ(x, -0.5f);
    EXPECT_FLOAT_EQ(y, 0.25f);
    EXPECT_FLOAT_EQ(z, -0.5f);  // into the screen, in OpenAL's axes
    EXPECT_EQ(SourceInt(placed, AL_SOURCE_RELATIVE), AL_FALSE);
    EngSound flat(file.c_str(), false, 0);
    int mark = LogMark();
    flat.Set3dPosition(1.0f, 1.0f, 1.0f);
    EXPECT_TRUE(LoggedSince(mark, "Sound called but no 3d buffer present"));
}

TEST_F(EngSoundTest, FailedLoadStaysSilent)
{
    ASSERT_TRUE(Start());
    std::string compressed = Write("adpcm.wav", MakeWave(1, 16, 22050, 100, 2));
    int mark = LogMark();
    EngSound sound(compressed.c_str(), false, 0);
    EXPECT_TRUE(LoggedSince(mark, ("Invalid format in " + compressed).c_str()));
    EXPECT_TRUE(LoggedSince(mark, "Could not load sound"));
    EXPECT_FALSE(sound.IsLoaded());
    EXPECT_FALSE(sound.Play());
    EXPECT_TRUE(LoggedSince(mark, "Sound called but no buffer present"));
    EngSound missing(Path("none.wav").c_str(), false, 0);
    EXPECT_TRUE(LoggedSince(mark, "Filename does not exist <"));
    EngSound unnamed(nullptr, false, 0);
    EXPECT_TRUE(LoggedSince(mark, "No filename"));
}

TEST_F(EngSoundTest, WithoutRunningSystemCallsOnlyNote)
{
    EngSound sound;
    int mark = LogMark();
    EXPECT_FALSE(sound.LoadSoundFromFile(sample.c_str(), false));
    EXPECT_FALSE(sound.Play());
    sound.SetVolume(1.0f);
    EXPECT_TRUE(LoggedSince(mark, "Not implemented."));
    EXPECT_EQ(sound.GetSourceDX(), 0u);
}

TEST_F(EngSoundTest, ShutdownBeforeSoundsForgetsTheirBuffers)
{
    ASSERT_TRUE(Start());
    auto* sound = new EngSound(sample.c_str(), true, 0);
    ASSERT_TRUE(sound->IsLoaded());
    EngSoundShutdown();
    EXPECT_FALSE(sound->Play());
    ASSERT_TRUE(Start());
    int mark = LogMark();
    // The buffers of the first start mean nothing to the second device.
    EXPECT_FALSE(sound->PlayDX(false));
    delete sound;
    EXPECT_TRUE(LoggedSince(mark, "Sound was not released"));
}

TEST(EngSoundNoDevice, GameRunsOnWithoutAnySoundDevice)
{
    setenv("ALSOFT_DRIVERS", "no-such-driver", 1);
    int mark = LogMark();
    EXPECT_FALSE(EngSoundInit(ENG_SOUND_SYSTEM_DX8, true, true, false, "", 44));
    EXPECT_TRUE(LoggedSince(mark, "alcOpenDevice"));
    EXPECT_EQ(EngSoundGetRunningSystem(), ENG_SOUND_SYSTEM_NONE);
    EngSound sound("Data/1300.dat", true, 0);
    EXPECT_FALSE(sound.Play());
    sound.Set3dPosition(0.0f, 0.0f, 0.5f);
    sound.Stop();
}
