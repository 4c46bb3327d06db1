#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "Engine/Graphics/DX9/EngTextureFileDX9.h"

namespace {

// A generated picture decoded as the game decodes it (content sniffed, B, G, R, A bytes).
struct Decoded {
    _EngDecodedPicture picture = {};
    bool ok = false;
    explicit Decoded(const std::string& file) { ok = EngTextureFileDX9_Decode(file.c_str(), 0, &picture); }
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
    std::vector<PictureSize> rows = {{"Data/1120.dat", 1024, 768, false}};
    for (int t = 0; t < 6; ++t) {
        rows.push_back({Numbered("Data/160%d.dat", t), 1024, 768, false});
        rows.push_back({Numbered("Data/165%d.dat", t), 320, 200, false});
    }
    for (int p = 0; p < 4; ++p)
        rows.push_back({Numbered("Data/190%d.dat", p), 192, 128, true});
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
