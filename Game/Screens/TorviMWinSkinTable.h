#pragma once

// The GUI skin's atlas: every texture button of the game's look, its rectangles in the atlas and its draw style.
// The game registers these rows (TorviMWinSkin.cpp) and the data generator draws the atlas from the same rows
// (tools/datagen/DataGenSkin.cpp), so a picture and the rectangle that cuts it out cannot drift apart.
// Plain data only: the generator includes this header without the engine.

constexpr const char* TORVI_SKIN_ATLAS_ID = "Buttons";
constexpr const char* TORVI_SKIN_ATLAS_FILE = "Data\\1000.dat";
constexpr int TORVI_SKIN_ATLAS_PIXELS = 1024;
// The game's own texture buttons have no standard slot.
constexpr int TORVI_SKIN_OWN = -1;

// What the generator draws into a row's rectangles; each state of a row is drawn as that state of its look.
enum TorviSkinLook {
    TORVI_LOOK_ARROW_BIG,   // a large left arrow
    TORVI_LOOK_MIRRORED,    // a mirror of rectangles drawn for another row: nothing of its own
    TORVI_LOOK_PANEL,       // a framed translucent panel
    TORVI_LOOK_PLATE,       // a brushed metal plate
    TORVI_LOOK_BLACK,       // a black panel with a thin rim
    TORVI_LOOK_BOX,         // a frame around a group of controls
    TORVI_LOOK_BUTTON,      // the push button
    TORVI_LOOK_FIELD,       // a sunken field (choices, panels)
    TORVI_LOOK_START,       // the green race start button
    TORVI_LOOK_TITLE,       // a title banner
    TORVI_LOOK_ARROW_LEFT,  // small arrow buttons
    TORVI_LOOK_ARROW_RIGHT,
    TORVI_LOOK_ARROW_UP,
    TORVI_LOOK_ARROW_DOWN,
    TORVI_LOOK_THUMB,       // a scroll bar's or slider's grip
    TORVI_LOOK_TRACK,       // a scroll bar's groove
    TORVI_LOOK_LIST_BODY,   // an open list: its body, top and bottom caps and the entry under the mouse
    TORVI_LOOK_LIST_TOP,
    TORVI_LOOK_LIST_BOTTOM,
    TORVI_LOOK_LIST_SELECTION,
    TORVI_LOOK_CHECK_ON,
    TORVI_LOOK_CHECK_OFF,
    TORVI_LOOK_TAB_HEADING,
    TORVI_LOOK_TAB_DIVIDER,
    TORVI_LOOK_ROW_1,
    TORVI_LOOK_ROW_2,
    TORVI_LOOK_ROW_SELECTION,
};

struct TorviSkinRect {
    float left;
    float top;
    float right;
    float bottom;
};

// One axis of a draw style: mode (above 1 keeps the ends), the end's share of the rectangle, the end's size on
// the screen in virtual units.
struct TorviSkinAxis {
    int mode;
    float end_fraction;
    float end_size;
};

struct TorviSkinTexBut {
    const char* id;
    int slot;                 // standard slot, or TORVI_SKIN_OWN
    unsigned char states;     // bit s: state s has a rectangle of the atlas
    TorviSkinRect rects[4];   // per state; unused states are zero
    TorviSkinAxis x;
    TorviSkinAxis y;
    TorviSkinLook look;
};

// A rectangle given in atlas pixels.
constexpr TorviSkinRect TorviSkinPx(int left, int top, int right, int bottom)
{
    const float size = float(TORVI_SKIN_ATLAS_PIXELS);
    return {float(left) / size, float(top) / size, float(right) / size, float(bottom) / size};
}

// A rectangle mirrored left to right: the same pixels drawn the other way round.
constexpr TorviSkinRect TorviSkinMirror(TorviSkinRect r)
{
    return {r.right, r.top, r.left, r.bottom};
}

// Four states side by side in a row of 192 x 64 cells starting at x 256, a two-pixel gutter around each.
constexpr TorviSkinRect TorviSkinRowCell(int row, int state)
{
    return TorviSkinPx(256 + state * 192 + 2, row * 64 + 2, 256 + state * 192 + 190, row * 64 + 62);
}

constexpr unsigned char TORVI_SKIN_STATE_0 = 1;
constexpr unsigned char TORVI_SKIN_STATES_0_3 = 9;
constexpr unsigned char TORVI_SKIN_ALL_STATES = 15;

constexpr TorviSkinRect kTorviSkinArrowL[4] = {
    {0.005f, 0.328f, 0.061f, 0.359f},
    {0.127f, 0.627f, 0.249f, 0.874f},
    {0.251f, 0.628f, 0.374f, 0.875f},
    {0.376f, 0.627f, 0.498f, 0.874f},
};
constexpr TorviSkinRect kTorviSkinMain[4] = {TorviSkinRowCell(0, 0), TorviSkinRowCell(0, 1), TorviSkinRowCell(0, 2),
                                             TorviSkinRowCell(0, 3)};
constexpr TorviSkinRect kTorviSkinStart[4] = {TorviSkinRowCell(1, 0), TorviSkinRowCell(1, 1), TorviSkinRowCell(1, 2),
                                              TorviSkinRowCell(1, 3)};
constexpr TorviSkinRect kTorviSkinPanel[4] = {TorviSkinRowCell(2, 0), TorviSkinRowCell(2, 1), TorviSkinRowCell(2, 2),
                                              TorviSkinRowCell(2, 3)};
constexpr TorviSkinAxis kTorviSkinStretch = {0, 0.0f, 0.0f};
constexpr TorviSkinAxis kTorviSkinStretchAll = {1, 0.0f, 0.0f};

// In definition order: the game's own first, then the standard slots in rising order. Later rows are drawn over
// earlier ones where rectangles meet (the large arrow states lie partly under "Back2").
inline constexpr TorviSkinTexBut kTorviSkinTexButs[] = {
    {"ArrowL", TORVI_SKIN_OWN, TORVI_SKIN_ALL_STATES,
     {kTorviSkinArrowL[0], kTorviSkinArrowL[1], kTorviSkinArrowL[2], kTorviSkinArrowL[3]}, kTorviSkinStretch,
     kTorviSkinStretch, TORVI_LOOK_ARROW_BIG},
    {"ArrowR", TORVI_SKIN_OWN, TORVI_SKIN_ALL_STATES,
     {TorviSkinMirror(kTorviSkinArrowL[0]), TorviSkinMirror(kTorviSkinArrowL[1]), TorviSkinMirror(kTorviSkinArrowL[2]),
      TorviSkinMirror(kTorviSkinArrowL[3])},
     kTorviSkinStretchAll, kTorviSkinStretch, TORVI_LOOK_MIRRORED},
    {"Back", TORVI_SKIN_OWN, TORVI_SKIN_STATE_0, {{0.0f, 0.001f, 0.25f, 0.249f}}, {2, 0.12f, 10.0f},
     {2, 0.12f, 12.0f}, TORVI_LOOK_PANEL},
    {"Back1", TORVI_SKIN_OWN, TORVI_SKIN_STATE_0, {{0.0f, 0.0f, 0.25f, 0.25f}}, {2, 0.09f, 12.0f}, {2, 0.09f, 12.0f},
     TORVI_LOOK_PANEL},
    {"Back2", TORVI_SKIN_OWN, TORVI_SKIN_STATE_0, {{0.0f, 0.511f, 0.248f, 0.749f}}, {2, 0.13f, 16.0f},
     {2, 0.17f, 11.0f}, TORVI_LOOK_PLATE},
    {"Black", TORVI_SKIN_OWN, TORVI_SKIN_STATE_0, {{0.752f, 0.752f, 0.873f, 0.873f}}, {2, 0.13f, 3.0f},
     {2, 0.13f, 3.0f}, TORVI_LOOK_BLACK},
    {"Box", TORVI_SKIN_OWN, TORVI_SKIN_STATES_0_3,
     {TorviSkinPx(520, 520, 712, 584), {}, {}, TorviSkinPx(520, 592, 712, 656)}, {2, 0.15f, 12.0f},
     kTorviSkinStretchAll, TORVI_LOOK_BOX},
    {"Main", TORVI_SKIN_OWN, TORVI_SKIN_ALL_STATES, {kTorviSkinMain[0], kTorviSkinMain[1], kTorviSkinMain[2],
     kTorviSkinMain[3]}, {2, 0.16f, 12.0f}, kTorviSkinStretchAll, TORVI_LOOK_BUTTON},
    {"Panel", TORVI_SKIN_OWN, TORVI_SKIN_ALL_STATES, {kTorviSkinPanel[0], kTorviSkinPanel[1], kTorviSkinPanel[2],
     kTorviSkinPanel[3]}, kTorviSkinStretchAll, kTorviSkinStretchAll, TORVI_LOOK_FIELD},
    {"Start", TORVI_SKIN_OWN, TORVI_SKIN_ALL_STATES, {kTorviSkinStart[0], kTorviSkinStart[1], kTorviSkinStart[2],
     kTorviSkinStart[3]}, kTorviSkinStretch, kTorviSkinStretch, TORVI_LOOK_START},
    {"TitleBack", TORVI_SKIN_OWN, TORVI_SKIN_STATE_0, {TorviSkinPx(728, 520, 1016, 584)}, {2, 0.15f, 16.0f},
     {2, 0.3f, 10.0f}, TORVI_LOOK_TITLE},

    {"StdLeftArrow", 5, TORVI_SKIN_STATE_0, {TorviSkinPx(2, 258, 30, 286)}, kTorviSkinStretch, kTorviSkinStretch,
     TORVI_LOOK_ARROW_LEFT},
    {"StdRightArrow", 6, TORVI_SKIN_STATE_0, {TorviSkinPx(34, 258, 62, 286)}, kTorviSkinStretch, kTorviSkinStretch,
     TORVI_LOOK_ARROW_RIGHT},
    {"StdUpArrow", 7, TORVI_SKIN_STATE_0, {TorviSkinPx(66, 258, 94, 286)}, kTorviSkinStretch, kTorviSkinStretch,
     TORVI_LOOK_ARROW_UP},
    {"StdDownArrow", 8, TORVI_SKIN_STATE_0, {TorviSkinPx(98, 258, 126, 286)}, kTorviSkinStretch, kTorviSkinStretch,
     TORVI_LOOK_ARROW_DOWN},
    {"StdScrollButton", 9, TORVI_SKIN_STATE_0, {TorviSkinPx(130, 258, 158, 286)}, kTorviSkinStretch,
     kTorviSkinStretch, TORVI_LOOK_THUMB},
    {"StdScrollBack", 10, TORVI_SKIN_STATE_0, {TorviSkinPx(258, 258, 510, 286)}, {2, 0.06f, 4.0f},
     kTorviSkinStretch, TORVI_LOOK_TRACK},
    {"StdVScrollButton", 11, TORVI_SKIN_STATE_0, {TorviSkinPx(162, 258, 190, 286)}, kTorviSkinStretch,
     {2, 0.3f, 4.0f}, TORVI_LOOK_THUMB},
    {"StdVScrollBack", 12, TORVI_SKIN_STATE_0, {TorviSkinPx(450, 290, 478, 510)}, kTorviSkinStretch,
     {2, 0.06f, 4.0f}, TORVI_LOOK_TRACK},
    {"StdListOpenMain", 13, TORVI_SKIN_STATE_0, {TorviSkinPx(130, 290, 320, 386)}, kTorviSkinStretch,
     kTorviSkinStretch, TORVI_LOOK_LIST_BODY},
    {"StdListOpenTop", 14, TORVI_SKIN_STATE_0, {TorviSkinPx(130, 390, 320, 406)}, kTorviSkinStretch,
     kTorviSkinStretch, TORVI_LOOK_LIST_TOP},
    {"StdListOpenBot", 15, TORVI_SKIN_STATE_0, {TorviSkinPx(130, 410, 320, 426)}, kTorviSkinStretch,
     kTorviSkinStretch, TORVI_LOOK_LIST_BOTTOM},
    {"StdListOpenSel", 16, TORVI_SKIN_STATE_0, {TorviSkinPx(130, 430, 320, 458)}, kTorviSkinStretch,
     kTorviSkinStretch, TORVI_LOOK_LIST_SELECTION},
    {"StdCheckButton", 17, TORVI_SKIN_STATE_0, {TorviSkinPx(194, 258, 222, 286)}, kTorviSkinStretch,
     kTorviSkinStretch, TORVI_LOOK_CHECK_ON},
    {"StdUnCheckButton", 18, TORVI_SKIN_STATE_0, {TorviSkinPx(226, 258, 254, 286)}, kTorviSkinStretch,
     kTorviSkinStretch, TORVI_LOOK_CHECK_OFF},
    {"StdTabPanelHeading", 19, TORVI_SKIN_STATE_0, {TorviSkinPx(258, 196, 1022, 228)}, {2, 0.02f, 6.0f},
     {2, 0.25f, 5.0f}, TORVI_LOOK_TAB_HEADING},
    {"StdTabPanelVertDiv", 20, TORVI_SKIN_STATE_0, {TorviSkinPx(490, 290, 498, 510)}, kTorviSkinStretchAll,
     {2, 0.05f, 3.0f}, TORVI_LOOK_TAB_DIVIDER},
    {"StdTabPanelRowBack1", 21, TORVI_SKIN_STATE_0, {TorviSkinPx(528, 360, 1015, 392)}, {2, 0.02f, 4.0f},
     kTorviSkinStretch, TORVI_LOOK_ROW_1},
    {"StdTabPanelRowBack2", 22, TORVI_SKIN_STATE_0, {TorviSkinPx(528, 400, 1015, 432)}, {2, 0.02f, 4.0f},
     kTorviSkinStretch, TORVI_LOOK_ROW_2},
    {"StdTabPanelRowSel", 23, TORVI_SKIN_STATE_0, {{0.516f, 0.287f, 0.991f, 0.339f}}, {2, 0.02f, 4.0f},
     kTorviSkinStretch, TORVI_LOOK_ROW_SELECTION},
    {"StdPushButton", 27, TORVI_SKIN_ALL_STATES, {kTorviSkinMain[0], kTorviSkinMain[1], kTorviSkinMain[2],
     kTorviSkinMain[3]}, {2, 0.16f, 12.0f}, kTorviSkinStretchAll, TORVI_LOOK_BUTTON},
    {"StdPanel", 30, TORVI_SKIN_ALL_STATES, {kTorviSkinPanel[0], kTorviSkinPanel[1], kTorviSkinPanel[2],
     kTorviSkinPanel[3]}, kTorviSkinStretchAll, kTorviSkinStretchAll, TORVI_LOOK_FIELD},
};

constexpr int TORVI_SKIN_NUM_TEXBUTS = int(sizeof(kTorviSkinTexButs) / sizeof(kTorviSkinTexButs[0]));
