#include "Engine/MWin/MWin.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Core/EngMath.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngFont.h"
#include "Engine/Graphics/EngTexture.h"
#include "Engine/MWin/MWinButton.h"
#include "Engine/MWin/MWinCollection.h"
#include "Engine/MWin/MWinDesktop.h"
#include "Engine/MWin/MWinFontRegistry.h"
#include "Engine/MWin/MWinGroup.h"
#include "Engine/MWin/MWinScreenRegistry.h"
#include "Engine/MWin/MWinTextureRegistry.h"
#include "Engine/MWin/MWinWindow.h"

#include <cstring>

namespace {

// Per-layout defaults of the title bar, default button size and scroll bars (layouts 0 to 4).
struct LayoutDefaults {
    float title_height, title_margin, title_button_w, title_button_h, title_button_margin;
    float button_w, button_h, inset_y, scroll, thumb;
};

constexpr LayoutDefaults kLayoutDefaults[MWIN_NUM_LAYOUTS] = {
    {30, 7, 50, 22, 5, 60, 20, 3, 30, 28},
    {50, 7, 140, 36, 6, 100, 45, 6, 20, 20},
    {55, 7, 100, 50, 4, 60, 65, 6, 14, 14},
    {35, 7, 90, 28, 7, 60, 25, 3, 4, 4},
    {40, 7, 80, 33, 6, 60, 35, 3, 4, 4},
};

// Standard sizes of the kinds' metrics, fields 21 to 38: scroll bars and arrows 12, borders 3.
constexpr float kKindMetrics[] = {12, 12, 3, 12, 24, 12, 24, 15, 3, 3, 3, 12, 12, 3, 12, 12, 3, 3};
constexpr int kFirstKindMetric = 21;

// Fields that the horizontal window scale shrinks.
constexpr int kHorizontalFields[] = {MWIN_LF_TITLE_TEXT_MARGIN, MWIN_LF_TITLE_BUTTON_MARGIN, MWIN_LF_VSCROLL_WIDTH,
                                     MWIN_LF_VSCROLL_THUMB_WIDTH};

void FillLayoutDefaults(_MWinLayoutSettings* layout, const LayoutDefaults& d)
{
    float* f = layout->f;
    f[MWIN_LF_TITLE_BAR_HEIGHT] = d.title_height;
    f[MWIN_LF_TITLE_TEXT_MARGIN] = d.title_margin;
    f[MWIN_LF_TITLE_BUTTON_WIDTH] = d.title_button_w;
    f[MWIN_LF_TITLE_BUTTON_HEIGHT] = d.title_button_h;
    f[MWIN_LF_TITLE_BUTTON_MARGIN] = d.title_button_margin;
    f[MWIN_LF_TITLE_BUTTON_OFFSET_Y] = 0;
    f[MWIN_LF_HIDE_BUTTON_SIDE] = 0;
    f[MWIN_LF_BUTTON_WIDTH] = d.button_w;
    f[MWIN_LF_BUTTON_HEIGHT] = d.button_h;
    f[MWIN_LF_CLIP_INSET_X] = 3;
    f[MWIN_LF_CLIP_INSET_Y] = d.inset_y;
    f[MWIN_LF_VSCROLL_WIDTH] = d.scroll;
    f[MWIN_LF_VSCROLL_THUMB_WIDTH] = d.thumb;
    f[MWIN_LF_HSCROLL_HEIGHT] = d.scroll;
    f[MWIN_LF_HSCROLL_THUMB_HEIGHT] = d.thumb;
    f[MWIN_LF_TEXT_MARGIN] = 3;
    f[MWIN_LF_TEXT_MARGIN_PER_WIDTH] = 0;
    f[MWIN_LF_TWO_LINE_OFFSET] = 10;
    for (size_t i = 0; i < sizeof(kKindMetrics) / sizeof(kKindMetrics[0]); i++)
        f[kFirstKindMetric + i] = kKindMetrics[i];
}

bool HasDevice()
{
    return EngDeviceIsCreated();
}

} // namespace

MWin::MWin(Game* game) : m_game(game)
{
    ResetSettings();
    ApplyLayoutScale();
    m_desktop = new MWinDesktop(this);
    DebugFatalCheckQualified(m_desktop != nullptr, "MWin::MWin", "Could not create desktop");
    m_textures = new MWinTextures(this);
    DebugFatalCheckQualified(m_textures != nullptr, "MWin::MWin", "Could not create textures");
    m_fonts = new MWinFonts(this);
    DebugFatalCheckQualified(m_fonts != nullptr, "MWin::MWin", "Could not create fonts");
    m_background = new EngTexture();
    MWinColourDefaultShared(&m_colour_shared);
    PopupResetDefaults();
}

MWin::~MWin()
{
    if (m_is_on)
        Shutdown();
    delete m_desktop;
    m_desktop = nullptr;
    delete m_textures;
    m_textures = nullptr;
    delete m_fonts;
    m_fonts = nullptr;
    m_screens = nullptr;
    ColourDestroyGraphics(true);
    if (m_background)
        m_background->Destroy();
    delete m_background;
    m_background = nullptr;
}

Game* MWin::GetGame(bool allow_missing)
{
    if (!m_game && !allow_missing)
        DebugFatalCheck(false, ENG_FUNC, "No game.");
    return m_game;
}

char MWin::Startup()
{
    if (m_is_on)
        DebugError(ENG_FUNC, "MWin already on");
    m_is_on = 1;
    m_input_allowed = 1;
    if (HasDevice() && !CreateGraphicsObjects())
        DebugError(ENG_FUNC, "Could not create graphics objects");
    ChooseScreenLayout();
    return 1;
}

char MWin::Shutdown()
{
    PopupCloseIfOn();
    if (m_desktop)
        m_desktop->RemoveAllCollections();
    if (!IsOn())
        DebugError(ENG_FUNC, "MWin not on");
    DestroyGraphicsObjects();
    m_mouse_x = -1.0f;
    m_mouse_y = -1.0f;
    m_is_on = 0;
    m_message_count = 0;
    RequestRedraw();
    return 1;
}

char MWin::IsOn()
{
    if (m_is_on == 0 || m_is_on == 1)
        return m_is_on;
    DebugError(ENG_FUNC, "m_is_on = %d.", int(m_is_on));
    return 0;
}

char MWin::CreateGraphicsObjects()
{
    if (!IsOn())
        return 1;
    char ok = 1;
    if (m_textures && !m_textures->CreateTextures()) {
        DebugError("MWin::CreateGraphicsObjects", "Could not load textures");
        ok = 0;
    }
    if (m_fonts && !m_fonts->LoadFonts()) {
        DebugError("MWin::CreateGraphicsObjects", "Could not load fonts");
        ok = 0;
    }
    if (m_desktop && !m_desktop->CreateGraphicsObjects())
        ok = 0;
    if (!CreateBgClearImage())
        ok = 0;
    if (!ColourCreateGraphics())
        ok = 0;
    ButtonsChanged();
    return ok;
}

void MWin::DestroyGraphicsObjects()
{
    // A registry with nothing in it is still marked loaded by its load; it must be unmarked too.
    if (m_textures && (m_textures->AreTexturesLoaded() || m_textures->HasTextures()))
        m_textures->DestroyTextures();
    if (m_fonts)
        m_fonts->UnloadFonts();
    if (m_desktop)
        m_desktop->DestroyGraphicsObjects();
    if (m_background)
        m_background->Unload();
    ColourDestroyGraphics();
}

char MWin::CreateBgClearImage()
{
    if (!m_background)
        return 0;
    if (m_settings.background_mode != MWIN_BG_PICTURE) {
        m_background->Unload();
        return 1;
    }
    if (m_settings.background_external)
        return 1;
    if (!m_background->LoadFromFile(m_settings.background_file, false, 0)) {
        DebugError(ENG_FUNC, "Could not load background image <%s>", m_settings.background_file);
        m_settings.background_mode = MWIN_BG_CLEAR;
        return 0;
    }
    m_background->PositionRatioed(0, 0, MWIN_VIRTUAL_WIDTH, MWIN_VIRTUAL_HEIGHT);
    return 1;
}

// ---------------------------------------------------------------------------------------------------------
// Input

char MWin::HandleInputEvent(int event_type, EngUInt32 value1, EngUInt32 value2)
{
    if (!IsOn() || !m_input_allowed)
        return 0;
    switch (_EngInputEventType(event_type)) {
    case _EngInputEventType::MouseMove:
        return MouseMove(EngInputEventToFloat(value1), EngInputEventToFloat(value2));
    case _EngInputEventType::MouseButton:
        return ButtonPressed(int(value1), char(value2 & 0xFF), 0);
    case _EngInputEventType::MouseDoubleClick:
        return ButtonDoubleClicked(int(value1));
    case _EngInputEventType::MouseWheel:
        return MouseWheelMoved(EngInt32(value1));
    case _EngInputEventType::KeyDown:
        return KeyDown(int(value1));
    case _EngInputEventType::KeyUp:
        return KeyUp(int(value1));
    case _EngInputEventType::Character:
        return KeyDownChar(int(value1));
    }
    return 0;
}

char MWin::MouseMove(int x, int y)
{
    return MouseMove(float(x), float(y));
}

char MWin::MouseMove(float x, float y)
{
    float vx = 0.0f;
    float vy = 0.0f;
    if (!EngMainScreenToVirtual(x, y, &vx, &vy))
        return 0;
    SetMousePosition(vx, vy);
    MWinDesktop* desktop = DesktopFor("MWin::MouseMove");
    return desktop ? desktop->HandleMouseMove() : 0;
}

void MWin::SetMousePosition(float x, float y)
{
    m_mouse_x = x;
    m_mouse_y = y;
}

MWinDesktop* MWin::DesktopFor(const char* qualified_name)
{
    if (!m_desktop)
        DebugError(qualified_name, "No desktop");
    return m_desktop;
}

char MWin::ButtonPressed(int button, char down, char flag)
{
    MWinDesktop* desktop = DesktopFor("MWin::ButtonPressed");
    return desktop ? desktop->HandleButtonPressed(button, down, flag) : 0;
}

char MWin::ButtonDoubleClicked(int button)
{
    MWinDesktop* desktop = DesktopFor("MWin::ButtonDoubleClicked");
    return desktop ? desktop->HandleDoubleClick(button) : 0;
}

char MWin::MouseWheelMoved(int steps)
{
    MWinDesktop* desktop = DesktopFor("MWin::MouseWheelMoved");
    return desktop ? desktop->HandleMouseWheel(steps) : 0;
}

char MWin::KeyDown(int key)
{
    MWinDesktop* desktop = DesktopFor("MWin::KeyDown");
    return desktop ? desktop->HandleKeyDown(key) : 0;
}

char MWin::KeyUp(int key)
{
    MWinDesktop* desktop = DesktopFor("MWin::KeyUp");
    return desktop ? desktop->HandleKeyUp(key) : 0;
}

char MWin::KeyDownChar(int character)
{
    MWinDesktop* desktop = DesktopFor("MWin::KeyDownChar");
    return desktop ? desktop->HandleKeyDownChar(character) : 0;
}

void MWin::AllowInput(char on)
{
    if (!on && !m_input_allowed)
        DebugError(ENG_FUNC, "Already disallowed.");
    m_input_allowed = on ? 1 : 0;
}

// ---------------------------------------------------------------------------------------------------------
// Per frame

char MWin::Tick()
{
    // The popup's automatic close gives the screen back, and what that fires may switch screens.
    MWinDesktopWalk walk(m_desktop);
    PopupAutoCloseTick();
    if (ProcessQueueMessages())
        return 1;
    MWinDesktop* desktop = DesktopFor("MWin::Tick");
    return desktop ? desktop->Tick() : 0;
}

char MWin::RenderStateBracket(bool popups)
{
    bool zbuffer_was_on = EngDeviceTurnOffZBufferIfOn();
    bool blend_on = false;
    int blend_src = 0;
    int blend_dest = 0;
    EngDeviceGetBlendingState(&blend_on, &blend_src, &blend_dest);
    EngDeviceEnableBlendingType(0);
    char drew = 1;
    if (popups)
        drew = m_desktop->RenderPopupCollection();
    else
        m_desktop->Render();
    EngDeviceSetBlendingState(blend_on, blend_src, blend_dest);
    if (zbuffer_was_on)
        EngDeviceTurnOnZBuffer();
    return drew;
}

void MWin::DrawBackground(bool* began, bool* prepared)
{
    switch (m_settings.background_mode) {
    case MWIN_BG_CLEAR:
        EngDeviceClearScreen();
        break;
    case MWIN_BG_CLEAR_WITH_DEPTH:
        EngDeviceClearScreenAndZBuffer();
        break;
    case MWIN_BG_PICTURE:
        *began = EngDeviceBeginRenderingIfNeeded();
        *prepared = EngDevicePrepareFor2DIfNeeded(true);
        if (m_settings.background_external)
            m_settings.background_external->Draw();
        else if (m_background && m_background->IsLoaded())
            m_background->Draw();
        return;
    default:
        break;
    }
    *prepared = EngDevicePrepareFor2DIfNeeded(true);
    *began = EngDeviceBeginRenderingIfNeeded();
}

void MWin::RenderMain()
{
    if (!HasDevice() || !IsOn())
        return;
    if (!DesktopFor("MWin::RenderMain"))
        return;
    bool began = false;
    bool prepared = false;
    DrawBackground(&began, &prepared);
    RenderStateBracket(false);
    if (began)
        EngDeviceEndRendering();
    if (prepared)
        EngDeviceRestoreAfter2D();
}

char MWin::RenderPopups()
{
    if (!HasDevice() || !IsOn() || !m_popup_collection)
        return 0;
    if (!DesktopFor("MWin::RenderPopups"))
        return 0;
    bool began = EngDeviceBeginRenderingIfNeeded();
    bool prepared = EngDevicePrepareFor2DIfNeeded(true);
    char drew = RenderStateBracket(true);
    if (began)
        EngDeviceEndRendering();
    if (prepared)
        EngDeviceRestoreAfter2D();
    return drew;
}

// ---------------------------------------------------------------------------------------------------------
// Lookups

MWinCollection* MWin::GetCollectionFromID(const char* collection_id, bool report)
{
    MWinDesktop* desktop = DesktopFor("MWin::GetCollectionFromID");
    return desktop ? desktop->GetCollectionFromID(collection_id, report) : nullptr;
}

MWinWindow* MWin::GetWindowFromIDs(const char* collection_id, const char* window_id, bool report)
{
    if (MWinIDIsEmpty(window_id)) {
        DebugError(ENG_FUNC, "No Window ID");
        return nullptr;
    }
    MWinCollection* collection = GetCollectionFromID(collection_id, report);
    if (!collection)
        return nullptr;
    return collection->GetWindowFromID(window_id, report);
}

MWinButton* MWin::GetButtonFromIDs(const char* collection_id, const char* window_id, const char* button_id,
                                   bool report)
{
    if (MWinIDIsEmpty(button_id)) {
        DebugError(ENG_FUNC, "No Button ID");
        return nullptr;
    }
    MWinWindow* window = GetWindowFromIDs(collection_id, window_id, report);
    if (!window)
        return nullptr;
    return window->GetButtonFromID(button_id, report);
}

EngUInt32 MWin::GetCurrentScreenID()
{
    return m_screens ? m_screens->GetCurrentScreen() : 0;
}

void MWin::SetScreens(MWinScreens* screens)
{
    if (m_screens && screens != m_screens) {
        DebugError(ENG_FUNC, "Screens already set");
        return;
    }
    m_screens = screens;
}

MWinScreens* MWin::GetScreens()
{
    if (!m_screens)
        DebugError(ENG_FUNC, "No screens");
    return m_screens;
}

void MWin::ForgetScreens(MWinScreens* screens)
{
    if (m_screens == screens)
        m_screens = nullptr;
}

// ---------------------------------------------------------------------------------------------------------
// The one-message queue

char MWin::AddMessageToQueue(const char* collection_id, const char* window_id, const char* button_id,
                             _MWinMessageNum message)
{
    if (MWinIDIsEmpty(collection_id) || MWinIDIsEmpty(window_id) || MWinIDIsEmpty(button_id)) {
        DebugError(ENG_FUNC, "ID(s) invalid");
        return 0;
    }
    if (m_message_count > 0) {
        DebugError(ENG_FUNC, "Queue not empty");
        return 0;
    }
    if (!MWinCopyID(m_message_collection_id, collection_id) || !MWinCopyID(m_message_window_id, window_id) ||
        !MWinCopyID(m_message_button_id, button_id))
        return 0;
    m_message_num = message;
    m_message_count = 1;
    return 1;
}

char MWin::ProcessQueueMessages()
{
    if (m_message_count < 1)
        return 0;
    if (m_message_count != 1)
        DebugError(ENG_FUNC, "Num messages != 1");
    // The count is cleared before firing: the action may queue the next message.
    m_message_count = 0;
    MWinButton* button = GetButtonFromIDs(m_message_collection_id, m_message_window_id, m_message_button_id, true);
    if (!button) {
        DebugError(ENG_FUNC, "mwinp->GetButtonFromIDs() failed [%s, %s, %s]", m_message_collection_id,
                   m_message_window_id, m_message_button_id);
        return 0;
    }
    if (m_message_num == MWIN_MSG_CALL_CALLBACK) {
        MWinDesktopWalk walk(m_desktop);
        button->Fire(nullptr);
    }
    return 1;
}

char MWin::RemoveAnyQueuedMessagesForButton(MWinButton* button, MWinWindow* window, MWinCollection* collection)
{
    if (!button || !window || !collection) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_BAPA);
        return 0;
    }
    MWinButton* found = GetButtonFromIDs(collection->GetID(), window->GetID(), button->GetID(), false);
    // A button of a removed screen, or one already unlinked from its window, may share its ids with a live
    // button that took its place: a message queued under those ids is that button's.
    bool replaced = found && found != button &&
                    (collection->IsRemoved() || window->IsRemoved() || !window->OwnsButton(button));
    if (replaced)
        return 1;
    if (found && found != button) {
        for (MWinGroup* group = window->GetFirstGroup(); group; group = group->GetNext())
            for (MWinButton* b = group->GetFirstButton(); b; b = b->GetNext())
                DebugInfo("(%s) [w:%s] [b:%s]", collection->GetID(), window->GetID(), b->GetID());
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_IERR);
        return 0;
    }
    if (m_message_count < 1)
        return 1;
    bool same_ids = MWinIDsEqual(m_message_collection_id, collection->GetID()) &&
                    MWinIDsEqual(m_message_window_id, window->GetID()) &&
                    MWinIDsEqual(m_message_button_id, button->GetID());
    if (same_ids)
        m_message_count = 0;
    return 1;
}

// ---------------------------------------------------------------------------------------------------------
// Appearance and layout

void MWin::GetSettings(_MWinSettings* out) const
{
    if (out)
        *out = m_settings;
}

void MWin::SetSettings(const _MWinSettings* in)
{
    if (in)
        m_settings = *in;
}

void MWin::ResetSettings()
{
    std::memset(&m_settings, 0, sizeof(m_settings));
    m_settings.flag = 1;
    m_settings.flag2 = 1;
    m_settings.flag3 = 1;
    m_settings.hover_activate_collection = 1;
    m_settings.hover_activate_window = 1;
    m_settings.background_mode = MWIN_BG_NOTHING;
    m_settings.disabled_text_alpha = 1.0f;
    m_settings.shrink_text_to_fit = 1;
    MWinRingsDefaultSettings(&m_settings.rings);
    for (int i = 0; i < MWIN_NUM_LAYOUTS; i++)
        FillLayoutDefaults(&m_settings.base_layouts[i], kLayoutDefaults[i]);
}

char MWin::SetScreenLayout(int layout)
{
    if (layout < 0 || layout >= MWIN_NUM_LAYOUTS) {
        DebugError(ENG_FUNC, "Invalid screen layout %d", layout);
        return 0;
    }
    PopupChooseLayoutSizes();
    ApplyLayoutScale();
    MWinCollection* was_active = m_desktop ? m_desktop->GetActiveCollection() : nullptr;
    if (was_active)
        was_active->Deactivate();
    m_screen_layout = layout;
    for (MWinCollection* c = m_desktop ? m_desktop->GetFirstCollection() : nullptr; c; c = c->GetNext())
        c->SetScreenLayout(layout);
    if (was_active)
        was_active->Activate();
    return 1;
}

void MWin::ChooseScreenLayout()
{
    // The desktop platform always takes the normal layout.
    SetScreenLayout(MWIN_LAYOUT_NORMAL);
}

void MWin::ApplyLayoutScale()
{
    float scale = GetWindowScaleX();
    for (int i = 0; i < MWIN_NUM_LAYOUTS; i++) {
        m_layouts[i] = m_settings.base_layouts[i];
        if (scale == 1.0f)
            continue;
        for (int field : kHorizontalFields)
            m_layouts[i].f[field] *= scale;
    }
}

_MWinLayoutSettings* MWin::GetLayoutSettings(int layout)
{
    if (layout < 0 || layout >= MWIN_NUM_LAYOUTS) {
        DebugError(ENG_FUNC, "Invalid screen layout %d", layout);
        layout = 0;
    }
    return &m_layouts[layout];
}

_MWinLayoutSettings* MWin::GetBaseLayoutSettings(int layout)
{
    if (layout < 0 || layout >= MWIN_NUM_LAYOUTS) {
        DebugError(ENG_FUNC, "Invalid screen layout %d", layout);
        layout = 0;
    }
    return &m_settings.base_layouts[layout];
}

void MWin::ButtonsChanged()
{
    if (!m_desktop || !eng_main_window)
        return;
    ApplyLayoutScale();
    // Where the cursor cannot be read (no platform window) the last known position stands.
    int px = EngRoundFloat(m_mouse_x * eng_scale_x);
    int py = EngRoundFloat(m_mouse_y * eng_scale_y);
    eng_main_window->GetCursorPos(&px, &py);
    float vx = 0.0f;
    float vy = 0.0f;
    if (EngMainScreenToVirtual(float(px), float(py), &vx, &vy))
        SetMousePosition(vx, vy);
    MWinDesktopWalk walk(m_desktop);
    m_desktop->HandleMouseMove();
    m_desktop->DeactivateAllAndActivateUnderMouse();
    m_desktop->HandleMouseMove();
    RequestRedraw();
}

void MWin::RequestRedraw()
{
    if (eng_main_program)
        eng_main_program->SetRenderNeeded();
}

void MWin::SetButtonPressedHook(MWinButtonPressedHook hook, void* user_data)
{
    m_button_hook = hook;
    m_button_hook_user_data = user_data;
}

void MWin::CallButtonPressedHook(int event)
{
    if (m_button_hook)
        m_button_hook(event, m_button_hook_user_data);
}

// ---------------------------------------------------------------------------------------------------------
// Text

namespace {

float PartWidth(EngFont* font, const char* text, int count)
{
    if (count <= 0)
        return font->GetStringWidth(text);
    float sx = 1.0f;
    float sy = 1.0f;
    font->GetScaleXY(&sx, &sy);
    float width = 0.0f;
    for (int i = 0; i < count && text[i]; i++)
        width += font->GetCharWidth((unsigned char)text[i]);
    return width * sx;
}

} // namespace

void MWin::DrawTextInArea(int font_num, int align, float margin, const _Dimension* area, const float* offset,
                          const char* text, int count, bool bracket, bool shrink_to_fit)
{
    if (!area)
        return;
    DrawTextInArea(font_num, align, margin, area->x, area->y, area->w, area->h, offset, text, count, bracket,
                   shrink_to_fit);
}

void MWin::DrawTextInArea(int font_num, int align, float margin, float x, float y, float w, float h,
                          const float* offset, const char* text, int count, bool bracket, bool shrink_to_fit)
{
    EngFont* font = m_fonts ? m_fonts->GetFont(font_num) : nullptr;
    if (!font || !text || !text[0])
        return;
    margin *= GetWindowScaleX();
    if (offset) {
        x += offset[0];
        y += offset[1];
    }
    float tx = x + margin;
    if (align == MWIN_ALIGN_CENTRE)
        tx = x + w / 2.0f;
    else if (align == MWIN_ALIGN_RIGHT)
        tx = x + w;
    float ty = y + h / 2.0f;

    float sx = 1.0f;
    float sy = 1.0f;
    font->GetScaleXY(&sx, &sy);
    bool shrunk = false;
    if (shrink_to_fit) {
        float room = w - (align == MWIN_ALIGN_CENTRE ? 2.0f * margin : margin);
        float width = PartWidth(font, text, count);
        if (room > 0.0f && width > room) {
            font->SetScale(sx * room / width, sy);
            shrunk = true;
        }
    }
    if (bracket)
        EngFontPrepareForDrawing(EFDM_VIRTUAL);
    font->DrawStringPartAligned(tx, ty, char(align), 1, text, count, 0.0f, false);
    if (bracket)
        EngFontRestoreAfterDrawing();
    if (shrunk)
        font->SetScale(sx, sy);
}

void MWin::DrawMultilineTextInArea(int font_num, int align, float margin, const _Dimension* area,
                                   const float* offset, const char* text, bool bracket)
{
    EngFont* font = m_fonts ? m_fonts->GetFont(font_num) : nullptr;
    if (!font || !area || !text || !text[0])
        return;
    float x = area->x + (offset ? offset[0] : 0.0f);
    float y = area->y + (offset ? offset[1] : 0.0f);
    float tx = x + margin;
    if (align == MWIN_ALIGN_CENTRE)
        tx = x + area->w / 2.0f;
    else if (align == MWIN_ALIGN_RIGHT)
        tx = x + area->w - margin;
    if (bracket)
        EngFontPrepareForDrawing(EFDM_VIRTUAL);
    font->DrawMultilineText(tx, y, area->w - 2.0f * margin, area->h, char(align), 0, text, 1, 0, nullptr, nullptr,
                            nullptr, nullptr);
    if (bracket)
        EngFontRestoreAfterDrawing();
}

// ---------------------------------------------------------------------------------------------------------
// Scaling and hit tests

float MWin::GetWindowScaleX() const
{
    return eng_aspect_x;
}

float MWin::ScaleKeepCentreX(float x, float width) const
{
    if (eng_aspect_x == 1.0f)
        return x;
    return x + (width - eng_aspect_x * width) / 2.0f;
}

float MWin::ScaleKeepCentreY(float y, float height) const
{
    if (eng_aspect_y == 1.0f)
        return y;
    return y + (height - eng_aspect_y * height) / 2.0f;
}

bool MWin::IsMouseInArea(const _Dimension* area, const float* offset) const
{
    if (!area)
        return false;
    _Dimension shifted = *area;
    if (offset) {
        shifted.x += offset[0];
        shifted.y += offset[1];
    }
    return MWinIsPointInArea(&shifted, m_mouse_x, m_mouse_y);
}

bool MWin::IsAnyTextEditEditing()
{
    if (!m_desktop)
        return false;
    for (MWinCollection* c = m_desktop->GetFirstCollection(); c; c = c->GetNext()) {
        if (!c->IsActive())
            continue;
        for (MWinWindow* w = c->GetFirstWindow(); w; w = w->GetNext()) {
            if (!w->IsActive())
                continue;
            for (MWinGroup* g = w->GetFirstGroup(); g; g = g->GetNext())
                for (MWinButton* b = g->GetFirstButton(); b; b = b->GetNext())
                    if (b->GetKind() == MWIN_BUT_TEXTEDIT && b->IsHighlighted() && b->TextEditIsEditing())
                        return true;
        }
    }
    return false;
}
