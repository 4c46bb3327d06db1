#include "Engine/MWin/MWinPopup.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngLanguages.h"
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
#include "Engine/MWin/MWinTextEntry.h"
#include "Engine/MWin/MWinWindow.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr float MWIN_POPUP_DIM_ALPHA = 0.5f;
constexpr int MWIN_POPUP_TITLE_MAX = 255;
constexpr float MWIN_POPUP_MEASURE_HEIGHT = 100000.0f;

// Tablet rows: landscape then portrait.
constexpr float kTabletMinBoxWidth[2] = {300, 200};
constexpr float kTabletMaxBoxWidth[2] = {600, 600};
constexpr float kTabletButtonWidth[2] = {110, 90};
constexpr float kTabletButtonHeight[2] = {30, 35};

// The caller's text of an open text popup, kept so that any answer but OK leaves it as it was.
struct PopupTextBackup
{
    char* buffer;
    int size;
    std::string saved; // the whole text, however long the caller's buffer
};
PopupTextBackup g_text_backup = {nullptr, 0, {}};

void ForgetTextBackup()
{
    g_text_backup.buffer = nullptr;
    g_text_backup.size = 0;
    g_text_backup.saved.clear();
}

void RestoreCallersText()
{
    if (!g_text_backup.buffer)
        return;
    EngSafeStrcpy(g_text_backup.buffer, g_text_backup.saved.c_str(), unsigned(g_text_backup.size));
    ForgetTextBackup();
}

int Orientation()
{
    return EngMainIsLandscape() ? 0 : 1;
}

// Removes the popup collection and gives the other collections back what they had.
void RemovePopupAndRestore(MWin* mwin)
{
    MWinDesktop* desktop = mwin->GetDesktop();
    if (mwin->m_popup_collection)
        desktop->RemoveCollection(MWIN_POPUP_COLLECTION_ID);
    mwin->m_popup_collection = nullptr;
    mwin->m_popup_window = nullptr;
    mwin->m_popup_message_button = nullptr;
    for (MWinButton*& button : mwin->m_popup_buttons)
        button = nullptr;
    desktop->SetDimming(false, MWIN_POPUP_DIM_ALPHA);
    for (MWinCollection* c = desktop->GetFirstCollection(); c; c = c->GetNext())
        c->RestorePopupState();
}

// The button callback of every answer: closes the popup first, then tells the caller.
void PopupAnswerCB(MWin* mwin, _MWinButtonCallbackInfo*, int result, int)
{
    MWinPopupResultCB callback = mwin->m_popup_callback;
    void* user_data = mwin->m_popup_user_data;
    if (result != MWIN_POPUP_RESULT_OK)
        RestoreCallersText();
    ForgetTextBackup();
    if (mwin->PopupCloseCollection() && callback)
        callback(mwin, char(result), user_data);
}

// Enter in the text field answers like OK, Escape like Cancel; both on the next frame.
void PopupTextFieldCB(MWin* mwin, _MWinButtonCallbackInfo* info, int, int)
{
    MWinWindow* window = mwin->m_popup_window;
    if (!info || !window)
        return;
    MWinButton* answer = nullptr;
    if (info->kind.textedit_enter == MWIN_TEXTEDIT_ENDED_WITH_ENTER)
        answer = mwin->m_popup_buttons[0];
    else if (info->kind.textedit_enter == MWIN_TEXTEDIT_ENDED && info->kind.raw[MWIN_TEXTEDIT_ESCAPE_BYTE])
        answer = mwin->m_popup_buttons[1];
    if (answer)
        window->SendButtonCallCallbackMessage(answer, 1);
}

void ApplyButtonLook(MWin* mwin, MWinButton* button)
{
    button->SetFont(mwin->m_popup_button_font);
    button->SetTextColourFromArray(mwin->m_popup_button_text_colour);
    button->SetTextScale(mwin->m_popup_button_text_scale[0], mwin->m_popup_button_text_scale[1]);
}

EngFont* PopupFont(MWin* mwin)
{
    MWinFonts* fonts = mwin->GetFonts();
    return fonts ? fonts->GetFont(fonts->GetFontNumFromID(mwin->m_popup_button_font)) : nullptr;
}

// One-line width of text at the given scale; 0 without a font.
float MeasureLine(EngFont* font, const char* text, float sx, float sy)
{
    if (!font || !text)
        return 0;
    float old_sx = 1, old_sy = 1;
    font->GetScaleXY(&old_sx, &old_sy);
    font->SetScale(sx, sy);
    float width = font->GetStringWidth(text);
    font->SetScale(old_sx, old_sy);
    return width;
}

// Width and height of text wrapped into box_width.
void MeasureWrapped(EngFont* font, const char* text, float box_width, const float* scale, float* width,
                    float* height)
{
    *width = 0;
    *height = 0;
    if (!font || !text || box_width <= 0)
        return;
    float old_sx = 1, old_sy = 1;
    font->GetScaleXY(&old_sx, &old_sy);
    font->SetScale(scale[0], scale[1]);
    int lines = 0;
    char ended = 0;
    font->DrawMultilineText(0, 0, box_width, MWIN_POPUP_MEASURE_HEIGHT, 0, 0, text, 0, 0, width, height, &lines,
                            &ended);
    font->SetScale(old_sx, old_sy);
}

const char* AnswerText(int result, int kind)
{
    bool languages = EngLanguagesAreLoaded();
    const char* token = nullptr;
    const char* plain = nullptr;
    if (result == MWIN_POPUP_RESULT_OK) {
        token = kind == MWIN_POPUP_FIRST_YES ? "Popup_Yes" : "Popup_OK";
        plain = kind == MWIN_POPUP_FIRST_YES ? "Yes" : "OK";
    } else if (result == MWIN_POPUP_RESULT_CANCEL) {
        token = kind == MWIN_POPUP_SECOND_NO ? "Popup_No" : "Popup_Cancel";
        plain = kind == MWIN_POPUP_SECOND_NO ? "No" : "Cancel";
    } else if (result == MWIN_POPUP_RESULT_NO) {
        token = "Popup_No";
        plain = "No";
    } else {
        return "Extra";
    }
    if (languages && EngLanguagesDoesTokenExist(token))
        return EngLanguagesGetString(token, 0);
    return plain;
}

// Enter takes a plain OK, Escape a plain Cancel; a lone plain button takes both.
void SetKeyButtons(MWin* mwin, int first_kind, int second_kind)
{
    MWinButton* ok = mwin->m_popup_buttons[0];
    MWinButton* cancel = mwin->m_popup_buttons[1];
    bool ok_plain = ok && first_kind == MWIN_POPUP_FIRST_OK;
    bool cancel_plain = cancel && second_kind == MWIN_POPUP_SECOND_CANCEL;
    if (ok_plain) {
        ok->SetDefaultButtonForParentWindow();
        if (!cancel)
            ok->SetEscapeButtonForParentWindow();
    }
    if (cancel_plain) {
        cancel->SetEscapeButtonForParentWindow();
        if (!ok)
            cancel->SetDefaultButtonForParentWindow();
    }
}

// The answer buttons in one row, as wide as their texts need, centred.
char AddAnswerButtons(MWin* mwin, int first_kind, int second_kind, char third, char fourth, float width,
                      float height, float box_height, float box_width, float gap)
{
    struct Answer
    {
        bool wanted;
        const char* id;
        int result;
        int kind;
    };
    const Answer answers[4] = {{first_kind != 0, MWIN_POPUP_OK_ID, MWIN_POPUP_RESULT_OK, first_kind},
                               {second_kind != 0, MWIN_POPUP_CANCEL_ID, MWIN_POPUP_RESULT_CANCEL, second_kind},
                               {third != 0, MWIN_POPUP_NO_ID, MWIN_POPUP_RESULT_NO, 0},
                               {fourth != 0, MWIN_POPUP_EXTRA_ID, MWIN_POPUP_RESULT_EXTRA, 0}};
    // Left to right: OK, No, Cancel, Extra.
    const int order[4] = {0, 2, 1, 3};
    const float y = box_height - 10 - height;
    EngFont* font = PopupFont(mwin);
    MWinButton* row[5] = {};
    float widths[4] = {};
    int count = 0;
    float sum = 0;
    for (int i : order) {
        if (!answers[i].wanted)
            continue;
        const char* label = AnswerText(answers[i].result, answers[i].kind);
        MWinButton* button = mwin->m_popup_window->AddButton(answers[i].id, MWIN_BUT_PUSH,
                                                             mwin->m_popup_button_texbut, label, 0, y, width, height);
        if (!button)
            return 0;
        ApplyButtonLook(mwin, button);
        button->SetCallback(PopupAnswerCB, answers[i].result, 0, 0);
        mwin->m_popup_buttons[i] = button;
        const float* scale = mwin->m_popup_button_text_scale;
        float text_w = MeasureLine(font, label, 0.8f * scale[0], scale[1]);
        widths[count] = std::max(text_w + 15, 0.9f * width);
        sum += widths[count];
        row[count++] = button;
    }
    if (count == 0)
        return 1;
    float needed = sum + 12 + gap * float(count - 1);
    if (needed > box_width && sum > 12) {
        float factor = (box_width - 12) / (sum - 12);
        for (int i = 0; i < count; i++)
            widths[i] = std::max(widths[i] * factor, 0.9f * width);
    }
    float x = gap;
    for (int i = 0; i < count; i++) {
        row[i]->SetArea(x, y, widths[i], height);
        x += widths[i] + gap;
    }
    mwin->m_popup_window->CenterGroupOfButtons(row, 1, 0);
    SetKeyButtons(mwin, first_kind, second_kind);
    return 1;
}

// Lays out the popup window: its size from the title, the wrapped message and the buttons.
char LayoutBox(MWin* mwin, const char* title, const char* text, int first_kind, int second_kind, char third,
               char fourth, float extra_width, float extra_height)
{
    const int o = Orientation();
    const float W = mwin->m_popup_button_width[o];
    const float H = 0.9f * mwin->m_popup_button_height[o];
    float box = std::min(mwin->m_popup_min_box_width[o] + extra_width, MWIN_VIRTUAL_WIDTH);
    const float max_box = std::max(mwin->m_popup_max_box_width[o], box);
    const bool has_title = title && title[0] && strnlen(title, MWIN_POPUP_TITLE_MAX + 1) <= MWIN_POPUP_TITLE_MAX;
    const bool has_text = text && text[0];
    EngFont* font = PopupFont(mwin);

    float title_need = 0;
    if (has_title) {
        float t = MeasureLine(font, title, mwin->m_popup_title_text_scale[0], mwin->m_popup_title_text_scale[1]);
        title_need = std::min(t + extra_width + 40, max_box);
        box = std::max(box, title_need);
    }
    float msg_w = 0, msg_h = 0;
    if (has_text) {
        MeasureWrapped(font, text, max_box - 60 - extra_width, mwin->m_popup_button_text_scale, &msg_w, &msg_h);
        msg_h += 3;
        if (msg_w > max_box) {
            DebugInfo("msg_w %.0f > max_box_w %.0f", msg_w, max_box);
            msg_w = max_box;
        }
        box = std::max(box, msg_w);
    }
    box += (has_title || has_text) ? 40 : 5;
    if (box > max_box) {
        DebugNote(0, "box_w %.0f > max_box_w %0.f", box, max_box);
        msg_w -= box - max_box;
        box = max_box;
    }
    const int n = (first_kind ? 1 : 0) + (second_kind ? 1 : 0) + (third ? 1 : 0) + (fourth ? 1 : 0);
    const float row = n ? n * W + 12 + (n - 1) * 6 : 0;
    box = std::max(box, row);
    float height = extra_height + (has_text ? msg_h + 10 : 0) + (n ? H + 20 : 0);

    // Texts are measured in the virtual screen, where the box lies too, so no screen scale enters the sizes.
    const float label_w = msg_w + 20;
    float window_w = std::max({box, has_text ? label_w : 0.0f, title_need, row}) + 20;
    const float gap = 6;

    _MWinWindowCreateInfo info;
    MWinWindowCreateInfoSetDefaults(&info);
    // Modal, so a click beside the box never leaves the popup without an active window.
    info.window_type = MWIN_WINDOW_MODAL;
    info.x = MWIN_WINDOW_CENTRE;
    info.y = MWIN_WINDOW_CENTRE;
    info.width = window_w;
    info.height = height;
    info.has_title_bar = has_title ? 1 : 0;
    EngSafeStrcpy(info.title, has_title ? title : "", sizeof(info.title));
    MWinCopyID(info.title_bar_texbut_id, mwin->m_popup_window_texbut_b);
    MWinCopyID(info.back_texbut_id, mwin->m_popup_window_texbut_a);
    MWinCopyID(info.font_id, mwin->m_popup_window_font);
    MWinWindow* window = mwin->m_popup_collection->AddWindow(MWIN_POPUP_WINDOW_ID, &info);
    if (!window) {
        DebugError("MWin::PopupSetupDefaultButtons", "Could not create popup window");
        return 0;
    }
    mwin->m_popup_window = window;
    if (has_title) {
        window->SetTextColourFromArray(mwin->m_popup_title_text_colour);
        window->SetTextScale(mwin->m_popup_title_text_scale[0], mwin->m_popup_title_text_scale[1]);
        window->SetTextAlign(mwin->m_popup_title_align);
    }
    if (has_text) {
        MWinButton* label = window->AddButton(MWIN_POPUP_MESSAGE_ID, MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, text, -1,
                                              n ? 10 : 6, label_w, msg_h);
        if (!label)
            return 0;
        ApplyButtonLook(mwin, label);
        label->SetMultiline(1);
        mwin->m_popup_message_button = label;
    }
    return AddAnswerButtons(mwin, first_kind, second_kind, third, fourth, W, H, height, box, gap);
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Set-up

void MWin::PopupResetDefaults()
{
    MWinCopyID(m_popup_window_texbut_a, MWIN_TEXBUT_DEFAULT);
    MWinCopyID(m_popup_window_texbut_b, MWIN_TEXBUT_DEFAULT);
    MWinCopyID(m_popup_window_font, MWIN_FONT_DEFAULT);
    MWinCopyID(m_popup_button_texbut, MWIN_TEXBUT_DEFAULT);
    MWinCopyID(m_popup_button_font, MWIN_FONT_DEFAULT);
    const float black[4] = {0, 0, 0, 1};
    std::copy(black, black + 4, m_popup_button_text_colour);
    std::copy(black, black + 4, m_popup_title_text_colour);
    m_popup_button_text_scale[0] = m_popup_button_text_scale[1] = 1;
    m_popup_title_text_scale[0] = m_popup_title_text_scale[1] = 1;
    m_popup_title_align = MWIN_ALIGN_LEFT;
    PopupSetBoxSizes(-2, -2, -2, -2);
    PopupChooseLayoutSizes();
    m_popup_on = 0;
    m_popup_saved_mouse_over = -1;
    m_popup_callback = nullptr;
    m_popup_user_data = nullptr;
    m_popup_collection = nullptr;
    m_popup_window = nullptr;
    m_popup_message_button = nullptr;
    for (MWinButton*& button : m_popup_buttons)
        button = nullptr;
    m_popup_auto_close_time = 0;
}

// On the desktop platform both orientations use the sizes the program set (or the desktop row), and a
// change of screen layout keeps them; a tablet takes its own row per orientation.
void MWin::PopupChooseLayoutSizes()
{
    if (!EngWindowIsTabletPlatform())
        return;
    for (int o = 0; o < 2; o++) {
        m_popup_min_box_width[o] = kTabletMinBoxWidth[o];
        m_popup_max_box_width[o] = kTabletMaxBoxWidth[o];
        m_popup_button_width[o] = kTabletButtonWidth[o];
        m_popup_button_height[o] = kTabletButtonHeight[o];
    }
}

void MWin::PopupSetAppearance(const char* window_texbut_a, const char* window_texbut_b, const char* window_font,
                              const char* button_texbut, const char* button_font, float button_r, float button_b,
                              float button_g, float button_a, float button_scale_x, float button_scale_y,
                              float title_r, float title_b, float title_g, float title_a, float title_scale_x,
                              float title_scale_y, int title_align)
{
    const char* ids[5] = {window_texbut_a, window_texbut_b, window_font, button_texbut, button_font};
    char* dests[5] = {m_popup_window_texbut_a, m_popup_window_texbut_b, m_popup_window_font, m_popup_button_texbut,
                      m_popup_button_font};
    for (int i = 0; i < 5; i++) {
        if (!MWinIDIsEmpty(ids[i]))
            MWinCopyID(dests[i], ids[i]);
    }
    const float values[12] = {button_r, button_b,      button_g,      button_a, button_scale_x, button_scale_y,
                              title_r,  title_b,       title_g,       title_a,  title_scale_x,  title_scale_y};
    float* targets[12] = {&m_popup_button_text_colour[0], &m_popup_button_text_colour[2],
                          &m_popup_button_text_colour[1], &m_popup_button_text_colour[3],
                          &m_popup_button_text_scale[0],  &m_popup_button_text_scale[1],
                          &m_popup_title_text_colour[0],  &m_popup_title_text_colour[2],
                          &m_popup_title_text_colour[1],  &m_popup_title_text_colour[3],
                          &m_popup_title_text_scale[0],   &m_popup_title_text_scale[1]};
    for (int i = 0; i < 12; i++) {
        if (values[i] >= 0)
            *targets[i] = values[i];
    }
    if (title_align != -1)
        m_popup_title_align = title_align;
}

void MWin::PopupSetBoxSizes(float min_box_width, float max_box_width, float button_width, float button_height)
{
    const float values[4] = {min_box_width, max_box_width, button_width, button_height};
    const float presets[4] = {MWIN_POPUP_DESKTOP_MIN_BOX_WIDTH, MWIN_POPUP_DESKTOP_MAX_BOX_WIDTH,
                              MWIN_POPUP_DESKTOP_BUTTON_WIDTH, MWIN_POPUP_DESKTOP_BUTTON_HEIGHT};
    float* pairs[4] = {m_popup_min_box_width, m_popup_max_box_width, m_popup_button_width, m_popup_button_height};
    for (int i = 0; i < 4; i++) {
        float value = values[i] > 0 ? values[i] : (values[i] == -2 ? presets[i] : -1);
        if (value < 0)
            continue;
        pairs[i][0] = pairs[i][1] = value;
    }
}

// ---------------------------------------------------------------------------------------------------------
// Building the box

char MWin::PopupCreateCollection()
{
    if (!IsOn()) {
        DebugError(ENG_FUNC, "MWin is not on");
        return 0;
    }
    if (m_popup_on) {
        DebugError(ENG_FUNC, "Popup already on");
        return 0;
    }
    if (!m_desktop) {
        DebugError(ENG_FUNC, "No desktop");
        return 0;
    }
    for (MWinCollection* c = m_desktop->GetFirstCollection(); c; c = c->GetNext())
        c->SavePopupState();
    m_desktop->SetDimming(true, MWIN_POPUP_DIM_ALPHA);
    MWinCollection* collection = m_desktop->AddCollection(MWIN_POPUP_COLLECTION_ID);
    if (!collection) {
        DebugError(ENG_FUNC, "Could not create new collection");
        RemovePopupAndRestore(this);
        return 0;
    }
    collection->SetScreenLayout(m_screen_layout);
    collection->Activate();
    m_popup_collection = collection;
    return 1;
}

char MWin::PopupSetupDefaultButtons(const char* title, const char* text, int first_kind, int second_kind,
                                    char third, char fourth, float extra_width, float extra_height)
{
    if (LayoutBox(this, title, text, first_kind, second_kind, third, fourth, extra_width, extra_height))
        return 1;
    // A box that could not be laid out leaves the screen as it was.
    RemovePopupAndRestore(this);
    return 0;
}

char MWin::PopupCompleteSetup(MWinPopupResultCB callback, void* user_data)
{
    if (m_popup_saved_mouse_over != -1)
        DebugError(ENG_FUNC, "Internal Error (mwp_save_mouse_over_collections)");
    m_popup_saved_mouse_over = m_settings.hover_activate_collection;
    m_settings.hover_activate_collection = 0;
    m_popup_callback = callback;
    m_popup_user_data = user_data;
    m_popup_on = 1;
    ButtonsChanged();
    return 1;
}

// ---------------------------------------------------------------------------------------------------------
// Opening

char MWin::PopupMessage(const char* title, const char* text, MWinPopupResultCB callback, void* user_data)
{
    return PopupCreateCollection() &&
           PopupSetupDefaultButtons(title, text, MWIN_POPUP_FIRST_OK, MWIN_POPUP_SECOND_NONE, 0, 0, 0, 0) &&
           PopupCompleteSetup(callback, user_data);
}

char MWin::PopupMessage(const char* title, const char* text)
{
    return PopupMessage(title, text, nullptr, nullptr);
}

char MWin::PopupMessage(const char* text)
{
    return PopupMessage(nullptr, text, nullptr, nullptr);
}

char MWin::PopupOkCancel(const char* title, const char* text, MWinPopupResultCB callback, void* user_data)
{
    return PopupCreateCollection() &&
           PopupSetupDefaultButtons(title, text, MWIN_POPUP_FIRST_OK, MWIN_POPUP_SECOND_CANCEL, 0, 0, 0, 0) &&
           PopupCompleteSetup(callback, user_data);
}

char MWin::PopupWait(const char* title, const char* text)
{
    return PopupCreateCollection() &&
           PopupSetupDefaultButtons(title, text, MWIN_POPUP_FIRST_NONE, MWIN_POPUP_SECOND_NONE, 0, 0, 0, 0) &&
           PopupCompleteSetup(nullptr, nullptr);
}

char MWin::PopupFlash(const char* title, const char* text)
{
    if (!PopupWait(title, text))
        return 0;
    EngMainRenderFrameNow(true, false);
    EngMainRenderFrameNow(true, false);
    PopupCloseIfOn();
    return 1;
}

bool MWin::PopupTextBufferUsable(const char* own_name, const char* buffer, int buffer_size)
{
    if (!buffer) {
        DebugError(own_name, "No text var.");
        return false;
    }
    if (buffer_size < 1) {
        DebugError(own_name, "No max len.");
        return false;
    }
    return true;
}

char MWin::PopupGetText(const char* title, const char* prompt, char* buffer, int buffer_size,
                        MWinPopupResultCB callback, void* user_data)
{
    if (!PopupTextBufferUsable(ENG_FUNC, buffer, buffer_size))
        return 0;
    if (EngWindowIsTabletPlatform())
        return PopupGetText_Mobile(title, prompt, buffer, buffer_size, callback, user_data);
    const int o = Orientation();
    const float field_h = m_popup_button_height[o];
    if (!PopupCreateCollection())
        return 0;
    if (!PopupSetupDefaultButtons(title, prompt, MWIN_POPUP_FIRST_OK, MWIN_POPUP_SECOND_CANCEL, 0, 0, 0,
                                  2 * field_h))
        return 0;
    bool has_prompt = prompt && prompt[0];
    bool has_title = m_popup_window->HasTitleBar();
    float y = (has_prompt ? 20 + field_h : 20) - (has_title ? 0 : 10);
    float width = m_popup_window->GetRequestedArea().w - 40;
    MWinButton* field = m_popup_window->AddButton(MWIN_POPUP_TEXTEDIT_ID, MWIN_BUT_TEXTEDIT, m_popup_button_texbut,
                                                  "", -1, y, width, field_h);
    if (!field) {
        RemovePopupAndRestore(this);
        return 0;
    }
    ApplyButtonLook(this, field);
    field->TextEditRegisterTextVariable(buffer, buffer_size);
    field->SetCallback(PopupTextFieldCB, 0, 0, 0);
    g_text_backup.buffer = buffer;
    g_text_backup.size = buffer_size;
    g_text_backup.saved.assign(buffer, strnlen(buffer, size_t(buffer_size) - 1));
    PopupCompleteSetup(callback, user_data);
    field->TextEditMoveCursorToButtonAndTurnOnEditing();
    return 1;
}

// ---------------------------------------------------------------------------------------------------------
// Closing

void MWin::PopupSetAutoCloseTime(double seconds)
{
    m_popup_auto_close_time = seconds > 0 ? eng_time + seconds : 0;
}

char MWin::PopupCloseIfOn()
{
    if (!m_popup_on)
        return 0;
    RestoreCallersText();
    PopupCloseCollection();
    return 1;
}

char MWin::PopupCloseCollection()
{
    if (!m_desktop) {
        DebugError(ENG_FUNC, "No desktop");
        return 0;
    }
    MWinTextEntryDiscard(this);
    ForgetTextBackup();
    if (m_popup_saved_mouse_over == -1) {
        DebugError(ENG_FUNC, "Internal Error (mwp_save_mouse_over_collections)");
    } else {
        m_settings.hover_activate_collection = char(m_popup_saved_mouse_over);
        m_popup_saved_mouse_over = -1;
    }
    // The popup is off before the screen comes back: what the screen then fires may switch screens.
    m_popup_on = 0;
    m_popup_user_data = nullptr;
    RemovePopupAndRestore(this);
    RequestRedraw();
    return 1;
}

void MWin::PopupAutoCloseTick()
{
    if (m_popup_auto_close_time <= 0)
        return;
    if (!m_popup_on) {
        m_popup_auto_close_time = 0;
        return;
    }
    if (m_popup_auto_close_time < eng_time) {
        m_popup_auto_close_time = 0;
        PopupCloseIfOn();
    }
}
