#include "Game/SpriteBatch.h"

#include <cmath>

#include "Engine/Graphics/EngTexture.h"

namespace {

constexpr float kDepth = 0.5f;
constexpr unsigned kTrianglesPerQuad = 2;

} // namespace

SpriteBatch::Slot* SpriteBatch::FindSlot(EngTexture* texture)
{
    for (int i = 0; i < m_used; i++) {
        Slot& slot = m_slots[m_order[i]];
        if (slot.texture == texture)
            return slot.quads < SPRITE_BATCH_QUADS ? &slot : nullptr;
    }
    if (m_used == SPRITE_BATCH_TEXTURES)
        return nullptr;
    // A free slot: one that last held this texture keeps its list, else the first not in use.
    int free_slot = -1;
    for (int s = 0; s < SPRITE_BATCH_TEXTURES; s++) {
        bool in_use = false;
        for (int i = 0; i < m_used; i++)
            in_use = in_use || m_order[i] == s;
        if (in_use)
            continue;
        if (m_slots[s].texture == texture) {
            free_slot = s;
            break;
        }
        if (free_slot < 0)
            free_slot = s;
    }
    Slot& slot = m_slots[free_slot];
    if (slot.texture != texture || !slot.list.IsCreated()) {
        slot.list.Destroy();
        slot.list.Create(ETLT_POS_COL_TEX, texture, SPRITE_BATCH_QUADS * kTrianglesPerQuad);
        slot.texture = texture;
    }
    slot.quads = 0;
    m_order[m_used++] = free_slot;
    return &slot;
}

void SpriteBatch::Add(EngTexture* texture, float x, float y, float w, float h, float angle, float alpha)
{
    if (!texture || !texture->IsLoaded())
        return;
    Slot* slot = FindSlot(texture);
    if (!slot)
        return;
    const float c = std::cos(angle), s = std::sin(angle);
    // Corners clockwise from the top left, as offsets across (right) and along (back) the sprite.
    const float offsets[4][2] = {{-w / 2, -h / 2}, {w / 2, -h / 2}, {w / 2, h / 2}, {-w / 2, h / 2}};
    float corners[4][2];
    for (int k = 0; k < 4; k++) {
        corners[k][0] = x + offsets[k][0] * c + offsets[k][1] * s;
        corners[k][1] = y - offsets[k][0] * s + offsets[k][1] * c;
    }
    const unsigned first = unsigned(slot->quads) * kTrianglesPerQuad;
    EngTriangleList& list = slot->list;
    list.SetPositions(first, corners[0][0], corners[0][1], kDepth, corners[1][0], corners[1][1], kDepth,
                      corners[2][0], corners[2][1], kDepth);
    list.SetTextureCoordinates_DX9(first, 0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f);
    list.SetPositions(first + 1, corners[0][0], corners[0][1], kDepth, corners[2][0], corners[2][1], kDepth,
                      corners[3][0], corners[3][1], kDepth);
    list.SetTextureCoordinates_DX9(first + 1, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f);
    list.SetColour(first, 1.0f, 1.0f, 1.0f, alpha);
    list.SetColour(first + 1, 1.0f, 1.0f, 1.0f, alpha);
    slot->quads++;
}

void SpriteBatch::Draw()
{
    for (int i = 0; i < m_used; i++) {
        Slot& slot = m_slots[m_order[i]];
        // The quads not used this frame are folded to nothing.
        for (unsigned t = unsigned(slot.quads) * kTrianglesPerQuad; t < SPRITE_BATCH_QUADS * kTrianglesPerQuad; t++)
            slot.list.SetPositions(t, 0.0f, 0.0f, kDepth, 0.0f, 0.0f, kDepth, 0.0f, 0.0f, kDepth);
        slot.list.Draw();
        slot.quads = 0;
    }
    m_used = 0;
}

void SpriteBatch::Release()
{
    for (Slot& slot : m_slots) {
        slot.list.Destroy();
        slot.texture = nullptr;
        slot.quads = 0;
    }
    m_used = 0;
}
