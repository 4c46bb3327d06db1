// The colour picker: hue, saturation and brightness from three value bars, the colour they make, and the
// bars' gradient pictures.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Graphics/DX9/EngTextureDX9.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngTexture.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinButton.h"
#include "Engine/MWin/MWinWindow.h"

namespace {

const char* const kOwner = "MWinColourPicker";

// Serials of live pickers, so the root can repaint them all when it makes its textures.
std::vector<MWinButtonSerial>& Pickers()
{
    static std::vector<MWinButtonSerial> pickers;
    return pickers;
}

float Clamp01(float v)
{
    return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
}

unsigned char Byte(float v)
{
    return (unsigned char)(int)(Clamp01(v) * 255.0f);
}

void BarCallback(MWin*, _MWinButtonCallbackInfo*, int, int, void* user)
{
    MWinButton* picker = MWinButton::FindLive((MWinButtonSerial)(uintptr_t)user);
    if (picker)
        picker->ColourUpdateFromScrollbars(1);
}

} // namespace

bool MWinColourIsBarCallback(MWinButtonUserCB callback)
{
    return callback == &BarCallback;
}

void MWinColourFillHueTable(float table[256][3])
{
    for (int i = 0; i < 256; i++) {
        float* e = table[i];
        const float f = (float)i;
        if (i <= 42) {
            e[0] = 1.0f, e[1] = 0.0f, e[2] = f / 42.0f;
        } else if (i <= 84) {
            e[0] = 1.0f - (f - 43.0f) / 41.0f, e[1] = 0.0f, e[2] = 1.0f;
        } else if (i <= 127) {
            e[0] = 0.0f, e[1] = (f - 85.0f) / 42.0f, e[2] = 1.0f;
        } else if (i <= 170) {
            e[0] = 0.0f, e[1] = 1.0f, e[2] = 1.0f - (f - 128.0f) / 42.0f;
        } else if (i <= 212) {
            e[0] = (f - 171.0f) / 42.0f, e[1] = 1.0f, e[2] = 0.0f;
        } else {
            e[0] = 1.0f, e[1] = 1.0f - (f - 213.0f) / 42.0f, e[2] = 0.0f;
        }
    }
}

void MWinColourDefaultShared(_MWinColourShared* shared)
{
    *shared = {};
    MWinColourFillHueTable(shared->hue_table);
    shared->end_border = 2;
    shared->side_border = 2;
}

MWinButton* MWinColourAddPicker(MWinWindow* window, const char* id, float x, float y, float w, float h)
{
    if (!window || !id || std::strlen(id) + 2 > sizeof(MWinID)) {
        DebugError(ENG_FUNC, "Bad window or id");
        return nullptr;
    }
    const float row = h / 4.0f;
    MWinButton* picker = window->AddButton(id, MWIN_BUT_COLOUR, MWIN_TEXBUT_NONE, "", x, y, w, row);
    if (!picker)
        return nullptr;
    static const char suffixes[MWIN_COLOUR_BARS] = {'H', 'S', 'B'};
    static const double maxima[MWIN_COLOUR_BARS] = {255.0, 1.0, 1.0};
    MWinButton* bars[MWIN_COLOUR_BARS] = {};
    for (int i = 0; i < MWIN_COLOUR_BARS; i++) {
        char bar_id[sizeof(MWinID)];
        snprintf(bar_id, sizeof(bar_id), "%s%c", id, suffixes[i]);
        bars[i] = window->AddButton(bar_id, MWIN_BUT_HORZSCROLLBAR, MWIN_TEXBUT_NONE, "", x, y + row * (float)(i + 1),
                                    w, row);
        if (!bars[i])
            return nullptr;
        bars[i]->SetHorzValueBar(i == 0 ? 0.0 : 1.0, 0.0, maxima[i], 0);
    }
    return picker->ColourSetBars(bars[0], bars[1], bars[2]) ? picker : nullptr;
}

// --- The root's part ---

char MWin::ColourCreateGraphics()
{
    if (!GetTextures()) {
        DebugError(ENG_FUNC, "No textures");
        return 0;
    }
    char ok = 1;
    // Without a device there is nothing to make the textures on; the pictures are still painted.
    for (EngTexture*& texture : m_colour_shared.textures) {
        if (!EngDeviceIsCreated())
            break;
        if (!texture)
            texture = new EngTexture("MWinColourBar");
        int w = MWIN_COLOUR_PICTURE_WIDTH;
        int h = MWIN_COLOUR_PICTURE_HEIGHT;
        if (!texture->IsLoaded() && !texture->CreateEmptyTexture(&w, &h, false))
            ok = 0;
    }
    MWinColourFillHueTable(m_colour_shared.hue_table);
    for (MWinButtonSerial serial : Pickers()) {
        MWinButton* picker = MWinButton::FindLive(serial);
        if (picker && picker->GetMWin() == this && picker->IsReady())
            picker->ColourRepaint();
    }
    return ok;
}

void MWin::ColourDestroyGraphics(bool free_textures)
{
    for (EngTexture*& texture : m_colour_shared.textures) {
        if (texture)
            texture->Unload();
        if (!free_textures)
            continue;
        delete texture;
        texture = nullptr;
    }
}

// --- The picker ---

void MWinButton::ColourInitData()
{
    m_colour = {};
    m_colour.saturation = 1.0f;
    m_colour.brightness = 1.0f;
    m_colour.factor = 1.0f;
    m_colour.pictures = (unsigned char*)EngMalloc(MWIN_COLOUR_BARS * MWIN_COLOUR_PICTURE_BYTES, kOwner, true);
    ColourCompute();
}

void MWinButton::ColourFreeData()
{
    if (m_colour.pictures)
        EngFree(m_colour.pictures, false, kOwner);
    m_colour.pictures = nullptr;
    std::vector<MWinButtonSerial>& pickers = Pickers();
    pickers.erase(std::remove(pickers.begin(), pickers.end(), m_serial), pickers.end());
}

char MWinButton::ColourSetBars(MWinButton* hue, MWinButton* saturation, MWinButton* brightness)
{
    MWinButton* bars[MWIN_COLOUR_BARS] = {hue, saturation, brightness};
    if (m_kind != MWIN_BUT_COLOUR || !hue || !saturation || !brightness) {
        DebugError(ENG_FUNC, "No scrollbars");
        return 0;
    }
    for (int i = 0; i < MWIN_COLOUR_BARS; i++) {
        m_colour.bars[i] = bars[i]->GetSerial();
        bars[i]->SetCallback(&BarCallback, i, 0, (void*)(uintptr_t)m_serial, 0);
    }
    std::vector<MWinButtonSerial>& pickers = Pickers();
    if (std::find(pickers.begin(), pickers.end(), m_serial) == pickers.end())
        pickers.push_back(m_serial);
    ColourUpdateFromScrollbars(0);
    ColourRepaint();
    return 1;
}

char MWinButton::ColourRegisterVariable(float* rgb, float factor, float offset)
{
    m_colour.bound = rgb;
    m_colour.factor = factor;
    m_colour.offset = offset;
    m_var_kind = rgb ? MWIN_VAR_COLOUR : MWIN_VAR_NONE;
    ColourWriteBound();
    return 1;
}

void MWinButton::ColourWriteBound()
{
    if (!m_colour.bound)
        return;
    for (int i = 0; i < 3; i++)
        m_colour.bound[i] = m_colour.colour[i] * m_colour.factor + m_colour.offset;
}

void MWinButton::ColourCompute()
{
    const float* h = ColourHueEntry();
    const float m = std::max(h[0], std::max(h[1], h[2]));
    const float s = m_colour.saturation;
    for (int i = 0; i < 3; i++)
        m_colour.colour[i] = ((h[i] + (1.0f - m)) * s + (1.0f - s)) * m_colour.brightness;
}

const float* MWinButton::ColourHueEntry() const
{
    static float fallback[3] = {1.0f, 0.0f, 0.0f};
    if (!m_mwin)
        return fallback;
    const int index = std::clamp((int)m_colour.hue, 0, 255);
    return m_mwin->GetColourShared()->hue_table[index];
}

void MWinButton::ColourUpdateFromScrollbars(char fire)
{
    MWinButton* bars[MWIN_COLOUR_BARS];
    for (int i = 0; i < MWIN_COLOUR_BARS; i++) {
        bars[i] = m_colour.bars[i] ? FindLive(m_colour.bars[i]) : nullptr;
        if (!bars[i]) {
            DebugError(ENG_FUNC, "No scrollbars");
            return;
        }
    }
    float values[MWIN_COLOUR_BARS];
    for (int i = 0; i < MWIN_COLOUR_BARS; i++)
        values[i] = bars[i]->GetKind() == MWIN_BUT_HORZSCROLLBAR ? bars[i]->GetHorzValueBarValueF() : -1.0f;
    values[0] = std::clamp(values[0], 0.0f, 255.0f);
    values[1] = Clamp01(values[1]);
    values[2] = Clamp01(values[2]);
    const bool changed =
        values[0] != m_colour.hue || values[1] != m_colour.saturation || values[2] != m_colour.brightness;
    if (!changed) {
        if (fire)
            ColourRepaint();
        return;
    }
    m_colour.hue = values[0];
    m_colour.saturation = values[1];
    m_colour.brightness = values[2];
    ColourRepaint();
    ColourCompute();
    ColourWriteBound();
    if (!fire)
        return;
    _MWinButtonCallbackInfo info = {};
    FillCallbackInfo(&info);
    info.kind.colour_dragging =
        bars[0]->IsDragging() || bars[1]->IsDragging() || bars[2]->IsDragging() ? 1 : 0;
    Fire(&info);
}

void MWinButton::ColourPaintPicture(int bar, unsigned char* rgb) const
{
    const _MWinColourShared* shared = m_mwin->GetColourShared();
    const float* hue = ColourHueEntry();
    const float s = m_colour.saturation;
    const float b = m_colour.brightness;
    for (int x = 0; x < MWIN_COLOUR_PICTURE_WIDTH; x++) {
        const float t = (float)x / 255.0f;
        float c[3];
        for (int i = 0; i < 3; i++) {
            if (bar == 0)
                c[i] = shared->hue_table[x][i];
            else if (bar == 1)
                c[i] = t * hue[i] + (1.0f - t) * b;
            else
                c[i] = t * (hue[i] * s + (1.0f - s));
        }
        const bool end = x < shared->end_border || x >= MWIN_COLOUR_PICTURE_WIDTH - shared->end_border;
        for (int y = 0; y < MWIN_COLOUR_PICTURE_HEIGHT; y++) {
            const bool side = y < shared->side_border || y >= MWIN_COLOUR_PICTURE_HEIGHT - shared->side_border;
            const float* value = end || side ? shared->border_colour : c;
            unsigned char* p = rgb + (y * MWIN_COLOUR_PICTURE_WIDTH + x) * 3;
            for (int i = 0; i < 3; i++)
                p[i] = Byte(value[i]);
        }
    }
}

void MWinButton::ColourRepaint()
{
    if (m_kind != MWIN_BUT_COLOUR || !m_colour.pictures || !m_mwin)
        return;
    const _MWinColourShared* shared = m_mwin->GetColourShared();
    for (int bar = 0; bar < MWIN_COLOUR_BARS; bar++) {
        unsigned char* picture = m_colour.pictures + bar * MWIN_COLOUR_PICTURE_BYTES;
        ColourPaintPicture(bar, picture);
        EngTexture* texture = shared->textures[bar];
        MWinButton* button = m_colour.bars[bar] ? FindLive(m_colour.bars[bar]) : nullptr;
        if (button && texture && texture->IsLoaded())
            button->PictureAttachTextureToButton(texture, -1);
        if (!texture || !texture->IsLoaded() || !texture->GetDX9())
            continue;
        int pitch = 0;
        unsigned char* bgra = texture->GetDX9()->LockRect(&pitch);
        if (!bgra)
            continue;
        const int rows = std::min(MWIN_COLOUR_PICTURE_HEIGHT, texture->GetDX9()->GetHeight());
        const int columns = std::min(MWIN_COLOUR_PICTURE_WIDTH, texture->GetDX9()->GetWidth());
        for (int y = 0; y < rows; y++) {
            for (int x = 0; x < columns; x++) {
                const unsigned char* from = picture + (y * MWIN_COLOUR_PICTURE_WIDTH + x) * 3;
                unsigned char* to = bgra + y * pitch + x * 4;
                to[0] = from[2];
                to[1] = from[1];
                to[2] = from[0];
                to[3] = 255;
            }
        }
        texture->GetDX9()->UnlockRect();
    }
}
