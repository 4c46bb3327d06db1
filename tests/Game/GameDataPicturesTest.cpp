#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <string>
#include <vector>

#include "Engine/Graphics/DX9/EngTextureFileDX9.h"
#include "Engine/Graphics/EngTexture.h"
#include "Game/Screens/GameAdsCatalogue.h"

namespace {

// The track pictures are stored uncompressed; every other ".dat" picture is a PNG.
_EngTextureFileExt DatKindOf(const std::string& file)
{
    return file.find("Data/160") == 0 ? ETFE_TGA : ETFE_PNG;
}

// A generated picture decoded as the game decodes it (B, G, R, A bytes): of the kind its name gives, ".dat"
// pictures of the kind their caller names.
struct Decoded {
    _EngDecodedPicture picture = {};
    bool ok = false;
    explicit Decoded(const std::string& file, _EngTextureFileExt dat_kind)
    {
        ok = EngTextureFileDX9_Decode(file.c_str(), EngTexture_GetFileExtFromFilename(file.c_str(), dat_kind),
                                      &picture);
    }
    explicit Decoded(const std::string& file) : Decoded(file, DatKindOf(file)) {}
    ~Decoded()
    {
        if (ok)
            EngTextureFileDX9_Free(&picture);
    }
    Decoded(const Decoded&) = delete;
    Decoded& operator=(const Decoded&) = delete;
    const unsigned char* At(int x, int y) const { return picture.pixels + (y * picture.width + x) * 4; }
    // Mean of B, G, R over the opaque pixels of a rectangle given in fractions of the picture.
    void Mean(double x0, double y0, double x1, double y1, double bgr[3]) const
    {
        bgr[0] = bgr[1] = bgr[2] = 0.0;
        int n = 0;
        for (int y = int(y0 * picture.height); y < int(y1 * picture.height); ++y)
            for (int x = int(x0 * picture.width); x < int(x1 * picture.width); ++x) {
                const unsigned char* p = At(x, y);
                if (p[3] < 200)
                    continue;
                for (int c = 0; c < 3; ++c)
                    bgr[c] += p[c];
                ++n;
            }
        for (int c = 0; c < 3 && n > 0; ++c)
            bgr[c] /= n;
    }
};

struct PictureSize {
    std::string file;
    int width;
    int height;
    bool alpha;
};

std::string Numbered(const char* pattern, int a, int b = 0)
{
    char name[64];
    std::snprintf(name, sizeof(name), pattern, a, b);
    return name;
}

std::vector<PictureSize> RacePictures()
{
    std::vector<PictureSize> rows;
    for (int c = 0; c < 8; ++c)
        for (int f = 0; f < 4; ++f)
            rows.push_back({Numbered("Data/17%d%d.tga", c, f), 64, 64, true});
    for (int f = 0; f < 4; ++f)
        rows.push_back({Numbered("Data/179%d.tga", f), 20, 28, true});
    rows.push_back({"Data/1798.tga", 70, 70, true});
    rows.push_back({"Data/1799.tga", 22, 31, true});
    for (int f = 0; f < 10; ++f)
        rows.push_back({Numbered("Data/180%d.tga", f), 64, 64, true});
    return rows;
}

std::vector<PictureSize> MenuPictures()
{
    std::vector<PictureSize> rows = {{"Data/1120.dat", 1024, 768, false},
                                     {"Data/1000.dat", 1024, 1024, true},
                                     {"Data/Common/CountryFlags1024.png", 1024, 1024, true},
                                     {"Data/Common/CountryFlags512.png", 512, 512, true}};
    for (int t = 0; t < 6; ++t) {
        rows.push_back({Numbered("Data/160%d.dat", t), 1024, 768, true});
        rows.push_back({Numbered("Data/165%d.dat", t), 320, 200, false});
    }
    for (int p = 0; p < 4; ++p)
        rows.push_back({Numbered("Data/190%d.dat", p), 192, 128, true});
    for (int q = 0; q < 4; ++q)
        rows.push_back({Numbered("Data/194%d.dat", q), 256, 256, false});
    rows.push_back({"Data/1944.dat", 64, 64, true});
    return rows;
}

double Luminance(const double bgr[3])
{
    return 0.11 * bgr[0] + 0.59 * bgr[1] + 0.3 * bgr[2];
}

} // namespace

// Every picture the race and the menus load decodes through the game's own picture code, at the size the
// game places it by (square cars, wheels of 0.2 x 0.28, shadows 1.1 times what they fall under, 4:3 screens).
TEST(GameDataPictures, DecodeThroughTheGamesLoaderAtTheirSizes)
{
    std::vector<PictureSize> rows = RacePictures();
    for (const PictureSize& row : MenuPictures())
        rows.push_back(row);
    for (const PictureSize& row : rows) {
        SCOPED_TRACE(row.file);
        Decoded d(row.file);
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(row.width, d.picture.width);
        EXPECT_EQ(row.height, d.picture.height);
        EXPECT_EQ(row.alpha, d.picture.file_has_alpha);
    }
}

// The track pictures are stored in a form that loads fast; the generator also wrote each as the PNG it
// replaces, from the same surface. Both decode to the same pixels, every one opaque.
TEST(GameDataPictures, TrackPicturesDecodeToExactlyThePixelsOfTheirPngForm)
{
    for (int t = 0; t < 6; ++t) {
        SCOPED_TRACE(t);
        Decoded fast(Numbered("Data/160%d.dat", t));
        Decoded png(Numbered("tools/track-png/160%d.png", t));
        ASSERT_TRUE(fast.ok && png.ok);
        ASSERT_EQ(png.picture.width, fast.picture.width);
        ASSERT_EQ(png.picture.height, fast.picture.height);
        const int bytes = png.picture.width * png.picture.height * 4;
        int differing = 0, translucent = 0;
        for (int i = 0; i < bytes; ++i) {
            differing += fast.picture.pixels[i] != png.picture.pixels[i];
            translucent += i % 4 == 3 && fast.picture.pixels[i] != 255;
        }
        EXPECT_EQ(0, differing);
        EXPECT_EQ(0, translucent);
    }
}

// A player reads a car's heading and colour at a glance: its front is lighter than its flanks, its eight colours
// are far apart, its corners are clear for the track to show through, and its rear tyres move between frames.
TEST(GameDataPictures, CarsShowHeadingColourAndTurningWheels)
{
    double flank[8][3];
    for (int c = 0; c < 8; ++c) {
        SCOPED_TRACE(c);
        Decoded car(Numbered("Data/17%d%d.tga", c, 0));
        ASSERT_TRUE(car.ok);
        double front[3];
        car.Mean(0.15, 0.0, 0.85, 0.07, front);
        car.Mean(0.3, 0.55, 0.4, 0.7, flank[c]);
        EXPECT_GT(Luminance(front), Luminance(flank[c]) + 10.0);
        EXPECT_EQ(0, car.At(0, 0)[3]);
        EXPECT_EQ(0, car.At(63, 40)[3]);
        for (int f = 1; f < 4; ++f) {
            Decoded next(Numbered("Data/17%d%d.tga", c, f));
            ASSERT_TRUE(next.ok);
            int changed = 0;
            for (int y = 44; y < 62; ++y)
                for (int x = 4; x < 16; ++x)
                    changed += car.At(x, y)[0] != next.At(x, y)[0];
            EXPECT_GT(changed, 10) << "frame " << f;
        }
    }
    for (int a = 0; a < 8; ++a)
        for (int b = a + 1; b < 8; ++b) {
            double distance = std::fabs(flank[a][0] - flank[b][0]) + std::fabs(flank[a][1] - flank[b][1]) +
                              std::fabs(flank[a][2] - flank[b][2]);
            EXPECT_GT(distance, 90.0) << a << " and " << b;
        }
}

// Each country's real flag lies in its cell of both flags pictures: France blue, white and red from left to right,
// England's red cross on white, the union flag of "UK" blue at its corner, Japan's red disc on white; a country
// without a picture (Antarctica) keeps a plain grey cell, and the unused cell 222 stays clear.
TEST(GameDataPictures, FlagsLieInTheirCountriesCells)
{
    enum Hue { kBlue, kWhite, kRed, kGrey };
    struct Probe {
        int cell;
        double fx, fy; // within the cell
        Hue hue;
    };
    const Probe probes[] = {
        {67, 0.2, 0.5, kBlue}, {67, 0.5, 0.5, kWhite},  {67, 0.8, 0.5, kRed},  {60, 0.5, 0.5, kRed},
        {60, 0.2, 0.3, kWhite}, {223, 0.3, 0.75, kBlue},  {97, 0.5, 0.5, kRed},  {97, 0.15, 0.35, kWhite},
        {7, 0.5, 0.5, kGrey},
    };
    auto hue_of = [](const unsigned char* bgra) {
        int b = bgra[0], g = bgra[1], r = bgra[2];
        if (r > g + 60 && r > b + 60)
            return kRed;
        if (b > r + 30 && b > g)
            return kBlue;
        if (std::abs(r - g) < 12 && std::abs(g - b) < 12)
            return r > 215 ? kWhite : kGrey;
        return Hue(-1);
    };
    for (const char* file : {"Data/Common/CountryFlags1024.png", "Data/Common/CountryFlags512.png"}) {
        SCOPED_TRACE(file);
        Decoded sheet(file);
        ASSERT_TRUE(sheet.ok);
        const double cell = sheet.picture.width / 16.0;
        for (const Probe& p : probes) {
            const unsigned char* bgra = sheet.At(int((p.cell % 16 + p.fx) * cell), int((p.cell / 16 + p.fy) * cell));
            EXPECT_EQ(255, bgra[3]) << p.cell;
            EXPECT_EQ(p.hue, hue_of(bgra)) << "cell " << p.cell << " at " << p.fx << "," << p.fy << ": " << int(bgra[2])
                                           << "," << int(bgra[1]) << "," << int(bgra[0]);
        }
        EXPECT_EQ(0, sheet.At(int((222 % 16 + 0.5) * cell), int((222 / 16 + 0.5) * cell))[3]);
    }
}

// The splash's four pictures are the quarters of one title picture: each meets its neighbours without a seam.
TEST(GameDataPictures, SplashQuartersJoinIntoOnePicture)
{
    Decoded tl("Data/1940.dat"), tr("Data/1941.dat"), bl("Data/1942.dat");
    ASSERT_TRUE(tl.ok && tr.ok && bl.ok);
    auto close = [](const unsigned char* a, const unsigned char* b) {
        return std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]) < 60;
    };
    int across = 0, down = 0;
    for (int i = 0; i < 256; ++i) {
        across += close(tl.At(255, i), tr.At(0, i));
        down += close(tl.At(i, 255), bl.At(i, 0));
    }
    EXPECT_GT(across, 200);
    EXPECT_GT(down, 200);
}

// Every ad of the maker's catalogue fits the ads' tables and has its pictures: numbers in order, texts within
// their fields, link words of the right form, installers exactly for the ads that download one, and pictures that
// decode at the size their layout gives, frameless (clear corners) exactly when they are PNG files.
TEST(GameDataPictures, AdsCatalogueFitsItsTablesAndHasItsPictures)
{
    const int with_installer[] = {0, 1, 2, 5, 9, 10, 11, 15, 21, 22, 28, 29, 30};
    const int updater_ads[] = {0, 1, 2, 4, 5, 9, 10, 11, 15, 21, 22, 28, 29, 30};
    const int updater_numbers[] = {1, 9, 2, 17, 3, 6, 5, 4, 7, 8, 11, 13, 14, 16};
    int factors_of_0_7 = 0;
    for (int n = 0; n < GAME_ADS_NUM_ADS; ++n) {
        const GameAdProduct& ad = kGameAdProducts[n];
        SCOPED_TRACE(n);
        EXPECT_EQ(n, ad.number);
        EXPECT_LT(std::strlen(ad.title), 32u);
        EXPECT_LT(std::strlen(ad.second_name), 32u);
        for (const char* line : ad.lines)
            EXPECT_LT(std::strlen(line), 80u);
        EXPECT_LT(std::strlen(ad.pic1), 32u);
        EXPECT_LT(std::strlen(ad.pic2), 32u);
        for (const char* c = ad.page_word; *c; ++c)
            EXPECT_TRUE(std::islower((unsigned char)*c) || std::isdigit((unsigned char)*c) || *c == '_');
        EXPECT_TRUE(std::isupper((unsigned char)ad.product_word[0]));
        bool installer = std::find(std::begin(with_installer), std::end(with_installer), n) != std::end(with_installer);
        EXPECT_EQ(installer, ad.installer[0] != '\0');
        const int* u = std::find(std::begin(updater_ads), std::end(updater_ads), n);
        EXPECT_EQ(u == std::end(updater_ads) ? 0 : updater_numbers[u - updater_ads], ad.updater_program);
        factors_of_0_7 += ad.height_factor != 1.0f;

        const bool one_picture = ad.pic2[0] == '\0';
        const int width = one_picture ? 384 : 256;
        const int height = int(std::lround((one_picture ? 300 : 256) * ad.height_factor));
        const bool png = std::strstr(ad.pic1, ".png") != nullptr;
        for (const char* file : {ad.pic1, ad.pic2}) {
            if (!file[0])
                continue;
            Decoded picture(std::string(GAME_ADS_PICTURE_FOLDER) + "/" + file);
            ASSERT_TRUE(picture.ok) << file;
            EXPECT_EQ(width, picture.picture.width) << file;
            EXPECT_EQ(height, picture.picture.height) << file;
            EXPECT_EQ(png, std::strstr(file, ".png") != nullptr) << "both pictures of an ad are framed alike";
            EXPECT_EQ(png ? 0 : 255, picture.At(0, 0)[3]) << file;
        }
    }
    EXPECT_EQ(3, factors_of_0_7);
}
