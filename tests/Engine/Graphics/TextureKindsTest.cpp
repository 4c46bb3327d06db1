// Picture kinds by name and alpha from brightness: no device needed.
#include <gtest/gtest.h>

#include "Engine/Graphics/EngTexture.h"
#include "GraphicsTestUtil.h"

TEST(TextureKinds, ExtensionDecidesKindWithoutCase)
{
    EXPECT_EQ(ETFE_BMP, EngTexture_GetFileExtFromFilename("Data\\a.BMP", ETFE_UNKNOWN));
    EXPECT_EQ(ETFE_TGA, EngTexture_GetFileExtFromFilename("x.tga", ETFE_UNKNOWN));
    EXPECT_EQ(ETFE_JPG, EngTexture_GetFileExtFromFilename("x.jpg", ETFE_UNKNOWN));
    EXPECT_EQ(ETFE_JPG, EngTexture_GetFileExtFromFilename("photo.JPEG", ETFE_UNKNOWN));
    EXPECT_EQ(ETFE_PNG, EngTexture_GetFileExtFromFilename("x.png", ETFE_UNKNOWN));
    EXPECT_EQ(ETFE_GIF, EngTexture_GetFileExtFromFilename("x.gif", ETFE_UNKNOWN));
    EXPECT_EQ(ETFE_DDS, EngTexture_GetFileExtFromFilename("x.dds", ETFE_UNKNOWN));
    EXPECT_EQ(ETFE_UNKNOWN, EngTexture_GetFileExtFromFilename("x.webp", ETFE_UNKNOWN));
    EXPECT_EQ(ETFE_UNKNOWN, EngTexture_GetFileExtFromFilename("png", ETFE_UNKNOWN));
    EXPECT_EQ(ETFE_UNKNOWN, EngTexture_GetFileExtFromFilename("a.p", ETFE_UNKNOWN));
    EXPECT_EQ(ETFE_UNKNOWN, EngTexture_GetFileExtFromFilename("", ETFE_PNG));
    EXPECT_EQ(ETFE_UNKNOWN, EngTexture_GetFileExtFromFilename(nullptr, ETFE_PNG));
}

TEST(TextureKinds, DatTakesTheKindTheCallerNames)
{
    EXPECT_EQ(ETFE_PNG, EngTexture_GetFileExtFromFilename("Data\\1234.dat", ETFE_PNG));
    EXPECT_EQ(ETFE_TGA, EngTexture_GetFileExtFromFilename("1234.DAT", ETFE_TGA));
    EXPECT_EQ(ETFE_UNKNOWN, EngTexture_GetFileExtFromFilename("1234.dat", ETFE_UNKNOWN));
}

TEST(TextureKinds, GifDdsAndUnknownAreRefusedByName)
{
    EngTexture texture;
    const char* refused[] = {"picture.gif", "picture.dds", "picture.xyz", "a.dat"};
    for (const char* name : refused) {
        ClearLogMark();
        EXPECT_FALSE(texture.LoadFromFileUsingExt(name, true, ETAT_FROM_FILE, ETFE_UNKNOWN)) << name;
        const std::string expected = std::string("Unknown extension in file <") + name + ">";
        EXPECT_TRUE(LogHas(expected.c_str())) << name;
        EXPECT_FALSE(texture.IsLoaded());
    }
    ClearLogMark();
    EXPECT_FALSE(texture.LoadFromFileUsingExt("a.dat", true, ETAT_FROM_FILE, ETFE_GIF));
    EXPECT_TRUE(LogHas("Unknown extension in file <a.dat>"));
}

TEST(TextureAlpha, DarkCutoffEdges)
{
    EXPECT_EQ(0, EngTexture_GetPixelAlphaFromBrightness(ETAT_DARK_CUTOFF, 31, 0, 0));
    EXPECT_EQ(0, EngTexture_GetPixelAlphaFromBrightness(ETAT_DARK_CUTOFF, 0, 32, 0));
    EXPECT_EQ(248, EngTexture_GetPixelAlphaFromBrightness(ETAT_DARK_CUTOFF, 0, 0, 63));
    EXPECT_EQ(255, EngTexture_GetPixelAlphaFromBrightness(ETAT_DARK_CUTOFF, 64, 10, 10));
}

TEST(TextureAlpha, TiedChannelsGiveTheirValueAsMaxAndMin)
{
    EXPECT_EQ(200, EngTexture_GetPixelAlphaFromBrightness(ETAT_MAX, 0, 200, 200));
    EXPECT_EQ(200, EngTexture_GetPixelAlphaFromBrightness(ETAT_MAX, 200, 200, 0));
    // Minimum of (250, 250, 255) is 250: 255 - 250.
    EXPECT_EQ(5, EngTexture_GetPixelAlphaFromBrightness(ETAT_INV_MIN, 250, 250, 255));
    EXPECT_EQ(5, EngTexture_GetPixelAlphaFromBrightness(ETAT_INV_MIN, 255, 250, 250));
}

TEST(TextureAlpha, EveryTypeOverItsRanges)
{
    EXPECT_EQ(255, EngTexture_GetPixelAlphaFromBrightness(ETAT_OPAQUE, 0, 0, 0));
    EXPECT_EQ(255, EngTexture_GetPixelAlphaFromBrightness(ETAT_OPAQUE_2, 0, 0, 0));
    EXPECT_EQ(0, EngTexture_GetPixelAlphaFromBrightness(ETAT_CLEAR, 255, 255, 255));
    EXPECT_EQ(248, EngTexture_GetPixelAlphaFromBrightness(ETAT_DARK_RAMP, 31, 0, 0));
    EXPECT_EQ(255, EngTexture_GetPixelAlphaFromBrightness(ETAT_DARK_RAMP, 32, 0, 0));
    EXPECT_EQ(0, EngTexture_GetPixelAlphaFromBrightness(ETAT_LIGHT_CUTOFF, 224, 224, 224));
    EXPECT_EQ(248, EngTexture_GetPixelAlphaFromBrightness(ETAT_LIGHT_CUTOFF, 192, 255, 255));
    EXPECT_EQ(255, EngTexture_GetPixelAlphaFromBrightness(ETAT_LIGHT_CUTOFF, 191, 255, 255));
    EXPECT_EQ(248, EngTexture_GetPixelAlphaFromBrightness(ETAT_LIGHT_RAMP, 224, 224, 230));
    EXPECT_EQ(0, EngTexture_GetPixelAlphaFromBrightness(ETAT_LIGHT_RAMP, 255, 255, 255));
    EXPECT_EQ(255, EngTexture_GetPixelAlphaFromBrightness(ETAT_LIGHT_RAMP, 223, 255, 255));
}

TEST(TextureAlpha, FromFileAndUnknownTypesGiveZeroAndReport)
{
    ClearLogMark();
    EXPECT_EQ(0, EngTexture_GetPixelAlphaFromBrightness(ETAT_FROM_FILE, 9, 9, 9));
    EXPECT_TRUE(LogHas("Alpha from file specified"));
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(0, EngTexture_GetPixelAlphaFromBrightness(42, 9, 9, 9));
    EXPECT_EQ(5, LogCountSinceMark("Unknown alpha type 42"));
}
