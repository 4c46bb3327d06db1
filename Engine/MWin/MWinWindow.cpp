#include "Engine/MWin/MWinWindow.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/Core/EngLanguages.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngFont.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinButton.h"
#include "Engine/MWin/MWinCollection.h"
#include "Engine/MWin/MWinCollectionController.h"
#include "Engine/MWin/MWinDesktop.h"
#include "Engine/MWin/MWinFontRegistry.h"
#include "Engine/MWin/MWinGroup.h"
#include "Engine/MWin/MWinTextureRegistry.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr int MWIN_TAB_MAX_STEPS = 1000;
constexpr float MWIN_WHEEL_SCROLL_FACTOR = 0.02f;

void CopyText(char* dest, const char* source, unsigned size)
{
    EngSafeStrcpy(dest, source ? source : "", size);
}

// Bounded copy of every text of a description, so a caller's unterminated field cannot run over.
void CopyCreateInfo(_MWinWindowCreateInfo* dest, const _MWinWindowCreateInfo* source)
{
    *dest = *source;
    dest->title[sizeof(dest->title) - 1] = 0;
    dest->title_bar_texbut_id[MWIN_ID_SIZE - 1] = 0;
    dest->back_texbut_id[MWIN_ID_SIZE - 1] = 0;
    dest->font_id[MWIN_ID_SIZE - 1] = 0;
    dest->hide_button_text[sizeof(dest->hide_button_text) - 1] = 0;
    dest->hide_button_texbut_id[MWIN_ID_SIZE - 1] = 0;
    dest->extra_button_text[sizeof(dest->extra_button_text) - 1] = 0;
    dest->extra_button_texbut_id[MWIN_ID_SIZE - 1] = 0;
    dest->title_token[sizeof(dest->title_token) - 1] = 0;
    dest->hide_button_token[sizeof(dest->hide_button_token) - 1] = 0;
    dest->extra_button_token[sizeof(dest->extra_button_token) - 1] = 0;
}

bool IsOpenList(MWinButton* button)
{
    return button && button->GetKind() == MWIN_BUT_LIST && button->IsCapturingInput();
}

bool IsEditingTextEdit(MWinButton* button)
{
    return button && button->GetKind() == MWIN_BUT_TEXTEDIT && button->TextEditIsEditing();
}

bool PointIn(float px, float py, const _Dimension& area)
{
    return MWinIsPointInArea(&area, px, py);
}

} // namespace

void MWinWindowCreateInfoSetDefaults(_MWinWindowCreateInfo* info)
{
    if (!info)
        return;
    memset(info, 0, sizeof(*info));
    info->window_type = MWIN_WINDOW_NORMAL;
    info->x = 10.0f;
    info->y = 10.0f;
    info->width = 50.0f;
    info->height = 50.0f;
    info->drag_mode = MWIN_DRAG_NONE;
    MWinCopyID(info->title_bar_texbut_id, MWIN_TEXBUT_DEFAULT);
    MWinCopyID(info->back_texbut_id, MWIN_TEXBUT_DEFAULT);
    MWinCopyID(info->font_id, MWIN_FONT_DEFAULT);
}

// ---------------------------------------------------------------------------------------------------------
// Construction

MWinWindow::MWinWindow(MWin* mwinp, const char* id, MWinCollection* collection, const _MWinWindowCreateInfo* info)
    : m_mwinp(mwinp), m_window_type(MWIN_WINDOW_NORMAL), m_created(0), m_hide_button(nullptr),
      m_extra_button(nullptr), m_active(0), m_shown(1), m_removed(0), m_title_token_num(-1), m_dragging(0),
      m_drag_mouse_x(0), m_drag_mouse_y(0), m_drag_window_x(0), m_drag_window_y(0), m_scroll_bars(),
      m_scroll_offset_x(0), m_scroll_offset_y(0), m_controller(nullptr), m_controller_set(0), m_id(),
      m_collection(collection), m_first_group(nullptr), m_last_group(nullptr), m_prev(nullptr), m_next(nullptr),
      m_info(), m_requested_area(), m_screen_area(), m_title_bar_area(), m_title_text_area(), m_client_area(),
      m_scaled(1), m_escape_button(nullptr), m_default_button(nullptr), m_font_num(MWIN_FONT_NUM_DEFAULT),
      m_title_bar_texbut_num(-1), m_hide_texbut_num(-1), m_extra_texbut_num(-1), m_back_texbut_num(-1),
      m_title_colour{0, 0, 0, 1}, m_title_scale{1, 1}, m_title_align(MWIN_ALIGN_LEFT), m_modulate_on(0),
      m_modulate_colour{1, 1, 1, 1}, m_extra_width(0), m_extra_height(0), m_scrolling_on(0),
      m_border_inset_on(1), m_popup_saved_state(0)
{
    DebugFatalCheckQualified(mwinp != nullptr, "MWinWindow::MWinWindow", "No mw");
    m_first_group = m_last_group = new MWinGroup(mwinp, this);
    m_scroll_bars[0].visible_fraction = m_scroll_bars[1].visible_fraction = 1.0f;
    MWinCopyID(m_id, id ? id : "");
    m_scaled = (!collection || collection->IsWindowScalingAllowed()) ? 1 : 0;

    _MWinWindowCreateInfo defaults;
    if (!info) {
        DebugError(ENG_FUNC, "No info passed in");
        MWinWindowCreateInfoSetDefaults(&defaults);
        info = &defaults;
    }
    CopyCreateInfo(&m_info, info);
    if (m_info.width < 0)
        m_info.width = 100.0f;
    if (m_info.height < 0)
        m_info.height = 100.0f;
    if (m_info.x == MWIN_WINDOW_CENTRE)
        m_info.x = MWIN_VIRTUAL_WIDTH / 2 - m_info.width / 2;
    if (m_info.y == MWIN_WINDOW_CENTRE)
        m_info.y = MWIN_VIRTUAL_HEIGHT / 2 - m_info.height / 2;
    m_window_type = m_info.window_type;

    if (m_info.has_hide_button && !m_info.has_title_bar) {
        DebugError(ENG_FUNC, "Hide button but no title bar");
        m_info.has_hide_button = 0;
    }
    if (m_info.has_extra_button > 1) {
        DebugError(ENG_FUNC, "has_extra_button is %d - setting to 0.", int(m_info.has_extra_button));
        m_info.has_extra_button = 0;
        m_info.extra_button_text[0] = 0;
    }
    if (m_info.has_extra_button && !m_info.has_title_bar) {
        DebugError(ENG_FUNC, "Extra button but no title bar");
        m_info.has_extra_button = 0;
    }

    SetTitleToken(m_info.title_token);
    SetTitleBarTexBut(m_info.title_bar_texbut_id);
    SetBackTexBut(m_info.back_texbut_id);
    // Title buttons that name no look take the standard push button's.
    SetHideButtonTexBut(MWinIDIsEmpty(m_info.hide_button_texbut_id) ? MWIN_TEXBUT_DEFAULT
                                                                     : m_info.hide_button_texbut_id);
    SetExtraButtonTexBut(MWinIDIsEmpty(m_info.extra_button_texbut_id) ? MWIN_TEXBUT_DEFAULT
                                                                       : m_info.extra_button_texbut_id);
    SetFont(m_info.font_id, 0);
    SetArea(m_info.x, m_info.y, m_info.width, m_info.height);
    m_created = 1;
}

MWinWindow::~MWinWindow()
{
    DeleteGroups();
    MWinDesktop* desktop = m_mwinp ? m_mwinp->GetDesktop() : nullptr;
    for (MWinButton* button : {m_hide_button, m_extra_button}) {
        if (!button)
            continue;
        if (desktop)
            desktop->Dispose(button);
        else
            delete button;
    }
    m_hide_button = m_extra_button = nullptr;
    m_escape_button = m_default_button = nullptr;
    m_created = 0;
}

void MWinWindow::DeleteGroups()
{
    MWinGroup* group = m_last_group;
    while (group) {
        MWinGroup* prev = group->GetPrev();
        if (prev && prev->GetNext() != group) {
            DebugErrorByCode(ENG_FUNC, DEBUG_CODE_IERR);
            break;
        }
        delete group;
        group = prev;
    }
    m_first_group = m_last_group = nullptr;
}

// ---------------------------------------------------------------------------------------------------------
// Buttons

MWinButton* MWinWindow::AddButton(const char* id, int kind, const char* texbut_id, const char* text, float x,
                                  float y, float w, float h)
{
    if (!m_first_group) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_IERR);
        return nullptr;
    }
    return m_first_group->AddButton(id, kind, texbut_id, text, x, y, w, h);
}

MWinButton* MWinWindow::AddButton(const char* id, int kind, const char* texbut_id, const char* text, float x,
                                  float y, float w, float h, MWinButtonCB callback, int int1, int int2)
{
    MWinButton* button = AddButton(id, kind, texbut_id, text, x, y, w, h);
    if (button)
        button->SetCallback(callback, int1, int2, 1);
    return button;
}

MWinTabPanel* MWinWindow::AddTabPanel(const char* id, const char* texbut_id, float x, float y, float w, float h)
{
    if (!m_first_group) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_IERR);
        return nullptr;
    }
    return m_first_group->AddTabPanel(id, texbut_id, x, y, w, h);
}

MWinButton* MWinWindow::GetFirstButton() const
{
    return m_first_group ? m_first_group->GetFirstButton() : nullptr;
}

MWinButton* MWinWindow::GetActiveButton() const
{
    if (!m_shown)
        return nullptr;
    for (MWinGroup* group = m_last_group; group; group = group->GetPrev()) {
        if (!group->IsCreatedOk()) {
            DebugError(ENG_FUNC, "Group not created ok.");
            return nullptr;
        }
        if (group->GetWindow() != this) {
            DebugError(ENG_FUNC, "Group pointers not ok.");
            return nullptr;
        }
        for (MWinButton* button = group->GetLastButton(); button; button = button->GetPrev()) {
            if (!button->IsValid()) {
                DebugError(ENG_FUNC, "Button not created ok.");
                return nullptr;
            }
            if (button->GetGroup() != group) {
                DebugError(ENG_FUNC, "Button pointers not ok.");
                return nullptr;
            }
            if (button->IsHighlighted())
                return button;
        }
    }
    return nullptr;
}

MWinButton* MWinWindow::GetButtonFromID(const char* id, char report) const
{
    if (MWinIDIsEmpty(id)) {
        DebugError(ENG_FUNC, "No Button ID");
        return nullptr;
    }
    for (MWinButton* button : {m_hide_button, m_extra_button, m_escape_button}) {
        if (button && MWinIDsEqual(button->GetID(), id))
            return button;
    }
    for (MWinGroup* group = m_first_group; group; group = group->GetNext()) {
        for (MWinButton* button = group->GetFirstButton(); button; button = button->GetNext()) {
            if (MWinIDsEqual(button->GetID(), id))
                return button;
        }
    }
    if (report)
        DebugError(ENG_FUNC, "Button <%s> not found in window <%s> of collection <%s>", id, m_id,
                   m_collection ? m_collection->GetID() : "(none)");
    return nullptr;
}

bool MWinWindow::IsTitleButton(const MWinButton* button) const
{
    return button && (button == m_hide_button || button == m_extra_button);
}

bool MWinWindow::OwnsButton(const MWinButton* button) const
{
    if (!button)
        return false;
    if (IsTitleButton(button))
        return true;
    for (MWinGroup* group = m_first_group; group; group = group->GetNext()) {
        for (MWinButton* b = group->GetFirstButton(); b; b = b->GetNext()) {
            if (b == button)
                return true;
        }
    }
    return false;
}

void MWinWindow::RemoveAllButtons()
{
    m_escape_button = nullptr;
    m_default_button = nullptr;
    if (!m_first_group)
        return;
    while (m_last_group && m_last_group != m_first_group) {
        MWinGroup* group = m_last_group;
        m_last_group = group->GetPrev();
        m_last_group->SetNext(nullptr);
        delete group;
    }
    m_first_group->RemoveAllButtons();
}

char MWinWindow::CenterGroupOfButtons(MWinButton** buttons, char horizontally, char vertically)
{
    if (!buttons) {
        DebugError(ENG_FUNC, "No buttons");
        return 0;
    }
    bool any = false;
    float left = 0, top = 0, right = 0, bottom = 0;
    for (MWinButton** b = buttons; *b; b++) {
        if (!(*b)->IsShown())
            continue;
        const _Dimension* a = (*b)->GetAreaP();
        left = any ? std::min(left, a->x) : a->x;
        top = any ? std::min(top, a->y) : a->y;
        right = any ? std::max(right, a->x + a->w) : a->x + a->w;
        bottom = any ? std::max(bottom, a->y + a->h) : a->y + a->h;
        any = true;
    }
    if (!any)
        return 1;
    // Button areas are relative to the client area, so the centre is taken in the same terms.
    float dx = horizontally ? m_requested_area.w / 2 - (left + right) / 2 : 0.0f;
    float centre_y = m_requested_area.h / 2 - (HasTitleBar() ? GetTitleBarHeight() / 2 : 0.0f);
    float dy = vertically ? centre_y - (top + bottom) / 2 : 0.0f;
    for (MWinButton** b = buttons; *b; b++) {
        if ((*b)->IsShown())
            (*b)->SetPosition((*b)->GetAreaP()->x + dx, (*b)->GetAreaP()->y + dy);
    }
    return 1;
}

char MWinWindow::SendButtonCallCallbackMessage(MWinButton* button, char report)
{
    if (!button || !m_collection || !OwnsButton(button)) {
        DebugError(ENG_FUNC, "Invalid button");
        return 0;
    }
    if (!button->IsShown()) {
        if (report)
            DebugError(ENG_FUNC, "Button [%s] is not shown.", button->GetID());
        return 0;
    }
    if (!button->IsEnabled())
        return 0;
    return m_mwinp->AddMessageToQueue(m_collection->GetID(), m_id, button->GetID(), MWIN_MSG_CALL_CALLBACK);
}

void MWinWindow::SetEscapeButton(MWinButton* button)
{
    m_escape_button = button;
    if (m_collection)
        m_collection->SetEscapeWindow(this);
}

void MWinWindow::SetDefaultButton(MWinButton* button)
{
    m_default_button = button;
}

// ---------------------------------------------------------------------------------------------------------
// Controller

void MWinWindow::SetController(MWinCollectionController* controller)
{
    m_controller = controller;
    m_controller_set = 1;
}

MWinCollectionController* MWinWindow::GetController(char required) const
{
    if (m_controller_set && m_controller)
        return m_controller;
    if (required)
        DebugFatalCheck(false, ENG_FUNC, "No controller");
    return nullptr;
}

void MWinWindow::ClearController()
{
    m_controller_set = 0;
}

// ---------------------------------------------------------------------------------------------------------
// Appearance

void MWinWindow::SetTitle(const char* text)
{
    CopyText(m_info.title, text, sizeof(m_info.title));
    m_info.title_token[0] = 0;
    m_title_token_num = -1;
}

void MWinWindow::SetTitleToken(const char* token)
{
    if (token != m_info.title_token)
        CopyText(m_info.title_token, token, sizeof(m_info.title_token));
    m_title_token_num = -1;
    if (m_info.title_token[0] && EngLanguagesAreLoaded())
        m_title_token_num = EngLanguagesFindTokenNum(m_info.title_token, true);
}

void MWinWindow::SetTextColour(float r, float g, float b, float a)
{
    m_title_colour[0] = r;
    m_title_colour[1] = g;
    m_title_colour[2] = b;
    m_title_colour[3] = a;
}

void MWinWindow::SetTextColourFromArray(const float* rgba)
{
    if (rgba)
        SetTextColour(rgba[0], rgba[1], rgba[2], rgba[3]);
}

void MWinWindow::SetTextScale(float sx, float sy)
{
    m_title_scale[0] = sx;
    m_title_scale[1] = sy;
}

void MWinWindow::SetTextAlign(int align)
{
    m_title_align = align;
}

void MWinWindow::SetModulateColour(float r, float g, float b, float a)
{
    m_modulate_on = 1;
    m_modulate_colour[0] = r;
    m_modulate_colour[1] = g;
    m_modulate_colour[2] = b;
    m_modulate_colour[3] = a;
}

char MWinWindow::SetFont(const char* id, char keep_id)
{
    MWinFonts* fonts = m_mwinp->GetFonts();
    m_font_num = fonts ? fonts->GetFontNumFromID(id) : MWIN_FONT_NUM_DEFAULT;
    if (keep_id && id != m_info.font_id)
        MWinCopyID(m_info.font_id, id ? id : "");
    return m_font_num != MWIN_FONT_NUM_NONE || MWinIDsEqual(id, MWIN_FONT_NONE);
}

char MWinWindow::SetTexButNum(const char* id, int standard_slot, int* num)
{
    *num = -1;
    MWinTextures* textures = m_mwinp->GetTextures();
    if (MWinIDIsEmpty(id) || MWinIDsEqual(id, MWIN_TEXBUT_NONE) || !textures)
        return 1;
    if (MWinIDsEqual(id, MWIN_TEXBUT_DEFAULT)) {
        *num = textures->GetStandardTexButNum(standard_slot);
        return 1;
    }
    *num = textures->GetTexButNum(id);
    return *num >= 0;
}

char MWinWindow::SetBackTexBut(const char* id)
{
    return SetTexButNum(id, MWIN_STD_WINDOW_BACK, &m_back_texbut_num);
}

char MWinWindow::SetTitleBarTexBut(const char* id)
{
    return SetTexButNum(id, MWIN_STD_TITLE_BAR, &m_title_bar_texbut_num);
}

char MWinWindow::SetHideButtonTexBut(const char* id)
{
    if (id != m_info.hide_button_texbut_id)
        MWinCopyID(m_info.hide_button_texbut_id, id ? id : "");
    char ok = SetTexButNum(id, MWIN_STD_PUSH_BUTTON, &m_hide_texbut_num);
    if (m_hide_button)
        UpdateHideAndExtraButtons(1, 0);
    return ok;
}

char MWinWindow::SetExtraButtonTexBut(const char* id)
{
    if (id != m_info.extra_button_texbut_id)
        MWinCopyID(m_info.extra_button_texbut_id, id ? id : "");
    char ok = SetTexButNum(id, MWIN_STD_PUSH_BUTTON, &m_extra_texbut_num);
    if (m_extra_button)
        UpdateHideAndExtraButtons(0, 1);
    return ok;
}

// ---------------------------------------------------------------------------------------------------------
// Geometry

_MWinLayoutSettings* MWinWindow::GetScreenLayout() const
{
    if (!m_mwinp) {
        DebugError(ENG_FUNC, "No mwin");
        return nullptr;
    }
    if (!m_collection) {
        DebugError(ENG_FUNC, "No parent");
        return m_mwinp->GetLayoutSettings(m_mwinp->GetScreenLayout());
    }
    return m_mwinp->GetLayoutSettings(m_collection->GetScreenLayout());
}

float MWinWindow::GetTitleBarHeight() const
{
    _MWinLayoutSettings* layout = GetScreenLayout();
    return layout ? layout->f[MWIN_LF_TITLE_BAR_HEIGHT] : 0.0f;
}

void MWinWindow::GetVirtualSize(float* w, float* h) const
{
    if (!m_mwinp)
        DebugError(ENG_FUNC, "No mwin");
    if (w)
        *w = MWIN_VIRTUAL_WIDTH;
    if (h)
        *h = MWIN_VIRTUAL_HEIGHT;
}

bool MWinWindow::HasBorderInset() const
{
    return m_border_inset_on && !MWinIDIsEmpty(m_info.back_texbut_id);
}

void MWinWindow::SetArea(float x, float y, float w, float h)
{
    if (HasTitleBar())
        y = std::max(y, GetTitleBarHeight());
    w = std::max(w, 1.0f);
    h = std::max(h, 1.0f);
    m_requested_area.w = w;
    m_requested_area.h = h;
    m_screen_area.w = m_scaled ? w * eng_aspect_x : w;
    m_screen_area.h = m_scaled ? h * eng_aspect_y : h;
    SetPosition(x, y);
}

void MWinWindow::SetPosition(float x, float y)
{
    m_requested_area.x = x;
    m_requested_area.y = y;
    m_screen_area.x = m_scaled ? m_mwinp->ScaleKeepCentreX(x, m_requested_area.w) : x;
    m_screen_area.y = m_scaled ? m_mwinp->ScaleKeepCentreY(y, m_requested_area.h) : y;
    CalcButtonAreas();
    UpdateTitleAreas();
}

void MWinWindow::CalcButtonAreas()
{
    for (MWinGroup* group = m_first_group; group; group = group->GetNext())
        group->CalcAreas();
}

void MWinWindow::UpdateTitleAreas()
{
    if (HasTitleBar()) {
        float height = GetTitleBarHeight();
        MWinSetArea(&m_title_bar_area, 0, -height, m_screen_area.w, height);
        m_title_text_area = m_title_bar_area;
        if (m_info.has_hide_button || m_info.has_extra_button) {
            _MWinLayoutSettings* layout = GetScreenLayout();
            float inset = layout->f[MWIN_LF_TITLE_BUTTON_MARGIN] + layout->f[MWIN_LF_TITLE_BUTTON_WIDTH];
            m_title_text_area.x += inset;
            m_title_text_area.w -= 2 * inset;
        }
    } else {
        MWinSetArea(&m_title_bar_area, 0, 0, 0, 0);
        MWinSetArea(&m_title_text_area, 0, 0, 0, 0);
    }
    MWinSetArea(&m_client_area, 0, 0, m_screen_area.w, m_screen_area.h);
    LayoutScrollBars();
    UpdateHideAndExtraButtons(0, 0);
}

// Makes, removes or moves one title button; "right" puts it at the right end of the title bar.
static MWinButton* UpdateTitleButton(MWinWindow* window, MWinButton* button, bool wanted, bool recreate,
                                     const char* id, const char* text, const char* token, int texbut_num,
                                     bool right)
{
    MWin* mwinp = window->GetMWin();
    MWinDesktop* desktop = mwinp->GetDesktop();
    if (button && (!wanted || recreate)) {
        if (desktop)
            desktop->Dispose(button);
        else
            delete button;
        button = nullptr;
    }
    if (!wanted)
        return nullptr;
    _MWinLayoutSettings* layout = window->GetScreenLayout();
    float w = layout->f[MWIN_LF_TITLE_BUTTON_WIDTH];
    float h = layout->f[MWIN_LF_TITLE_BUTTON_HEIGHT];
    float margin = layout->f[MWIN_LF_TITLE_BUTTON_MARGIN];
    float title_height = layout->f[MWIN_LF_TITLE_BAR_HEIGHT];
    // Compensated for the vertical scroll offset, so the button stays in the title bar.
    float y = -title_height / 2 - h / 2 + layout->f[MWIN_LF_TITLE_BUTTON_OFFSET_Y] - window->GetScrollOffsetY();
    float x = right ? window->GetRequestedArea().w - margin - w : margin;
    if (button) {
        button->SetArea(x, y, w, h);
        return button;
    }
    MWinTextures* textures = mwinp->GetTextures();
    const char* look = MWIN_TEXBUT_NONE;
    if (texbut_num >= 0 && textures && textures->GetTexBut(texbut_num))
        look = textures->GetTexBut(texbut_num)->id;
    // Made at y 0 and then placed: a negative y given at construction would centre the button.
    button = new (std::nothrow) MWinButton(mwinp, id, window->GetFirstGroup(), MWIN_BUT_NONE, look, text, x, 0, w, h);
    if (!button)
        return nullptr;
    button->SetArea(x, y, w, h);
    button->SetFont(window->GetCreateInfo().font_id);
    button->SetTextColourFromArray(window->GetTitleColour());
    button->SetTextScale(0.8f * window->GetTitleScale()[0], 0.8f * window->GetTitleScale()[1]);
    if (token && token[0])
        button->SetTextToken(token);
    return button;
}

void MWinWindow::UpdateHideAndExtraButtons(char recreate_hide, char recreate_extra)
{
    _MWinLayoutSettings* layout = GetScreenLayout();
    if (!layout || !m_first_group)
        return;
    bool hide_right = layout->f[MWIN_LF_HIDE_BUTTON_SIDE] == 1.0f;
    bool had_hide = m_hide_button != nullptr;
    m_hide_button = UpdateTitleButton(this, m_hide_button, m_info.has_hide_button, recreate_hide,
                                      MWIN_STD_HIDE_ID, m_info.hide_button_text, m_info.hide_button_token,
                                      m_hide_texbut_num, hide_right);
    if (m_info.has_hide_button && !m_hide_button && (recreate_hide || !had_hide))
        DebugError(ENG_FUNC, "Could not create hide button");
    bool had_extra = m_extra_button != nullptr;
    m_extra_button = UpdateTitleButton(this, m_extra_button, m_info.has_extra_button, recreate_extra,
                                       MWIN_STD_EXTRA_ID, m_info.extra_button_text, m_info.extra_button_token,
                                       m_extra_texbut_num, !hide_right);
    if (m_info.has_extra_button && !m_extra_button && (recreate_extra || !had_extra))
        DebugError(ENG_FUNC, "Could not create extra button");
}

// ---------------------------------------------------------------------------------------------------------
// Scrolling

void MWinWindow::SetVirtualSize(float extra_width, float extra_height)
{
    m_extra_width = std::max(extra_width, 0.0f);
    m_extra_height = std::max(extra_height, 0.0f);
    if (m_extra_width == 0 && m_extra_height == 0) {
        m_scrolling_on = 0;
        m_scroll_bars[0] = m_scroll_bars[1] = _MWinScrollBar();
        m_scroll_bars[0].visible_fraction = m_scroll_bars[1].visible_fraction = 1.0f;
        m_scroll_offset_x = m_scroll_offset_y = 0;
        CalcButtonAreas();
        UpdateTitleAreas();
        return;
    }
    m_scrolling_on = 1;
    ApplyScrollOffsets();
}

// Lays out one bar along an axis of length "length" starting at "start"; "across" places it on the other axis.
static void LayoutBar(_MWinScrollBar* bar, float start, float length, float extra, float bar_across,
                      float bar_size, float thumb_size, bool vertical)
{
    float total = length + extra;
    bar->visible_fraction = total > 0 ? length / total : 1.0f;
    float thumb_length = bar->visible_fraction * length;
    bar->free_length = length - thumb_length;
    float thumb_start = start + (extra > 0 ? bar->free_length * bar->amount / extra : 0.0f);
    float thumb_across = bar_across + bar_size / 2 - thumb_size / 2;
    if (vertical) {
        MWinSetArea(&bar->bar, bar_across, start, bar_size, length);
        MWinSetArea(&bar->thumb, thumb_across, thumb_start, thumb_size, thumb_length);
    } else {
        MWinSetArea(&bar->bar, start, bar_across, length, bar_size);
        MWinSetArea(&bar->thumb, thumb_start, thumb_across, thumb_length, thumb_size);
    }
}

void MWinWindow::LayoutScrollBars()
{
    if (!m_scrolling_on)
        return;
    _MWinLayoutSettings* layout = GetScreenLayout();
    if (!layout)
        return;
    const _Dimension& a = m_screen_area;
    if (m_extra_width > 0) {
        float size = layout->f[MWIN_LF_HSCROLL_HEIGHT];
        LayoutBar(&m_scroll_bars[0], a.x, a.w, m_extra_width, a.y + a.h - size, size,
                  layout->f[MWIN_LF_HSCROLL_THUMB_HEIGHT], false);
    }
    if (m_extra_height > 0) {
        float size = layout->f[MWIN_LF_VSCROLL_WIDTH];
        LayoutBar(&m_scroll_bars[1], a.y, a.h, m_extra_height, a.x + a.w - size, size,
                  layout->f[MWIN_LF_VSCROLL_THUMB_WIDTH], true);
    }
}

void MWinWindow::ApplyScrollOffsets()
{
    m_scroll_bars[0].amount = std::clamp(m_scroll_bars[0].amount, 0.0f, m_extra_width);
    m_scroll_bars[1].amount = std::clamp(m_scroll_bars[1].amount, 0.0f, m_extra_height);
    m_scroll_offset_x = -m_scroll_bars[0].amount;
    m_scroll_offset_y = -m_scroll_bars[1].amount;
    LayoutScrollBars();
    CalcButtonAreas();
    UpdateHideAndExtraButtons(0, 0);
}

char MWinWindow::HandleScrollBarsPress(int button, int down, char simulated)
{
    if (!m_scrolling_on || button != 0 || simulated)
        return 0;
    float mouse[2] = {m_mwinp->GetMouseX(), m_mwinp->GetMouseY()};
    float extra[2] = {m_extra_width, m_extra_height};
    float page[2] = {m_screen_area.w, m_screen_area.h};
    for (int axis = 0; axis < 2; axis++) {
        _MWinScrollBar* bar = &m_scroll_bars[axis];
        if (extra[axis] <= 0)
            continue;
        if (!down) {
            if (bar->dragging) {
                bar->dragging = 0;
                return 1;
            }
            if (bar->page_step) {
                bar->amount += bar->page_step * page[axis];
                bar->page_step = 0;
                ApplyScrollOffsets();
                return 1;
            }
            continue;
        }
        if (PointIn(mouse[0], mouse[1], bar->thumb)) {
            bar->dragging = 1;
            bar->drag_start_mouse = mouse[axis];
            bar->drag_start_amount = bar->amount;
            bar->drag_start_thumb = axis ? bar->thumb.y : bar->thumb.x;
            return 1;
        }
        if (PointIn(mouse[0], mouse[1], bar->bar)) {
            float thumb_start = axis ? bar->thumb.y : bar->thumb.x;
            bar->page_step = mouse[axis] < thumb_start ? -1 : 1;
            return 1;
        }
    }
    return 0;
}

char MWinWindow::HandleScrollBarsMove()
{
    float mouse[2] = {m_mwinp->GetMouseX(), m_mwinp->GetMouseY()};
    float extra[2] = {m_extra_width, m_extra_height};
    for (int axis = 0; axis < 2; axis++) {
        _MWinScrollBar* bar = &m_scroll_bars[axis];
        if (!bar->dragging)
            continue;
        if (bar->free_length > 0)
            bar->amount =
                (mouse[axis] - bar->drag_start_mouse) * extra[axis] / bar->free_length + bar->drag_start_amount;
        ApplyScrollOffsets();
        return 1;
    }
    return 0;
}

bool MWinWindow::IsThumbDragging() const
{
    return m_scroll_bars[0].dragging || m_scroll_bars[1].dragging;
}

// ---------------------------------------------------------------------------------------------------------
// State

void MWinWindow::Activate()
{
    m_active = 1;
    HandleMouseMove();
}

void MWinWindow::Deactivate()
{
    m_active = 0;
}

bool MWinWindow::IsMouseOver() const
{
    _Dimension whole = m_screen_area;
    if (HasTitleBar()) {
        whole.y += m_title_bar_area.y;
        whole.h += m_title_bar_area.h;
    }
    return m_mwinp->IsMouseInArea(&whole);
}

bool MWinWindow::IsButtonUnderMouse(const MWinButton* button) const
{
    return m_mwinp->IsMouseInArea(button->GetScreenArea());
}

void MWinWindow::ResetButtonStates()
{
    for (MWinGroup* group = m_first_group; group; group = group->GetNext()) {
        for (MWinButton* button = group->GetFirstButton(); button; button = button->GetNext()) {
            button->ClearPressed();
            if (button->IsHighlighted())
                button->ResetState();
        }
    }
}

// ---------------------------------------------------------------------------------------------------------
// Per frame

char MWinWindow::Tick()
{
    if (!m_shown)
        return 0;
    char changed = 0;
    for (MWinGroup* group = m_first_group; group; group = group->GetNext()) {
        for (MWinButton* button = group->GetFirstButton(); button; button = button->GetNext()) {
            if (button->IsEnabled() && button->Tick())
                changed = 1;
        }
    }
    return changed;
}

void MWinWindow::Render()
{
    MWinTextures* textures = m_mwinp->GetTextures();
    if (m_created != 1 || !m_shown || !m_collection || !textures || !EngDeviceIsCreated())
        return;
    int state = m_active ? MWIN_TS_HIGHLIGHTED : MWIN_TS_NORMAL;
    const float* modulate = m_modulate_on ? m_modulate_colour : nullptr;
    float offset[2] = {m_screen_area.x, m_screen_area.y};
    _MWinLayoutSettings* layout = GetScreenLayout();
    if (HasTitleBar()) {
        textures->DrawTexButInArea(m_title_bar_texbut_num, state, &m_title_bar_area, offset, modulate);
        RenderTitle(layout, offset);
        for (MWinButton* button : {m_hide_button, m_extra_button}) {
            if (button && button->IsShown())
                button->Render();
        }
    }
    _Dimension back = m_screen_area;
    if (m_scrolling_on && m_extra_height > 0)
        back.w -= layout->f[MWIN_LF_VSCROLL_WIDTH];
    else if (m_scrolling_on && m_extra_width > 0)
        back.h -= layout->f[MWIN_LF_HSCROLL_HEIGHT];
    textures->DrawTexButInArea(m_back_texbut_num, state, &back, nullptr, modulate);
    if (m_scrolling_on) {
        int slots[2][2] = {{MWIN_STD_HSCROLL_TRACK, MWIN_STD_HSCROLL_THUMB},
                           {MWIN_STD_VSCROLL_TRACK, MWIN_STD_VSCROLL_THUMB}};
        float extra[2] = {m_extra_width, m_extra_height};
        for (int axis = 0; axis < 2; axis++) {
            if (extra[axis] <= 0)
                continue;
            textures->DrawTexButInArea(textures->GetStandardTexButNum(slots[axis][0]), state,
                                       &m_scroll_bars[axis].bar, nullptr, modulate);
            textures->DrawTexButInArea(textures->GetStandardTexButNum(slots[axis][1]), state,
                                       &m_scroll_bars[axis].thumb, nullptr, modulate);
        }
    }
    for (MWinGroup* group = m_first_group; group; group = group->GetNext()) {
        if (group->IsShown())
            group->Render();
    }
}

void MWinWindow::RenderTitle(const _MWinLayoutSettings* layout, const float* offset)
{
    const char* title = m_title_token_num >= 0 ? EngLanguagesGetTextForTokenNum(m_title_token_num) : m_info.title;
    if (!title || !title[0] || m_font_num == MWIN_FONT_NUM_NONE)
        return;
    MWinFonts* fonts = m_mwinp->GetFonts();
    EngFont* font = fonts ? fonts->GetFont(m_font_num) : nullptr;
    if (!font)
        return;
    float sx = m_title_scale[0], sy = m_title_scale[1];
    if (layout->f[MWIN_LF_TEXT_SCALE_X] > 0 && layout->f[MWIN_LF_TEXT_SCALE_Y] > 0) {
        sx *= layout->f[MWIN_LF_TEXT_SCALE_X];
        sy *= layout->f[MWIN_LF_TEXT_SCALE_Y];
    }
    if (m_scaled) {
        sx *= eng_aspect_x;
        sy *= eng_aspect_y;
    }
    float colour[4];
    for (int i = 0; i < 4; i++)
        colour[i] = m_title_colour[i] * (m_modulate_on ? m_modulate_colour[i] : 1.0f);
    font->SetScale(sx, sy);
    font->SetColourFromArray(colour);
    m_mwinp->DrawTextInArea(m_font_num, m_title_align, layout->f[MWIN_LF_TITLE_TEXT_MARGIN], &m_title_text_area,
                            offset, title, 0, true, true);
}

char MWinWindow::CreateGraphicsObjects()
{
    char ok = 1;
    for (MWinButton* button : {m_hide_button, m_extra_button}) {
        if (button && !button->CreateGraphicsObjects())
            ok = 0;
    }
    for (MWinGroup* group = m_first_group; group; group = group->GetNext()) {
        if (!group->CreateGraphicsObjects())
            ok = 0;
    }
    return ok;
}

void MWinWindow::DestroyGraphicsObjects()
{
    for (MWinButton* button : {m_hide_button, m_extra_button}) {
        if (button)
            button->DestroyGraphicsObjects();
    }
    for (MWinGroup* group = m_first_group; group; group = group->GetNext())
        group->DestroyGraphicsObjects();
}

// ---------------------------------------------------------------------------------------------------------
// Mouse

char MWinWindow::HandleDragMove()
{
    float x = m_mwinp->GetMouseX() - m_drag_mouse_x + m_drag_window_x;
    float y = m_mwinp->GetMouseY() - m_drag_mouse_y + m_drag_window_y;
    x = std::max(0.0f, std::min(x, MWIN_VIRTUAL_WIDTH - m_screen_area.w));
    y = std::max(0.0f, std::min(y, MWIN_VIRTUAL_HEIGHT - m_screen_area.h));
    if (HasTitleBar())
        y = std::max(y, GetTitleBarHeight());
    m_screen_area.x = x;
    m_screen_area.y = y;
    CalcButtonAreas();
    UpdateTitleAreas();
    return 1;
}

char MWinWindow::HandleMouseMove()
{
    if (!m_shown)
        return 0;
    if (m_dragging)
        return HandleDragMove();
    if (IsThumbDragging())
        return HandleScrollBarsMove();
    MWinButton* active = GetActiveButton();
    if (active && active->IsCapturingInput()) {
        active->HandleMouseMove();
        return 1;
    }
    for (MWinButton* button : {m_hide_button, m_extra_button}) {
        if (!button || !button->IsShown() || !button->IsEnabled())
            continue;
        if (IsButtonUnderMouse(button))
            button->SetHighlight();
        else if (button->IsHighlighted())
            button->ResetState();
    }
    bool became_highlighted = false;
    for (MWinGroup* group = m_last_group; group; group = group->GetPrev()) {
        for (MWinButton* button = group->GetLastButton(); button; button = button->GetPrev()) {
            if (button->IsShown() && IsButtonUnderMouse(button)) {
                if (button->IsHighlighted())
                    continue;
                button->SetHighlight();
                became_highlighted = true;
                if (button->IsEnabled() && button->IsClickable() && EngWindowIsDesktopPlatform())
                    m_mwinp->CallButtonPressedHook(MWIN_SOUND_HOVER);
                continue;
            }
            button->ClearPressed();
            if (button->IsHighlighted())
                button->ResetState();
            if (m_removed)
                return 1;
        }
    }
    if (became_highlighted)
        return 1;
    active = GetActiveButton();
    if (!active)
        return 0;
    active->HandleMouseMove();
    return 1;
}

char MWinWindow::FireTitleButton(MWinButton* button)
{
    MWinCollectionController* controller = GetController(0);
    if (!controller || !m_collection)
        return 1;
    MWin* mwinp = m_mwinp;
    MWinID collection_id, window_id;
    MWinCopyID(collection_id, m_collection->GetID());
    MWinCopyID(window_id, m_id);
    _MWinButtonCallbackInfo info;
    button->FillCallbackInfo(&info);
    // The controller may remove this window: only the saved ids are used afterwards.
    if (controller->ButtonCB(button, &info) && mwinp->GetWindowFromIDs(collection_id, window_id, false))
        mwinp->CallButtonPressedHook(MWIN_SOUND_FIRED);
    return 1;
}

char MWinWindow::HandleTitleButtons(int button, int down)
{
    for (MWinButton* title_button : {m_hide_button, m_extra_button}) {
        if (!title_button || !title_button->IsShown() || !IsButtonUnderMouse(title_button))
            continue;
        if (button == 0 && !down && title_button->IsHighlighted() && title_button->IsEnabled())
            return FireTitleButton(title_button);
        return 1;
    }
    return 0;
}

char MWinWindow::HandleButtonPressed(int button, int down, int flag, char simulated)
{
    if (!m_shown)
        return 0;
    if (m_dragging) {
        if (button == 0 && !down)
            m_dragging = 0;
        return 1;
    }
    if (HandleScrollBarsPress(button, down, simulated))
        return 1;
    if (HandleTitleButtons(button, down))
        return 1;
    MWinButton* active = GetActiveButton();
    if (!down)
        return active ? active->HandleButtonPressed(button, 0, char(flag)) : 0;
    if (active && active->IsCapturingInput())
        return active->HandleButtonPressed(button, 1, char(flag));
    for (MWinGroup* group = m_last_group; group; group = group->GetPrev()) {
        for (MWinButton* b = group->GetLastButton(); b; b = b->GetPrev()) {
            if (b->IsShown() && IsButtonUnderMouse(b))
                return b->HandleButtonPressed(button, 1, char(flag));
            if (IsEditingTextEdit(b)) {
                b->TextEditTurnOffEditing(0);
                if (m_removed)
                    return 1;
            }
        }
    }
    if (button != 0)
        return 0;
    bool drag = m_info.drag_mode == MWIN_DRAG_ANYWHERE ||
                (m_info.drag_mode == MWIN_DRAG_TITLE_BAR && HasTitleBar() &&
                 m_mwinp->IsMouseInArea(&m_title_text_area, &m_screen_area.x));
    if (!drag)
        return 0;
    m_dragging = 1;
    m_drag_mouse_x = m_mwinp->GetMouseX();
    m_drag_mouse_y = m_mwinp->GetMouseY();
    m_drag_window_x = m_screen_area.x;
    m_drag_window_y = m_screen_area.y;
    return 1;
}

char MWinWindow::HandleDoubleClick(int button)
{
    MWinButton* active = GetActiveButton();
    return active ? active->HandleDoubleClick(button) : 0;
}

char MWinWindow::HandleMouseWheel(int steps)
{
    MWinButton* active = GetActiveButton();
    if (active)
        return active->HandleMouseWheel(steps);
    if (!m_scrolling_on || m_extra_height <= 0 || IsThumbDragging())
        return 0;
    m_scroll_bars[1].amount -= float(steps) * MWIN_WHEEL_SCROLL_FACTOR * m_extra_height;
    ApplyScrollOffsets();
    return 1;
}

// ---------------------------------------------------------------------------------------------------------
// Keys

bool MWinWindow::CanQueue(MWinButton* button) const
{
    if (!button || !button->IsShown() || !button->IsEnabled())
        return false;
    if (m_mwinp->IsAnyTextEditEditing())
        return false;
    return !IsOpenList(GetActiveButton());
}

char MWinWindow::QueueKeyButton(MWinButton* button, int key)
{
    EngKeyStateTable[key & 0xFF] = ENG_KEY_STATE_UP;
    SendButtonCallCallbackMessage(button, 1);
    return 1;
}

MWinButton* MWinWindow::StepButton(MWinButton* from, bool backwards) const
{
    if (!m_first_group)
        return nullptr;
    MWinGroup* group = m_first_group;
    if (from) {
        MWinButton* next = backwards ? from->GetPrev() : from->GetNext();
        if (next)
            return next;
        group = from->GetGroup();
    } else {
        group = backwards ? m_first_group : m_last_group;
    }
    // Cross to the next group that has buttons, wrapping at the ends.
    for (MWinGroup* g = group; g;) {
        g = backwards ? (g->GetPrev() ? g->GetPrev() : m_last_group) : (g->GetNext() ? g->GetNext() : m_first_group);
        MWinButton* button = backwards ? g->GetLastButton() : g->GetFirstButton();
        if (button)
            return button;
        if (g == group)
            return nullptr;
    }
    return nullptr;
}

char MWinWindow::HandleTab()
{
    bool backwards = EngKeyStateTableIsDown(ENG_VK_SHIFT);
    MWinButton* active = GetActiveButton();
    MWinButton* start = active;
    if (!start && m_first_group)
        start = backwards ? StepButton(nullptr, true) : StepButton(nullptr, false);
    MWinButton* target = nullptr;
    MWinButton* current = start;
    for (int step = 0; step < MWIN_TAB_MAX_STEPS && current; step++) {
        current = StepButton(current, backwards);
        if (current && current->IsClickable() && current->GetGroup()->IsShown()) {
            target = current;
            break;
        }
    }
    if (!target) {
        DebugError(ENG_FUNC, backwards ? "Coult not get prev button" : "Could not get next button");
        return 1;
    }
    if (IsEditingTextEdit(active))
        active->TextEditTurnOffEditing(0);
    if (m_removed || !target->IsValid())
        return 1;
    const _Dimension* area = target->GetScreenArea();
    float cx = area->x + area->w / 2;
    float cy = area->y + area->h / 2;
    if (eng_main_window)
        eng_main_window->SetCursorPos(cx, cy);
    // The highlight follows the pointer at once, whether or not the system reports the warp.
    m_mwinp->SetMousePosition(cx, cy);
    HandleMouseMove();
    if (target->GetKind() == MWIN_BUT_TEXTEDIT)
        target->TextEditTurnOnEditing(1);
    return 1;
}

char MWinWindow::HandleKeyDown(int key)
{
    if (!m_shown || EngKeyStateTableIsDown(ENG_VK_MENU))
        return 0;
    if (key == ENG_VK_ESCAPE) {
        if (CanQueue(m_escape_button))
            return QueueKeyButton(m_escape_button, key);
        if (CanQueue(m_hide_button))
            return QueueKeyButton(m_hide_button, key);
    }
    if (key == ENG_VK_RETURN && CanQueue(m_default_button))
        return QueueKeyButton(m_default_button, key);
    if (key == ENG_VK_TAB)
        return HandleTab();
    for (MWinGroup* group = m_last_group; group; group = group->GetPrev()) {
        if (!group->IsShown())
            continue;
        for (MWinButton* button = group->GetLastButton(); button; button = button->GetPrev()) {
            if (button->GetMWin() != m_mwinp || !m_mwinp->IsOn())
                break;
            if (button->IsHighlighted() && button->HandleKeyDown(key))
                return 1;
            if (m_removed)
                return 1;
        }
    }
    return 0;
}

char MWinWindow::HandleKeyDownChar(int ch)
{
    MWinButton* active = GetActiveButton();
    return active ? active->HandleKeyDownChar(ch) : 0;
}

char MWinWindow::HandleKeyUp(int key)
{
    MWinButton* active = GetActiveButton();
    return active ? active->HandleKeyUp(key) : 0;
}
