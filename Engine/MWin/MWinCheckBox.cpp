#include "Engine/MWin/MWinCheckBox.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/Graphics/EngFont.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinButton.h"
#include "Engine/MWin/MWinTextureRegistry.h"
#include "Engine/MWin/MWinWindow.h"

void MWinButton::CheckboxSet(char value, char fire)
{
    if (value != 0 && value != 1) {
        DebugError(ENG_FUNC, "Invalid check parameter: %d", value);
        return;
    }
    bool changed = m_checkbox.value != value;
    m_checkbox.value = value;
    WriteRegisteredVariable(value);
    Redraw();
    _MWinButtonCallbackInfo info;
    FillCallbackInfo(&info);
    info.kind.checkbox_value = EngUInt8(value);
    FireIfAsked(fire, changed, &info);
}

char MWinButton::CheckboxRegisterCharVariable(char* variable, char fire)
{
    if (m_kind != MWIN_BUT_CHECKBOX) {
        DebugError(ENG_FUNC, "Button %s is not a check box", m_id);
        return 0;
    }
    if (!RegisterCharVariable(variable))
        return 0;
    if (variable)
        CheckboxSet(*variable ? 1 : 0, fire);
    return 1;
}

// A press toggles; the second click of a double click arrives as the double click, which toggles too.
void MWinButton::CheckboxHandlePress(char down)
{
    if (down)
        CheckboxSet(m_checkbox.value ? 0 : 1, MWIN_FIRE_ALWAYS);
}

// Enter and Space toggle a highlighted check box, as they fire a push button.
char MWinButton::CheckboxHandleKeyDown(int key)
{
    if (key != ENG_VK_RETURN && key != ENG_VK_SPACE)
        return 0;
    CheckboxSet(m_checkbox.value ? 0 : 1, MWIN_FIRE_ALWAYS);
    return 1;
}

void MWinButton::CheckboxLayout(float* image_x, _Dimension* text_area)
{
    float scale = m_window && m_window->IsScaled() && m_mwin ? m_mwin->GetWindowScaleX() : 1.0f;
    float image_w = LayoutField(MWIN_LF_CHECK_WIDTH) * scale;
    float outer = LayoutField(MWIN_LF_CHECK_OUTER_MARGIN) * scale;
    float inner = LayoutField(MWIN_LF_CHECK_INNER_MARGIN) * scale;
    const _Dimension& a = m_screen_area;
    float d = outer + image_w + inner;
    *text_area = a;
    const char* text = m_lang_on ? LanguageSubText(0, nullptr) : m_texts[0];
    if (!text || !text[0] || m_font_num == MWIN_FONT_NUM_NONE) {
        *image_x = a.x + (a.w - image_w) / 2.0f;
        text_area->w = 0.0f;
        return;
    }
    if (m_text_align == MWIN_ALIGN_LEFT) {
        *image_x = a.x + outer;
        text_area->x = a.x + d;
        text_area->w = a.w - d;
        return;
    }
    if (m_text_align == MWIN_ALIGN_RIGHT) {
        *image_x = a.x + a.w - image_w - outer;
        text_area->w = a.w - d;
        return;
    }
    text_area->x = a.x + d;
    text_area->w = a.w - 2.0f * d;
    EngFont* font = GetFont();
    float text_w = 0.0f;
    if (font) {
        float sx = 1.0f, sy = 1.0f;
        font->GetScaleXY(&sx, &sy);
        SetFontScale(font);
        text_w = font->GetStringWidth(text);
        font->SetScale(sx, sy);
    }
    if (text_w > text_area->w)
        text_w = text_area->w;
    float x = text_area->x + text_area->w / 2.0f + text_w / 2.0f + inner;
    float right_most = a.x + a.w - image_w - outer;
    x = x > right_most ? right_most : x;
    *image_x = x < a.x + outer ? a.x + outer : x;
}

void MWinButton::CheckboxRenderBox()
{
    float scale = m_window && m_window->IsScaled() && m_mwin ? m_mwin->GetWindowScaleX() : 1.0f;
    float w = LayoutField(MWIN_LF_CHECK_WIDTH) * scale;
    float h = LayoutField(MWIN_LF_CHECK_HEIGHT) * scale;
    float x = 0.0f;
    _Dimension text_area;
    CheckboxLayout(&x, &text_area);
    MWinTextures* textures = m_mwin->GetTextures();
    int slot = m_checkbox.value ? MWIN_STD_CHECK_ON : MWIN_STD_CHECK_OFF;
    const float* modulate = m_modulate_mode ? m_modulate_colour : nullptr;
    float y = m_screen_area.y + (m_screen_area.h - h) / 2.0f;
    textures->DrawTexBut(textures->GetStandardTexButNum(slot), GetTextureState(), x, y, w, h, modulate);
}

void MWinButton::CheckboxRenderText()
{
    float image_x = 0.0f;
    _Dimension area;
    CheckboxLayout(&image_x, &area);
    if (area.w <= 0.0f)
        return;
    const char* text = m_lang_on ? LanguageSubText(0, nullptr) : m_texts[0];
    m_mwin->DrawTextInArea(m_font_num, m_text_align, 0.0f, &area, nullptr, text, 0, true, m_shrink_to_fit != 0);
}
