#include "Engine/MWin/MWinDropDownList.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinButton.h"
#include "Engine/MWin/MWinTextureRegistry.h"

#include <cmath>

namespace {

constexpr int kAutoScrollStartMs = 400;
constexpr int kAutoScrollStepMs = 70;
constexpr int kAutoScrollFastestMs = 5;
constexpr double kAutoScrollDelayMs = 100.0;
constexpr int kPageRows = 10;

} // namespace

void MWinDropDownListInitData(_MWinDropDownListData* data)
{
    *data = {};
    data->first = -1;
    data->end = -1;
    data->auto_scroll_ms = kAutoScrollStartMs;
}

bool MWinButton::ListCheckKind(const char* name) const
{
    if (m_kind == MWIN_BUT_LIST)
        return true;
    DebugError(name, "button %s not a list", m_id);
    return false;
}

int MWinButton::ListGetPos()
{
    return ListCheckKind(ENG_FUNC) ? m_list.position : -1;
}

const char* MWinButton::ListGetStringAtPos(int pos)
{
    if (!ListCheckKind(ENG_FUNC))
        return nullptr;
    if (pos < 0 || pos >= m_list.count) {
        DebugError(ENG_FUNC, "Bad pos %d (%d)", pos, m_list.count);
        return nullptr;
    }
    return EntrySourceText(&m_list.source, m_list.count, pos);
}

char MWinButton::ListSetPos(int pos, char fire)
{
    if (!ListCheckKind(ENG_FUNC))
        return 0;
    if (pos < 0 || pos >= m_list.count) {
        DebugError(ENG_FUNC, "invalid pos : %d (id: %s, entries = %d)", pos, m_id, m_list.count);
        return 0;
    }
    bool changed = pos != m_list.position;
    m_list.position = pos;
    // A language source keeps the token; the entry is drawn from it directly.
    if (!m_list.source.token_mode)
        SetText(EntrySourceText(&m_list.source, m_list.count, pos));
    WriteRegisteredVariable(pos);
    Redraw();
    _MWinButtonCallbackInfo info;
    FillCallbackInfo(&info);
    info.kind.list.event = m_list.open;
    info.kind.list.position = pos;
    FireIfAsked(fire, changed, &info);
    return 1;
}

// After the source changed: closes the list and shows the first entry.
char MWinButton::ListSetCount(int count)
{
    if (m_list.open)
        ListClose(false);
    m_list.count = count;
    m_list.position = 0;
    if (count > 0)
        return ListSetPos(0, MWIN_FIRE_NEVER);
    if (!m_list.source.token_mode)
        SetText(nullptr);
    return 1;
}

char MWinButton::ListSetStrings(int count, const char** strings)
{
    if (!ListCheckKind(ENG_FUNC))
        return 0;
    if (count < 0 || (count > 0 && !strings)) {
        DebugError(ENG_FUNC, "invalid entries %d (ID: %s)", count, m_id);
        return 0;
    }
    EntrySourceSet(&m_list.source, nullptr, strings, nullptr);
    return ListSetCount(count);
}

char MWinButton::ListSetStringsCallback(int count, MWinButtonStringCB callback, void* user)
{
    if (!ListCheckKind(ENG_FUNC))
        return 0;
    if (count < 0 || !callback) {
        DebugError(ENG_FUNC, "invalid entries %d (ID: %s)", count, m_id);
        return 0;
    }
    EntrySourceSet(&m_list.source, callback, nullptr, user);
    return ListSetCount(count);
}

char MWinButton::ListSetStringsToken(const char* token)
{
    if (!ListCheckKind(ENG_FUNC))
        return 0;
    int count = 0;
    if (!EntrySourceSetToken(&m_list.source, token, &count))
        return 0;
    return ListSetCount(count);
}

char MWinButton::ListCalcOpenListVariables()
{
    _MWinDropDownListData& l = m_list;
    l.top_cap_y = l.top_cap_height = l.bottom_cap_y = l.bottom_cap_height = -1.0f;
    l.hover_y = l.up_row_y = l.up_row_height = l.down_row_y = l.down_row_height = -1.0f;
    l.more_above = 0;
    l.more_below = 0;
    if (!l.open)
        return 0;
    if (l.count < 1) {
        ListClose(false);
        return 0;
    }
    const float h = m_screen_area.h;
    const float y = l.button_y;
    if (h <= 0.0f)
        return 0;
    int c = l.centre + l.scroll_offset;
    c = c < 0 ? 0 : (c >= l.count ? l.count - 1 : c);
    int above = int(std::floor(y / h));
    int below = int(std::floor((MWIN_VIRTUAL_HEIGHT - y - h) / h)) + 1;
    above = above < 0 ? 0 : (above > c ? c : above);
    below = below < 0 ? 0 : (below > l.count - c ? l.count - c : below);
    l.first = c - above;
    l.end = c + below;
    l.more_above = l.first > 0 ? 1 : 0;
    l.more_below = l.end < l.count ? 1 : 0;
    l.top = y - float(above) * h;
    l.height = float(l.end - l.first) * h;
    if (l.top < 0.0f) {
        l.height += l.top;
        l.top = 0.0f;
    }
    if (l.top + l.height > MWIN_VIRTUAL_HEIGHT)
        l.height = MWIN_VIRTUAL_HEIGHT - l.top;
    if (!l.more_above) {
        l.top_cap_height = h / 2.0f;
        l.top_cap_y = l.top - h / 4.0f < 0.0f ? 0.0f : l.top - h / 4.0f;
    }
    if (!l.more_below) {
        l.bottom_cap_height = h / 2.0f;
        float cap = l.top + l.height - h / 4.0f;
        l.bottom_cap_y = cap > MWIN_VIRTUAL_HEIGHT - h / 2.0f ? MWIN_VIRTUAL_HEIGHT - h / 2.0f : cap;
    }
    if (l.more_above) {
        l.up_row_y = l.top;
        l.up_row_height = h;
        l.first++;
        l.top += h;
        l.height -= h;
    }
    if (l.more_below) {
        l.down_row_height = h;
        l.end--;
        l.height -= h;
        l.down_row_y = l.top + l.height;
    }
    if (l.hover >= l.first && l.hover < l.end)
        l.hover_y = y + float(l.hover - c) * h;
    return 1;
}

void MWinButton::ListOpen()
{
    if (m_list.count < 1)
        return;
    _MWinDropDownListData& l = m_list;
    l.open = 1;
    l.button_x = m_screen_area.x;
    l.button_y = m_screen_area.y;
    l.hover = l.centre = l.position;
    l.first = l.end = -1;
    l.scroll_offset = 0;
    l.auto_scroll_ms = kAutoScrollStartMs;
    l.open_time = l.last_scroll_time = eng_time;
    ListCalcOpenListVariables();
    if (l.first >= l.count) {
        l.button_y += m_screen_area.h;
        ListCalcOpenListVariables();
    } else if (l.end < 1) {
        l.button_y -= m_screen_area.h;
        ListCalcOpenListVariables();
    }
    Redraw();
}

// Firing comes last: the callback may delete the list.
void MWinButton::ListClose(bool choose)
{
    _MWinDropDownListData& l = m_list;
    if (!l.open)
        return;
    l.open = 0;
    l.first = l.end = -1;
    Redraw();
    bool moved = l.hover != l.position;
    if (choose && l.hover >= 0 && l.hover < l.count)
        ListSetPos(l.hover, MWIN_FIRE_NEVER);
    else if (!moved)
        return;
    _MWinButtonCallbackInfo info;
    FillCallbackInfo(&info);
    info.kind.list.event = choose ? MWIN_LIST_CHOSEN : MWIN_LIST_CLOSED;
    info.kind.list.position = l.position;
    Fire(&info);
}

void MWinButton::ListSetHover(int hover, bool fire)
{
    _MWinDropDownListData& l = m_list;
    int low = l.first - 1 < 0 ? 0 : l.first - 1;
    int high = l.end >= l.count ? l.count - 1 : l.end;
    hover = hover < low ? low : (hover > high ? high : hover);
    if (hover == l.hover)
        return;
    l.hover = hover;
    ListCalcOpenListVariables();
    Redraw();
    if (!fire)
        return;
    m_mwin->CallButtonPressedHook(MWIN_SOUND_CHANGE);
    _MWinButtonCallbackInfo info;
    FillCallbackInfo(&info);
    info.kind.list.event = MWIN_LIST_HOVER_MOVED;
    info.kind.list.position = l.position;
    Fire(&info);
}

void MWinButton::ListMoveHover(int delta)
{
    ListSetHover(m_list.hover + delta, true);
}

// Steps the position of a closed list as if it were opened, moved and chosen.
void MWinButton::ListStepClosed(int delta)
{
    ListOpen();
    if (!m_list.open)
        return;
    ListSetHover(m_list.hover + delta, false);
    ListClose(true);
}

void MWinButton::ListHandlePress(char down)
{
    if (!down)
        return;
    if (!m_list.open) {
        ListOpen();
        return;
    }
    const _MWinDropDownListData& l = m_list;
    float mx = m_mwin->GetMouseX();
    float my = m_mwin->GetMouseY();
    bool in_column = mx >= l.button_x && mx < l.button_x + m_screen_area.w;
    bool in_rows = my >= l.top && my < l.top + l.height;
    ListClose(in_column && in_rows);
}

char MWinButton::ListHandleMouseMove()
{
    if (!m_list.open)
        return 0;
    const _MWinDropDownListData& l = m_list;
    float mx = m_mwin->GetMouseX();
    if (mx < l.button_x || mx >= l.button_x + m_screen_area.w) {
        ListClose(false);
        return 1;
    }
    float h = m_screen_area.h;
    int c = l.centre + l.scroll_offset;
    float rows = (m_mwin->GetMouseY() - (l.button_y + h / 2.0f)) / h;
    ListSetHover(int(std::floor(rows + 0.5f)) + c, true);
    return 1;
}

char MWinButton::ListHandleWheel(int steps)
{
    if (steps == 0 || !EngWindowIsDesktopPlatform())
        return 0;
    if (m_list.open) {
        ListMoveHover(-steps);
        return 1;
    }
    int delta = steps > 0 ? -1 : 1;
    int pos = m_list.position + delta;
    if (pos < 0 || pos >= m_list.count)
        return 1;
    ListStepClosed(delta);
    return 1;
}

static int ListKeyDelta(int key)
{
    switch (key) {
    case ENG_VK_PRIOR:
        return -kPageRows;
    case ENG_VK_NEXT:
        return kPageRows;
    case ENG_VK_UP:
        return -1;
    case ENG_VK_DOWN:
        return 1;
    default:
        return 0;
    }
}

char MWinButton::ListHandleKeyDown(int key)
{
    int delta = ListKeyDelta(key);
    if (!m_list.open) {
        if (key == ENG_VK_RETURN) {
            ListOpen();
            return 1;
        }
        if (!delta)
            return 0;
        ListStepClosed(delta);
        return 1;
    }
    if (key == ENG_VK_RETURN || key == ENG_VK_ESCAPE) {
        ListClose(key == ENG_VK_RETURN);
        return 1;
    }
    if (delta) {
        ListMoveHover(delta);
        return 1;
    }
    int found = MWinEntrySourceFind(m_list.count, m_list.hover, key,
                                    [this](int i) { return EntrySourceText(&m_list.source, m_list.count, i); });
    if (found < 0)
        return 1;
    m_list.centre = found;
    m_list.scroll_offset = 0;
    m_list.hover = found;
    ListCalcOpenListVariables();
    Redraw();
    return 1;
}

char MWinButton::ListTick()
{
    _MWinDropDownListData& l = m_list;
    if (!l.open)
        return 0;
    int direction = l.more_above && l.hover == l.first - 1 ? -1 : (l.more_below && l.hover == l.end ? 1 : 0);
    if (!direction) {
        l.auto_scroll_ms = kAutoScrollStartMs;
        return 0;
    }
    // Milliseconds, with a margin for the clock's rounding.
    double since_open = (eng_time - l.open_time) * 1000.0 + 1e-6;
    double since_step = (eng_time - l.last_scroll_time) * 1000.0 + 1e-6;
    if (since_open < kAutoScrollDelayMs || since_step < l.auto_scroll_ms)
        return 0;
    l.last_scroll_time = eng_time;
    l.auto_scroll_ms -= kAutoScrollStepMs;
    l.auto_scroll_ms = l.auto_scroll_ms < kAutoScrollFastestMs ? kAutoScrollFastestMs : l.auto_scroll_ms;
    l.scroll_offset += direction;
    l.hover += direction;
    ListCalcOpenListVariables();
    Redraw();
    return 1;
}

void MWinButton::ListRenderClosed(_MWinTextureState state)
{
    DrawBackground(state);
    MWinTextures* textures = m_mwin->GetTextures();
    const float* modulate = m_modulate_mode ? m_modulate_colour : nullptr;
    float aw = LayoutField(MWIN_LF_LIST_ARROW_WIDTH);
    float ah = LayoutField(MWIN_LF_LIST_ARROW_HEIGHT);
    const _Dimension& a = m_screen_area;
    float x = a.x + a.w - aw - LayoutField(MWIN_LF_LIST_ARROW_MARGIN);
    float y = a.y + (a.h - ah) / 2.0f;
    textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_UP_ARROW), state, x, y, aw, ah / 2.0f, modulate);
    textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_DOWN_ARROW), state, x, y + ah / 2.0f, aw, ah / 2.0f,
                         modulate);
}

void MWinButton::ListRenderText()
{
    if (m_list.drawing_open) {
        ListDrawOpenTexts();
        return;
    }
    _Dimension area = m_screen_area;
    area.w -= LayoutField(MWIN_LF_LIST_ARROW_WIDTH) + LayoutField(MWIN_LF_LIST_ARROW_MARGIN);
    if (area.w <= 0.0f)
        return;
    const char* text = EntrySourceText(&m_list.source, m_list.count, m_list.position);
    m_mwin->DrawTextInArea(m_font_num, m_text_align, m_text_margin, &area, nullptr, text, 0, true,
                           m_shrink_to_fit != 0);
}

void MWinButton::ListDrawOpenTexts()
{
    const _MWinDropDownListData& l = m_list;
    float h = m_screen_area.h;
    int c = l.centre + l.scroll_offset;
    for (int i = l.first; i >= 0 && i < l.end && i < l.count; i++) {
        float y = l.button_y + float(i - c) * h;
        m_mwin->DrawTextInArea(m_font_num, m_text_align, m_text_margin, l.button_x, y, m_screen_area.w, h, nullptr,
                               EntrySourceText(&l.source, l.count, i), 0, true, m_shrink_to_fit != 0);
    }
}

void MWinButton::ListRenderOpen()
{
    const _MWinDropDownListData& l = m_list;
    if (!l.open || !m_shown || !m_mwin || !m_on_screen)
        return;
    MWinTextures* textures = m_mwin->GetTextures();
    _MWinTextureState state = GetTextureState();
    state = state == MWIN_TS_HIGHLIGHTED ? MWIN_TS_NORMAL : state;
    const float* modulate = m_modulate_mode ? m_modulate_colour : nullptr;
    const float x = l.button_x;
    const float w = m_screen_area.w;
    const int body = textures->GetStandardTexButNum(MWIN_STD_LIST_OPEN_MAIN);
    textures->DrawTexBut(body, state, x, l.top, w, l.height, modulate);
    if (l.top_cap_y >= 0.0f)
        textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_LIST_OPEN_TOP), state, x, l.top_cap_y, w,
                             l.top_cap_height, modulate);
    if (l.bottom_cap_y >= 0.0f)
        textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_LIST_OPEN_BOTTOM), state, x, l.bottom_cap_y, w,
                             l.bottom_cap_height, modulate);
    float aw = LayoutField(MWIN_LF_LIST_ARROW_WIDTH);
    float ah = LayoutField(MWIN_LF_LIST_ARROW_HEIGHT);
    const float rows[2][2] = {{l.up_row_y, l.up_row_height}, {l.down_row_y, l.down_row_height}};
    const int arrows[2] = {MWIN_STD_UP_ARROW, MWIN_STD_DOWN_ARROW};
    for (int i = 0; i < 2; i++) {
        if (rows[i][0] < 0.0f)
            continue;
        textures->DrawTexBut(body, state, x, rows[i][0], w, rows[i][1], modulate);
        textures->DrawTexBut(textures->GetStandardTexButNum(arrows[i]), state, x + (w - aw) / 2.0f,
                             rows[i][0] + (rows[i][1] - ah) / 2.0f, aw, ah, modulate);
    }
    if (l.hover_y >= 0.0f)
        textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_LIST_OPEN_SELECTION), MWIN_TS_HIGHLIGHTED, x,
                             l.hover_y, w, m_screen_area.h, modulate);
    m_list.drawing_open = 1;
    DrawForeground();
    m_list.drawing_open = 0;
}
