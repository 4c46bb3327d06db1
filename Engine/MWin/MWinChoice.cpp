#include "Engine/MWin/MWinChoice.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/Graphics/EngFont.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinButton.h"
#include "Engine/MWin/MWinTextureRegistry.h"

void MWinChoiceInitData(_MWinChoiceData* data)
{
    *data = {};
    data->selection = -1;
    data->hover_segment = -1;
}

const char* MWinButton::ChoiceText(int index) const
{
    return EntrySourceText(&m_choice.source, m_choice.count, index);
}

// The checks shared by the two setters of a choice's texts; reported under the setter's name.
static bool SourceArgumentsOk(const char* name, const char* id, int count, const char* count_format, bool present,
                              const char* missing_format)
{
    if (count < 1) {
        DebugError(name, count_format, count, id);
        return false;
    }
    if (!present)
        DebugError(name, missing_format, id);
    return present;
}

char MWinButton::ChoiceSetStrings(int count, const char** strings)
{
    if (!SourceArgumentsOk(ENG_FUNC, m_id, count, "invalid num %d (ID: %s)", strings, "Null strings (ID: %s)"))
        return 0;
    return ChoiceUseSource(count, nullptr, strings, nullptr);
}

char MWinButton::ChoiceSetStringsCallback(int count, MWinButtonStringCB callback, void* user)
{
    if (!SourceArgumentsOk(ENG_FUNC, m_id, count, "invalid num entries %d (ID: %s)", callback != nullptr,
                           "Null callback entry (ID: %s)"))
        return 0;
    return ChoiceUseSource(count, callback, nullptr, user);
}

char MWinButton::ChoiceUseSource(int count, MWinButtonStringCB callback, const char** strings, void* user)
{
    EntrySourceSet(&m_choice.source, callback, strings, user);
    m_choice.count = count;
    m_choice.selection = 0;
    ChoiceUpdateArrows();
    return 1;
}

char MWinButton::ChoiceSetStringsToken(const char* token)
{
    int count = 0;
    if (!EntrySourceSetToken(&m_choice.source, token, &count))
        return 0;
    m_choice.count = count;
    m_choice.selection = count > 0 ? 0 : -1;
    ChoiceUpdateArrows();
    Redraw();
    return 1;
}

void MWinButton::ChoiceUpdateArrows()
{
    bool arrows = m_choice.arrows_mode != 0;
    m_choice.left_arrow_on = arrows && m_choice.selection > 0 ? 1 : 0;
    m_choice.right_arrow_on = arrows && m_choice.selection < m_choice.count - 1 ? 1 : 0;
}

char MWinButton::ChoiceSetSel(int sel, char fire)
{
    if (sel < -1 || sel >= m_choice.count) {
        DebugError(ENG_FUNC, "invalid sel : %d (m_id: %s, entries = %d)", sel, m_id, m_choice.count);
        return 0;
    }
    bool changed = sel != m_choice.selection;
    m_choice.selection = sel;
    if (m_choice.arrows_mode) {
        // A language source keeps the token; the texts are drawn from it directly.
        if (!m_choice.source.token_mode)
            SetText(ChoiceText(sel));
        ChoiceUpdateArrows();
    }
    WriteRegisteredVariable(sel);
    Redraw();
    _MWinButtonCallbackInfo info;
    FillCallbackInfo(&info);
    info.kind.choice.selection = sel;
    FireIfAsked(fire, changed, &info);
    return 1;
}

char MWinButton::ChoiceRegisterVariable(char fire)
{
    double value = 0.0;
    if (!ReadRegisteredVariable(&value))
        return 1;
    return ChoiceSetSel(int(value), fire);
}

char MWinButton::ChoiceRegisterCharVariable(char* variable, char fire)
{
    if (m_kind != MWIN_BUT_CHOICE) {
        DebugError(ENG_FUNC, "Button %s is not a choice", m_id);
        return 0;
    }
    if (!RegisterCharVariable(variable))
        return 0;
    return ChoiceRegisterVariable(fire);
}

char MWinButton::ChoiceRegisterIntVariable(int* variable, char fire)
{
    if (!RegisterIntVariable(variable, 1.0f))
        return 0;
    return ChoiceRegisterVariable(fire);
}

void MWinButton::ChoiceSetArrows(char on, char unused)
{
    (void)unused;
    m_choice.arrows_mode = on ? 1 : 0;
    ChoiceUpdateArrows();
    Redraw();
}

void MWinButton::ChoiceSetWideSelection(char on)
{
    m_choice.wide_selection = on ? 1 : 0;
    Redraw();
}

void MWinButton::ChoiceSetHoverReporting(char on)
{
    m_choice.hover_reporting = on ? 1 : 0;
    m_choice.hover_segment = -1;
}

bool MWinButton::ChoiceGetSegment(int index, float* x, float* w) const
{
    int count = m_choice.count < 2 ? 1 : m_choice.count;
    if (index < 0 || index >= count)
        return false;
    const _Dimension& a = m_screen_area;
    bool wide = m_choice.wide_selection && count > 1 && m_choice.selection >= 0;
    float unit = a.w / float(wide ? count + 1 : count);
    float left = a.x;
    for (int i = 0; i < index; i++)
        left += wide && i == m_choice.selection ? 2.0f * unit : unit;
    *x = left;
    *w = wide && index == m_choice.selection ? 2.0f * unit : unit;
    return true;
}

// The segment under the pointer; left of the first counts as the first, right of the last as the last.
static int SegmentAt(const MWinButton* b, int count, float mx)
{
    for (int i = 0; i < count; i++) {
        float x = 0.0f, w = 0.0f;
        if (b->ChoiceGetSegment(i, &x, &w) && mx < x + w)
            return i;
    }
    return count - 1;
}

char MWinButton::ChoiceHandlePress(char down)
{
    if (!down || m_choice.count < 1)
        return 0;
    float mx = m_mwin->GetMouseX();
    float my = m_mwin->GetMouseY();
    const _Dimension& a = m_screen_area;
    if (!m_choice.arrows_mode) {
        int sel = SegmentAt(this, m_choice.count < 2 ? 1 : m_choice.count, mx);
        if (sel != m_choice.selection)
            m_mwin->CallButtonPressedHook(MWIN_SOUND_CHANGE);
        ChoiceSetSel(sel, MWIN_FIRE_IF_CHANGED);
        return 1;
    }
    float reach = LayoutField(MWIN_LF_CHOICE_ARROW_MARGIN) + LayoutField(MWIN_LF_CHOICE_ARROW_WIDTH);
    float arrow_h = LayoutField(MWIN_LF_CHOICE_ARROW_HEIGHT);
    float top = a.y + (a.h - arrow_h) / 2.0f;
    if (my < top || my >= top + arrow_h)
        return 0;
    int step = mx < a.x + reach ? -1 : (mx >= a.x + a.w - reach ? 1 : 0);
    int sel = m_choice.selection + step;
    if (step == 0 || sel < 0 || sel >= m_choice.count)
        return 0;
    m_mwin->CallButtonPressedHook(MWIN_SOUND_CHANGE);
    ChoiceSetSel(sel, MWIN_FIRE_IF_CHANGED);
    return 1;
}

char MWinButton::ChoiceHandleMouseMove()
{
    if (m_choice.arrows_mode || !m_choice.hover_reporting)
        return 0;
    int segment = -1;
    if (IsMouseOver() && m_choice.count > 0)
        segment = SegmentAt(this, m_choice.count < 2 ? 1 : m_choice.count, m_mwin->GetMouseX());
    if (segment == m_choice.hover_segment)
        return 0;
    m_choice.hover_segment = segment;
    if (segment < 0)
        return 0;
    _MWinButtonCallbackInfo info;
    FillCallbackInfo(&info);
    info.kind.choice.selection = segment;
    info.kind.choice.hover = 1;
    Fire(&info);
    return 1;
}

char MWinButton::ChoiceHandleKeyDown(int key)
{
    int sel = m_choice.selection;
    int last = m_choice.count - 1;
    switch (key) {
    case ENG_VK_RETURN:
        sel = sel >= last ? 0 : sel + 1;
        break;
    case ENG_VK_LEFT:
    case ENG_VK_UP:
        sel = sel > 0 ? sel - 1 : sel;
        break;
    case ENG_VK_RIGHT:
    case ENG_VK_DOWN:
        sel = sel < last ? sel + 1 : sel;
        break;
    default:
        return 0;
    }
    if (m_choice.count < 1 || sel == m_choice.selection)
        return 1;
    m_mwin->CallButtonPressedHook(MWIN_SOUND_CHANGE);
    ChoiceSetSel(sel, MWIN_FIRE_IF_CHANGED);
    return 1;
}

void MWinButton::ChoiceRenderBack(_MWinTextureState state)
{
    MWinTextures* textures = m_mwin->GetTextures();
    const float* modulate = m_modulate_mode ? m_modulate_colour : nullptr;
    if (m_choice.arrows_mode) {
        DrawBackground(state);
        if (!m_enabled)
            return;
        float aw = LayoutField(MWIN_LF_CHOICE_ARROW_WIDTH);
        float ah = LayoutField(MWIN_LF_CHOICE_ARROW_HEIGHT);
        float margin = LayoutField(MWIN_LF_CHOICE_ARROW_MARGIN);
        const _Dimension& a = m_screen_area;
        float y = a.y + (a.h - ah) / 2.0f;
        if (m_choice.left_arrow_on)
            textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_LEFT_ARROW), state, a.x + margin, y, aw,
                                 ah, modulate);
        if (m_choice.right_arrow_on)
            textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_RIGHT_ARROW), state,
                                 a.x + a.w - aw - margin, y, aw, ah, modulate);
        return;
    }
    int count = m_choice.count < 2 ? 1 : m_choice.count;
    for (int i = 0; i < count; i++) {
        float x = 0.0f, w = 0.0f;
        ChoiceGetSegment(i, &x, &w);
        int s = i == m_choice.selection ? MWIN_TS_PRESSED : (m_enabled ? MWIN_TS_NORMAL : MWIN_TS_DISABLED);
        textures->DrawTexBut(m_texbut_num, s, x, m_screen_area.y, w, m_screen_area.h, modulate);
    }
}

void MWinButton::ChoiceRenderText()
{
    const _Dimension& a = m_screen_area;
    if (m_choice.arrows_mode) {
        float inset = LayoutField(MWIN_LF_CHOICE_ARROW_MARGIN) + LayoutField(MWIN_LF_CHOICE_ARROW_WIDTH);
        _Dimension area = a;
        if (a.w - 2.0f * inset > 0.0f) {
            area.x += inset;
            area.w -= 2.0f * inset;
        }
        m_mwin->DrawTextInArea(m_font_num, m_text_align, m_text_margin, &area, nullptr,
                               ChoiceText(m_choice.selection), 0, true, m_shrink_to_fit != 0);
        return;
    }
    EngFont* font = GetFont();
    float colour[4];
    for (int i = 0; i < 4; i++)
        colour[i] = m_text_colour[i] * (m_modulate_mode == 1 ? m_modulate_colour[i] : 1.0f);
    for (int i = 0; i < m_choice.count; i++) {
        float x = 0.0f, w = 0.0f;
        if (!ChoiceGetSegment(i, &x, &w))
            break;
        float c[4] = {colour[0], colour[1], colour[2], colour[3]};
        if (!m_enabled && i != m_choice.selection)
            c[3] *= 0.5f;
        font->SetColourFromArray(c);
        m_mwin->DrawTextInArea(m_font_num, MWIN_ALIGN_CENTRE, m_text_margin, x, a.y, w, a.h, nullptr,
                               ChoiceText(i), 0, true, m_shrink_to_fit != 0);
    }
}
