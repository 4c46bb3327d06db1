#pragma once

// The race's pictures: the track, the car sprites in each driver's colour with four wheel frames, the
// pictures drawn with the cars (shadow, front wheels and their shadow) and the ten finish-flag frames.
// Positions are in the 640 x 480 screen.

#include "Engine/Core/EngTypes.h"
#include "Game/SpriteBatch.h"

class Game;
class EngTexture;

// The layers the cars are drawn in: every shadow under every wheel under every body, the ghost on top.
enum _GraphicsLayer
{
    GRAPHICS_LAYER_SHADOWS = 0,
    GRAPHICS_LAYER_WHEELS = 1,
    GRAPHICS_LAYER_BODIES = 2,
    GRAPHICS_LAYER_GHOST = 3,
    GRAPHICS_LAYERS = 4,
};

// Draws a picture placed over the whole screen (the track, the menu background). At the picture's own size each
// texel's centre lies on a pixel's: point sampled, the picture reaches the screen exactly (the default
// coordinates would blur it by up to half a texel), and software OpenGL fills it in about half the time.
void GraphicsDrawScreenPicture(EngTexture* picture);

constexpr int GRAPHICS_CARS = 8;
constexpr int GRAPHICS_WHEEL_FRAMES = 4;
constexpr int GRAPHICS_FLAG_FRAMES = 10;
constexpr int GRAPHICS_NAME_SIZE = 256;

class Graphics
{
public:
    // A missing game or car is fatal ("No game.", "No car.").
    explicit Graphics(Game* game);
    ~Graphics();
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    // "Data/160<track>.dat"; asked for the other kind, "Should not be called." and an empty name.
    const char* GetTrackFilename(bool other);
    bool LoadTrackPicture();
    void LoadFlagFrames();
    bool LoadCars();
    void Release();

    EngTexture* GetTrackPicture() const { return m_track; }
    EngTexture* GetCarSprite(int car, int frame) const;
    EngTexture* GetCarShadow() const { return m_car_shadow; }
    EngTexture* GetWheel(int frame) const;
    EngTexture* GetWheelShadow() const { return m_wheel_shadow; }
    EngTexture* GetFlagFrame(int frame) const;

    // Turned sprites gathered by layer, drawn together (the ghost's layer with its own blending).
    SpriteBatch& GetLayer(_GraphicsLayer layer) { return m_layers[layer]; }
    void DrawLayers();

private:
    Game* m_game;
    char m_name[GRAPHICS_NAME_SIZE] = "";
    EngTexture* m_track;
    EngTexture* m_cars[GRAPHICS_CARS][GRAPHICS_WHEEL_FRAMES];
    int m_car_colours[GRAPHICS_CARS]; // the colour each car's sprites were loaded in, -1 none
    EngTexture* m_car_shadow;
    EngTexture* m_wheels[GRAPHICS_WHEEL_FRAMES];
    EngTexture* m_wheel_shadow;
    EngTexture* m_flags[GRAPHICS_FLAG_FRAMES];
    SpriteBatch m_layers[GRAPHICS_LAYERS];
};
