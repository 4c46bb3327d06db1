#include "Game/Graphics.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <new>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/DX9/EngTextureDX9.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngTexture.h"
#include "Game/Car.h"
#include "Game/Game.h"
#include "Game/Levels.h"
#include "Game/TrackInfo.h"

namespace {

constexpr float kCentreX = 320.0f;
constexpr float kCentreY = 240.0f;
constexpr float kShadowScale = 1.1f;
constexpr int kNormalBlending = 0;
constexpr int kGhostBlending = 12;

EngTexture* NewTexture()
{
    EngTexture* texture = new (std::nothrow) EngTexture();
    DebugFatalCheck(texture != nullptr, ENG_FUNC, "No memory");
    return texture;
}

// A quad of w x h centred on the screen's centre: the cars are moved there by the device transform.
void PlaceCentred(EngTexture* texture, float w, float h)
{
    texture->PositionRatioed(kCentreX - w * 0.5f, kCentreY - h * 0.5f, w, h);
}

// Pictures stay loaded from race to race: loading one again over itself only fills the log with complaints.
bool LoadSprite(EngTexture* texture, const char* name)
{
    return texture->IsLoaded() || texture->LoadFromFile(name, true, ETAT_FROM_FILE);
}

} // namespace

Graphics::Graphics(Game* game) : m_game(game)
{
    std::fill(std::begin(m_car_colours), std::end(m_car_colours), -1);
    DebugFatalCheck(game != nullptr, ENG_FUNC, "No game.");
    DebugFatalCheck(game && game->GetCar() != nullptr, ENG_FUNC, "No car.");
    m_track = NewTexture();
    for (auto& frames : m_cars) {
        for (EngTexture*& sprite : frames)
            sprite = NewTexture();
    }
    m_car_shadow = NewTexture();
    for (EngTexture*& wheel : m_wheels)
        wheel = NewTexture();
    m_wheel_shadow = NewTexture();
    for (EngTexture*& flag : m_flags)
        flag = NewTexture();
}

Graphics::~Graphics()
{
    Release();
    delete m_track;
    for (auto& frames : m_cars) {
        for (EngTexture* sprite : frames)
            delete sprite;
    }
    delete m_car_shadow;
    for (EngTexture* wheel : m_wheels)
        delete wheel;
    delete m_wheel_shadow;
    for (EngTexture* flag : m_flags)
        delete flag;
}

const char* Graphics::GetTrackFilename(bool other)
{
    if (other) {
        DebugError(ENG_FUNC, "Should not be called.");
        m_name[0] = '\0';
        return m_name;
    }
    std::snprintf(m_name, sizeof(m_name), "%s%d%s", "Data/160", TrackInfoGetCurrentTrack(), ".dat");
    return m_name;
}

bool Graphics::LoadTrackPicture()
{
    m_track->Unload();
    if (!m_track->LoadFromFileUsingExt(GetTrackFilename(false), false, ETAT_OPAQUE, ETFE_TGA))
        return false;
    m_track->PositionRatioed(0.0f, 0.0f, 640.0f, 480.0f);
    return true;
}

void Graphics::LoadFlagFrames()
{
    for (int frame = 0; frame < GRAPHICS_FLAG_FRAMES; frame++) {
        std::snprintf(m_name, sizeof(m_name), "%s%d%s", "Data/180", frame, ".tga");
        if (!m_flags[frame]->IsLoaded())
            m_flags[frame]->LoadFromFile(m_name, true, ETAT_FROM_FILE);
    }
}

bool Graphics::LoadCars()
{
    Car* car = m_game->GetCar();
    car->SetSizes(0.0f);
    const CarSizes& sizes = car->GetSizes();
    const float size = sizes.length;
    bool ok = LoadSprite(m_car_shadow, "Data/1798.tga");
    if (ok)
        PlaceCentred(m_car_shadow, kShadowScale * size, kShadowScale * size);
    for (int i = 0; i < m_game->GetCarsInRace() && i < GRAPHICS_CARS && ok; i++) {
        int colour = m_game->GetLevels()->GetDriverColour(i);
        // A car whose driver changed takes the sprites of the new driver's colour.
        if (colour != m_car_colours[i]) {
            for (EngTexture* sprite : m_cars[i])
                sprite->Unload();
            m_car_colours[i] = colour;
        }
        for (int frame = 0; frame < GRAPHICS_WHEEL_FRAMES && ok; frame++) {
            std::snprintf(m_name, sizeof(m_name), "%s%d%d%s", "Data/17", colour, frame, ".tga");
            ok = LoadSprite(m_cars[i][frame], m_name);
            if (ok)
                PlaceCentred(m_cars[i][frame], size, size);
        }
    }
    for (int frame = 0; frame < GRAPHICS_WHEEL_FRAMES && ok; frame++) {
        std::snprintf(m_name, sizeof(m_name), "%s%d%s", "Data/179", frame, ".tga");
        ok = LoadSprite(m_wheels[frame], m_name);
        if (ok)
            PlaceCentred(m_wheels[frame], sizes.draw[0], sizes.draw[1]);
    }
    if (ok)
        ok = LoadSprite(m_wheel_shadow, "Data/1799.tga");
    if (ok)
        PlaceCentred(m_wheel_shadow, kShadowScale * sizes.draw[0], kShadowScale * sizes.draw[1]);
    return ok;
}

void Graphics::DrawLayers()
{
    for (int layer = GRAPHICS_LAYER_SHADOWS; layer < GRAPHICS_LAYER_GHOST; layer++)
        m_layers[layer].Draw();
    EngDeviceEnableBlendingType(kGhostBlending);
    m_layers[GRAPHICS_LAYER_GHOST].Draw();
    EngDeviceEnableBlendingType(kNormalBlending);
}

void Graphics::Release()
{
    for (SpriteBatch& layer : m_layers)
        layer.Release();
    m_track->Unload();
    for (auto& frames : m_cars) {
        for (EngTexture* sprite : frames)
            sprite->Unload();
    }
    m_car_shadow->Unload();
    for (EngTexture* wheel : m_wheels)
        wheel->Unload();
    m_wheel_shadow->Unload();
    for (EngTexture* flag : m_flags)
        flag->Unload();
}

EngTexture* Graphics::GetCarSprite(int car, int frame) const
{
    if (car < 0 || car >= GRAPHICS_CARS || frame < 0 || frame >= GRAPHICS_WHEEL_FRAMES)
        return nullptr;
    return m_cars[car][frame];
}

EngTexture* Graphics::GetWheel(int frame) const
{
    return frame >= 0 && frame < GRAPHICS_WHEEL_FRAMES ? m_wheels[frame] : nullptr;
}

EngTexture* Graphics::GetFlagFrame(int frame) const
{
    return frame >= 0 && frame < GRAPHICS_FLAG_FRAMES ? m_flags[frame] : nullptr;
}

void GraphicsDrawScreenPicture(EngTexture* picture)
{
    if (!picture || !picture->IsLoaded())
        return;
    const EngTextureDX9* texels = picture->GetDX9();
    const bool own_size = texels && texels->GetWidth() == eng_screen_width && texels->GetHeight() == eng_screen_height;
    if (!own_size) {
        picture->ResetTextureCoordinates();
        picture->Draw();
        return;
    }
    const float u = 0.5f / (float)eng_screen_width;
    const float v = 0.5f / (float)eng_screen_height;
    EngDeviceUsePointSampling(true);
    picture->DrawWithTextureCoordinates(u, v, 1.0f + u, 1.0f + v);
    EngDeviceUsePointSampling(false);
}
