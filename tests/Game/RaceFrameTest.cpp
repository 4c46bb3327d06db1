// The race frame as the game draws it at 1024 x 768 on a real OpenGL context: the track picture, every car
// on its grid slot in its colour and heading (also when the next race changes the field), the countdown and the
// head-up texts in their boxes.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngTexture.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinButton.h"
#include "Engine/MWin/MWinCollection.h"
#include "Engine/MWin/MWinDesktop.h"
#include "Engine/MWin/MWinWindow.h"
#include "Game/Car.h"
#include "Game/Game.h"
#include "Game/Levels.h"
#include "Game/Menus.h"
#include "Game/StateClass.h"
#include "Game/TrackInfo.h"
#include "Game/Users.h"
#include "Support/GLTestContext.h"
#include "Support/GameWindowFixture.h"
#include "Support/LogForTests.h"
#include "Support/PictureFile.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr float kScale = kWidth / 640.0f;

// The frame's pixels, top row first, RGBA.
struct FramePixels
{
    std::vector<unsigned char> rgba;

    const unsigned char* At(float x, float y) const
    {
        int px = int(x * kScale), py = int(y * kScale);
        return rgba.data() + (size_t(py) * kWidth + size_t(px)) * 4;
    }

    // Pixels of a box of the 640 x 480 screen that pass a test.
    template <typename Test> int Count(float x, float y, float w, float h, Test test) const
    {
        int n = 0;
        for (int py = int(y * kScale); py < int((y + h) * kScale); py++) {
            for (int px = int(x * kScale); px < int((x + w) * kScale); px++) {
                if (px < 0 || py < 0 || px >= kWidth || py >= kHeight)
                    continue;
                const unsigned char* p = rgba.data() + (size_t(py) * kWidth + size_t(px)) * 4;
                n += test(p[0], p[1], p[2]) ? 1 : 0;
            }
        }
        return n;
    }
};

int ColourGap(const unsigned char* a, const unsigned char* b)
{
    return std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]);
}

// The game started as the program starts it, in a 1024 x 768 window, for a quick race of eight cars.
class RaceFrameTest : public GameWindowFixture
{
protected:
    RaceFrameTest()
    {
        width = kWidth;
        height = kHeight;
    }

    void SetUp() override
    {
        GameWindowFixture::SetUp();
        UserRecord* profile = PlayingDriver("Pixel");
        profile->car_colour = 0;
        for (EngUInt8& shown : profile->hud)
            shown = 1;
    }

    void StartQuickRace(int track) { StartRace(GAME_TYPE_QUICK_RACE, track, 8, 3); }

    // Game ticks of 1/60 s on the game's clock until the race state is reached.
    void TickUntil(_RaceState state)
    {
        eng_frame_time = 1.0f / 60.0f;
        for (int i = 0; i < 600 && game->GetState()->GetState() != state; i++) {
            clock_ms += 1000.0 / 60.0;
            game_clock_ms = EngUInt32(clock_ms);
            game->Tick();
        }
    }

    // Every car on its grid slot, in its own colour more than in any other car's.
    void ExpectCarsInTheirColours(const FramePixels& frame, int track)
    {
        Car* car = game->GetCar();
        const float size = car->GetSizes().length;
        const _TrackInfo* row = TrackInfoGetRow(track);
        auto colour_count = [&](int colour_of, const EngInt32* slot) {
            const float* rgb = Car::GetColour(game->GetLevels()->GetDriverColour(colour_of));
            const unsigned char colour[3] = {(unsigned char)(rgb[0] * 255), (unsigned char)(rgb[1] * 255),
                                             (unsigned char)(rgb[2] * 255)};
            return frame.Count(float(slot[0]) - size / 2, float(slot[1]) - size / 2, size, size,
                               [&colour](int r, int g, int b) {
                                   const unsigned char p[3] = {(unsigned char)r, (unsigned char)g, (unsigned char)b};
                                   return ColourGap(p, colour) < 90;
                               });
        };
        for (int i = 0; i < 8; i++) {
            SCOPED_TRACE("car " + std::to_string(i));
            const EngInt32* slot = row->grid_slots[car->GetGridSlot(i)];
            const int own = colour_count(i, slot);
            EXPECT_GT(own, 40);
            for (int other = 0; other < 8; other++) {
                if (other != i) {
                    EXPECT_GT(own, colour_count(other, slot)) << "colour of car " << other;
                }
            }
        }
    }

    FramePixels Draw()
    {
        DrawFrame();
        FramePixels frame;
        GLTestContext reader;
        EXPECT_TRUE(reader.ReadPixelsRGBA(0, 0, kWidth, kHeight, &frame.rgba));
        if (const char* save = std::getenv("RACE_FRAME_PNG"))
            reader.SavePNG(save);
        return frame;
    }

    double clock_ms = 20000.0;
};

} // namespace

TEST_F(RaceFrameTest, GridFrameShowsTrackCarsCountdownAndHeadUpTexts)
{
    StartQuickRace(0);
    TickUntil(RACE_STATE_COUNTDOWN);
    ASSERT_STREQ("3", game->GetState()->GetText());
    // Whatever the last frame left in the target must not show through: the race is drawn over magenta.
    EngDeviceBeginRendering();
    EngDeviceSetClearColour(1.0f, 0.0f, 1.0f);
    EngDeviceClearScreen();
    EngDeviceEndRendering();
    FramePixels frame = Draw();
    PictureFile track = PictureFile::Load("Data/1600.dat");
    ASSERT_NE(nullptr, track.pixels.get());
    ASSERT_EQ(kWidth, track.width);
    ASSERT_EQ(kHeight, track.height);
    Car* car = game->GetCar();
    const float size = car->GetSizes().length;
    const _TrackInfo* row = TrackInfoGetRow(0);

    // The track picture fills the screen texel for pixel: every pixel away from the cars, the head-up boxes
    // and the countdown is the picture's own, and no pixel anywhere is left magenta.
    std::vector<std::array<float, 4>> covered = {{270.0f, 150.0f, 370.0f, 330.0f}};
    for (const EngInt32* box : {row->hud_box1, row->hud_box2})
        covered.push_back({box[0] * 640.0f / 1024, box[1] * 480.0f / 1024, box[2] * 640.0f / 1024 + 1,
                           box[3] * 480.0f / 1024 + 1});
    for (int i = 0; i < 8; i++) {
        const CarState* state = car->GetState(i);
        covered.push_back({state->x - size, state->y - size, state->x + size, state->y + size});
    }
    int changed = 0, magenta = 0;
    for (int py = 0; py < kHeight; py++) {
        for (int px = 0; px < kWidth; px++) {
            const unsigned char* p = frame.rgba.data() + (size_t(py) * kWidth + size_t(px)) * 4;
            magenta += p[0] == 255 && p[1] == 0 && p[2] == 255 ? 1 : 0;
            const float x = px / kScale, y = py / kScale;
            const bool under = std::any_of(covered.begin(), covered.end(), [x, y](const std::array<float, 4>& c) {
                return x >= c[0] && x < c[2] && y >= c[1] && y < c[3];
            });
            changed += !under && ColourGap(p, track.Pixel(px, py)) != 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(0, magenta);
    EXPECT_EQ(0, changed);

    ExpectCarsInTheirColours(frame, 0);

    // The countdown in green over the middle, the lap counter and position in the second head-up box.
    EXPECT_GT(frame.Count(290, 190, 60, 100, [](int r, int g, int b) { return g > 180 && r < 120 && b < 150; }),
              300);
    auto white = [](int r, int g, int b) { return r > 200 && g > 200 && b > 200; };
    const EngInt32* box = row->hud_box2;
    const float bx = box[0] * 640.0f / 1024, by = box[1] * 480.0f / 1024;
    const float bw = (box[2] - box[0]) * 640.0f / 1024, bh = (box[3] - box[1]) * 480.0f / 1024;
    EXPECT_GT(frame.Count(bx, by, bw, bh / 2, white), 40);     // "LAP - / 3"
    EXPECT_GT(frame.Count(bx, by + bh / 2, bw, bh / 2, white), 20); // "POS  -"
    EXPECT_EQ(0, frame.Count(bx, by + bh, bw, 40, white));

    // The next race with the field in the other order: each car in its new driver's colour, and no picture
    // loaded over itself.
    const int mark = LogMark();
    const int reversed[LEVELS_NUM_DRIVERS] = {6, 5, 4, 3, 2, 1, 0};
    ASSERT_TRUE(game->GetLevels()->SetupRaceOpponents(7, reversed));
    ASSERT_TRUE(game->SetupRace(GAME_TYPE_QUICK_RACE, 0, 8, false, 0, 0));
    game->StartRace(true);
    TickUntil(RACE_STATE_COUNTDOWN);
    ExpectCarsInTheirColours(Draw(), 0);
    EXPECT_FALSE(LoggedSince(mark, "Texture already exists"));
}

TEST_F(RaceFrameTest, RacingFrameShowsGoAndTheLeadersInTheirColours)
{
    StartQuickRace(0);
    TickUntil(RACE_STATE_RACING);
    // Racing until a car ahead of the driver has crossed the line (which one leads depends on the random grid),
    // while "GO!" still shows.
    Car* car = game->GetCar();
    for (int i = 0; i < 55 && car->GetCarAtPlace(0) < 0; i++) {
        clock_ms += 1000.0 / 60.0;
        game_clock_ms = EngUInt32(clock_ms);
        game->Tick();
    }
    ASSERT_GE(car->GetCarAtPlace(0), 0);
    FramePixels frame = Draw();
    EXPECT_GT(frame.Count(270, 190, 100, 100, [](int r, int g, int b) { return r > 220 && g > 220 && b > 220; }),
              300); // "GO!" in white
    const EngInt32* box = TrackInfoGetRow(0)->hud_box1;
    const float bx = box[0] * 640.0f / 1024, by = box[1] * 480.0f / 1024;
    const float bw = (box[2] - box[0]) * 640.0f / 1024, bh = (box[3] - box[1]) * 480.0f / 1024;
    const float* rgb = Car::GetColour(car->GetColourAtPlace(0));
    const unsigned char leader[3] = {(unsigned char)(rgb[0] * 255), (unsigned char)(rgb[1] * 255),
                                     (unsigned char)(rgb[2] * 255)};
    EXPECT_GT(frame.Count(bx, by, bw, bh / 3, [&leader](int r, int g, int b) {
        const unsigned char p[3] = {(unsigned char)r, (unsigned char)g, (unsigned char)b};
        return ColourGap(p, leader) < 60;
    }), 30);
}

TEST_F(RaceFrameTest, CarSpriteTurnsWithItsHeading)
{
    StartQuickRace(0);
    TickUntil(RACE_STATE_COUNTDOWN);
    Car* car = game->GetCar();
    const float size = car->GetSizes().length;
    const float cx = 585.0f, cy = 300.0f;
    auto draw_at = [&](float heading) {
        CarState* state = car->GetState(0);
        state->x = cx;
        state->y = cy;
        state->heading = heading;
        car->PlaceOutline(0);
        return Draw();
    };
    FramePixels up = draw_at(0.0f);
    FramePixels left = draw_at(1.5707963f);
    // Heading a quarter turn on turns the picture a quarter turn anticlockwise on the screen: the pixel
    // (dx, dy) from the centre at heading 0 is at (dy, -dx) at the quarter turn; clockwise it is not.
    const int half = int(size * 0.6f * kScale);
    const int px = int(cx * kScale), py = int(cy * kScale);
    long anticlockwise = 0, clockwise = 0;
    int car_pixels = 0;
    for (int dy = -half; dy <= half; dy++) {
        for (int dx = -half; dx <= half; dx++) {
            const unsigned char* a = up.rgba.data() + (size_t(py + dy) * kWidth + size_t(px + dx)) * 4;
            const unsigned char* b = left.rgba.data() + (size_t(py - dx) * kWidth + size_t(px + dy)) * 4;
            const unsigned char* c = left.rgba.data() + (size_t(py + dx) * kWidth + size_t(px - dy)) * 4;
            anticlockwise += ColourGap(a, b);
            clockwise += ColourGap(a, c);
            car_pixels++;
        }
    }
    EXPECT_LT(anticlockwise / car_pixels, 20);
    EXPECT_GT(clockwise, anticlockwise * 2);
}

TEST_F(RaceFrameTest, DeviceResetMidRaceDrawsTheRaceAgain)
{
    StartQuickRace(3);
    TickUntil(RACE_STATE_COUNTDOWN);
    FramePixels before = Draw();
    eng_main_window->DoDestroyGraphicsDevice(true);
    ASSERT_TRUE(eng_main_window->DoCreateGraphicsDevice(true));
    EXPECT_EQ(3, game->GetLoadedTrack());
    FramePixels after = Draw();
    long gap = 0;
    for (size_t i = 0; i < before.rgba.size(); i += 4)
        gap += ColourGap(&before.rgba[i], &after.rgba[i]);
    EXPECT_LT(gap / long(before.rgba.size() / 4), 2);
}

TEST_F(RaceFrameTest, MenuPicturesAttachToButtonsAndOtherIdsRemoveThem)
{
    MWinCollection* screen = game->GetMWin()->GetDesktop()->GetFirstCollection();
    ASSERT_NE(nullptr, screen);
    MWinWindow* window = screen->GetFirstWindow();
    ASSERT_NE(nullptr, window);
    MWinButton* button = window->AddButton("PIC", MWIN_BUT_LABEL, MWIN_TEXBUT_NONE, "", 10, 10, 100, 50);
    ASSERT_NE(nullptr, button);
    Menus* menus = game->GetMenus();
    ASSERT_TRUE(menus->LoadPictures());
    struct Case
    {
        int id;
        int blending;
        char mode; // the button's picture mode: blending + 4, none for 0
    };
    for (Case c : {Case{0, 9, MWIN_PICTURE_DEFAULT_BLENDING}, {5, 9, MWIN_PICTURE_DEFAULT_BLENDING},
                   {100, 9, 13}, {102, 2, 6}, {103, 9, MWIN_PICTURE_DEFAULT_BLENDING}, {6, 9, MWIN_PICTURE_NONE},
                   {99, 9, MWIN_PICTURE_NONE}, {104, 9, MWIN_PICTURE_NONE}}) {
        menus->AttachPictureToButton(c.id, button, c.blending);
        EXPECT_EQ(c.mode, button->PictureGetMode()) << c.id;
        if (c.mode != MWIN_PICTURE_NONE) {
            EXPECT_EQ(menus->GetPicture(c.id), button->GetPictureData()->texture) << c.id;
            EXPECT_TRUE(menus->GetPicture(c.id)->IsLoaded()) << c.id;
        }
    }
    // Trophies load when first asked for; the race start releases every picture.
    EXPECT_FALSE(menus->GetPicture(101)->IsLoaded());
    menus->ReleasePictures();
    EXPECT_FALSE(menus->GetPicture(0)->IsLoaded());
    EXPECT_FALSE(menus->GetPicture(100)->IsLoaded());
}
