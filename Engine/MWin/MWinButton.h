#pragma once

#include "Engine/Core/EngTypes.h"
#include "Engine/Graphics/EngDimension.h"
#include "Engine/MWin/MWinFontRegistry.h"
#include "Engine/MWin/MWinID.h"
#include "Engine/MWin/MWinTextEdit.h"
#include "Engine/MWin/MWinCheckBox.h"
#include "Engine/MWin/MWinChoice.h"
#include "Engine/MWin/MWinDropDownList.h"
#include "Engine/MWin/MWinPanel.h"
#include "Engine/MWin/MWinRangeSlider.h"
#include "Engine/MWin/MWinValueBar.h"
#include "Engine/MWin/MWinButtonPicture.h"
#include "Engine/MWin/MWinProgressRing.h"
#include "Engine/MWin/MWinColourPicker.h"

#include <cstdint>

class MWin;
class MWinWindow;
class MWinGroup;
class MWinCollection;
class EngTexture;
class EngFont;

enum _MWinButtonType : EngInt32 {
    MWIN_BUT_NONE = 0,
    MWIN_BUT_PUSH = 1,
    MWIN_BUT_LABEL = 2,
    MWIN_BUT_TEXTEDIT = 3,
    MWIN_BUT_HORZSCROLLBAR = 4,
    MWIN_BUT_VERTSCROLLBAR = 5,
    MWIN_BUT_LABEL_OTHER = 6, // drawn like a label
    MWIN_BUT_LIST = 7,
    MWIN_BUT_CHECKBOX = 8,
    MWIN_BUT_CHOICE = 9,
    MWIN_BUT_PANEL = 10,
    MWIN_BUT_COLOUR = 11,
    MWIN_BUT_RINGS = 12,
    MWIN_BUT_CLASS_OTHER = 13,
    MWIN_BUT_DRAGGABLE = 14,
    MWIN_BUT_TABPANEL = 15,
    MWIN_BUT_SLIDER = 16,
    MWIN_BUT_INERT = 17,
};

enum _MWinTextureState : EngInt32 {
    MWIN_TS_NORMAL = 0,
    MWIN_TS_HIGHLIGHTED = 1,
    MWIN_TS_PRESSED = 2,
    MWIN_TS_DISABLED = 3,
};
constexpr int MWIN_NUM_TEXTURE_STATES = 4;

enum _MWinTextAlign : EngInt32 {
    MWIN_ALIGN_LEFT = 0,
    MWIN_ALIGN_CENTRE = 1,
    MWIN_ALIGN_RIGHT = 2,
};

// What a callback is handed; zeroed before it is filled.
struct _MWinButtonCallbackInfo {
    MWinID button_id;
    MWinID window_id;
    MWinButton* button;
    union {
        EngUInt8 raw[52];
        EngUInt8 textedit_enter; // 1 Enter ended the edit, 0 ended otherwise, 255 changed while editing
        EngUInt8 checkbox_value;
        struct {
            EngInt32 selection;
            EngUInt8 hover; // 1 the pointer moved over segment selection
        } choice;
        EngUInt8 slider_dragging; // 1 while the change comes from dragging
        EngUInt8 colour_dragging; // kind 11: 1 while one of its bars is being dragged
        struct {
            EngInt32 event; // _MWinListEvent
            EngInt32 position;
        } list;
        struct {
            EngInt32 event; // _MWinPanelEvent
            EngInt32 position;
            EngInt32 how;
        } panel;
        struct {
            double value;
            char dragging;
        } vscroll; // kind 5
        struct {
            char selected;
            EngInt32 row;
            char how; // 0 keys or wheel, 1 click, 2 double click
            char header;
        } tabpanel; // kind 15
    } kind;
};

typedef void (*MWinButtonCB)(MWin* mwin, _MWinButtonCallbackInfo* info, int int1, int int2);
typedef void (*MWinButtonUserCB)(MWin* mwin, _MWinButtonCallbackInfo* info, int int1, int int2, void* user_data);
typedef void (*MWinButtonPlainCB)(void* user_data);
typedef void (*MWinButtonRenderCB)(MWinButton* button, _Dimension* area, _MWinTextureState state, int value,
                                   void* user_data);

// Kinds of registered program variable that mirror a button's value.
enum _MWinVariableKind : EngInt32 {
    MWIN_VAR_NONE = 0,
    MWIN_VAR_CHAR = 1,
    MWIN_VAR_INT = 3,
    MWIN_VAR_FLOAT = 10,
    MWIN_VAR_FLOAT_PAIR = 11, // two floats written divided by the multiplier
    MWIN_VAR_COLOUR = 12,     // float[3]: the colour picker's colour times a factor plus an offset
    MWIN_VAR_TEXT = 13,
};

// Fire argument of the setters that can report.
enum _MWinFire : char {
    MWIN_FIRE_NEVER = 0,
    MWIN_FIRE_ALWAYS = 1,
    MWIN_FIRE_IF_CHANGED = 2,
};

// A picture of its own for one visual state.
struct _MWinCustomTextureState {
    char load_flag1;
    char load_flag2;
    char flag;
    char file[256];
    float rect[4]; // left u, top v, right u, bottom v
    float colour[4];
    EngTexture* texture;  // loaded from file, owned
    EngTexture* external; // not owned
};

// Numbers buttons in creation order; never reused.
typedef std::uint64_t MWinButtonSerial;

// A snapshot taken before user code runs, to learn afterwards whether the button survived it. It holds
// the button's serial, which is never reused, so it answers without touching freed memory and stays
// right however deeply fires nest.
struct _MWinButtonExistCheck {
    MWinButtonSerial serial;
    MWin* mwin;
    MWinID collection_id;
    MWinID window_id;
    MWinID button_id;
    char filled;
};

constexpr int MWIN_BUTTON_TEXT_MAX = 512;
constexpr int MWIN_BUTTON_TOKEN_SIZE = 64;

// The one class behind every widget. Its kind selects the behaviour; this holds what all kinds share.
class MWinButton {
public:
    MWinButton(MWin* mwin, const char* id, MWinGroup* group, int kind, const char* texbut_id, const char* text,
               float x, float y, float w, float h);
    virtual ~MWinButton();
    MWinButton(const MWinButton&) = delete;
    MWinButton& operator=(const MWinButton&) = delete;

    virtual char CreateGraphicsObjects();
    virtual void DestroyGraphicsObjects();
    virtual void AreaChanged();
    virtual char Tick();
    virtual void Render();
    virtual char HandleButtonPressed(int button, char down, char flag);
    virtual char HandleDoubleClick(int button);
    virtual void CancelPress();
    virtual char HandleMouseMove();
    virtual char HandleMouseWheel(int steps);
    virtual char HandleKeyDown(int key);
    virtual char HandleKeyDownChar(int ch);
    virtual char HandleKeyUp(int key);
    virtual char IsCapturingInput();
    virtual void SetHighlight();
    virtual void ResetState();

    // Identity and validity.
    bool IsValid() const { return m_valid == 1 && m_check_b == EngUInt16(m_check_a + 1); }
    MWinButtonSerial GetSerial() const { return m_serial; }
    // The live button of that serial, or null once it was deleted.
    static MWinButton* FindLive(MWinButtonSerial serial);
    static int GetNumButtons();
    const char* GetID() const { return m_id; }
    _MWinButtonType GetKind() const { return m_kind; }
    bool IsReady() const { return m_ready != 0; }
    MWin* GetMWin() const { return m_mwin; }
    MWinWindow* GetWindow() const { return m_window; }
    MWinGroup* GetGroup() const { return m_group; }
    MWinCollection* GetCollection() const;
    MWinButton* GetPrev() const { return m_prev; }
    MWinButton* GetNext() const { return m_next; }
    void SetPrev(MWinButton* button) { m_prev = button; }
    void SetNext(MWinButton* button) { m_next = button; }

    // Geometry.
    void SetArea(float x, float y, float w, float h);
    void SetEdges(float left, float top, float right, float bottom);
    void SetPosition(float x, float y);
    void GetArea(float* x, float* y, float* w, float* h) const;
    const _Dimension* GetAreaP() const { return &m_area; }
    const _Dimension* GetScreenArea() const { return &m_screen_area; }
    const _Dimension* GetVisibleArea() const { return &m_visible_area; }
    void GetAreaRect(int* left, int* top, int* right, int* bottom) const;
    void CalcArea();
    bool IsOnScreen() const { return m_on_screen != 0; }
    float GetTextMargin() const { return m_text_margin; }
    bool IsMouseOver() const;

    // Appearance.
    char SetBackTexButToTexBut(const char* id);
    int GetBackTexButNum() const { return m_texbut_num; }
    char SetCustomTextureState(int state, EngTexture* external, char flag, float left_u, float top_v,
                               float right_u, float bottom_v, float r, float g, float b, float a);
    char SetCustomTextureStateFile(int state, const char* file, char load_flag1, char load_flag2);
    char SetCustomTexture(EngTexture* texture);
    char CreateCustomTexBut();
    bool HasCustomTextureStates() const { return m_custom_states_on != 0; }
    char SetFont(const char* id);
    int GetFontNum() const { return m_font_num; }
    EngFont* GetFont();
    char SetText(const char* text);
    char SetText2(const char* text);
    char SetTextF(const char* format, ...) __attribute__((format(printf, 2, 3)));
    char SetTextToken(const char* token);
    bool IsLanguageTextOn() const { return m_lang_on != 0; }
    bool HasText(int n);
    const char* GetTextP(int n);
    void SetTextColour(float r, float g, float b, float a);
    void SetTextColourFromArray(const float* rgba);
    const float* GetTextColour() const { return m_text_colour; }
    void SetTextScale(float sx, float sy);
    void SetTextScaleFromArray(const float* scale);
    void GetTextScale(float* sx, float* sy) const;
    void SetTextAlign(int align);
    int GetTextAlign() const { return m_text_align; }
    void SetMultiline(char on) { m_multiline = on ? 1 : 0; }
    void SetShrinkTextToFit(char on) { m_shrink_to_fit = on ? 1 : 0; }
    void SetModulateColour(float r, float g, float b, float a);
    void SetModulateAlpha(float a);
    int GetModulateMode() const { return m_modulate_mode; }
    const float* GetModulateColour() const { return m_modulate_colour; }
    void SetRenderCallback(MWinButtonRenderCB callback, int value, void* user_data);
    _MWinTextureState GetTextureState() const;
    // The text colour as drawn: modulated and, when disabled, faded.
    void GetDrawTextColour(float* rgba) const;

    // State.
    void Enable();
    void Disable();
    void Hide();
    void Show() { m_shown = 1; }
    bool IsEnabled() const { return m_enabled != 0; }
    bool IsShown() const { return m_shown != 0; }
    bool IsHighlighted() const { return m_highlighted != 0; }
    bool IsPressed() const { return m_pressed != 0; }
    bool IsDragging() const { return m_dragging != 0; }
    void ClearPressed() { m_pressed = 0; }
    bool IsClickable() const;
    char SetEscapeButtonForParentWindow();
    char SetDefaultButtonForParentWindow();

    // Callbacks. Each form replaces the others.
    char SetCallback(MWinButtonCB callback, int int1, int int2, char check);
    char SetCallback(MWinButtonUserCB callback, int int1, int int2, void* user_data, char check);
    char SetPlainCallback(MWinButtonPlainCB callback, void* user_data);
    bool HasCallback() const;
    // Fires the button: its controller's ButtonCB or its own callback. False when nothing ran or the
    // button did not survive it.
    bool Fire(_MWinButtonCallbackInfo* info = nullptr);
    // The common tail of setters that can report: fire 1 always fires, 2 only when changed.
    bool FireIfAsked(char fire, bool changed, _MWinButtonCallbackInfo* info = nullptr);
    void FillCallbackInfo(_MWinButtonCallbackInfo* info) const;

    void FillStillExistsCheckInfo(_MWinButtonExistCheck* check) const;
    static bool DoWeStillExist(const _MWinButtonExistCheck* check);

    // Registered program variables.
    char RegisterIntVariable(int* variable, float multiplier);
    char RegisterCharVariable(char* variable);
    char RegisterFloatVariable(float* variable, float multiplier);
    _MWinVariableKind GetVariableKind() const { return m_var_kind; }
    // Writes value (times the multiplier) into the registered variable.
    void WriteRegisteredVariable(double value);
    // Reads the registered variable back (divided by the multiplier); false without one.
    bool ReadRegisteredVariable(double* value) const;

    // Value bar (kind 4); defined in MWinValueBar.cpp.
    double GetHorzValueBarValue() const;
    float GetHorzValueBarValueF() const { return float(GetHorzValueBarValue()); }
    void SetHorzValueBar(double value, double minimum, double maximum, char logarithmic);
    float GetHorzValueBarThumbX() const;
    bool IsMouseOverHorzValueBarThumb() const;
    // The value a thumb whose left edge stands at x gives, within the range.
    double HorzValueBarValueAt(float x) const;

    // Text edit (kind 3); defined with the kind in MWinTextEdit.cpp. The common handlers call
    // TextEditHandleMousePress (release over the field),
    // TextEditHandleKeyDown / TextEditHandleKeyDownUChar (keys), TextEditTick, TextEditRenderText (the
    // foreground) and TextEditTurnOffEditing (0) from ResetState while editing.
    char TextEditSetText(const char* text);
    int TextEditGetNumber();
    void TextEditSetLength(int length);
    void TextEditRegisterTextVariable(char* buffer, int size);
    char TextEditAllocText();
    bool TextEditResizeBuffer(int length);
    void TextEditUpdateCursor();
    void TextEditTurnOnEditing(char mode);
    void TextEditTurnOffEditing(char enter);
    void TextEditMoveCursorToButtonAndTurnOnEditing();
    char TextEditHandleMousePress();
    char TextEditHandleKeyDown(int key);
    char TextEditHandleKeyDownUChar(unsigned char ch);
    char TextEditTick();
    void TextEditRenderText();
    bool TextEditIsEditing() const { return m_textedit.editing != 0; }
    _MWinTextEditData* GetTextEditData() { return &m_textedit; }

    // Check box (kind 8); defined in MWinCheckBox.cpp.
    void CheckboxSet(char value, char fire);
    char CheckboxGetValue() const { return m_checkbox.value; }
    char CheckboxRegisterCharVariable(char* variable, char fire);

    // Choice (kind 9); defined in MWinChoice.cpp.
    char ChoiceSetStrings(int count, const char** strings);
    char ChoiceSetStringsCallback(int count, MWinButtonStringCB callback, void* user);
    char ChoiceSetStringsToken(const char* token);
    char ChoiceSetSel(int sel, char fire);
    int ChoiceGetSel() const { return m_choice.selection; }
    char ChoiceRegisterCharVariable(char* variable, char fire);
    char ChoiceRegisterIntVariable(int* variable, char fire);
    void ChoiceSetArrows(char on, char unused);
    void ChoiceSetWideSelection(char on);
    void ChoiceSetHoverReporting(char on);
    const _MWinChoiceData* GetChoiceData() const { return &m_choice; }
    // The segment areas of segments mode: x and width of segment index; false when there is none.
    bool ChoiceGetSegment(int index, float* x, float* w) const;

    // Range slider (kind 16); defined in MWinRangeSlider.cpp.
    void RangeSliderSetRange(float minimum, float maximum, float minimum_gap);
    void RangeSliderSetLabel(char decimals, int prefix_length);
    void RangeSliderSetPair(float low, float high, char fire, char dragging);
    void RangeSliderGetPair(float* low, float* high) const;
    char RangeSliderRegisterFloatPairVariable(float* pair, float divisor);
    // Screen x of the low thumb's left edge and of the high thumb's left edge.
    void RangeSliderGetThumbs(float* low_x, float* high_x) const;

    // Drop-down list (kind 7); defined in MWinDropDownList.cpp.
    int ListGetPos();
    const char* ListGetStringAtPos(int pos);
    char ListSetPos(int pos, char fire);
    char ListCalcOpenListVariables();
    char ListSetStrings(int count, const char** strings);
    char ListSetStringsCallback(int count, MWinButtonStringCB callback, void* user);
    char ListSetStringsToken(const char* token);
    bool ListIsOpen() const { return m_list.open != 0; }
    const _MWinDropDownListData* GetListData() const { return &m_list; }
    // Draws the open column over everything; the group calls it after its buttons.
    void ListRenderOpen();

    // Panel (kind 10); defined in MWinPanel.cpp.
    int PanelGetPos();
    char PanelGetVisibleRange(int* first, int* last);
    char PanelGetEntryArea(int entry, float* area);
    char PanelSetPos(int pos, char fire, char how);
    void PanelCentreOnPos();
    char PanelSetStringsCallback(int count, int per_page, MWinButtonStringCB callback, void* user);
    void PanelUpdateNumPerPageVar(int n);
    void PanelRenderBack(_MWinTextureState state);
    void PanelRenderText();
    void PanelSetOptions(char allow_none, char multi_selection, char toggle_mode, char show_selection);
    void PanelSetEntryRenderCallback(MWinPanelEntryRenderCB callback, void* user);
    void PanelSetEntryColours(const float* colours) { m_panel.colours = colours; }
    void PanelSetScroll(float scroll);
    bool PanelIsSelected(int entry) const;
    const _MWinPanelData* GetPanelData() const { return &m_panel; }

    // Attached picture (any kind); defined in MWinButtonPicture.cpp.
    char PictureAttachTextureToButton(EngTexture* texture, char blending);
    char PictureGetMode() const { return m_picture.mode; }
    void PictureSetInsets(char on, float left, float top, float right, float bottom);
    void PictureSetTextureRect(const float* rect); // null: the whole texture
    void PictureSetPictureSet(EngPicture* owner, int set_num, char advance);
    const _MWinButtonPictureData* GetPictureData() const { return &m_picture; }

    // Progress ring (kind 12); defined in MWinProgressRing.cpp.
    void RingsSetValue(float value, float maximum);
    const _MWinRingsData* GetRingsData() const { return &m_rings; }

    // Colour picker (kind 11); defined in MWinColourPicker.cpp.
    char ColourSetBars(MWinButton* hue, MWinButton* saturation, MWinButton* brightness);
    char ColourRegisterVariable(float* rgb, float factor, float offset);
    void ColourUpdateFromScrollbars(char fire);
    void ColourRepaint();
    const _MWinColourData* GetColourData() const { return &m_colour; }

protected:
    void DrawBackground(_MWinTextureState state);
    void DrawForeground();
    void DrawKindBackground(_MWinTextureState state);
    void DrawKindForeground();
    bool HandleKindPress(char down, char* used);
    void DrawTexts();
    void SetFontScale(EngFont* font);
    bool BeginClip(bool* began);
    bool NeedsClip() const;
    void InitKind();
    float LayoutField(int field) const;
    char SetTextN(int n, const char* text);
    void FreeTexts();
    char StoreCallbackCheck(const void* callback, char check);
    char RegisterVariable(const char* name, _MWinVariableKind kind, void* variable, float multiplier);
    // Calls whichever own callback is set.
    void CallOwnCallback(_MWinButtonCallbackInfo* info);
    void AfterFire(bool handled);
    // Hands this button to the parent window through `assign`; reports under `own_name` when there is none.
    char AssignToParentWindow(void (MWinWindow::*assign)(MWinButton*), const char* own_name);
    void Redraw();
    void MapToWindow(float* x, float* y, float* w, float* h) const;
    void ClipVisibleArea();
    const char* LanguageSubText(int n, int* count) const;

    // Entry texts of choices, lists and panels (MWinEntrySource.cpp).
    const char* EntrySourceText(const _MWinEntrySource* source, int count, int index) const;
    char EntrySourceSetToken(_MWinEntrySource* source, const char* token, int* count);
    void EntrySourceSet(_MWinEntrySource* source, MWinButtonStringCB callback, const char** strings, void* user);

    void CheckboxHandlePress(char down);
    char CheckboxHandleKeyDown(int key);
    void CheckboxRenderBox();
    void CheckboxRenderText();
    // The image's x and the text area of the check box's drawing.
    void CheckboxLayout(float* image_x, _Dimension* text_area);

    char ChoiceHandlePress(char down);
    char ChoiceHandleMouseMove();
    char ChoiceHandleKeyDown(int key);
    void ChoiceRenderBack(_MWinTextureState state);
    void ChoiceRenderText();
    void ChoiceUpdateArrows();
    const char* ChoiceText(int index) const;
    char ChoiceRegisterVariable(char fire);
    char ChoiceUseSource(int count, MWinButtonStringCB callback, const char** strings, void* user);

    void ValueBarHandlePress(char down);
    void ValueBarRenderThumb(_MWinTextureState state);
    char ValueBarHandleMouseMove();
    float ValueBarThumbWidth() const;
    // The track's start on the screen; its length the thumb's left edge runs along.
    float ValueBarTrack(float* start) const;

    void RangeSliderHandlePress(char down);
    char RangeSliderHandleMouseMove();
    char RangeSliderHandleKeyDown(int key);
    void RangeSliderRender(_MWinTextureState state);
    void RangeSliderUpdateLabel();
    void RangeSliderWritePair();
    float RangeSliderValueAt(float x) const;
    // Screen x of the bar's start and the thumbs' travel; the thumb width.
    float RangeSliderTravel(float* start, float* thumb_w) const;
    void RangeSliderDragTo(float mx);

    void ListHandlePress(char down);
    char ListHandleMouseMove();
    char ListHandleWheel(int steps);
    char ListHandleKeyDown(int key);
    char ListTick();
    void ListRenderClosed(_MWinTextureState state);
    void ListRenderText();
    void ListOpen();
    void ListClose(bool choose);
    void ListSetHover(int hover, bool fire);
    void ListMoveHover(int delta);
    void ListStepClosed(int delta);
    bool ListCheckKind(const char* name) const;
    char ListSetCount(int count);
    void ListDrawOpenTexts();

    char PanelHandlePress(char down);
    char PanelHandleDoubleClick();
    char PanelHandleMouseMove();
    char PanelHandleWheel(int steps);
    char PanelHandleKeyDown(int key);
    void PanelCalcGeometry();
    void PanelClampScroll();
    void PanelAllocateMultiPos();
    void PanelFreeMultiPos();
    void PanelSelectMulti(int pos, char how);
    int PanelMaxScroll() const;
    int PanelRowAt(float y) const;

    void PictureDraw();
    char PictureTick();
    char RingsCreateGraphics();
    void RingsDestroyGraphics();
    void RingsBuild();
    void RingsDraw();
    void ColourInitData();
    void ColourFreeData();
    void ColourWriteBound();
    void ColourCompute();
    const float* ColourHueEntry() const;
    void ColourPaintPicture(int bar, unsigned char* rgb) const;

    // Validity marker: 1 and k, k + 1 while alive.
    char m_valid = 0;
    EngUInt16 m_check_a = 0;
    EngUInt16 m_check_b = 0;
    MWinButtonSerial m_serial = 0;

    char m_ready = 0;
    char m_highlighted = 0;
    char m_pressed = 0;
    char m_enabled = 1;
    char m_shown = 1;
    char m_on_screen = 0;

    MWinButtonCB m_callback = nullptr;
    MWinButtonUserCB m_user_callback = nullptr;
    MWinButtonPlainCB m_plain_callback = nullptr;
    void* m_user_data = nullptr;
    char m_callback_set = 0;

    _MWinVariableKind m_var_kind = MWIN_VAR_NONE;
    void* m_var = nullptr;
    float m_var_multiplier = 1.0f;
    _MWinTextEditData m_textedit = {};
    _MWinValueBarData m_valuebar = {};
    _MWinCheckBoxData m_checkbox = {};
    _MWinChoiceData m_choice = {};
    _MWinRangeSliderData m_slider = {};
    _MWinDropDownListData m_list = {};
    _MWinPanelData m_panel = {};
    _MWinButtonPictureData m_picture = {};
    _MWinRingsData m_rings = {};
    _MWinColourData m_colour = {};

    char m_dragging = 0;

    char m_custom_states_on = 0;
    char m_default_texbut_chosen = 0;
    _MWinCustomTextureState m_custom_states[MWIN_NUM_TEXTURE_STATES] = {};

    char* m_texts[2] = {};
    int m_text_lengths[2] = {};
    int m_text_alloc_count = 0;

    MWinButtonRenderCB m_render_callback = nullptr;
    int m_render_value = 0;
    void* m_render_user_data = nullptr;

    MWinID m_id = {};

    MWin* m_mwin = nullptr;
    MWinWindow* m_window = nullptr;
    MWinGroup* m_group = nullptr;
    MWinButton* m_prev = nullptr;
    MWinButton* m_next = nullptr;

    _Dimension m_area = {};
    _Dimension m_screen_area = {};
    _Dimension m_visible_area = {};

    _MWinButtonType m_kind = MWIN_BUT_NONE;

    float m_text_scale[2] = {1.0f, 1.0f};
    float m_text_colour[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    char m_modulate_mode = 0;
    float m_modulate_colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};

    MWinID m_texbut_id = {};
    int m_texbut_num = -1;

    int m_int1 = 0;
    int m_int2 = 0;

    MWinID m_font_id = {};
    int m_font_num = MWIN_FONT_NUM_DEFAULT;

    _MWinTextAlign m_text_align = MWIN_ALIGN_CENTRE;

    char m_multiline = 0;
    char m_shrink_to_fit = 1;
    float m_text_margin = 0.0f;

    char m_lang_on = 0;
    char m_lang_token[MWIN_BUTTON_TOKEN_SIZE] = {};
    int m_lang_token_num = -1;
    int m_lang_num_sub_texts = 0;
};
