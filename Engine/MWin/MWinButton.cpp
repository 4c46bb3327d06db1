#include "Engine/MWin/MWinButton.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/Core/EngLanguages.h"
#include "Engine/Core/EngMath.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngFont.h"
#include "Engine/Graphics/EngTexture.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinCollection.h"
#include "Engine/MWin/MWinCollectionController.h"
#include "Engine/MWin/MWinDesktop.h"
#include "Engine/MWin/MWinFontRegistry.h"
#include "Engine/MWin/MWinGroup.h"
#include "Engine/MWin/MWinTextureRegistry.h"
#include "Engine/MWin/MWinWindow.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

namespace {

// Live buttons by serial. A serial is never reused, so a snapshot taken before user code runs can tell
// afterwards whether its button survived without reading the button's memory.
// Kept for the whole process: buttons of a GUI destroyed during exit still find it.
std::unordered_map<MWinButtonSerial, MWinButton*>& LiveButtons()
{
    static auto* live = new std::unordered_map<MWinButtonSerial, MWinButton*>();
    return *live;
}

MWinButtonSerial g_next_serial = 0;
bool g_enabling = false;

constexpr float kKeepEdge = -9999.0f;
constexpr int kTextFormatSize = 611;
constexpr int kTextFormatKeep = 510;

int DefaultSlotForKind(_MWinButtonType kind)
{
    switch (kind) {
    case MWIN_BUT_PUSH:
    case MWIN_BUT_CHECKBOX:
        return MWIN_STD_PUSH_BUTTON;
    case MWIN_BUT_LABEL:
    case MWIN_BUT_LABEL_OTHER:
    case MWIN_BUT_TABPANEL:
        return MWIN_STD_LABEL;
    case MWIN_BUT_TEXTEDIT:
        return MWIN_STD_TEXT_EDIT;
    case MWIN_BUT_HORZSCROLLBAR:
    case MWIN_BUT_COLOUR:
        return MWIN_STD_HSCROLL_TRACK;
    case MWIN_BUT_VERTSCROLLBAR:
        return MWIN_STD_VSCROLL_TRACK;
    case MWIN_BUT_LIST:
    case MWIN_BUT_CHOICE:
        return MWIN_STD_LIST;
    case MWIN_BUT_PANEL:
        return MWIN_STD_PANEL;
    default:
        return MWIN_STD_BUTTON_OTHER;
    }
}

void ClipSpan(float* pos, float* len, float lo, float hi)
{
    if (*pos < lo) {
        *len -= lo - *pos;
        *pos = lo;
    }
    if (*pos + *len > hi)
        *len = hi - *pos;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Life

MWinButton::MWinButton(MWin* mwin, const char* id, MWinGroup* group, int kind, const char* texbut_id,
                       const char* text, float x, float y, float w, float h)
{
    MWinWindow* window = group ? group->GetWindow() : nullptr;
    DebugFatalCheckQualified(mwin != nullptr, "MWinButton::MWinButton", "No mw");
    DebugFatalCheckQualified(group != nullptr, "MWinButton::MWinButton", "No Group");
    DebugFatalCheckQualified(window != nullptr, "MWinButton::MWinButton", "No Window");
    m_mwin = mwin;
    m_group = group;
    m_window = window;
    m_kind = _MWinButtonType(kind);
    if (id)
        MWinCopyID(m_id, id);
    if (mwin)
        m_shrink_to_fit = mwin->GetSettingsP()->shrink_text_to_fit;
    SetBackTexButToTexBut(texbut_id);

    if (w < 0.0f)
        w = LayoutField(MWIN_LF_BUTTON_WIDTH);
    if (h < 0.0f)
        h = LayoutField(MWIN_LF_BUTTON_HEIGHT);
    if (x < 0.0f && window)
        x = window->GetRequestedArea().w / 2.0f - w / 2.0f;
    if (y < 0.0f && window)
        y = window->GetRequestedArea().h / 2.0f - h / 2.0f;
    SetArea(x, y, w, h);
    SetFont(MWIN_FONT_DEFAULT);
    InitKind();

    m_check_a = EngUInt16(std::rand() % 65533 + 1);
    m_check_b = EngUInt16(m_check_a + 1);
    m_valid = 1;
    m_serial = ++g_next_serial;
    LiveButtons()[m_serial] = this;
    SetText(text);
    SetText2(nullptr);
}

MWinButton::~MWinButton()
{
    if (m_mwin && m_mwin->IsOn() && m_window && m_window->GetCollection())
        m_mwin->RemoveAnyQueuedMessagesForButton(this, m_window, m_window->GetCollection());
    FreeTexts();
    if (m_kind == MWIN_BUT_TEXTEDIT)
        MWinTextEditFreeData(&m_textedit);
    if (m_kind == MWIN_BUT_PANEL)
        PanelFreeMultiPos();
    if (m_kind == MWIN_BUT_COLOUR)
        ColourFreeData();
    MWinButton::DestroyGraphicsObjects();
    for (_MWinCustomTextureState& rec : m_custom_states) {
        delete rec.texture;
        rec.texture = nullptr;
    }
    if (m_text_alloc_count)
        DebugError(ENG_FUNC, "Text alloc count: %d", m_text_alloc_count);
    m_valid = 0;
    m_check_a = 0;
    m_check_b = 0;
    LiveButtons().erase(m_serial);
}

MWinButton* MWinButton::FindLive(MWinButtonSerial serial)
{
    auto it = LiveButtons().find(serial);
    return it == LiveButtons().end() ? nullptr : it->second;
}

int MWinButton::GetNumButtons()
{
    return int(LiveButtons().size());
}

void MWinButton::InitKind()
{
    if (m_kind == MWIN_BUT_TEXTEDIT)
        MWinTextEditInitData(&m_textedit);
    MWinChoiceInitData(&m_choice);
    MWinRangeSliderInitData(&m_slider);
    MWinDropDownListInitData(&m_list);
    MWinPanelInitData(&m_panel);
    if (m_kind == MWIN_BUT_SLIDER)
        RangeSliderUpdateLabel();
    if (m_kind == MWIN_BUT_RINGS && m_mwin)
        MWinRingsInitData(&m_rings, &m_mwin->GetSettingsP()->rings);
    if (m_kind == MWIN_BUT_COLOUR)
        ColourInitData();
    m_ready = 1;
}

MWinCollection* MWinButton::GetCollection() const
{
    return m_window ? m_window->GetCollection() : nullptr;
}

float MWinButton::LayoutField(int field) const
{
    _MWinLayoutSettings* layout = m_window ? m_window->GetScreenLayout() : nullptr;
    if (!layout && m_mwin)
        layout = m_mwin->GetLayoutSettings(m_mwin->GetScreenLayout());
    return layout ? layout->f[field] : 0.0f;
}

void MWinButton::Redraw()
{
    if (m_mwin)
        m_mwin->RequestRedraw();
}

// ---------------------------------------------------------------------------------------------------------
// Geometry

void MWinButton::SetArea(float x, float y, float w, float h)
{
    if (w < 0.0f)
        w = LayoutField(MWIN_LF_BUTTON_WIDTH);
    if (h < 0.0f)
        h = LayoutField(MWIN_LF_BUTTON_HEIGHT);
    if (w < 2.0f)
        w = 2.0f;
    if (h < 2.0f)
        h = 2.0f;
    MWinSetArea(&m_area, x, y, w, h);
    CalcArea();
}

void MWinButton::SetEdges(float left, float top, float right, float bottom)
{
    float x = left == kKeepEdge ? m_area.x : left;
    float y = top == kKeepEdge ? m_area.y : top;
    float w = right == kKeepEdge ? m_area.w : right - x;
    float h = bottom == kKeepEdge ? m_area.h : bottom - y;
    SetArea(x, y, w, h);
}

void MWinButton::SetPosition(float x, float y)
{
    m_area.x = x;
    m_area.y = y;
    CalcArea();
}

void MWinButton::GetArea(float* x, float* y, float* w, float* h) const
{
    if (x)
        *x = m_area.x;
    if (y)
        *y = m_area.y;
    if (w)
        *w = m_area.w;
    if (h)
        *h = m_area.h;
}

void MWinButton::GetAreaRect(int* left, int* top, int* right, int* bottom) const
{
    if (left)
        *left = EngRoundFloat(m_area.x);
    if (top)
        *top = EngRoundFloat(m_area.y);
    if (right)
        *right = EngRoundFloat(m_area.x + m_area.w);
    if (bottom)
        *bottom = EngRoundFloat(m_area.y + m_area.h);
}

// Maps the relative area into the window's screen area, proportionally when the window is scaled.
void MWinButton::MapToWindow(float* x, float* y, float* w, float* h) const
{
    const _Dimension& win = m_window->GetScreenArea();
    const _Dimension& req = m_window->GetRequestedArea();
    float left = win.x + m_window->GetScrollOffsetX();
    float top = win.y + m_window->GetScrollOffsetY();
    *x = left + m_area.x;
    *y = top + m_area.y;
    *w = m_area.w;
    *h = m_area.h;
    if (!m_window->IsScaled() || req.w <= 0.0f)
        return;
    *x = left + m_area.x / req.w * win.w;
    *w = left + (m_area.x + m_area.w) / req.w * win.w - *x;
    if (req.h <= 0.0f || m_window->IsTitleButton(this))
        return;
    *y = top + m_area.y / req.h * win.h;
    *h = top + (m_area.y + m_area.h) / req.h * win.h - *y;
}

void MWinButton::ClipVisibleArea()
{
    const _Dimension& win = m_window->GetScreenArea();
    const _Dimension& req = m_window->GetRequestedArea();
    float inset_x = 0.0f;
    float inset_y = 0.0f;
    if (m_window->HasBorderInset()) {
        if (req.w < MWIN_VIRTUAL_WIDTH)
            inset_x = LayoutField(MWIN_LF_CLIP_INSET_X);
        if (req.h < MWIN_VIRTUAL_HEIGHT)
            inset_y = LayoutField(MWIN_LF_CLIP_INSET_Y);
    }
    ClipSpan(&m_visible_area.x, &m_visible_area.w, win.x + inset_x, win.x + win.w - inset_x);
    ClipSpan(&m_visible_area.y, &m_visible_area.h, win.y + inset_y, win.y + win.h - inset_y);
    if (m_visible_area.w <= 0.0f || m_visible_area.h <= 0.0f) {
        m_visible_area.w = 0.0f;
        m_visible_area.h = 0.0f;
    }
}

void MWinButton::CalcArea()
{
    MWinTextures* textures = m_mwin ? m_mwin->GetTextures() : nullptr;
    if (!textures)
        return;
    float x = m_area.x;
    float y = m_area.y;
    float w = m_area.w;
    float h = m_area.h;
    if (m_window) {
        MapToWindow(&x, &y, &w, &h);
        w = w < 2.0f ? 2.0f : w;
        h = h < 2.0f ? 2.0f : h;
    }
    MWinSetArea(&m_screen_area, x, y, w, h);

    m_visible_area = m_screen_area;
    float extra_x = 0.0f;
    float extra_top = 0.0f;
    float extra_bottom = 0.0f;
    if (m_kind != MWIN_BUT_PANEL && m_kind != MWIN_BUT_DRAGGABLE &&
        textures->GetTexButDrawExtra(m_texbut_num, &extra_x, &extra_top, &extra_bottom)) {
        m_visible_area.x -= extra_x / 2.0f;
        m_visible_area.w += extra_x;
        m_visible_area.y -= extra_top;
        m_visible_area.h += extra_top + extra_bottom;
    }
    if (m_window)
        ClipVisibleArea();

    bool framed = m_texbut_num >= 0 || m_custom_states_on;
    bool wide_margin = m_kind == MWIN_BUT_PUSH || m_kind == MWIN_BUT_LABEL || m_kind == MWIN_BUT_HORZSCROLLBAR;
    m_text_margin = LayoutField(MWIN_LF_TEXT_MARGIN);
    if (framed && wide_margin)
        m_text_margin += LayoutField(MWIN_LF_TEXT_MARGIN_PER_WIDTH) * m_area.w;

    bool outside = x + w <= 0.0f || x >= MWIN_VIRTUAL_WIDTH || y + h <= 0.0f || y >= MWIN_VIRTUAL_HEIGHT;
    m_on_screen = outside ? 0 : 1;
    AreaChanged();
}

void MWinButton::AreaChanged()
{
    if (m_kind == MWIN_BUT_PANEL)
        PanelUpdateNumPerPageVar(-99);
    else if (m_kind == MWIN_BUT_RINGS)
        RingsBuild();
}

bool MWinButton::IsMouseOver() const
{
    return m_mwin && m_mwin->IsMouseInArea(&m_screen_area);
}

// ---------------------------------------------------------------------------------------------------------
// Appearance

char MWinButton::SetBackTexButToTexBut(const char* id)
{
    MWinTextures* textures = m_mwin ? m_mwin->GetTextures() : nullptr;
    m_texbut_num = -1;
    m_default_texbut_chosen = 0;
    if (MWinIDIsEmpty(id)) {
        DebugError(ENG_FUNC, "No id");
        m_texbut_id[0] = 0;
        CalcArea();
        return 0;
    }
    if (!MWinCopyID(m_texbut_id, id)) {
        m_texbut_id[0] = 0;
        CalcArea();
        return 0;
    }
    char ok = 1;
    if (MWinIDsEqual(id, MWIN_TEXBUT_DEFAULT)) {
        m_default_texbut_chosen = 1;
        m_texbut_num = textures ? textures->GetStandardTexButNum(DefaultSlotForKind(m_kind)) : -1;
    } else if (!MWinIDsEqual(id, MWIN_TEXBUT_NONE)) {
        m_texbut_num = textures ? textures->GetTexButNum(id) : -1;
        if (m_texbut_num < 0) {
            DebugError(ENG_FUNC, "Texture Button <%s> does not exist", m_texbut_id);
            ok = 0;
        }
    }
    CalcArea();
    return ok;
}

char MWinButton::SetCustomTextureState(int state, EngTexture* external, char flag, float left_u, float top_v,
                                       float right_u, float bottom_v, float r, float g, float b, float a)
{
    if (state == -1)
        state = MWIN_TS_NORMAL;
    if (state < 0 || state >= MWIN_NUM_TEXTURE_STATES) {
        DebugError(ENG_FUNC, "Invalid state %d", state);
        return 0;
    }
    m_custom_states_on = 1;
    SetBackTexButToTexBut(MWIN_TEXBUT_NONE);
    _MWinCustomTextureState& rec = m_custom_states[state];
    rec.external = external;
    rec.flag = flag;
    rec.rect[0] = left_u;
    rec.rect[1] = top_v;
    rec.rect[2] = right_u;
    rec.rect[3] = bottom_v;
    rec.colour[0] = r;
    rec.colour[1] = g;
    rec.colour[2] = b;
    rec.colour[3] = a;
    if (!CreateCustomTexBut()) {
        m_custom_states_on = 0;
        return 0;
    }
    CalcArea();
    return 1;
}

char MWinButton::SetCustomTextureStateFile(int state, const char* file, char load_flag1, char load_flag2)
{
    if (state == -1)
        state = MWIN_TS_NORMAL;
    if (state < 0 || state >= MWIN_NUM_TEXTURE_STATES || !file) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_BAPA);
        return 0;
    }
    if (strnlen(file, sizeof(m_custom_states[0].file)) >= sizeof(m_custom_states[0].file)) {
        DebugError(ENG_FUNC, "Filename too long");
        return 0;
    }
    _MWinCustomTextureState& rec = m_custom_states[state];
    EngSafeStrcpy(rec.file, file, sizeof(rec.file));
    rec.load_flag1 = load_flag1;
    rec.load_flag2 = load_flag2;
    return 1;
}

char MWinButton::SetCustomTexture(EngTexture* texture)
{
    return SetCustomTextureState(MWIN_TS_NORMAL, texture, 0, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f);
}

char MWinButton::CreateCustomTexBut()
{
    for (int state = 0; state < MWIN_NUM_TEXTURE_STATES; state++) {
        _MWinCustomTextureState& rec = m_custom_states[state];
        if (!rec.file[0])
            continue;
        if (!rec.texture)
            rec.texture = new EngTexture("MWinButton - Custom");
        bool loaded = rec.texture->LoadFromFileUsingExt(rec.file, rec.load_flag1 != 0, MWIN_GUI_ALPHA_TYPE,
                                                        _EngTextureFileExt(rec.load_flag2));
        if (loaded)
            continue;
        DebugError(ENG_FUNC, "Could not load custom texture state %d <%s>", state, rec.file);
        m_custom_states_on = 0;
        rec.texture->Destroy();
        delete rec.texture;
        rec.texture = nullptr;
        return 0;
    }
    return 1;
}

char MWinButton::SetFont(const char* id)
{
    MWinFonts* fonts = m_mwin ? m_mwin->GetFonts() : nullptr;
    if (MWinIDIsEmpty(id)) {
        DebugError(ENG_FUNC, "Font id is empty");
        id = MWIN_FONT_DEFAULT;
    }
    if (!MWinCopyID(m_font_id, id))
        return 0;
    if (MWinIDsEqual(id, MWIN_FONT_DEFAULT)) {
        m_font_num = MWIN_FONT_NUM_DEFAULT;
        return 1;
    }
    if (MWinIDsEqual(id, MWIN_FONT_NONE)) {
        m_font_num = MWIN_FONT_NUM_NONE;
        return 1;
    }
    if (!fonts || !fonts->GetUserFont(id, false)) {
        DebugError(ENG_FUNC, "User font <%s> not found", m_font_id);
        m_font_num = MWIN_FONT_NUM_DEFAULT;
        return 0;
    }
    m_font_num = fonts->GetFontNumFromID(id);
    return 1;
}

EngFont* MWinButton::GetFont()
{
    MWinFonts* fonts = m_mwin ? m_mwin->GetFonts() : nullptr;
    if (!fonts || m_font_num == MWIN_FONT_NUM_NONE)
        return nullptr;
    return fonts->GetFont(m_font_num < 0 ? MWIN_FONT_NUM_DEFAULT : m_font_num);
}

void MWinButton::FreeTexts()
{
    for (int n = 0; n < 2; n++) {
        if (!m_texts[n])
            continue;
        EngFree(m_texts[n], false, ENG_FUNC);
        m_texts[n] = nullptr;
        m_text_lengths[n] = 0;
        m_text_alloc_count--;
    }
}

char MWinButton::SetTextN(int n, const char* text)
{
    if (m_texts[n]) {
        EngFree(m_texts[n], false, ENG_FUNC);
        m_texts[n] = nullptr;
        m_text_lengths[n] = 0;
        m_text_alloc_count--;
    }
    if (!text || !text[0])
        return 1;
    m_texts[n] = EngMallocStringFromString(text, true, ENG_FUNC);
    if (!m_texts[n])
        return 0;
    m_text_alloc_count++;
    m_text_lengths[n] = int(strlen(m_texts[n]));
    if (m_text_lengths[n] >= MWIN_BUTTON_TEXT_MAX)
        DebugError(ENG_FUNC, "String too long");
    return 1;
}

char MWinButton::SetText(const char* text)
{
    m_lang_on = 0;
    Redraw();
    return SetTextN(0, text);
}

char MWinButton::SetText2(const char* text)
{
    Redraw();
    return SetTextN(1, text);
}

char MWinButton::SetTextF(const char* format, ...)
{
    char buffer[kTextFormatSize];
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof(buffer), format ? format : "", args);
    va_end(args);
    buffer[kTextFormatKeep] = 0;
    return SetText(buffer);
}

char MWinButton::SetTextToken(const char* token)
{
    if (!EngLanguagesAreLoaded()) {
        DebugError(ENG_FUNC, "Languages not loaded");
        return 0;
    }
    if (MWinIDIsEmpty(token) || strnlen(token, MWIN_BUTTON_TOKEN_SIZE) >= size_t(MWIN_BUTTON_TOKEN_SIZE)) {
        DebugError(ENG_FUNC, "Invalid token");
        return 0;
    }
    int count = 0;
    int num = EngLanguagesGetTokenNumAndNumSubTextsForToken(token, &count);
    Redraw();
    if (num < 0) {
        m_lang_on = 0;
        m_lang_token[0] = 0;
        m_lang_token_num = -1;
        m_lang_num_sub_texts = 0;
        return 0;
    }
    EngSafeStrcpy(m_lang_token, token, sizeof(m_lang_token));
    m_lang_token_num = num;
    m_lang_num_sub_texts = count;
    m_lang_on = 1;
    return 1;
}

// Sub-text n of the language text, or null.
const char* MWinButton::LanguageSubText(int n, int* count) const
{
    if (count)
        *count = m_lang_num_sub_texts;
    if (!m_lang_on || n >= m_lang_num_sub_texts)
        return nullptr;
    return EngLanguagesGetString(m_lang_token_num, n);
}

bool MWinButton::HasText(int n)
{
    if (n != 0 && n != 1) {
        DebugError(ENG_FUNC, "Invalid text number %d", n);
        return false;
    }
    if (m_lang_on)
        return LanguageSubText(n, nullptr) != nullptr;
    return m_texts[n] != nullptr;
}

const char* MWinButton::GetTextP(int n)
{
    if (n != 0 && n != 1) {
        DebugError(ENG_FUNC, "Invalid text number %d", n);
        return nullptr;
    }
    const char* text = m_lang_on ? LanguageSubText(n, nullptr) : m_texts[n];
    if (!text) {
        if (n == 0)
            DebugError(ENG_FUNC, "No text present. Ensure call HasText() first.");
        else
            DebugError(ENG_FUNC, "No text present. Ensure call HasText2() first.");
    }
    return text;
}

void MWinButton::SetTextColour(float r, float g, float b, float a)
{
    const float rgba[4] = {r, g, b, a};
    for (int i = 0; i < 4; i++)
        if (rgba[i] >= 0.0f)
            m_text_colour[i] = rgba[i];
    if (m_modulate_mode == 1)
        m_modulate_mode = 2;
    Redraw();
}

void MWinButton::SetTextColourFromArray(const float* rgba)
{
    if (rgba)
        SetTextColour(rgba[0], rgba[1], rgba[2], rgba[3]);
}

void MWinButton::SetTextScale(float sx, float sy)
{
    m_text_scale[0] = sx;
    m_text_scale[1] = sy;
    Redraw();
}

void MWinButton::SetTextScaleFromArray(const float* scale)
{
    if (scale)
        SetTextScale(scale[0], scale[1]);
    else
        SetTextScale(1.0f, 1.0f);
}

void MWinButton::GetTextScale(float* sx, float* sy) const
{
    if (sx)
        *sx = m_text_scale[0];
    if (sy)
        *sy = m_text_scale[1];
}

void MWinButton::SetTextAlign(int align)
{
    if (align < MWIN_ALIGN_LEFT || align > MWIN_ALIGN_RIGHT) {
        DebugError(ENG_FUNC, "Invalid alignment %d", align);
        return;
    }
    m_text_align = _MWinTextAlign(align);
    Redraw();
}

void MWinButton::SetModulateColour(float r, float g, float b, float a)
{
    m_modulate_mode = 1;
    m_modulate_colour[0] = r;
    m_modulate_colour[1] = g;
    m_modulate_colour[2] = b;
    m_modulate_colour[3] = a;
    Redraw();
}

void MWinButton::SetModulateAlpha(float a)
{
    if (a == 1.0f && m_modulate_mode == 0) {
        m_modulate_colour[3] = 1.0f;
        return;
    }
    m_modulate_mode = 1;
    m_modulate_colour[3] = a;
    Redraw();
}

void MWinButton::SetRenderCallback(MWinButtonRenderCB callback, int value, void* user_data)
{
    m_render_callback = callback;
    m_render_value = value;
    m_render_user_data = user_data;
}

_MWinTextureState MWinButton::GetTextureState() const
{
    if (!m_enabled)
        return MWIN_TS_DISABLED;
    if (m_pressed)
        return MWIN_TS_PRESSED;
    if (m_highlighted)
        return MWIN_TS_HIGHLIGHTED;
    return MWIN_TS_NORMAL;
}

void MWinButton::GetDrawTextColour(float* rgba) const
{
    for (int i = 0; i < 4; i++)
        rgba[i] = m_text_colour[i] * (m_modulate_mode == 1 ? m_modulate_colour[i] : 1.0f);
    // The text fades with the disabled face the skin draws; a faceless label or check box keeps its own colour.
    bool has_face = m_texbut_num >= 0 || m_custom_states_on;
    if (!m_enabled && has_face && m_mwin)
        rgba[3] *= m_mwin->GetSettingsP()->disabled_text_alpha;
}

// ---------------------------------------------------------------------------------------------------------
// Graphics

char MWinButton::CreateGraphicsObjects()
{
    char ok = m_custom_states_on ? CreateCustomTexBut() : 1;
    if (m_kind == MWIN_BUT_RINGS && !RingsCreateGraphics())
        ok = 0;
    CalcArea();
    return ok;
}

void MWinButton::DestroyGraphicsObjects()
{
    for (_MWinCustomTextureState& rec : m_custom_states)
        if (rec.texture)
            rec.texture->Destroy();
    RingsDestroyGraphics();
}

bool MWinButton::NeedsClip() const
{
    bool bare_label = m_kind == MWIN_BUT_LABEL && m_texbut_num < 0 && !m_custom_states_on &&
                      m_picture.mode < MWIN_PICTURE_DEFAULT_BLENDING && !m_picture.set_owner;
    return !bare_label;
}

void MWinButton::DrawBackground(_MWinTextureState state)
{
    const float* modulate = m_modulate_mode ? m_modulate_colour : nullptr;
    if (!m_custom_states_on) {
        if (m_texbut_num >= 0)
            m_mwin->GetTextures()->DrawTexButInArea(m_texbut_num, state, &m_screen_area, nullptr, modulate);
        return;
    }
    const _MWinCustomTextureState* rec = &m_custom_states[state];
    if (!rec->file[0] && !rec->external)
        rec = &m_custom_states[MWIN_TS_NORMAL];
    EngTexture* texture = rec->texture && rec->texture->IsLoaded() ? rec->texture : rec->external;
    if (!texture || !texture->IsLoaded())
        return;
    float colour[4];
    for (int i = 0; i < 4; i++)
        colour[i] = rec->colour[i] * (modulate ? modulate[i] : 1.0f);
    texture->PositionRatioedToDimension(&m_screen_area);
    texture->DrawWithTextureCoordinatesAndColourArray(rec->rect[0], rec->rect[1], rec->rect[2], rec->rect[3],
                                                      colour);
}

// Lists, choices and panels draw their own background; check boxes and sliders draw over the common one.
void MWinButton::DrawKindBackground(_MWinTextureState state)
{
    switch (m_kind) {
    case MWIN_BUT_LIST:
        ListRenderClosed(state);
        return;
    case MWIN_BUT_CHOICE:
        ChoiceRenderBack(state);
        return;
    case MWIN_BUT_PANEL:
        PanelRenderBack(state);
        return;
    default:
        break;
    }
    DrawBackground(state);
    if (m_kind == MWIN_BUT_CHECKBOX)
        CheckboxRenderBox();
    else if (m_kind == MWIN_BUT_SLIDER)
        RangeSliderRender(state);
    else if (m_kind == MWIN_BUT_RINGS)
        RingsDraw();
    PictureDraw();
    if (m_kind == MWIN_BUT_HORZSCROLLBAR)
        ValueBarRenderThumb(state);
}

void MWinButton::DrawKindForeground()
{
    switch (m_kind) {
    case MWIN_BUT_TEXTEDIT:
        TextEditRenderText();
        break;
    case MWIN_BUT_LIST:
        ListRenderText();
        break;
    case MWIN_BUT_CHECKBOX:
        CheckboxRenderText();
        break;
    case MWIN_BUT_CHOICE:
        ChoiceRenderText();
        break;
    case MWIN_BUT_PANEL:
        PanelRenderText();
        break;
    default:
        DrawTexts();
        break;
    }
}

void MWinButton::SetFontScale(EngFont* font)
{
    float sx = m_text_scale[0];
    float sy = m_text_scale[1];
    float lx = LayoutField(MWIN_LF_TEXT_SCALE_X);
    float ly = LayoutField(MWIN_LF_TEXT_SCALE_Y);
    if (lx > 0.0f && ly > 0.0f) {
        sx *= lx;
        sy *= ly;
    }
    if (m_window && m_window->IsScaled()) {
        sx *= eng_aspect_x;
        sy *= eng_aspect_y;
    }
    font->SetScale(sx, sy);
}

void MWinButton::DrawTexts()
{
    if (m_font_num == MWIN_FONT_NUM_NONE)
        return;
    if (m_multiline) {
        const char* text = m_lang_on ? LanguageSubText(0, nullptr) : m_texts[0];
        m_mwin->DrawMultilineTextInArea(m_font_num, m_text_align, m_text_margin, &m_screen_area, nullptr, text, true);
        return;
    }
    int count = 0;
    const char* first = m_lang_on ? LanguageSubText(0, &count) : m_texts[0];
    const char* second = m_lang_on ? LanguageSubText(1, nullptr) : m_texts[1];
    if (m_lang_on && count > 2)
        return;
    if (!second) {
        m_mwin->DrawTextInArea(m_font_num, m_text_align, m_text_margin, &m_screen_area, nullptr, first, 0, true,
                               m_shrink_to_fit != 0);
        return;
    }
    float d = LayoutField(MWIN_LF_TWO_LINE_OFFSET) * m_text_scale[1];
    float ly = LayoutField(MWIN_LF_TEXT_SCALE_Y);
    if (ly > 0.0f)
        d *= ly;
    const float up[2] = {0.0f, -d};
    const float down[2] = {0.0f, d};
    m_mwin->DrawTextInArea(m_font_num, m_text_align, m_text_margin, &m_screen_area, up, first, 0, true,
                           m_shrink_to_fit != 0);
    m_mwin->DrawTextInArea(m_font_num, m_text_align, m_text_margin, &m_screen_area, down, second, 0, true,
                           m_shrink_to_fit != 0);
}

void MWinButton::DrawForeground()
{
    EngFont* font = GetFont();
    if (!font)
        return;
    float old_sx = 1.0f;
    float old_sy = 1.0f;
    font->GetScaleXY(&old_sx, &old_sy);
    float colour[4];
    GetDrawTextColour(colour);
    const float* old_colour = font->GetColour();
    float saved_colour[4] = {old_colour[0], old_colour[1], old_colour[2], old_colour[3]};
    SetFontScale(font);
    font->SetColourFromArray(colour);
    DrawKindForeground();
    font->SetColourFromArray(saved_colour);
    font->SetScale(old_sx, old_sy);
}

void MWinButton::Render()
{
    if (!m_on_screen || !m_shown || !m_mwin)
        return;
    if (m_modulate_mode && m_modulate_colour[3] <= 0.0f)
        return;
    if (m_visible_area.h <= 0.0f || !EngDeviceIsCreated())
        return;
    bool clip = NeedsClip();
    if (clip)
        EngDeviceTurnOnCropInViewport(m_visible_area.x, m_visible_area.y, m_visible_area.w, m_visible_area.h);
    _MWinTextureState state = GetTextureState();
    DrawKindBackground(state);
    DrawForeground();
    if (m_render_callback && m_kind != MWIN_BUT_PANEL)
        m_render_callback(this, &m_screen_area, state, m_render_value, m_render_user_data);
    if (clip)
        EngDeviceTurnOffCrop();
}

// ---------------------------------------------------------------------------------------------------------
// State

void MWinButton::Enable()
{
    if (g_enabling)
        return;
    g_enabling = true;
    if (!m_enabled) {
        m_enabled = 1;
        if (m_shown && m_window && IsMouseOver())
            m_window->HandleMouseMove();
    }
    g_enabling = false;
    Redraw();
}

void MWinButton::Disable()
{
    if (!m_enabled)
        return;
    // Ending an edit or closing a list fires, and the callback may switch screens.
    MWinDesktopWalk walk(m_mwin->GetDesktop());
    if (m_highlighted)
        ResetState();
    m_enabled = 0;
    Redraw();
}

void MWinButton::Hide()
{
    MWinDesktopWalk walk(m_mwin->GetDesktop());
    if (m_highlighted)
        ResetState();
    m_shown = 0;
    Redraw();
}

bool MWinButton::IsClickable() const
{
    if (!m_enabled || !m_shown)
        return false;
    if (m_kind == MWIN_BUT_LABEL || m_kind == MWIN_BUT_INERT)
        return false;
    if (m_kind == MWIN_BUT_PUSH && !HasCallback())
        return false;
    return true;
}

char MWinButton::AssignToParentWindow(void (MWinWindow::*assign)(MWinButton*), const char* own_name)
{
    if (!m_window) {
        DebugError(own_name, "No parent");
        return 0;
    }
    (m_window->*assign)(this);
    return 1;
}

char MWinButton::SetEscapeButtonForParentWindow()
{
    return AssignToParentWindow(&MWinWindow::SetEscapeButton, ENG_FUNC);
}

char MWinButton::SetDefaultButtonForParentWindow()
{
    return AssignToParentWindow(&MWinWindow::SetDefaultButton, ENG_FUNC);
}

void MWinButton::SetHighlight()
{
    if (m_highlighted)
        return;
    m_highlighted = 1;
    Redraw();
}

void MWinButton::CancelPress()
{
    m_pressed = 0;
    m_dragging = 0;
}

void MWinButton::ResetState()
{
    if (m_kind == MWIN_BUT_TEXTEDIT && m_textedit.editing)
        TextEditTurnOffEditing(0);
    m_panel.drag_state = 0;
    m_choice.hover_segment = -1;
    CancelPress();
    m_dragging = 0;
    if (m_highlighted) {
        m_highlighted = 0;
        Redraw();
    }
    // Last: closing may fire, and the callback may delete this button.
    if (m_kind == MWIN_BUT_LIST)
        ListClose(false);
}

// ---------------------------------------------------------------------------------------------------------
// Input

char MWinButton::HandleButtonPressed(int button, char down, char flag)
{
    (void)flag;
    if (!m_ready)
        return 0;
    if (!m_highlighted || !m_enabled || !m_shown) {
        m_pressed = 0;
        m_dragging = 0;
        return 0;
    }
    // Labels and inert buttons are never clickable.
    if (button != 0 || m_kind == MWIN_BUT_LABEL || m_kind == MWIN_BUT_INERT)
        return 0;
    Redraw();
    if (char used = 0; HandleKindPress(down, &used))
        return used;
    if (m_dragging) {
        if (!down)
            m_dragging = 0;
        return 0;
    }
    if (down) {
        m_pressed = 1;
        return 1;
    }
    if (!m_pressed)
        return 1;
    m_pressed = 0;
    if (m_kind == MWIN_BUT_TEXTEDIT) {
        TextEditHandleMousePress();
        return 1;
    }
    Fire(nullptr);
    return 1;
}

// The kinds that take the press themselves; false for the others.
bool MWinButton::HandleKindPress(char down, char* used)
{
    switch (m_kind) {
    case MWIN_BUT_LIST:
        ListHandlePress(down);
        *used = 1;
        return true;
    case MWIN_BUT_CHECKBOX:
        CheckboxHandlePress(down);
        *used = 1;
        return true;
    case MWIN_BUT_CHOICE:
        *used = ChoiceHandlePress(down);
        return true;
    case MWIN_BUT_PANEL:
        *used = PanelHandlePress(down);
        return true;
    case MWIN_BUT_SLIDER:
        RangeSliderHandlePress(down);
        *used = 1;
        return true;
    case MWIN_BUT_HORZSCROLLBAR:
        ValueBarHandlePress(down);
        *used = 1;
        return true;
    default:
        return false;
    }
}

char MWinButton::HandleDoubleClick(int button)
{
    if (!m_ready || !m_highlighted || !m_shown || !m_enabled || button != 0)
        return 0;
    if (m_kind == MWIN_BUT_CHECKBOX) {
        CheckboxHandlePress(1);
        return 1;
    }
    return m_kind == MWIN_BUT_PANEL ? PanelHandleDoubleClick() : 0;
}

char MWinButton::HandleMouseMove()
{
    if (!m_ready || !m_shown)
        return 0;
    if (m_dragging && m_kind == MWIN_BUT_PANEL)
        return PanelHandleMouseMove();
    if (m_dragging && m_kind == MWIN_BUT_SLIDER)
        return RangeSliderHandleMouseMove();
    if (m_dragging && m_kind == MWIN_BUT_HORZSCROLLBAR)
        return ValueBarHandleMouseMove();
    // Only kinds with their own drag handling follow the mouse; the others let go.
    m_dragging = 0;
    if (m_kind == MWIN_BUT_LIST)
        return ListHandleMouseMove();
    return m_kind == MWIN_BUT_CHOICE ? ChoiceHandleMouseMove() : 0;
}

char MWinButton::HandleMouseWheel(int steps)
{
    if (!m_ready || !m_highlighted || !m_shown || !m_enabled)
        return 0;
    if (m_kind == MWIN_BUT_LIST)
        return ListHandleWheel(steps);
    return m_kind == MWIN_BUT_PANEL ? PanelHandleWheel(steps) : 0;
}

char MWinButton::HandleKeyDown(int key)
{
    // A disabled button may still be highlighted under the mouse; it takes no keys.
    if (!m_ready || !m_highlighted || !m_shown || !m_enabled)
        return 0;
    switch (m_kind) {
    case MWIN_BUT_TEXTEDIT:
        return TextEditHandleKeyDown(key);
    case MWIN_BUT_LIST:
        return ListHandleKeyDown(key);
    case MWIN_BUT_CHOICE:
        return ChoiceHandleKeyDown(key);
    case MWIN_BUT_PANEL:
        return PanelHandleKeyDown(key);
    case MWIN_BUT_SLIDER:
        return RangeSliderHandleKeyDown(key);
    case MWIN_BUT_CHECKBOX:
        return CheckboxHandleKeyDown(key);
    default:
        break;
    }
    if (m_kind != MWIN_BUT_PUSH || (key != ENG_VK_RETURN && key != ENG_VK_SPACE))
        return 0;
    _MWinButtonCallbackInfo info;
    FillCallbackInfo(&info);
    Fire(&info);
    return 1;
}

char MWinButton::HandleKeyDownChar(int ch)
{
    if (m_kind != MWIN_BUT_TEXTEDIT || !m_ready || !m_highlighted || !m_shown || !m_enabled)
        return 0;
    return TextEditHandleKeyDownUChar((unsigned char)ch);
}

char MWinButton::HandleKeyUp(int key)
{
    (void)key;
    return 0;
}

char MWinButton::IsCapturingInput()
{
    if (!m_ready || !m_highlighted)
        return 0;
    if (m_kind == MWIN_BUT_TEXTEDIT)
        return m_textedit.editing ? 1 : 0;
    if (m_kind == MWIN_BUT_LIST)
        return m_list.open;
    bool drags = m_kind == MWIN_BUT_PANEL || m_kind == MWIN_BUT_DRAGGABLE || m_kind == MWIN_BUT_SLIDER ||
                 m_kind == MWIN_BUT_HORZSCROLLBAR;
    return drags && m_dragging ? 1 : 0;
}

char MWinButton::Tick()
{
    if (!m_ready || !m_enabled || !m_shown)
        return 0;
    if (m_kind == MWIN_BUT_TEXTEDIT)
        return TextEditTick();
    return m_kind == MWIN_BUT_LIST ? ListTick() : PictureTick();
}

// ---------------------------------------------------------------------------------------------------------
// Callbacks and firing

char MWinButton::StoreCallbackCheck(const void* callback, char check)
{
    if (check && callback && m_window && m_window->HasController()) {
        DebugError(ENG_FUNC, "Use controller");
        return 0;
    }
    m_callback = nullptr;
    m_user_callback = nullptr;
    m_plain_callback = nullptr;
    m_user_data = nullptr;
    m_callback_set = callback ? 1 : 0;
    return 1;
}

char MWinButton::SetCallback(MWinButtonCB callback, int int1, int int2, char check)
{
    if (!StoreCallbackCheck(reinterpret_cast<const void*>(callback), check))
        return 0;
    m_callback = callback;
    m_int1 = int1;
    m_int2 = int2;
    return 1;
}

char MWinButton::SetCallback(MWinButtonUserCB callback, int int1, int int2, void* user_data, char check)
{
    if (!StoreCallbackCheck(reinterpret_cast<const void*>(callback), check))
        return 0;
    m_user_callback = callback;
    m_user_data = user_data;
    m_int1 = int1;
    m_int2 = int2;
    return 1;
}

char MWinButton::SetPlainCallback(MWinButtonPlainCB callback, void* user_data)
{
    if (!StoreCallbackCheck(reinterpret_cast<const void*>(callback), 1))
        return 0;
    m_plain_callback = callback;
    m_user_data = user_data;
    return 1;
}

bool MWinButton::HasCallback() const
{
    return m_callback_set || (m_window && m_window->HasController());
}

void MWinButton::FillCallbackInfo(_MWinButtonCallbackInfo* info) const
{
    std::memset(info, 0, sizeof(*info));
    MWinCopyID(info->button_id, m_id);
    if (m_window)
        MWinCopyID(info->window_id, m_window->GetID());
    info->button = const_cast<MWinButton*>(this);
}

void MWinButton::FillStillExistsCheckInfo(_MWinButtonExistCheck* check) const
{
    std::memset(check, 0, sizeof(*check));
    check->serial = m_serial;
    check->mwin = m_mwin;
    MWinCollection* collection = GetCollection();
    if (collection)
        MWinCopyID(check->collection_id, collection->GetID());
    if (m_window)
        MWinCopyID(check->window_id, m_window->GetID());
    MWinCopyID(check->button_id, m_id);
    check->filled = 1;
}

bool MWinButton::DoWeStillExist(const _MWinButtonExistCheck* check)
{
    if (!check || !check->filled)
        return false;
    // Nothing of the button is read before its serial proves it alive.
    MWinButton* button = FindLive(check->serial);
    if (!button || button->m_mwin != check->mwin || !button->IsValid())
        return false;
    if (!eng_main_program || !eng_main_window)
        return false;
    MWin* mwin = check->mwin;
    if (!mwin || !mwin->IsOn() || MWinIDIsEmpty(check->collection_id))
        return false;
    return mwin->GetButtonFromIDs(check->collection_id, check->window_id, check->button_id, false) == button;
}

void MWinButton::CallOwnCallback(_MWinButtonCallbackInfo* info)
{
    if (m_callback)
        m_callback(m_mwin, info, m_int1, m_int2);
    else if (m_plain_callback)
        m_plain_callback(m_user_data);
    else
        m_user_callback(m_mwin, info, m_int1, m_int2, m_user_data);
}

// Everything needed after user code ran is copied first: the button may be gone by then.
bool MWinButton::Fire(_MWinButtonCallbackInfo* info)
{
    MWinCollectionController* controller = nullptr;
    if (m_window && m_window->HasController()) {
        controller = m_window->GetController(0);
        if (!controller)
            return false;
    } else if (!m_callback && !m_plain_callback && !m_user_callback) {
        return false;
    }
    _MWinButtonCallbackInfo local;
    if (!info) {
        FillCallbackInfo(&local);
        info = &local;
    }
    _MWinButtonExistCheck check;
    FillStillExistsCheckInfo(&check);
    MWin* mwin = m_mwin;
    bool push = m_kind == MWIN_BUT_PUSH;
    // A controller that did not handle the press keeps the fired sound quiet; an own callback always handles it.
    bool handled = true;
    if (controller)
        handled = controller->ButtonCB(this, info) != 0;
    else
        CallOwnCallback(info);
    if (!DoWeStillExist(&check))
        return false;
    // A colour picker's bar keeps its own callback beside the controller's: it is what updates the picker.
    if (controller && MWinColourIsBarCallback(m_user_callback)) {
        CallOwnCallback(info);
        if (!DoWeStillExist(&check))
            return false;
    }
    if (handled && push)
        mwin->CallButtonPressedHook(MWIN_SOUND_FIRED);
    Redraw();
    return true;
}

bool MWinButton::FireIfAsked(char fire, bool changed, _MWinButtonCallbackInfo* info)
{
    if (fire == MWIN_FIRE_ALWAYS || (fire == MWIN_FIRE_IF_CHANGED && changed))
        return Fire(info);
    return false;
}

// ---------------------------------------------------------------------------------------------------------
// Registered variables

char MWinButton::RegisterVariable(const char* name, _MWinVariableKind kind, void* variable, float multiplier)
{
    if (!variable) {
        m_var_kind = MWIN_VAR_NONE;
        m_var = nullptr;
        return 1;
    }
    if (multiplier == 0.0f) {
        DebugError(name, "ID: %s - 0 val passed as mult", m_id);
        return 0;
    }
    m_var_kind = kind;
    m_var = variable;
    m_var_multiplier = multiplier;
    return 1;
}

char MWinButton::RegisterIntVariable(int* variable, float multiplier)
{
    return RegisterVariable("MWinButton::RegisterIntVariable", MWIN_VAR_INT, variable, multiplier);
}

char MWinButton::RegisterCharVariable(char* variable)
{
    return RegisterVariable("MWinButton::RegisterCharVariable", MWIN_VAR_CHAR, variable, 1.0f);
}

char MWinButton::RegisterFloatVariable(float* variable, float multiplier)
{
    return RegisterVariable("MWinButton::RegisterFloatVariable", MWIN_VAR_FLOAT, variable, multiplier);
}

void MWinButton::WriteRegisteredVariable(double value)
{
    if (!m_var)
        return;
    switch (m_var_kind) {
    case MWIN_VAR_CHAR:
        *static_cast<char*>(m_var) = char(value);
        break;
    case MWIN_VAR_INT:
        *static_cast<int*>(m_var) = EngRoundDouble(value * m_var_multiplier);
        break;
    case MWIN_VAR_FLOAT:
        *static_cast<float*>(m_var) = float(value * m_var_multiplier);
        break;
    default:
        break;
    }
}

bool MWinButton::ReadRegisteredVariable(double* value) const
{
    if (!m_var || !value)
        return false;
    switch (m_var_kind) {
    case MWIN_VAR_CHAR:
        *value = *static_cast<const char*>(m_var);
        return true;
    case MWIN_VAR_INT:
        *value = *static_cast<const int*>(m_var) / double(m_var_multiplier);
        return true;
    case MWIN_VAR_FLOAT:
        *value = *static_cast<const float*>(m_var) / double(m_var_multiplier);
        return true;
    default:
        return false;
    }
}
