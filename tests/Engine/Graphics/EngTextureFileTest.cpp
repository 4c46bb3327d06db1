// Picture files are checked before they are decoded: a file cut short, a picture larger than the device
// takes, or a damaged JPEG table is refused instead of reaching the decoder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Engine/Graphics/DX9/EngDeviceDX9.h"
#include "Engine/Graphics/DX9/EngGLDeviceDX9.h"
#include "Engine/Graphics/DX9/EngTextureFileDX9.h"
#include "GraphicsTestUtil.h"
#include "Support/GLTestContext.h"

namespace {

typedef std::vector<unsigned char> Bytes;

Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A picture with detail in it, so that every kind carries real data to its end.
std::string WriteNoisyPicture(const char* name, const char* kind, int w, int h)
{
    Bytes rgba((size_t)w * h * 4);
    unsigned seed = 12345;
    for (unsigned char& byte : rgba) {
        seed = seed * 1103515245u + 12345u;
        byte = (unsigned char)(seed >> 16);
    }
    return WritePicture(name, kind, w, h, rgba);
}

bool Decodes(const std::string& path, int kind, int* width = nullptr)
{
    _EngDecodedPicture picture;
    if (!EngTextureFileDX9_Decode(path.c_str(), kind, &picture))
        return false;
    if (width)
        *width = picture.width;
    EngTextureFileDX9_Free(&picture);
    return true;
}

// The offset of the first segment with this marker, or 0.
size_t FindMarker(const Bytes& jpeg, unsigned char marker)
{
    for (size_t i = 2; i + 1 < jpeg.size(); i++) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == marker)
            return i;
    }
    return 0;
}

// A device picture: side x 1 pixels.
Bytes OneRowPng(int side)
{
    Bytes rgba((size_t)side * 4, 200);
    return ReadFile(WritePicture("row.png", "png", side, 1, rgba));
}

} // namespace

class PictureFile : public GLTestFixture {};

TEST_F(PictureFile, PictureCutShortIsRefusedInEveryKind)
{
    struct Kind {
        const char* name;
        int kind;
    };
    const Kind kinds[] = {{"bmp", 1}, {"tga", 2}, {"jpg", 3}, {"png", 4}};
    for (const Kind& kind : kinds) {
        const std::string name = std::string("noisy.") + kind.name;
        const std::string path = WriteNoisyPicture(name.c_str(), kind.name, 32, 32);
        ASSERT_TRUE(Decodes(path, kind.kind)) << kind.name;
        ASSERT_TRUE(Decodes(path, 0)) << kind.name;
        Bytes whole = ReadFile(path);
        for (size_t cut : {size_t(1), size_t(2), whole.size() / 3}) {
            Bytes part(whole.begin(), whole.end() - (long)cut);
            const std::string cut_path = WriteBytes("cut.pic", part);
            EXPECT_FALSE(Decodes(cut_path, kind.kind)) << kind.name << " missing " << cut << " bytes";
            EXPECT_FALSE(Decodes(cut_path, 0)) << kind.name << " missing " << cut << " bytes";
        }
    }
}

TEST_F(PictureFile, RunLengthTargaMustHoldEveryPixel)
{
    // 2 x 2, 24 bits, type 10; the packets follow the header.
    auto targa = [](const Bytes& packets) {
        Bytes file = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 24, 0};
        file.resize(file.size() + packets.size());
        std::copy(packets.begin(), packets.end(), file.end() - (long)packets.size());
        return file;
    };
    EXPECT_TRUE(Decodes(WriteBytes("rle.tga", targa({0x83, 255, 0, 0})), 2));
    EXPECT_TRUE(Decodes(WriteBytes("rle.tga", targa({0x81, 255, 0, 0, 0x01, 1, 2, 3, 4, 5, 6})), 2));
    EXPECT_FALSE(Decodes(WriteBytes("rle.tga", targa({0x82, 255, 0, 0})), 2));
    EXPECT_FALSE(Decodes(WriteBytes("rle.tga", targa({0x83})), 2));
    EXPECT_FALSE(Decodes(WriteBytes("rle.tga", targa({0x81, 255, 0, 0, 0x01, 1, 2, 3})), 2));
}

TEST_F(PictureFile, PictureLargerThanTheDeviceTakesIsRefusedFromItsHeader)
{
    D3DCAPS9 caps = {};
    ASSERT_EQ(D3D_OK, eng_d3d_device->GetDeviceCaps(&caps));
    const int largest = (int)caps.MaxTextureWidth;
    ASSERT_GT(largest, 0);
    int width = 0;
    EXPECT_TRUE(Decodes(WriteBytes("fits.png", OneRowPng(largest)), 4, &width));
    EXPECT_EQ(largest, width);
    ClearLogMark();
    EXPECT_FALSE(Decodes(WriteBytes("wide.png", OneRowPng(largest + 1)), 4));
    EXPECT_TRUE(LogHas("larger than the largest texture"));
}

// A flat picture of 16384 x 16384 compresses to a small file but would decode to a gigabyte: its header
// is enough to refuse it.
TEST_F(PictureFile, PictureOfTooManyPixelsIsRefusedFromItsHeader)
{
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0x40, 0,
                 0, 0, 0x40, 0, 8, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 'I', 'E', 'N', 'D', 0, 0, 0, 0};
    ClearLogMark();
    EXPECT_FALSE(Decodes(WriteBytes("huge.png", png), 4));
    EXPECT_TRUE(LogHas("is 16384x16384, larger than"));
}

// Counts of codes per length that add up to more symbols than a table can hold must never reach the
// decoder: not in the picture's own table, nor in one hidden behind a stray byte that the decoder skips but
// a check could take for the start of a segment spanning the table.
TEST_F(PictureFile, JpegWithImpossibleHuffmanTableIsRefused)
{
    const Bytes jpeg = ReadFile(WriteNoisyPicture("table.jpg", "jpg", 16, 16));
    const size_t table = FindMarker(jpeg, 0xC4);
    const size_t frame = FindMarker(jpeg, 0xC0);
    ASSERT_NE(0u, table);
    ASSERT_NE(0u, frame);
    Bytes bad_table = {0xFF, 0xC4, 0x00, 0x13, 0x00};
    bad_table.insert(bad_table.end(), 16, 0x40);
    Bytes in_place = jpeg;
    std::copy(bad_table.begin() + 5, bad_table.end(), in_place.begin() + (long)table + 5);
    // The stray byte 0xE1 and a length that spans the table, before the frame header.
    Bytes hidden = jpeg;
    Bytes stray = {0xE1, 0x00, (unsigned char)(bad_table.size() + 2)};
    stray.insert(stray.end(), bad_table.begin(), bad_table.end());
    hidden.insert(hidden.begin() + (long)frame, stray.begin(), stray.end());
    struct Case {
        const char* name;
        const Bytes& bytes;
    } cases[] = {{"the picture's own table", in_place}, {"a table behind a stray byte", hidden}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearLogMark();
        EXPECT_FALSE(Decodes(WriteBytes("table.jpg", c.bytes), 3));
        EXPECT_TRUE(LogHas("Corrupt JPEG"));
    }
    EXPECT_TRUE(Decodes(WriteBytes("table.jpg", jpeg), 3)) << "the picture as written decodes";
}
