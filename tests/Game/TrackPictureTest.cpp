#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>


#include "Game/Game.h"
#include "Game/Program.h"
#include "Game/Traverse.h"
#include "Support/PictureFile.h"

namespace {

// The colour under a map pixel, as the track picture covers the map.
const unsigned char* AtMap(const PictureFile& picture, int mx, int my)
{
    return picture.Pixel(mx * picture.width / TRAV_MAP_SIZE, my * picture.height / TRAV_MAP_SIZE);
}

PictureFile LoadTrackPicture(int track)
{
    return PictureFile::Load("Data/160" + std::to_string(track) + ".dat");
}

bool IsGrey(const unsigned char* rgb)
{
    return rgb[0] > 70 && rgb[0] < 120 && std::abs(rgb[0] - rgb[1]) < 8 && rgb[2] >= rgb[0];
}

bool IsChequer(const unsigned char* rgb)
{
    bool black = rgb[0] < 40 && rgb[1] < 40 && rgb[2] < 40;
    bool white = rgb[0] > 220 && rgb[1] > 220 && rgb[2] > 220;
    return black || white;
}

// Each track's ground has its own look; none of it passes for the road or the start line.
bool IsGround(const unsigned char* rgb)
{
    return !IsGrey(rgb) && !IsChequer(rgb);
}

// The kerbs lie on the road's edge, red and white, blended into the grey at their sides.
bool IsRoad(const unsigned char* rgb)
{
    bool reddish = rgb[0] > rgb[1] + 10 && std::abs(rgb[1] - rgb[2]) < 15;
    bool neutral = rgb[0] > 70 && std::abs(rgb[0] - rgb[1]) < 8 && rgb[2] + 4 >= rgb[0];
    return neutral || reddish;
}

} // namespace

TEST(TrackPicture, RoadStartLineAndGroundLieWhereTheMapHasThem)
{
    Program program;
    Game game(&program, "Game", 0);
    Traverse* traverse = game.GetTraverse();
    for (int track = 0; track < TRACK_COUNT; track++) {
        SCOPED_TRACE(track);
        PictureFile picture = LoadTrackPicture(track);
        ASSERT_NE(nullptr, picture.pixels.get());
        EXPECT_EQ(4 * picture.height, 3 * picture.width);
        ASSERT_TRUE(traverse->SetupTrack(track));
        int road = 0, ground = 0, chequer = 0, checked = 0;
        for (int mx = 4; mx < TRAV_MAP_SIZE; mx += 16) {
            for (int my = 4; my < TRAV_MAP_SIZE; my += 16) {
                // Away from the edges between kinds, where the picture draws its barrier and edge lines.
                EngUInt8 value = traverse->GetAlpha(0, mx, my);
                bool uniform = true;
                for (int d = -6; d <= 6 && uniform; d += 3)
                    uniform = traverse->GetAlpha(0, mx + d, my) == value && traverse->GetAlpha(0, mx, my + d) == value;
                if (!uniform)
                    continue;
                checked++;
                const unsigned char* rgb = AtMap(picture, mx, my);
                road += value == TRAV_ROAD && IsGrey(rgb);
                ground += value == TRAV_WALL && IsGround(rgb);
                chequer += value == TRAV_START_LINE && IsChequer(rgb);
                EXPECT_TRUE(value != TRAV_ROAD || IsRoad(rgb)) << mx << "," << my;
                EXPECT_TRUE(value != TRAV_WALL || IsGround(rgb)) << mx << "," << my;
                EXPECT_TRUE(value != TRAV_START_LINE || IsChequer(rgb)) << mx << "," << my;
            }
        }
        EXPECT_GT(road, 100);
        EXPECT_GT(ground, 100);
        EXPECT_GT(chequer, 0);
        EXPECT_GT(checked, 2000);
    }
}
