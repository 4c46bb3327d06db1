#pragma once

// Turned sprites of the race gathered per texture and drawn as one triangle list each, so that a frame of
// eight cars costs a draw per picture instead of a draw per car. Lists keep their first-use order; the
// quads of one texture keep the order they were added in. Nothing is allocated after the first frame.

#include "Engine/Graphics/EngTriangleList.h"

class EngTexture;

constexpr int SPRITE_BATCH_TEXTURES = 24;
constexpr int SPRITE_BATCH_QUADS = 16; // per texture

class SpriteBatch
{
public:
    SpriteBatch() = default;
    SpriteBatch(const SpriteBatch&) = delete;
    SpriteBatch& operator=(const SpriteBatch&) = delete;

    // A w x h picture centred on (x, y) of the 640 x 480 screen, turned by an angle (0 up the screen,
    // growing anticlockwise), with an alpha. A texture that is not loaded is left out.
    void Add(EngTexture* texture, float x, float y, float w, float h, float angle, float alpha);
    // Draws every list in the order its texture first came, and empties the batch.
    void Draw();
    // Frees the lists (with the device's objects).
    void Release();

private:
    struct Slot
    {
        EngTexture* texture = nullptr;
        EngTriangleList list;
        int quads = 0;
    };

    Slot* FindSlot(EngTexture* texture);

    Slot m_slots[SPRITE_BATCH_TEXTURES];
    int m_order[SPRITE_BATCH_TEXTURES] = {};
    int m_used = 0;
};
