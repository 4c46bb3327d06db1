// The progress ring (kind 12): three fans of triangles rebuilt on every change of area or value.
#include <cmath>

#include "Engine/Core/EngDebug.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngTriangleList.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinButton.h"

namespace {

constexpr float kTwoPi = 6.28318531f;

// A fan from the left of the centre, clockwise on screen, over turn (0..1) of a full circle.
void FillFan(EngTriangleList* list, float cx, float cy, float rx, float ry, float turn, const float rgb[3], float alpha)
{
    for (int i = 0; i < MWIN_RING_TRIANGLES; i++) {
        const float a0 = kTwoPi * turn * (float)i / (float)MWIN_RING_TRIANGLES;
        const float a1 = kTwoPi * turn * (float)(i + 1) / (float)MWIN_RING_TRIANGLES;
        list->SetPositions((unsigned)i, cx, cy, 0.0f, cx - rx * std::cos(a0), cy - ry * std::sin(a0), 0.0f,
                           cx - rx * std::cos(a1), cy - ry * std::sin(a1), 0.0f);
        list->SetColour((unsigned)i, rgb[0], rgb[1], rgb[2], alpha);
    }
}

} // namespace

void MWinRingsDefaultSettings(_MWinRingSettings* settings)
{
    static const float colours[MWIN_RING_PARTS][3] = {{0.2f, 0.6f, 1.0f}, {0.15f, 0.15f, 0.15f}, {0.85f, 0.85f, 0.85f}};
    *settings = {};
    for (int part = 0; part < MWIN_RING_PARTS; part++) {
        settings->on[part] = 1;
        for (int c = 0; c < 3; c++)
            settings->colours[part][c] = colours[part][c];
    }
    settings->inner_inset = 0.1f;
    settings->blending = -1;
}

void MWinRingsInitData(_MWinRingsData* data, const _MWinRingSettings* settings)
{
    *data = {};
    data->value = 0.5f;
    data->maximum = 1.0f;
    if (!settings)
        return;
    for (int part = 0; part < MWIN_RING_PARTS; part++)
        for (int c = 0; c < 3; c++)
            data->colours[part][c] = settings->colours[part][c];
}

char MWinButton::RingsCreateGraphics()
{
    char ok = 1;
    for (EngTriangleList*& list : m_rings.lists) {
        if (!list)
            list = new EngTriangleList;
        if (!list->Create(ETLT_POS_COL, nullptr, MWIN_RING_TRIANGLES))
            ok = 0;
    }
    RingsBuild();
    return ok;
}

void MWinButton::RingsDestroyGraphics()
{
    for (EngTriangleList*& list : m_rings.lists) {
        delete list;
        list = nullptr;
    }
}

void MWinButton::RingsSetValue(float value, float maximum)
{
    m_rings.value = value;
    m_rings.maximum = maximum;
    RingsBuild();
    Redraw();
}

void MWinButton::RingsBuild()
{
    if (m_kind != MWIN_BUT_RINGS || !m_mwin)
        return;
    const _MWinRingSettings& settings = m_mwin->GetSettingsP()->rings;
    const _Dimension& area = m_screen_area;
    const float cx = area.x + area.w * 0.5f;
    const float cy = area.y + area.h * 0.5f;
    float rx = area.w * 0.5f;
    float ry = area.h * 0.5f;
    if (settings.ring_inset > 0.0f) {
        rx -= settings.ring_inset * area.w;
        ry -= settings.ring_inset * area.h;
    }
    rx = rx < 1.0f ? 1.0f : rx;
    ry = ry < 1.0f ? 1.0f : ry;
    const float inner_rx = std::fmax(1.0f, rx - settings.inner_inset * area.w);
    const float inner_ry = std::fmax(1.0f, ry - settings.inner_inset * area.h);
    float turn = m_rings.maximum > 0.0f ? m_rings.value / m_rings.maximum : 0.0f;
    turn = std::fmin(1.0f, std::fmax(0.0f, turn));
    const float alpha = m_modulate_mode ? m_modulate_colour[3] : 1.0f;
    const float radii[MWIN_RING_PARTS][2] = {{inner_rx, inner_ry}, {inner_rx, inner_ry}, {rx, ry}};
    for (int part = 0; part < MWIN_RING_PARTS; part++) {
        EngTriangleList* list = m_rings.lists[part];
        if (!settings.on[part] || !list || !list->IsCreated())
            continue;
        FillFan(list, cx, cy, radii[part][0], radii[part][1], part == MWIN_RING_SECTOR ? turn : 1.0f,
                m_rings.colours[part], alpha);
    }
}

void MWinButton::RingsDraw()
{
    const _MWinRingSettings& settings = m_mwin->GetSettingsP()->rings;
    bool blend_on = false;
    int src = 0;
    int dest = 0;
    if (settings.blending >= 0) {
        EngDeviceGetBlendingState(&blend_on, &src, &dest);
        EngDeviceEnableBlendingType(settings.blending);
    }
    static const int order[MWIN_RING_PARTS] = {MWIN_RING_OUTER, MWIN_RING_INNER, MWIN_RING_SECTOR};
    for (int part : order) {
        if (settings.on[part] && m_rings.lists[part])
            m_rings.lists[part]->Draw();
    }
    if (settings.blending >= 0)
        EngDeviceSetBlendingState(blend_on, src, dest);
}
