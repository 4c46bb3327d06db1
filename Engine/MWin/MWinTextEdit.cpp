#include "Engine/MWin/MWinTextEdit.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/EngFont.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinButton.h"
#include "Engine/MWin/MWinCollection.h"
#include "Engine/MWin/MWinTextEntry.h"
#include "Engine/MWin/MWinWindow.h"
#include "Online/Various.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr double MWIN_CARET_BLINK_TIME = 0.3;
constexpr int MWIN_TEXTEDIT_BUFFER_EXTRA = 3;

// One blink clock for every text field.
double g_blink_time = 0.0;

// Set while Escape ends an edit, so the callback can tell it from a click elsewhere.
bool g_ending_by_escape = false;

int BufferLength(const char* buffer, int max_length)
{
    return buffer ? int(strnlen(buffer, size_t(max_length) + 1)) : 0;
}

bool HasDigitRun(const char* text, int length)
{
    if (length < 3)
        return false;
    for (int i = length - 3; i < length; i++) {
        if (text[i] == '.')
            return false;
    }
    return true;
}

// The input-type rules for one character added to text.
bool AcceptsChar(int input_type, const char* text, int length, unsigned char ch)
{
    bool digit = ch >= '0' && ch <= '9';
    switch (input_type) {
    case MWIN_TEXTEDIT_SIGNED_DECIMAL:
        if (digit)
            return true;
        if (ch == '-')
            return length == 0;
        return ch == '.' && !memchr(text, '.', size_t(length));
    case MWIN_TEXTEDIT_DIGITS_AND_POINTS:
        if (ch == '.')
            return length > 0 && text[length - 1] != '.';
        return digit && !HasDigitRun(text, length);
    case MWIN_TEXTEDIT_NO_BLANKS:
        return ch != ' ' && ch != '\t';
    default:
        return true;
    }
}

bool NeverTyped(unsigned char ch)
{
    return ch == 8 || ch == 9 || ch == 13 || ch == 27 || ch == '#' || ch == '$';
}

// Width of the first count characters of text at the font's current scale.
float PrefixWidth(EngFont* font, const char* text, int count)
{
    char part[MWIN_TEXTEDIT_MAX_LENGTH + MWIN_TEXTEDIT_BUFFER_EXTRA];
    EngSafeStrcpy(part, text, unsigned(count) + 1 < sizeof(part) ? unsigned(count) + 1 : sizeof(part));
    return font->GetStringWidth(part);
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Data and clipboard

void MWinTextEditInitData(_MWinTextEditData* data)
{
    if (!data)
        return;
    memset(data, 0, sizeof(*data));
    data->max_length = MWIN_TEXTEDIT_MAX_LENGTH;
}

void MWinTextEditFreeData(_MWinTextEditData* data)
{
    if (!data)
        return;
    EngFree(data->buffer, false, "MWinTextEditFreeData");
    EngFree(data->original, false, "MWinTextEditFreeData");
    data->buffer = nullptr;
    data->original = nullptr;
    data->editing = 0;
}

// ---------------------------------------------------------------------------------------------------------
// Text and length

char MWinButton::TextEditSetText(const char* text)
{
    char cut[MWIN_TEXTEDIT_MAX_LENGTH + 1];
    EngSafeStrcpy(cut, text ? text : "", unsigned(m_textedit.max_length) + 1);
    char ok = SetText(cut[0] ? cut : nullptr);
    if (m_textedit.editing && m_textedit.buffer) {
        EngSafeStrcpy(m_textedit.buffer, cut, unsigned(m_textedit.max_length) + 1);
        int length = BufferLength(m_textedit.buffer, m_textedit.max_length);
        if (m_textedit.caret > length)
            m_textedit.caret = length;
    }
    if (m_textedit.caret < 0)
        m_textedit.caret = 0;
    return ok;
}

int MWinButton::TextEditGetNumber()
{
    const char* text = nullptr;
    if (m_textedit.editing) {
        text = m_textedit.buffer;
        if (!text)
            DebugError(ENG_FUNC, "No text");
    } else if (HasText(0)) {
        text = GetTextP(0);
    }
    int number = 0;
    if (!text || sscanf(text, "%d", &number) != 1)
        return 0;
    return number;
}

void MWinButton::TextEditSetLength(int length)
{
    if (length > MWIN_TEXTEDIT_MAX_LENGTH) {
        DebugError(ENG_FUNC, "Length too long: %d", length);
        length = MWIN_TEXTEDIT_MAX_LENGTH;
    }
    if (length < 0)
        length = 0;
    if (m_textedit.editing && !TextEditResizeBuffer(length))
        return;
    m_textedit.max_length = length;
    if (m_textedit.editing)
        TextEditUpdateCursor();
    if (m_mwin)
        m_mwin->RequestRedraw();
}

// The edit buffer follows a length changed while editing: the text typed so far stays, cut to the length.
bool MWinButton::TextEditResizeBuffer(int length)
{
    unsigned size = unsigned(length + MWIN_TEXTEDIT_BUFFER_EXTRA);
    char* resized = static_cast<char*>(EngMalloc(size, "MWinButton::TextEditResizeBuffer", true));
    if (!resized) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_OMEM);
        return false;
    }
    EngSafeStrcpy(resized, m_textedit.buffer ? m_textedit.buffer : "", unsigned(length) + 1);
    EngFree(m_textedit.buffer, false, ENG_FUNC);
    m_textedit.buffer = resized;
    int text_length = BufferLength(resized, length);
    if (m_textedit.caret > text_length)
        m_textedit.caret = text_length;
    return true;
}

void MWinButton::TextEditRegisterTextVariable(char* buffer, int size)
{
    if (!buffer || size < 1) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_BAPA);
        m_textedit.bound_text = nullptr;
        m_textedit.bound_size = 0;
        return;
    }
    m_textedit.bound_text = buffer;
    m_textedit.bound_size = size;
    m_var_kind = MWIN_VAR_TEXT;
    m_var = buffer;
    TextEditSetLength(size - 1);
    // The caller's buffer need not be terminated: read no further than its size.
    char current[MWIN_TEXTEDIT_MAX_LENGTH + 1];
    size_t length = strnlen(buffer, size_t(size));
    if (length > MWIN_TEXTEDIT_MAX_LENGTH)
        length = MWIN_TEXTEDIT_MAX_LENGTH;
    memcpy(current, buffer, length);
    current[length] = 0;
    TextEditSetText(current);
}

char MWinButton::TextEditAllocText()
{
    if (m_textedit.max_length < 1) {
        DebugError(ENG_FUNC, "Length not set");
        return 0;
    }
    EngFree(m_textedit.buffer, false, ENG_FUNC);
    m_textedit.buffer = static_cast<char*>(
        EngMalloc(unsigned(m_textedit.max_length + MWIN_TEXTEDIT_BUFFER_EXTRA), "MWinButton::TextEditAllocText", true));
    if (!m_textedit.buffer) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_OMEM);
        return 0;
    }
    return 1;
}

void MWinButton::TextEditUpdateCursor()
{
    if (!m_textedit.editing)
        return;
    if (!m_textedit.buffer) {
        DebugError(ENG_FUNC, "No text");
        return;
    }
    SetText(m_textedit.buffer[0] ? m_textedit.buffer : nullptr);
    if (m_mwin)
        m_mwin->RequestRedraw();
}

// ---------------------------------------------------------------------------------------------------------
// Editing on and off

void MWinButton::TextEditTurnOnEditing(char mode)
{
    if (m_textedit.editing)
        return;
    if (m_textedit.start_hook)
        m_textedit.start_hook(this);
    m_textedit.edit_state = EngUInt8(mode);
    if (m_textedit.clear_on_start)
        SetText(nullptr);
    if (!TextEditAllocText())
        return;
    const char* current = HasText(0) ? GetTextP(0) : "";
    EngFree(m_textedit.original, false, ENG_FUNC);
    m_textedit.original = EngMallocStringFromString(current, false, "MWinButton::TextEditTurnOnEditing");
    // A text of exactly the maximum length still fits: the buffer has room for it and its terminator.
    if (int(strlen(current)) <= m_textedit.max_length)
        EngSafeStrcpy(m_textedit.buffer, current, unsigned(m_textedit.max_length) + 1);
    m_textedit.caret = BufferLength(m_textedit.buffer, m_textedit.max_length);
    m_textedit.editing = 1;
    m_textedit.caret_visible = 1;
    g_blink_time = eng_time;
    MWinCollection* collection = GetCollection();
    if (collection && !collection->IsActive())
        collection->Activate();
    if (collection && m_window)
        collection->BringToFront(m_window);
    if (m_window && !m_window->IsActive())
        m_window->Activate();
    SetHighlight();
    m_pressed = 1;
    if (m_mwin)
        m_mwin->RequestRedraw();
}

void MWinButton::TextEditTurnOffEditing(char enter)
{
    bool by_escape = g_ending_by_escape;
    g_ending_by_escape = false;
    if (!m_textedit.editing)
        return;
    if (!m_textedit.buffer) {
        DebugError(ENG_FUNC, "No text");
        m_textedit.editing = 0;
        m_textedit.edit_state = 0;
        return;
    }
    m_textedit.buffer[m_textedit.max_length] = 0;
    SetText(m_textedit.buffer[0] ? m_textedit.buffer : nullptr);
    m_textedit.edit_state = 0;
    m_textedit.caret = 0;
    m_textedit.editing = 0;
    m_textedit.caret_visible = 0;
    m_pressed = 0;
    // The length may have changed since the buffer was bound: its own size is the limit.
    if (m_textedit.bound_text)
        EngSafeStrcpy(m_textedit.bound_text, m_textedit.buffer, unsigned(m_textedit.bound_size));
    else if (m_var_kind != MWIN_VAR_NONE && m_var_kind != MWIN_VAR_TEXT)
        WriteRegisteredVariable(TextEditGetNumber());
    EngFree(m_textedit.buffer, false, ENG_FUNC);
    EngFree(m_textedit.original, false, ENG_FUNC);
    m_textedit.buffer = nullptr;
    m_textedit.original = nullptr;
    if (m_mwin)
        m_mwin->RequestRedraw();
    if (!m_shown)
        return;
    _MWinButtonCallbackInfo info;
    FillCallbackInfo(&info);
    info.kind.textedit_enter = enter ? MWIN_TEXTEDIT_ENDED_WITH_ENTER : MWIN_TEXTEDIT_ENDED;
    info.kind.raw[MWIN_TEXTEDIT_ESCAPE_BYTE] = by_escape ? 1 : 0;
    // The callback may delete this field: nothing of it is touched afterwards.
    Fire(&info);
}

void MWinButton::TextEditMoveCursorToButtonAndTurnOnEditing()
{
    float cx = m_screen_area.x + m_screen_area.w / 2;
    float cy = m_screen_area.y + m_screen_area.h / 2;
    if (eng_main_window)
        eng_main_window->SetCursorPos(cx, cy);
    else
        DebugError(ENG_FUNC, "No window.");
    if (m_mwin)
        m_mwin->SetMousePosition(cx, cy);
    TextEditTurnOnEditing(1);
}

// ---------------------------------------------------------------------------------------------------------
// Input

// Fires the callback with "changed" when the field reports every change; must be the caller's last step.
static void ReportChange(MWinButton* button, const _MWinTextEditData& data)
{
    if (!data.report_each_change)
        return;
    _MWinButtonCallbackInfo info;
    button->FillCallbackInfo(&info);
    info.kind.textedit_enter = MWIN_TEXTEDIT_CHANGED;
    button->Fire(&info);
}

// Where the field's text starts on the screen, as MWin::DrawTextInArea places it.
static float TextLeft(const MWinButton* button, EngFont* font, const char* text)
{
    const _Dimension* area = button->GetScreenArea();
    float width = font->GetStringWidth(text);
    if (button->GetTextAlign() == MWIN_ALIGN_CENTRE)
        return area->x + area->w / 2 - width / 2;
    if (button->GetTextAlign() == MWIN_ALIGN_RIGHT)
        return area->x + area->w - width;
    float scale = button->GetMWin() ? button->GetMWin()->GetWindowScaleX() : 1.0f;
    return area->x + button->GetTextMargin() * scale;
}

char MWinButton::TextEditHandleMousePress()
{
    if (!m_textedit.editing) {
        if (EngWindowIsTabletPlatform())
            return MWinTextEntryOpenForField(this);
        TextEditTurnOnEditing(1);
        return 1;
    }
    if (!m_mwin || !m_mwin->IsMouseInArea(&m_screen_area)) {
        TextEditTurnOffEditing(0);
        return 1;
    }
    EngFont* font = GetFont();
    const char* text = m_textedit.buffer;
    if (!font || !text)
        return 1;
    float sx = 1, sy = 1;
    font->GetScaleXY(&sx, &sy);
    SetFontScale(font);
    int length = BufferLength(text, m_textedit.max_length);
    float left = TextLeft(this, font, text);
    float mouse_x = m_mwin->GetMouseX();
    int caret = length;
    for (int i = 0; i < length; i++) {
        if (left + PrefixWidth(font, text, i) >= mouse_x) {
            caret = i;
            break;
        }
    }
    font->SetScale(sx, sy);
    int last = m_textedit.max_length - 1;
    m_textedit.caret = caret > last ? (last < 0 ? 0 : last) : caret;
    if (m_textedit.caret > length)
        m_textedit.caret = length;
    TextEditUpdateCursor();
    return 1;
}

char MWinButton::TextEditHandleKeyDown(int key)
{
    if (!m_textedit.editing) {
        if (key != ENG_VK_RETURN)
            return 0;
        TextEditTurnOnEditing(1);
        return 1;
    }
    char* text = m_textedit.buffer;
    int length = BufferLength(text, m_textedit.max_length);
    int& caret = m_textedit.caret;
    switch (key) {
    case ENG_VK_ESCAPE:
        if (text && m_textedit.original)
            EngSafeStrcpy(text, m_textedit.original, unsigned(m_textedit.max_length) + 1);
        g_ending_by_escape = true;
        TextEditTurnOffEditing(0);
        return 1;
    case ENG_VK_RETURN:
        TextEditTurnOffEditing(1);
        return 1;
    case ENG_VK_LEFT:
        if (caret > 0)
            caret--;
        break;
    case ENG_VK_RIGHT:
        if (caret < length)
            caret++;
        break;
    case ENG_VK_HOME:
        caret = 0;
        break;
    case ENG_VK_END:
        caret = length;
        break;
    case ENG_VK_UP:
    case ENG_VK_DOWN:
        return 1;
    case ENG_VK_BACK:
    case ENG_VK_DELETE: {
        int at = key == ENG_VK_BACK ? caret - 1 : caret;
        if (!text || at < 0 || at >= length)
            return 1;
        memmove(text + at, text + at + 1, size_t(length - at));
        caret = at;
        TextEditUpdateCursor();
        ReportChange(this, m_textedit);
        return 1;
    }
    case 'V':
        if (EngKeyStateTableIsDown(ENG_VK_CONTROL))
            DebugNote(0, "PASTE");
        return 0;
    default:
        return 0;
    }
    TextEditUpdateCursor();
    return 1;
}

// Inserts one character at the caret under the input-type rules; false when refused or full.
static bool InsertChar(_MWinTextEditData* data, unsigned char ch)
{
    char* text = data->buffer;
    int length = BufferLength(text, data->max_length);
    if (length >= data->max_length)
        return false;
    if (!AcceptsChar(data->input_type, text, length, ch))
        return false;
    int caret = data->caret < 0 ? 0 : (data->caret > length ? length : data->caret);
    memmove(text + caret + 1, text + caret, size_t(length - caret) + 1);
    text[caret] = char(ch);
    data->caret = caret + 1;
    return true;
}

// Types the clipboard's text at the caret: no more than fits, never a line break.
static char Paste(MWinButton* button)
{
    _MWinTextEditData* data = button->GetTextEditData();
    EngKeyStateTable[ENG_VK_CONTROL] = ENG_KEY_STATE_UP;
    int room = data->max_length - data->caret;
    if (room < 1)
        return 1;
    char pasted[MWIN_TEXTEDIT_MAX_LENGTH + 1];
    if (!VariousPasteClipboardToString(pasted, room + 1))
        return 1;
    for (const char* p = pasted; *p; p++) {
        unsigned char ch = (unsigned char)*p;
        if (ch < 32 || NeverTyped(ch))
            continue;
        InsertChar(data, ch);
    }
    button->TextEditUpdateCursor();
    ReportChange(button, *data);
    return 1;
}

char MWinButton::TextEditHandleKeyDownUChar(unsigned char ch)
{
    if (!m_textedit.editing)
        return 0;
    if (!m_textedit.buffer) {
        DebugError(ENG_FUNC, "No text");
        return 0;
    }
    if (m_textedit.max_length == 0) {
        DebugError(ENG_FUNC, "No text length");
        return 0;
    }
    if (NeverTyped(ch))
        return 0;
    bool ctrl = EngKeyStateTableIsDown(ENG_VK_CONTROL);
    bool plain = !EngKeyStateTableIsDown(ENG_VK_SHIFT) && !EngKeyStateTableIsDown(ENG_VK_MENU);
    if (plain && (ch == 22 || (ch == 'v' && ctrl)))
        return Paste(this);
    if (plain && (ch == 3 || (ch == 'c' && ctrl))) {
        VariousCopyClipboardFromString(m_textedit.buffer);
        return 1;
    }
    if (ch < 32)
        return 0;
    if (BufferLength(m_textedit.buffer, m_textedit.max_length) >= m_textedit.max_length)
        return 1;
    if (!InsertChar(&m_textedit, ch))
        return 0;
    TextEditUpdateCursor();
    ReportChange(this, m_textedit);
    return 1;
}

// ---------------------------------------------------------------------------------------------------------
// Blink and drawing

char MWinButton::TextEditTick()
{
    if (!m_textedit.editing)
        return 0;
    m_pressed = 1;
    double since = eng_time - g_blink_time;
    if (since >= MWIN_CARET_BLINK_TIME || since < 0) {
        m_textedit.caret_visible = m_textedit.caret_visible ? 0 : 1;
        g_blink_time = eng_time;
        TextEditUpdateCursor();
    }
    return 1;
}

void MWinButton::TextEditRenderText()
{
    if (m_font_num == MWIN_FONT_NUM_NONE || !m_mwin)
        return;
    EngFont* font = GetFont();
    if (!font)
        return;
    const char* text = m_textedit.editing ? m_textedit.buffer : (HasText(0) ? GetTextP(0) : "");
    if (!text)
        return;
    char stars[MWIN_TEXTEDIT_MAX_LENGTH + 1];
    if (m_textedit.password) {
        int length = int(strnlen(text, MWIN_TEXTEDIT_MAX_LENGTH));
        memset(stars, '*', size_t(length));
        stars[length] = 0;
        text = stars;
    }
    m_mwin->DrawTextInArea(m_font_num, m_text_align, m_text_margin, &m_screen_area, nullptr, text, 0, true,
                           m_shrink_to_fit != 0);
    if (!m_textedit.editing || !m_textedit.caret_visible)
        return;
    int caret = m_textedit.caret;
    int length = BufferLength(text, MWIN_TEXTEDIT_MAX_LENGTH);
    if (caret > length)
        caret = length;
    float x = length ? TextLeft(this, font, text) + PrefixWidth(font, text, caret)
                     : TextLeft(this, font, " ");
    const float* colour = font->GetColour();
    float saved[4] = {colour[0], colour[1], colour[2], colour[3]};
    font->SetColour(saved[0], saved[1], saved[2], saved[3] * 0.6f);
    m_mwin->DrawTextInArea(m_font_num, MWIN_ALIGN_CENTRE, 0, x, m_screen_area.y, 0, m_screen_area.h, nullptr, "I",
                           0, true, false);
    font->SetColourFromArray(saved);
}

bool MWinTextEditAcceptsChar(int input_type, const char* text, int length, unsigned char ch)
{
    return AcceptsChar(input_type, text, length, ch);
}
