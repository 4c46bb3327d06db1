// The picture any button can carry: attached, drawn over the button's area last, and, for a staged
// picture set, advanced each tick.
#include "Engine/Core/EngDebug.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngPicture.h"
#include "Engine/Graphics/EngTexture.h"
#include "Engine/MWin/MWinButton.h"

char MWinButton::PictureAttachTextureToButton(EngTexture* texture, char blending)
{
    if (!texture) {
        DebugError(ENG_FUNC, "No texture");
        m_picture.mode = MWIN_PICTURE_NONE;
        m_picture.texture = nullptr;
        return 0;
    }
    if (!texture->IsLoaded())
        DebugError(ENG_FUNC, "Warning: texture is not loaded");
    m_picture.texture = texture;
    m_picture.mode = (char)((blending < -1 ? -1 : blending) + 4);
    m_picture.inset_on = 0;
    m_picture.rect_on = 0;
    for (int i = 0; i < 4; i++) {
        m_picture.insets[i] = 0.0f;
        m_picture.rect[i] = 0.0f;
    }
    Redraw();
    return 1;
}

void MWinButton::PictureSetInsets(char on, float left, float top, float right, float bottom)
{
    m_picture.inset_on = on ? 1 : 0;
    m_picture.insets[0] = left;
    m_picture.insets[1] = top;
    m_picture.insets[2] = right;
    m_picture.insets[3] = bottom;
    Redraw();
}

void MWinButton::PictureSetTextureRect(const float* rect)
{
    m_picture.rect_on = rect ? 1 : 0;
    for (int i = 0; i < 4; i++)
        m_picture.rect[i] = rect ? rect[i] : 0.0f;
    Redraw();
}

void MWinButton::PictureSetPictureSet(EngPicture* owner, int set_num, char advance)
{
    m_picture.set_owner = owner;
    m_picture.set_num = set_num;
    m_picture.advance = owner && advance ? 1 : 0;
    Redraw();
}

char MWinButton::PictureTick()
{
    if (!m_picture.set_owner || !m_picture.advance)
        return 0;
    m_picture.set_owner->Tick(1.0f);
    return 1;
}

void MWinButton::PictureDraw()
{
    const bool has_texture = m_picture.mode >= MWIN_PICTURE_DEFAULT_BLENDING && m_picture.texture;
    if (!has_texture && !m_picture.set_owner)
        return;
    _Dimension area = m_screen_area;
    if (m_picture.inset_on) {
        area.x += m_picture.insets[0];
        area.y += m_picture.insets[1];
        area.w -= m_picture.insets[0] + m_picture.insets[2];
        area.h -= m_picture.insets[1] + m_picture.insets[3];
    }
    if (area.w <= 0.0f || area.h <= 0.0f)
        return;
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const float* colour = m_modulate_mode ? m_modulate_colour : white;
    if (m_picture.set_owner) {
        m_picture.set_owner->SetDrawArea(area.x, area.y, area.w, area.h);
        m_picture.set_owner->DrawSet(m_picture.set_num, colour[3]);
        return;
    }
    EngTexture* texture = m_picture.texture;
    if (!texture->IsLoaded())
        return;
    bool blend_on = false;
    int src = 0;
    int dest = 0;
    const bool own_blending = m_picture.mode > MWIN_PICTURE_DEFAULT_BLENDING;
    if (own_blending) {
        EngDeviceGetBlendingState(&blend_on, &src, &dest);
        EngDeviceEnableBlendingType(m_picture.mode - 4);
    }
    texture->PositionRatioedToDimension(&area);
    if (m_picture.rect_on)
        texture->DrawWithTextureCoordinatesAndColourArray(m_picture.rect[0], m_picture.rect[1], m_picture.rect[2],
                                                          m_picture.rect[3], colour);
    else
        texture->DrawWithColour(colour[0], colour[1], colour[2], colour[3]);
    if (own_blending)
        EngDeviceSetBlendingState(blend_on, src, dest);
}
