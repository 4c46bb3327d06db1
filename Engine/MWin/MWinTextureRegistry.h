#pragma once

#include "Engine/Core/EngTypes.h"
#include "Engine/Graphics/EngDimension.h"
#include "Engine/MWin/MWinID.h"

class MWin;
class EngTexture;

constexpr int MWIN_MAX_TEXTURES = 64;
constexpr int MWIN_MAX_TEXTURE_BUTTONS = 256;
constexpr int MWIN_NUM_STANDARD_TEXBUTS = 34;
constexpr int MWIN_TEXTURE_FILE_SIZE = 256;

// Standard slots through which the kinds and windows find their default look.
enum _MWinStandardTexBut {
    MWIN_STD_WINDOW_BACK = 0,
    MWIN_STD_TITLE_BAR = 1,
    MWIN_STD_BUTTON_OTHER = 3,
    MWIN_STD_LABEL = 4,
    MWIN_STD_LEFT_ARROW = 5,
    MWIN_STD_RIGHT_ARROW = 6,
    MWIN_STD_UP_ARROW = 7,
    MWIN_STD_DOWN_ARROW = 8,
    MWIN_STD_HSCROLL_THUMB = 9,
    MWIN_STD_HSCROLL_TRACK = 10,
    MWIN_STD_VSCROLL_THUMB = 11,
    MWIN_STD_VSCROLL_TRACK = 12,
    MWIN_STD_LIST_OPEN_MAIN = 13,
    MWIN_STD_LIST_OPEN_TOP = 14,
    MWIN_STD_LIST_OPEN_BOTTOM = 15,
    MWIN_STD_LIST_OPEN_SELECTION = 16,
    MWIN_STD_CHECK_ON = 17,
    MWIN_STD_CHECK_OFF = 18,
    MWIN_STD_TAB_HEADING = 19,
    MWIN_STD_TAB_VERT_DIV = 20,
    MWIN_STD_TAB_ROW_BACK1 = 21,
    MWIN_STD_TAB_ROW_BACK2 = 22,
    MWIN_STD_TAB_ROW_SELECTION = 23,
    MWIN_STD_PUSH_BUTTON = 27,
    MWIN_STD_TEXT_EDIT = 28,
    MWIN_STD_LIST = 29,
    MWIN_STD_PANEL = 30,
};

// One visual state of a texture button: a rectangle of a registered texture and an optional colour.
struct _MWinTextureButtonState {
    EngInt32 texture; // index, -1 none
    float rect[4];    // left u, top v, right u, bottom v
    char colour_on;
    float colour[4];
};

// A named set of four state rectangles with a stretching style that can keep the ends unscaled.
struct _MWinTextureButton {
    MWinID id;
    _MWinTextureButtonState states[4];
    EngInt32 style_x; // 1 stretch the whole rectangle, above 1 keep the ends
    EngInt32 style_y;
    float end_fraction_x; // of the state's rectangle taken by one end
    float end_fraction_y;
    float end_size_x; // on the screen, virtual units
    float end_size_y;
    float extra_x; // left and right together
    float extra_top;
    float extra_bottom;
};

struct _MWinTexture {
    MWinID id;
    char file[MWIN_TEXTURE_FILE_SIZE];
    char load_flag1;
    char load_flag2;
    EngTexture* texture;
};

// Registers picture files and the texture buttons cut from them, and maps the standard slots.
class MWinTextures {
public:
    explicit MWinTextures(MWin* mwin);
    ~MWinTextures();
    MWinTextures(const MWinTextures&) = delete;
    MWinTextures& operator=(const MWinTextures&) = delete;

    char AddTexture(const char* id, const char* file, char load_flag1, char load_flag2);
    char CreateTextures();
    void DestroyTextures();
    bool AreTexturesLoaded() const { return m_loaded != 0; }
    // True when some texture object exists, loaded or not.
    bool HasTextures() const;
    int GetNumTextures() const { return m_num_textures; }
    int GetTextureNum(const char* id) const;
    EngTexture* GetTexture(int index) const;

    // Each state takes a texture id (empty: none) and a rectangle.
    _MWinTextureButton* AddTextureButton(const char* id, const char* tex0, float l0, float t0, float r0, float b0,
                                         const char* tex1, float l1, float t1, float r1, float b1,
                                         const char* tex2, float l2, float t2, float r2, float b2,
                                         const char* tex3, float l3, float t3, float r3, float b3);
    char SetTextureButtonState(_MWinTextureButton* record, int state, const char* texture_id, float left_u,
                               float top_v, float right_u, float bottom_v);
    _MWinTextureButton* AddStandardTextureButton(int slot, const char* id, const char* tex0, float l0, float t0,
                                                 float r0, float b0, const char* tex1, float l1, float t1,
                                                 float r1, float b1, const char* tex2, float l2, float t2,
                                                 float r2, float b2, const char* tex3, float l3, float t3,
                                                 float r3, float b3);
    char SetStandardTextureToTexBut(int slot, const char* texbut_id);
    int RemoveStandardTextureButton(int slot);
    int GetStandardTexButNum(int slot) const;
    const char* GetStandardTexButID(int slot) const;
    int GetTexButNum(const char* id) const;
    int GetNumTexButs() const { return m_num_texbuts; }
    const _MWinTextureButton* GetTexBut(int index) const;
    char SetTexButDrawStyle(const char* id, int style_x, float end_fraction_x, float end_size_x, int style_y,
                            float end_fraction_y, float end_size_y);
    char SetTexButDrawExtra(const char* id, float x, float top, float bottom);
    bool GetTexButDrawExtra(int index, float* x, float* top, float* bottom) const;

    char DrawTexBut(int index, int state, float x, float y, float w, float h, const float* colour);
    char DrawTexButInArea(int index, int state, const _Dimension* area, const float* offset, const float* colour);
    char DrawTexButStatePart(int index, int state, float x, float y, float w, float h, const float* part,
                             const float* colour);

    // The pieces a texture button is drawn in (1, 3 or 9) for a given size; for drawing and inspection.
    struct Piece {
        _Dimension area;
        float rect[4]; // texture rectangle
    };
    int LayoutTexBut(int index, int state, float x, float y, float w, float h, Piece* pieces) const;

private:
    const _MWinTextureButtonState* UsableState(const _MWinTextureButton* button, int state) const;
    // The state a button is drawn in, with its loaded texture and its tint (the state's colour times colour, which
    // may be null); null when the button or the texture is missing.
    const _MWinTextureButtonState* DrawableState(int index, int state, const float* colour, EngTexture** texture,
                                                 float* tint) const;
    void DrawPiece(EngTexture* texture, const Piece& piece, const float* colour) const;

    MWin* m_mwin;
    char m_loaded;
    _MWinTexture m_textures[MWIN_MAX_TEXTURES];
    _MWinTextureButton m_texbuts[MWIN_MAX_TEXTURE_BUTTONS];
    EngInt32 m_standard[MWIN_NUM_STANDARD_TEXBUTS];
    int m_num_textures;
    int m_num_texbuts;
};
