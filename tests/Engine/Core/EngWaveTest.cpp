#include <gtest/gtest.h>

#include <string>

#include "EngFileTestSupport.h"
#include "EngWaveTestSupport.h"
#include "Engine/Core/EngWave.h"

namespace {

class EngWaveFile : public TempFolderTest
{
protected:
    std::string Write(const char* name, const WaveBytes& wave)
    {
        WriteWave(Path(name), wave);
        return Path(name);
    }

    // Loads and expects a refusal that names the file with reason.
    void ExpectRefused(const WaveBytes& wave, const char* reason)
    {
        std::string path = Write("bad.wav", wave);
        EngWave reader;
        int mark = LogMark();
        EXPECT_FALSE(reader.LoadFromFile(path.c_str(), false)) << reason;
        EXPECT_TRUE(LoggedSince(mark, (std::string(reason) + " " + path).c_str())) << reason;
        EXPECT_EQ(reader.GetData(), nullptr);
        EXPECT_EQ(reader.GetDataSize(), 0u);
    }

};

}  // namespace

TEST_F(EngWaveFile, ReadsEightBitMonoAndSixteenBitStereo)
{
    EngWave mono;
    ASSERT_TRUE(mono.LoadFromFile(Write("mono8.wav", MakeWave(1, 8, 11025, 1000)).c_str(), false));
    EXPECT_EQ(mono.GetFormat().format_tag, 1);
    EXPECT_EQ(mono.GetFormat().channels, 1);
    EXPECT_EQ(mono.GetFormat().samples_per_sec, 11025u);
    EXPECT_EQ(mono.GetFormat().bits_per_sample, 8);
    EXPECT_EQ(mono.GetDataSize(), 1000u);
    EXPECT_EQ(mono.GetData()[3], (unsigned char)21);
    EngWave stereo;
    ASSERT_TRUE(stereo.LoadFromFile(Write("stereo16.wav", MakeWave(2, 16, 44100, 22050)).c_str(), false));
    EXPECT_EQ(stereo.GetFormat().channels, 2);
    EXPECT_EQ(stereo.GetFormat().block_align, 4);
    EXPECT_EQ(stereo.GetFormat().avg_bytes_per_sec, 176400u);
    EXPECT_EQ(stereo.GetDataSize(), 88200u);
    EXPECT_FLOAT_EQ(stereo.GetDuration(), 0.5f);
}

TEST_F(EngWaveFile, SkipsOddSizedChunksAndReadsEighteenByteFormat)
{
    WaveBytes wave;
    wave.Id("RIFF");
    wave.U32(0);
    wave.Id("WAVE");
    wave.Chunk("LIST", std::vector<unsigned char>(5, 'i'));
    wave.Chunk("fmt ", FormatBody(1, 1, 22050, 16, true));
    wave.Chunk("fact", std::vector<unsigned char>(3, 0));
    wave.Chunk("data", std::vector<unsigned char>(400, 9));
    wave.FixRiffSize();
    EngWave reader;
    ASSERT_TRUE(reader.LoadFromFile(Write("odd.wav", wave).c_str(), false));
    EXPECT_EQ(reader.GetDataSize(), 400u);
    EXPECT_EQ(reader.GetFormat().extra_size, 0);
    EXPECT_EQ(reader.GetData()[399], 9);
}

TEST_F(EngWaveFile, FormatOnlyNeedsNoDataChunk)
{
    WaveBytes wave;
    wave.Id("RIFF");
    wave.U32(0);
    wave.Id("WAVE");
    wave.Chunk("fmt ", FormatBody(1, 2, 32000, 16));
    wave.FixRiffSize();
    std::string path = Write("fmt-only.wav", wave);
    EngWave reader;
    ASSERT_TRUE(reader.LoadFromFile(path.c_str(), true));
    EXPECT_EQ(reader.GetFormat().samples_per_sec, 32000u);
    EXPECT_EQ(reader.GetData(), nullptr);
    int mark = LogMark();
    EXPECT_FALSE(reader.LoadFromFile(path.c_str(), false));
    EXPECT_TRUE(LoggedSince(mark, "No data chunk in"));
}

TEST_F(EngWaveFile, TruncatedDataChunkIsRefused)
{
    WaveBytes wave = MakeWave(1, 16, 22050, 500);
    wave.bytes.resize(wave.bytes.size() - 200);
    wave.FixRiffSize();
    ExpectRefused(wave, "Chunk size beyond the end of");
}

TEST_F(EngWaveFile, RiffSizeLargerThanFileIsRefused)
{
    WaveBytes wave = MakeWave(1, 8, 8000, 100);
    wave.FixRiffSize(int64_t(wave.bytes.size()) + 1000);
    ExpectRefused(wave, "Chunk size beyond the end of");
}

TEST_F(EngWaveFile, ChunkSizeNearFourGigabytesIsRefused)
{
    WaveBytes wave = MakeWave(1, 8, 8000, 100);
    // The data chunk's size field sits 4 bytes after its id.
    size_t data_at = wave.bytes.size() - 100 - 8;
    for (int i = 0; i < 4; i++)
        wave.bytes[data_at + 4 + i] = 0xff;
    ExpectRefused(wave, "Chunk size beyond the end of");
}

TEST_F(EngWaveFile, CompressedAndImpossibleFormatsAreRefused)
{
    ExpectRefused(MakeWave(1, 16, 22050, 100, 2), "Invalid format in");
    ExpectRefused(MakeWave(6, 16, 22050, 100), "Invalid format in");
    ExpectRefused(MakeWave(1, 24, 22050, 100), "Invalid format in");
    WaveBytes short_format;
    short_format.Id("RIFF");
    short_format.U32(0);
    short_format.Id("WAVE");
    short_format.Chunk("fmt ", std::vector<unsigned char>(10, 1));
    short_format.Chunk("data", std::vector<unsigned char>(10, 1));
    short_format.FixRiffSize();
    ExpectRefused(short_format, "Invalid format in");
}

TEST_F(EngWaveFile, NonWaveAndMissingFilesAreRefused)
{
    WaveBytes text;
    text.Id("RIFF");
    text.U32(4);
    text.Id("AVI ");
    ExpectRefused(text, "Not a RIFF WAVE file");
    WaveBytes no_format;
    no_format.Id("RIFF");
    no_format.U32(0);
    no_format.Id("WAVE");
    no_format.Chunk("data", std::vector<unsigned char>(10, 1));
    no_format.FixRiffSize();
    ExpectRefused(no_format, "No fmt chunk in");
    EngWave reader;
    int mark = LogMark();
    std::string missing = Path("missing.wav");
    EXPECT_FALSE(reader.LoadFromFile(missing.c_str(), false));
    EXPECT_TRUE(LoggedSince(mark, ("Can not open wafefile " + missing).c_str()));
}

TEST_F(EngWaveFile, PartialLastFrameIsDropped)
{
    WaveBytes wave;
    wave.Id("RIFF");
    wave.U32(0);
    wave.Id("WAVE");
    wave.Chunk("fmt ", FormatBody(1, 2, 22050, 16));
    wave.Chunk("data", std::vector<unsigned char>(403, 5));
    wave.FixRiffSize();
    EngWave reader;
    ASSERT_TRUE(reader.LoadFromFile(Write("partial.wav", wave).c_str(), false));
    EXPECT_EQ(reader.GetDataSize(), 400u);
}
