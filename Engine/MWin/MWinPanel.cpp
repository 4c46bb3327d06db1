#include "Engine/MWin/MWinPanel.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngFont.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinButton.h"
#include "Engine/MWin/MWinTextureRegistry.h"

#include <cmath>

namespace {

constexpr int kPerPageAuto = -1;
constexpr int kPerPageAutoSmall = -2;
constexpr int kPerPageRecompute = -99;
constexpr float kSmallRowFactor = 0.66f;

} // namespace

void MWinPanelInitData(_MWinPanelData* data)
{
    *data = {};
    data->show_selection = 1;
}

int MWinButton::PanelMaxScroll() const
{
    int max = m_panel.count - m_panel.per_page;
    return max > 0 ? max : 0;
}

void MWinButton::PanelClampScroll()
{
    float max = float(PanelMaxScroll());
    m_panel.scroll = m_panel.scroll < 0.0f ? 0.0f : (m_panel.scroll > max ? max : m_panel.scroll);
}

int MWinButton::PanelGetPos()
{
    if (m_kind != MWIN_BUT_PANEL) {
        DebugError(ENG_FUNC, "Button is not a panel");
        return -1;
    }
    return m_panel.position;
}

char MWinButton::PanelGetVisibleRange(int* first, int* last)
{
    const int count = m_panel.count;
    if (count < 1)
        return 0;
    int f = int(m_panel.scroll);
    f = f < 0 ? 0 : (f > count ? count : f);
    int l = f + m_panel.per_page;
    l = l < 0 ? 0 : (l > count ? count : l);
    if (first)
        *first = f;
    if (last)
        *last = l;
    return 1;
}

char MWinButton::PanelGetEntryArea(int entry, float* area)
{
    int first = 0, last = 0;
    if (!area || !PanelGetVisibleRange(&first, &last) || entry < first || entry >= last)
        return 0;
    area[0] = m_screen_area.x;
    area[1] = m_screen_area.y + (float(entry) - m_panel.scroll) * m_panel.row_height;
    area[2] = m_panel.text_width;
    area[3] = m_panel.row_height;
    return 1;
}

void MWinButton::PanelCalcGeometry()
{
    _MWinPanelData& p = m_panel;
    const _Dimension& a = m_screen_area;
    p.row_height = p.per_page > 0 ? a.h / float(p.per_page) : a.h;
    p.bar_shown = p.per_page < p.count && p.count >= 2 ? 1 : 0;
    p.text_width = a.w;
    if (!p.bar_shown) {
        p.bar_x = p.bar_w = p.bar_y = p.bar_h = p.bar_right = p.bar_bottom = 0.0f;
        p.thumb_top = p.thumb_bottom = p.thumb_length = 0.0f;
        return;
    }
    p.bar_w = LayoutField(MWIN_LF_PANEL_SCROLL_WIDTH);
    p.bar_x = a.x + a.w - p.bar_w;
    p.bar_y = a.y;
    p.bar_h = a.h;
    p.bar_right = p.bar_x + p.bar_w;
    p.bar_bottom = p.bar_y + p.bar_h;
    p.text_width = a.w - p.bar_w;
    p.thumb_w = LayoutField(MWIN_LF_PANEL_THUMB_WIDTH);
    p.thumb_x = p.bar_x + (p.bar_w - p.thumb_w) / 2.0f;
    float margin = LayoutField(MWIN_LF_PANEL_END_MARGIN);
    p.track_top = p.bar_y + margin;
    p.track_bottom = p.bar_bottom - margin;
    p.track_length = p.track_bottom - p.track_top;
    p.track_length = p.track_length < 0.0f ? 0.0f : p.track_length;
    p.thumb_length = p.track_length * float(p.per_page) / float(p.count);
    float minimum = LayoutField(MWIN_LF_PANEL_MIN_THUMB_LENGTH);
    minimum = minimum > p.track_length ? p.track_length : minimum;
    p.thumb_length = p.thumb_length < minimum ? minimum : p.thumb_length;
    // The thumb's travel is the track less the thumb, so a lengthened thumb still ends on the track's end.
    float s = p.scroll < 0.0f ? 0.0f : p.scroll;
    s = s > float(PanelMaxScroll()) ? float(PanelMaxScroll()) : s;
    p.thumb_top = (p.track_length - p.thumb_length) * s / float(PanelMaxScroll()) + p.track_top;
    p.thumb_bottom = p.thumb_top + p.thumb_length;
}

void MWinButton::PanelFreeMultiPos()
{
    if (m_panel.multi)
        EngFree(m_panel.multi, false, ENG_FUNC);
    m_panel.multi = nullptr;
}

void MWinButton::PanelAllocateMultiPos()
{
    PanelFreeMultiPos();
    if (!m_panel.multi_selection)
        return;
    m_panel.multi = static_cast<EngUInt8*>(EngMalloc(unsigned(m_panel.count + 1), "MWinButton::PanelAllocateMultiPos",
                                                     true));
    if (m_panel.multi)
        return;
    DebugError(ENG_FUNC, "Out of memory for %d entries (ID: %s)", m_panel.count, m_id);
    m_panel.count = 0;
    m_panel.position = m_panel.allow_none ? -1 : 0;
    m_panel.scroll = 0.0f;
}

char MWinButton::PanelSetStringsCallback(int count, int per_page, MWinButtonStringCB callback, void* user)
{
    if (m_kind != MWIN_BUT_PANEL) {
        DebugError(ENG_FUNC, "Button is not a panel");
        return 0;
    }
    if (count < 0) {
        DebugError(ENG_FUNC, "invalid num entries %d (ID: %s)", count, m_id);
        return 0;
    }
    EntrySourceSet(&m_panel.source, callback, nullptr, user);
    m_panel.position = m_panel.allow_none ? -1 : 0;
    m_panel.anchor = m_panel.position;
    m_panel.count = count;
    m_panel.scroll = 0.0f;
    m_panel.drag_state = 0;
    PanelUpdateNumPerPageVar(per_page);
    PanelAllocateMultiPos();
    PanelCalcGeometry();
    return 1;
}

void MWinButton::PanelSetOptions(char allow_none, char multi_selection, char toggle_mode, char show_selection)
{
    m_panel.allow_none = allow_none ? 1 : 0;
    m_panel.toggle_mode = toggle_mode ? 1 : 0;
    m_panel.show_selection = show_selection ? 1 : 0;
    char multi = multi_selection ? 1 : 0;
    if (multi != m_panel.multi_selection || (multi && !m_panel.multi)) {
        m_panel.multi_selection = multi;
        PanelAllocateMultiPos();
    }
    Redraw();
}

void MWinButton::PanelSetEntryRenderCallback(MWinPanelEntryRenderCB callback, void* user)
{
    m_panel.entry_render = callback;
    m_panel.entry_render_user = user;
}

void MWinButton::PanelSetScroll(float scroll)
{
    m_panel.scroll = scroll;
    PanelClampScroll();
    PanelCalcGeometry();
    Redraw();
}

void MWinButton::PanelUpdateNumPerPageVar(int n)
{
    if (n > 0) {
        m_panel.per_page = n;
        m_panel.auto_rows = 0;
    } else if (n == kPerPageAuto || n == kPerPageAutoSmall) {
        m_panel.auto_rows = n == kPerPageAuto ? 1 : 2;
    } else if (n != kPerPageRecompute) {
        m_panel.per_page = 0;
        m_panel.auto_rows = 0;
    }
    if (m_panel.auto_rows) {
        float row = LayoutField(MWIN_LF_BUTTON_HEIGHT) * (m_panel.auto_rows == 2 ? kSmallRowFactor : 1.0f);
        if (row > 0.0f)
            m_panel.per_page = int(m_area.h / row);
        else
            DebugError(ENG_FUNC, "No default button height");
    }
    PanelClampScroll();
    PanelCalcGeometry();
}

void MWinButton::PanelCentreOnPos()
{
    int pos = m_panel.position < 0 ? 0 : m_panel.position;
    int scroll = pos - m_panel.per_page / 2;
    scroll = scroll > m_panel.count - m_panel.per_page ? m_panel.count - m_panel.per_page : scroll;
    m_panel.scroll = float(scroll < 0 ? 0 : scroll);
    PanelCalcGeometry();
    Redraw();
}

bool MWinButton::PanelIsSelected(int entry) const
{
    if (entry < 0 || entry >= m_panel.count)
        return false;
    if (m_panel.multi_selection && m_panel.multi)
        return m_panel.multi[entry] != 0;
    return entry == m_panel.position;
}

void MWinButton::PanelSelectMulti(int pos, char how)
{
    EngUInt8* flags = m_panel.multi;
    const int count = m_panel.count;
    bool shift = EngKeyStateTableIsDown(ENG_VK_SHIFT);
    bool flip = how != 2 && (EngKeyStateTableIsDown(ENG_VK_CONTROL) || m_panel.toggle_mode);
    if (flip) {
        flags[pos] = flags[pos] ? 0 : 1;
        return;
    }
    if (!(shift && how == 2))
        for (int i = 0; i < count; i++)
            flags[i] = 0;
    if (!shift) {
        flags[pos] = 1;
        return;
    }
    int from = m_panel.anchor < 0 ? pos : (m_panel.anchor >= count ? count - 1 : m_panel.anchor);
    int lo = from < pos ? from : pos;
    int hi = from < pos ? pos : from;
    for (int i = lo; i <= hi; i++)
        flags[i] = 1;
}

char MWinButton::PanelSetPos(int pos, char fire, char how)
{
    _MWinPanelData& p = m_panel;
    if (m_kind != MWIN_BUT_PANEL || p.count < 1)
        return 0;
    if (pos >= p.count)
        pos = p.count - 1;
    if (pos < 0)
        pos = p.allow_none ? -1 : 0;
    if (p.multi_selection && p.multi && pos >= 0)
        PanelSelectMulti(pos, how);
    p.position = pos;
    p.anchor = pos;
    if (pos >= int(p.scroll) + p.per_page)
        p.scroll = float(pos - p.per_page + 1);
    if (p.scroll > float(pos))
        p.scroll = float(pos < 0 ? 0 : pos);
    PanelClampScroll();
    PanelCalcGeometry();
    WriteRegisteredVariable(pos);
    Redraw();
    if (fire != MWIN_FIRE_ALWAYS && fire != MWIN_FIRE_IF_CHANGED)
        return 1;
    _MWinButtonCallbackInfo info;
    FillCallbackInfo(&info);
    info.kind.panel.event = fire - 1;
    info.kind.panel.position = pos;
    info.kind.panel.how = how;
    Fire(&info);
    return 1;
}

int MWinButton::PanelRowAt(float y) const
{
    if (m_panel.row_height <= 0.0f)
        return -1;
    int row = int(std::floor((y - m_screen_area.y) / m_panel.row_height + m_panel.scroll));
    return row >= 0 && row < m_panel.count ? row : -1;
}

char MWinButton::PanelHandlePress(char down)
{
    _MWinPanelData& p = m_panel;
    float mx = m_mwin->GetMouseX();
    float my = m_mwin->GetMouseY();
    bool on_bar = p.bar_shown && mx >= p.bar_x && mx < p.bar_right && my >= p.bar_y && my < p.bar_bottom;
    if (down) {
        if (!on_bar)
            return 1;
        if (my >= p.thumb_top && my < p.thumb_bottom) {
            p.drag_state = 1;
            m_dragging = 1;
            p.drag_grab = my - p.thumb_top - p.thumb_length / 2.0f;
            return 1;
        }
        p.drag_state = 0;
        m_dragging = 0;
        p.scroll += my < p.thumb_top ? -float(p.per_page) : float(p.per_page);
        PanelClampScroll();
        PanelCalcGeometry();
        Redraw();
        return 1;
    }
    bool in_entries = mx >= m_screen_area.x && mx < m_screen_area.x + p.text_width && my >= m_screen_area.y &&
                      my < m_screen_area.y + m_screen_area.h;
    bool was_dragging = p.drag_state != 0;
    p.drag_state = 0;
    m_dragging = 0;
    if (!in_entries || was_dragging)
        return 1;
    int row = PanelRowAt(my);
    if (row < 0)
        return 1;
    m_mwin->CallButtonPressedHook(MWIN_SOUND_CHANGE);
    PanelSetPos(row, MWIN_FIRE_ALWAYS, 1);
    return 1;
}

char MWinButton::PanelHandleDoubleClick()
{
    if (m_panel.position < 0 || m_panel.count < 1)
        return 0;
    PanelSetPos(m_panel.position, MWIN_FIRE_IF_CHANGED, 2);
    return 1;
}

char MWinButton::PanelHandleMouseMove()
{
    _MWinPanelData& p = m_panel;
    if (!p.drag_state)
        return 0;
    float span = p.track_length - p.thumb_length;
    if (span <= 0.0f)
        return 1;
    float y = m_mwin->GetMouseY() - p.drag_grab - p.thumb_length / 2.0f - p.track_top;
    p.scroll = y * float(p.count - p.per_page + 1) / span;
    PanelClampScroll();
    PanelCalcGeometry();
    Redraw();
    return 1;
}

char MWinButton::PanelHandleWheel(int steps)
{
    m_panel.scroll -= float(steps);
    PanelClampScroll();
    PanelCalcGeometry();
    Redraw();
    return 1;
}

char MWinButton::PanelHandleKeyDown(int key)
{
    _MWinPanelData& p = m_panel;
    if (p.count < 1)
        return 0;
    int pos = p.position;
    switch (key) {
    case ENG_VK_RETURN: {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.kind.panel.event = MWIN_PANEL_ACTIVATED;
        info.kind.panel.position = pos;
        Redraw();
        Fire(&info);
        return 1;
    }
    case ENG_VK_PRIOR:
        if (pos > 0)
            PanelSetPos(pos - p.per_page, MWIN_FIRE_ALWAYS, 2);
        return 1;
    case ENG_VK_NEXT:
        if (pos < p.count - 1)
            PanelSetPos(pos + p.per_page, MWIN_FIRE_ALWAYS, 2);
        return 1;
    case ENG_VK_UP:
        PanelSetPos(pos - 1, MWIN_FIRE_ALWAYS, 2);
        return 1;
    case ENG_VK_DOWN:
        PanelSetPos(pos + 1, MWIN_FIRE_ALWAYS, 2);
        return 1;
    default:
        break;
    }
    if (p.multi_selection)
        return 0;
    int found = MWinEntrySourceFind(p.count, pos, key,
                                    [this](int i) { return EntrySourceText(&m_panel.source, m_panel.count, i); });
    if (found < 0)
        return 0;
    // The page is centred before firing: the callback may delete the panel.
    p.position = found;
    PanelCentreOnPos();
    PanelSetPos(found, MWIN_FIRE_ALWAYS, 0);
    return 1;
}

void MWinButton::PanelRenderBack(_MWinTextureState state)
{
    (void)state;
    const _MWinPanelData& p = m_panel;
    if (p.per_page < 1) {
        DebugError(ENG_FUNC, "%s: NUM PER PAGE <= 0", m_id);
        return;
    }
    MWinTextures* textures = m_mwin->GetTextures();
    const float* modulate = m_modulate_mode ? m_modulate_colour : nullptr;
    int first = int(p.scroll);
    float fraction = p.scroll - float(first);
    for (int i = first; i <= first + p.per_page && i < p.count; i++) {
        float area[4] = {m_screen_area.x, m_screen_area.y + (float(i - first) - fraction) * p.row_height,
                         p.text_width, p.row_height};
        _MWinTextureState s = MWIN_TS_NORMAL;
        if (p.show_selection)
            s = PanelIsSelected(i) ? MWIN_TS_HIGHLIGHTED : (m_enabled ? MWIN_TS_NORMAL : MWIN_TS_DISABLED);
        textures->DrawTexBut(m_texbut_num, s, area[0], area[1], area[2], area[3], modulate);
        if (p.entry_render)
            p.entry_render(this, area, s, i, p.entry_render_user);
    }
    if (!p.bar_shown)
        return;
    textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_VSCROLL_TRACK), MWIN_TS_NORMAL, p.bar_x, p.bar_y,
                         p.bar_w, p.bar_h, modulate);
    textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_VSCROLL_THUMB), MWIN_TS_NORMAL, p.thumb_x,
                         p.thumb_top, p.thumb_w, p.thumb_length, modulate);
}

void MWinButton::PanelRenderText()
{
    const _MWinPanelData& p = m_panel;
    if (p.per_page < 1 || p.text_width <= 0.0f)
        return;
    EngFont* font = GetFont();
    float inset = LayoutField(MWIN_LF_TEXT_MARGIN);
    EngDeviceTurnOnCropInViewport(m_screen_area.x, m_screen_area.y, p.text_width, m_screen_area.h);
    int first = int(p.scroll);
    float fraction = p.scroll - float(first);
    float base[4];
    GetDrawTextColour(base);
    for (int i = first; i <= first + p.per_page && i < p.count; i++) {
        float y = m_screen_area.y + (float(i - first) - fraction) * p.row_height;
        if (p.colours)
            font->SetColourFromArray(p.colours + 4 * i);
        m_mwin->DrawTextInArea(m_font_num, m_text_align, inset, m_screen_area.x, y, p.text_width, p.row_height,
                               nullptr, EntrySourceText(&p.source, p.count, i), 0, true, m_shrink_to_fit != 0);
    }
    if (p.colours)
        font->SetColourFromArray(base);
    EngDeviceTurnOnCropInViewport(m_visible_area.x, m_visible_area.y, m_visible_area.w, m_visible_area.h);
}
