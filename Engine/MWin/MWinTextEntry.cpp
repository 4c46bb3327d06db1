#include "Engine/MWin/MWinTextEntry.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/EngFont.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinButton.h"
#include "Engine/MWin/MWinCollection.h"
#include "Engine/MWin/MWinDesktop.h"
#include "Engine/MWin/MWinFontRegistry.h"
#include "Engine/MWin/MWinTextEdit.h"
#include "Engine/MWin/MWinWindow.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

// Vertical bands of one screen layout's window, top to bottom.
struct EntryGeometry {
    float title_y, title_h;
    float message_h;
    float text_h;
    float buttons_y, buttons_h;
};

// Layouts 1 to 4; the normal layout takes the first.
constexpr EntryGeometry kGeometry[4] = {
    {5, 40, 30, 45, 425, 50},
    {5, 30, 25, 40, 430, 45},
    {10, 40, 30, 45, 425, 45},
    {10, 35, 28, 40, 430, 40},
};
constexpr float kBandGap = 5.0f;
constexpr float kSideMargin = 20.0f;
constexpr float kSpecialKeyWidth = 140.0f;

const char* const kRowsAnyText[] = {"1234567890", "QWERTYUIOP", "ASDFGHJKL!", ",ZXCVBNM.?", "-+'    &$%", nullptr};
const char* const kRowsNoBlanks[] = {"1234567890", "QWERTYUIOP", "ASDFGHJKL@", "_ZXCVBNM,.", "!#$%&'+-=^", nullptr};
const char* const kRowsSigned[] = {"123", "456", "789", ".0-", nullptr};
const char* const kRowsDigits[] = {"123", "456", "789", ".0", nullptr};

const float kShiftOn[4] = {0.498f, 1.0f, 0.498f, 1.0f};
const float kShiftOff[4] = {0.8f, 0.8f, 0.8f, 1.0f};

// The one open entry.
struct EntryState {
    MWin* mwin;
    char* buffer; // the caller's, written only by OK
    int buffer_size;
    int max_length;
    char text[MWIN_TEXT_ENTRY_MAX_LENGTH + 1];
    int input_type;
    char password;
    char auto_capitals;
    char capitals;
    KeyInputCollectionController* controller;
    MWinButton* text_label;
    MWinWindow* window;
};
EntryState g_entry = {};

const char* const* RowsFor(int input_type)
{
    switch (input_type) {
    case MWIN_TEXTEDIT_ANY:
        return kRowsAnyText;
    case MWIN_TEXTEDIT_SIGNED_DECIMAL:
        return kRowsSigned;
    case MWIN_TEXTEDIT_DIGITS_AND_POINTS:
        return kRowsDigits;
    case MWIN_TEXTEDIT_NO_BLANKS:
        return kRowsNoBlanks;
    default:
        return nullptr;
    }
}

const EntryGeometry& GeometryFor(int layout)
{
    return kGeometry[layout >= 1 && layout <= 4 ? layout - 1 : 0];
}

int TextLength()
{
    return int(strnlen(g_entry.text, sizeof(g_entry.text) - 1));
}

MWinButton* Label(MWinWindow* window, const char* id, const char* texbut, const char* text, float x, float y,
                  float w, float h)
{
    MWinButton* button = window->AddButton(id, MWIN_BUT_LABEL, texbut, text, x, y, w, h);
    if (button)
        button->SetFont(MWIN_KEYINPUT_FONT_ID);
    return button;
}

MWinButton* Key(MWinWindow* window, const char* id, const char* text, int data, float x, float y, float w, float h)
{
    MWinButton* button = window->AddButton(id, MWIN_BUT_PUSH, MWIN_TEXBUT_DEFAULT, text, x, y, w, h);
    if (!button)
        return nullptr;
    button->SetFont(MWIN_KEYINPUT_FONT_ID);
    button->SetCallback(MWinPopupGetTextKeyCB_Mobile, data, 0, 0);
    return button;
}

void RefreshText()
{
    if (!g_entry.text_label)
        return;
    char shown[MWIN_TEXT_ENTRY_MAX_LENGTH + 1];
    int length = TextLength();
    if (g_entry.password) {
        std::memset(shown, '*', size_t(length));
        shown[length] = 0;
    } else {
        EngSafeStrcpy(shown, g_entry.text, sizeof(shown));
    }
    g_entry.text_label->SetText(shown);
}

// Letter keys show what they type; Shift shows whether capitals are on.
void RelabelLetters()
{
    MWinWindow* window = g_entry.window;
    if (!window)
        return;
    for (char letter = 'A'; letter <= 'Z'; letter++) {
        char id[8];
        std::snprintf(id, sizeof(id), "KEY_%c", letter);
        MWinButton* key = window->GetButtonFromID(id, 0);
        if (!key)
            continue;
        char text[2] = {g_entry.capitals ? letter : char(letter - 'A' + 'a'), 0};
        key->SetText(text);
    }
    MWinButton* shift = window->GetButtonFromID("Shift", 0);
    const float* tint = g_entry.capitals ? kShiftOn : kShiftOff;
    if (shift)
        shift->SetModulateColour(tint[0], tint[1], tint[2], tint[3]);
}

bool EndsAtSentenceStart()
{
    int length = TextLength();
    return length == 0 || g_entry.text[length - 1] == '.';
}

void Backspace()
{
    int length = TextLength();
    if (length > 0)
        g_entry.text[length - 1] = 0;
    g_entry.capitals = 0;
    if (g_entry.auto_capitals && g_entry.input_type == MWIN_TEXTEDIT_ANY && EndsAtSentenceStart())
        g_entry.capitals = 1;
    RelabelLetters();
}

void TypeCharacter(unsigned char ch)
{
    int length = TextLength();
    // Control characters never come from the keys; nothing else may put one in the text.
    if (length >= g_entry.max_length || ch < 32 || ch == 127)
        return;
    int type = g_entry.input_type;
    bool letters = type == MWIN_TEXTEDIT_ANY || type == MWIN_TEXTEDIT_NO_BLANKS;
    if (letters && ch >= 'A' && ch <= 'Z' && !g_entry.capitals)
        ch = (unsigned char)(ch - 'A' + 'a');
    if (!letters && !MWinTextEditAcceptsChar(type, g_entry.text, length, ch))
        return;
    if (type == MWIN_TEXTEDIT_ANY && ch != ' ' && g_entry.capitals) {
        g_entry.capitals = 0;
        RelabelLetters();
    }
    g_entry.text[length] = char(ch);
    g_entry.text[length + 1] = 0;
    if (g_entry.auto_capitals && type == MWIN_TEXTEDIT_ANY && (ch == '.' || ch == ' ') && !g_entry.capitals) {
        g_entry.capitals = 1;
        RelabelLetters();
    }
}

// Removes the collection and the controller and forgets the entry.
void CloseEntry()
{
    MWin* mwin = g_entry.mwin;
    KeyInputCollectionController* controller = g_entry.controller;
    g_entry = {};
    MWinDesktop* desktop = mwin ? mwin->GetDesktop() : nullptr;
    if (desktop && desktop->GetCollectionFromID(MWIN_KEYINPUT_COLLECTION_ID, 0))
        desktop->RemoveCollection(MWIN_KEYINPUT_COLLECTION_ID);
    if (!controller)
        return;
    controller->ClearPointers();
    delete controller;
}

// OK hands the typed text over; any other end leaves the caller's text untouched.
void FinishEntry(MWin* mwin, char ok)
{
    if (!g_entry.mwin || g_entry.mwin != mwin)
        return;
    if (ok)
        EngSafeStrcpy(g_entry.buffer, g_entry.text, unsigned(g_entry.buffer_size));
    MWinPopupResultCB callback = mwin->m_popup_callback;
    void* user_data = mwin->m_popup_user_data;
    CloseEntry();
    if (mwin->PopupCloseCollection() && callback)
        callback(mwin, ok ? 1 : 0, user_data);
}

void DoneCB(MWin* mwin, _MWinButtonCallbackInfo*, int, int)
{
    FinishEntry(mwin, 1);
}

void EscapeCB(MWin* mwin, _MWinButtonCallbackInfo*, int, int)
{
    FinishEntry(mwin, 0);
}

void TextRenderCB(MWinButton* button, _Dimension*, _MWinTextureState, int, void*)
{
    if (button && button->GetMWin())
        button->GetMWin()->PopupRenderFullScreenTextEntryMobile();
}

// Stacks title, prompt and text from the top; a missing title or prompt leaves its band to the keyboard.
void PlaceBands(MWinWindow* window, const char* title, const char* prompt, int layout)
{
    const EntryGeometry& g = GeometryFor(layout);
    float width = MWIN_VIRTUAL_WIDTH - 2 * kSideMargin;
    float y = g.title_y;
    const char* ids[3] = {"Title", "Message", "Text"};
    const char* texts[2] = {title, prompt};
    const float heights[3] = {g.title_h, g.message_h, g.text_h};
    for (int i = 0; i < 3; i++) {
        MWinButton* band = window->GetButtonFromID(ids[i], 0);
        if (!band)
            continue;
        if (i < 2 && (!texts[i] || !texts[i][0])) {
            band->Hide();
            continue;
        }
        if (i < 2)
            band->SetText(texts[i]);
        band->SetArea(kSideMargin, y, width, heights[i]);
        y += heights[i] + kBandGap;
    }
    MWinButton* keys = window->GetButtonFromID("KeysBack", 0);
    if (keys)
        keys->SetArea(kSideMargin, y, width, std::max(2.0f, g.buttons_y - kBandGap - y));
}

struct KeyArea {
    float x, y, w, h;
};

KeyArea KeyboardArea(MWinWindow* window)
{
    KeyArea a = {0, 0, 0, 0};
    MWinButton* back = window->GetButtonFromID("KeysBack", 0);
    if (back)
        back->GetArea(&a.x, &a.y, &a.w, &a.h);
    float side = 5.0f;
    if (EngWindowIsTabletPlatform())
        side = EngMainIsLandscape() ? 5.0f : 10.0f;
    return {a.x + side, a.y + 5.0f, std::max(0.0f, a.w - 2 * side), std::max(0.0f, a.h - 10.0f)};
}

// The keys of one row: each character one unit wide, a run of blanks one "Space" key of that many units.
void AddRow(MWinWindow* window, const char* row, float y, float left, float unit, float gap, float key_h,
            float scale)
{
    for (int i = 0; row[i];) {
        int units = 1;
        while (row[i] == ' ' && row[i + units] == ' ')
            units++;
        char id[16];
        char text[8];
        std::snprintf(id, sizeof(id), "KEY_%c", row[i]);
        if (row[i] == ' ')
            std::snprintf(text, sizeof(text), "Space");
        else
            std::snprintf(text, sizeof(text), "%c", row[i]);
        float w = float(units) * unit + float(units - 1) * gap;
        MWinButton* key = Key(window, id, text, (unsigned char)row[i], left, y, w, key_h);
        if (key)
            key->SetTextScale(scale, scale);
        left += w + gap;
        i += units;
    }
}

void AddLetterKeys(MWinWindow* window, const char* const* rows, const KeyArea& a)
{
    bool tablet = EngWindowIsTabletPlatform();
    float gap = tablet && !EngMainIsLandscape() ? 12.0f : 6.0f;
    float unit = a.w / 10.0f - gap;
    float key_h = a.h / 5.0f - 8.0f;
    if (tablet)
        key_h /= 1.5f;
    float scale = tablet ? 1.0f : 1.1f;
    for (int r = 0; rows[r]; r++) {
        float row_w = float(std::strlen(rows[r])) * (unit + gap) - gap;
        float y = a.y + float(r) * a.h / 5.0f + 4.0f;
        AddRow(window, rows[r], y, a.x + (a.w - row_w) / 2.0f, unit, gap, key_h, scale);
    }
}

void AddNumberKeys(MWinWindow* window, const char* const* rows, const KeyArea& a)
{
    const float gap = 6.0f;
    float unit = a.w / 3.0f - 6.0f;
    float key_h = a.h / 4.0f - 6.0f;
    float top = a.y + (a.h - (4.0f * key_h + 3.0f * gap)) / 2.0f;
    for (int r = 0; rows[r]; r++) {
        float row_w = float(std::strlen(rows[r])) * (unit + gap) - gap;
        AddRow(window, rows[r], top + float(r) * (key_h + gap), a.x + (a.w - row_w) / 2.0f, unit, gap, key_h, 1.1f);
    }
}

void WireSpecialKeys(MWinWindow* window)
{
    MWinButton* done = window->GetButtonFromID("Done", 0);
    MWinButton* back = window->GetButtonFromID("Bg", 0);
    if (done) {
        done->SetCallback(DoneCB, 0, 0, 0);
        done->SetDefaultButtonForParentWindow();
    }
    // Escape answers like a Cancel: the caller's text stays as it was.
    if (back) {
        back->SetCallback(EscapeCB, 0, 0, 0);
        back->SetEscapeButtonForParentWindow();
    }
    if (g_entry.text_label)
        g_entry.text_label->SetRenderCallback(TextRenderCB, 0, nullptr);
}

// The text field an open entry edits, known only by its serial until it is proven alive.
struct FieldEdit {
    _MWinButtonExistCheck check;
    char text[MWIN_TEXT_ENTRY_MAX_LENGTH + 1];
};
FieldEdit g_field = {};

void FieldResultCB(MWin*, char result, void*)
{
    MWinButton* field = MWinButton::DoWeStillExist(&g_field.check) ? MWinButton::FindLive(g_field.check.serial)
                                                                   : nullptr;
    g_field.check = {};
    if (!field)
        return;
    _MWinTextEditData* data = field->GetTextEditData();
    data->edit_state = 0;
    if (result != 1)
        return;
    field->TextEditSetText(g_field.text);
    if (data->bound_text && data->bound_size > 0)
        EngSafeStrcpy(data->bound_text, g_field.text, unsigned(data->bound_size));
    _MWinButtonCallbackInfo info;
    field->FillCallbackInfo(&info);
    info.kind.textedit_enter = MWIN_TEXTEDIT_ENDED_WITH_ENTER;
    field->Fire(&info);
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Controller

char KeyInputCollectionController::CreateCollection(MWin* mwinp)
{
    m_mwinp = mwinp;
    MWinDesktop* desktop = mwinp ? mwinp->GetDesktop() : nullptr;
    MWinCollection* collection = desktop ? desktop->AddCollection(MWIN_KEYINPUT_COLLECTION_ID) : nullptr;
    if (!collection) {
        DebugError(ENG_FUNC, "Could not create collection <%s>", MWIN_KEYINPUT_COLLECTION_ID);
        return 0;
    }
    int layout = mwinp->GetScreenLayout();
    collection->SetScreenLayout(layout);
    _MWinWindowCreateInfo info;
    MWinWindowCreateInfoSetDefaults(&info);
    info.x = 0;
    info.y = 0;
    info.width = MWIN_VIRTUAL_WIDTH;
    info.height = MWIN_VIRTUAL_HEIGHT;
    MWinCopyID(info.back_texbut_id, MWIN_TEXBUT_NONE);
    m_window = collection->AddWindow(MWIN_KEYINPUT_WINDOW_ID, &info);
    if (!m_window) {
        DebugError(ENG_FUNC, "Could not create window <%s>", MWIN_KEYINPUT_WINDOW_ID);
        return 0;
    }
    const EntryGeometry& g = GeometryFor(layout);
    float width = MWIN_VIRTUAL_WIDTH - 2 * kSideMargin;
    Label(m_window, "Bg", "Back1", "", 0, 0, MWIN_VIRTUAL_WIDTH, MWIN_VIRTUAL_HEIGHT);
    Label(m_window, "Title", MWIN_TEXBUT_NONE, "", kSideMargin, g.title_y, width, g.title_h);
    Label(m_window, "Message", MWIN_TEXBUT_NONE, "Optional Message", kSideMargin, g.title_y + g.title_h, width,
          g.message_h);
    Label(m_window, "Text", MWIN_TEXBUT_DEFAULT, "", kSideMargin, g.title_y + g.title_h + g.message_h, width,
          g.text_h);
    Label(m_window, "KeysBack", MWIN_TEXBUT_NONE, "", kSideMargin, g.buttons_y - 200, width, 195);
    float right = MWIN_VIRTUAL_WIDTH - kSideMargin - kSpecialKeyWidth;
    Key(m_window, "Shift", "Shift", MWIN_KEYINPUT_SHIFT, kSideMargin, g.buttons_y, kSpecialKeyWidth, g.buttons_h);
    Key(m_window, "Del", "Delete", MWIN_KEYINPUT_DELETE, kSideMargin + kSpecialKeyWidth + 20, g.buttons_y,
        kSpecialKeyWidth, g.buttons_h);
    MWinButton* done = m_window->AddButton("Done", MWIN_BUT_PUSH, MWIN_TEXBUT_DEFAULT, "OK", right, g.buttons_y,
                                           kSpecialKeyWidth, g.buttons_h);
    if (done)
        done->SetFont(MWIN_KEYINPUT_FONT_ID);
    return 1;
}

// ---------------------------------------------------------------------------------------------------------
// Typing

void MWinPopupGetTextKeyCB_Mobile(MWin* mwin, _MWinButtonCallbackInfo*, int key, int)
{
    if (!g_entry.mwin || g_entry.mwin != mwin) {
        DebugError(ENG_FUNC, "Not mobile.");
        return;
    }
    if (key == MWIN_KEYINPUT_SHIFT) {
        g_entry.capitals = !g_entry.capitals;
        RelabelLetters();
    } else if (key == MWIN_KEYINPUT_DELETE) {
        Backspace();
    } else {
        TypeCharacter((unsigned char)key);
    }
    RefreshText();
}

char MWinTextEntryOpenForField(MWinButton* field)
{
    if (!field || field->GetKind() != MWIN_BUT_TEXTEDIT || !field->GetMWin()) {
        DebugError(ENG_FUNC, "Not a text field");
        return 0;
    }
    MWin* mwin = field->GetMWin();
    _MWinTextEditData* data = field->GetTextEditData();
    EngSafeStrcpy(g_field.text, field->HasText(0) ? field->GetTextP(0) : "", sizeof(g_field.text));
    int size = std::max(1, std::min(int(sizeof(g_field.text)), data->max_length + 1));
    mwin->PopupSetTextEntrySettings(data->input_type, char(data->password), 0);
    field->FillStillExistsCheckInfo(&g_field.check);
    if (!mwin->PopupOpenTextEntry(nullptr, nullptr, g_field.text, size, FieldResultCB, nullptr)) {
        g_field.check = {};
        return 0;
    }
    data->edit_state = 2;
    return 1;
}

void MWinTextEntryDiscard(MWin* mwin)
{
    if (g_entry.mwin && g_entry.mwin == mwin)
        CloseEntry();
}

bool MWinTextEntryIsOpen()
{
    return g_entry.mwin != nullptr;
}

const char* MWinTextEntryGetText()
{
    return g_entry.text;
}

bool MWinTextEntryCapitalsOn()
{
    return g_entry.capitals != 0;
}

// ---------------------------------------------------------------------------------------------------------
// Opening and drawing

void MWin::PopupSetTextEntrySettings(int input_type, char password, char auto_capitals)
{
    m_text_entry_input_type = input_type;
    m_text_entry_password = password;
    m_text_entry_auto_capitals = auto_capitals;
}

char MWin::PopupGetText_Mobile(const char* title, const char* prompt, char* buffer, int buffer_size,
                               MWinPopupResultCB callback, void* user_data)
{
    if (!EngWindowIsTabletPlatform()) {
        DebugError(ENG_FUNC, "Not mobile.");
        return 0;
    }
    return PopupOpenTextEntry(title, prompt, buffer, buffer_size, callback, user_data);
}

char MWin::PopupOpenTextEntry(const char* title, const char* prompt, char* buffer, int buffer_size,
                              MWinPopupResultCB callback, void* user_data)
{
    int type = m_text_entry_input_type;
    char password = m_text_entry_password;
    char auto_capitals = m_text_entry_auto_capitals;
    PopupSetTextEntrySettings(0, 0, 0);
    if (!PopupTextBufferUsable(ENG_FUNC, buffer, buffer_size))
        return 0;
    const char* const* rows = RowsFor(type);
    if (!rows) {
        DebugError(ENG_FUNC, "Bad row type");
        return 0;
    }
    // An open popup (this entry included) keeps the screen; only a leftover controller is replaced.
    if (m_popup_on) {
        DebugError(ENG_FUNC, "Popup already on");
        return 0;
    }
    if (g_entry.controller) {
        DebugError(ENG_FUNC, "Controller already created");
        CloseEntry();
    }
    if (!PopupCreateCollection())
        return 0;
    KeyInputCollectionController* controller = new (std::nothrow) KeyInputCollectionController();
    if (!controller || !controller->CreateCollection(this)) {
        delete controller;
        if (m_desktop->GetCollectionFromID(MWIN_KEYINPUT_COLLECTION_ID, 0))
            m_desktop->RemoveCollection(MWIN_KEYINPUT_COLLECTION_ID);
        PopupCloseCollection();
        return 0;
    }
    MWinWindow* window = controller->GetWindow();
    g_entry = {};
    g_entry.mwin = this;
    g_entry.buffer = buffer;
    g_entry.buffer_size = buffer_size;
    g_entry.max_length = std::min(buffer_size - 1, MWIN_TEXT_ENTRY_MAX_LENGTH);
    size_t kept = strnlen(buffer, size_t(g_entry.max_length));
    std::memcpy(g_entry.text, buffer, kept);
    g_entry.text[kept] = 0;
    g_entry.input_type = type;
    g_entry.password = password;
    g_entry.auto_capitals = auto_capitals;
    g_entry.capitals = auto_capitals && type == MWIN_TEXTEDIT_ANY && EndsAtSentenceStart() ? 1 : 0;
    g_entry.controller = controller;
    g_entry.window = window;
    g_entry.text_label = window->GetButtonFromID("Text", 0);
    PlaceBands(window, title, prompt, m_screen_layout);
    KeyArea area = KeyboardArea(window);
    if (type == MWIN_TEXTEDIT_ANY || type == MWIN_TEXTEDIT_NO_BLANKS)
        AddLetterKeys(window, rows, area);
    else
        AddNumberKeys(window, rows, area);
    WireSpecialKeys(window);
    RelabelLetters();
    RefreshText();
    return PopupCompleteSetup(callback, user_data);
}

void MWin::PopupRenderFullScreenTextEntryMobile()
{
    MWinButton* label = g_entry.mwin == this ? g_entry.text_label : nullptr;
    EngFont* font = label ? label->GetFont() : nullptr;
    if (!font)
        return;
    // The caret fades in for 0.1 s, holds for 0.3 s and fades out for 0.1 s.
    double phase = std::fmod(eng_time, 0.5);
    float alpha = phase < 0.1 ? float(phase / 0.1) : (phase < 0.4 ? 1.0f : float((0.5 - phase) / 0.1));
    const _Dimension* area = label->GetScreenArea();
    const char* shown = label->HasText(0) ? label->GetTextP(0) : nullptr;
    float width = shown ? font->GetStringWidth(shown) : 0.0f;
    float colour[4];
    label->GetDrawTextColour(colour);
    colour[3] *= alpha;
    const float offset[2] = {width / 2.0f + 2.0f, 0.0f};
    font->SetColourFromArray(colour);
    DrawTextInArea(label->GetFontNum(), MWIN_ALIGN_CENTRE, 0.0f, area, offset, "|", 0, true, false);
}
