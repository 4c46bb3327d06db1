#include "Game/Screens/TorviMWinSkin.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Graphics/EngFont.h"
#include "Engine/Graphics/EngTexture.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinTextureRegistry.h"
#include "Game/Screens/TorviMWinSkinTable.h"

namespace {

// A layout field and its value in every layout; the two fields that differ per layout follow below.
struct SkinMetric {
    int field;
    float value;
};

const SkinMetric k_metrics[] = {
    {MWIN_LF_BUTTON_WIDTH, 60},
    {MWIN_LF_BUTTON_HEIGHT, 20},
    {MWIN_LF_CLIP_INSET_X, 3},
    {MWIN_LF_CLIP_INSET_Y, 3},
    {MWIN_LF_TEXT_SCALE_X, 0},
    {MWIN_LF_TEXT_SCALE_Y, 0},
    {MWIN_LF_TEXT_MARGIN, 3},
    {MWIN_LF_TEXT_MARGIN_PER_WIDTH, 0},
    {MWIN_LF_TWO_LINE_OFFSET, 10},
    {MWIN_LF_CHECK_WIDTH, 12},
    {MWIN_LF_CHECK_HEIGHT, 12},
    {MWIN_LF_CHECK_OUTER_MARGIN, 3},
    {MWIN_LF_PANEL_THUMB_WIDTH, 12},
    {MWIN_LF_VALUE_BAR_THUMB_WIDTH, 24},
    {MWIN_LF_PANEL_SCROLL_WIDTH, 12},
    {MWIN_LF_PANEL_MIN_THUMB_LENGTH, 24},
    {MWIN_LF_SLIDER_THUMB_WIDTH, 15},
    {MWIN_LF_CHECK_INNER_MARGIN, 3},
    {MWIN_LF_VALUE_BAR_INSET, 3},
    {MWIN_LF_PANEL_END_MARGIN, 3},
    {MWIN_LF_CHOICE_ARROW_WIDTH, 12},
    {MWIN_LF_CHOICE_ARROW_HEIGHT, 12},
    {MWIN_LF_CHOICE_ARROW_MARGIN, 3},
    {MWIN_LF_LIST_ARROW_WIDTH, 12},
    {MWIN_LF_LIST_ARROW_HEIGHT, 12},
    {MWIN_LF_LIST_ARROW_MARGIN, 3},
    {MWIN_LF_SLIDER_END_MARGIN, 3},
};

// The main font's creation words: light glyphs with a soft shadow offset (9, 7) in the second channel.
const float k_font_layout[ENG_FONT_LAYOUT_VALUES] = {0.12f, 0.213f, 1.109f, 5.952f, 0, 0, 0, 0};
constexpr int k_font_pixel_size = 31;
constexpr float kDisabledTextAlpha = 0.35f;

// The atlas id of a state that has its own rectangle, else none.
const char* StateTexture(const TorviSkinTexBut& row, int state)
{
    return row.states & (1u << state) ? TORVI_SKIN_ATLAS_ID : "";
}

_MWinTextureButton* AddRow(MWinTextures* textures, const TorviSkinTexBut& row)
{
    const TorviSkinRect* r = row.rects;
    if (row.slot == TORVI_SKIN_OWN)
        return textures->AddTextureButton(
            row.id, StateTexture(row, 0), r[0].left, r[0].top, r[0].right, r[0].bottom, StateTexture(row, 1),
            r[1].left, r[1].top, r[1].right, r[1].bottom, StateTexture(row, 2), r[2].left, r[2].top, r[2].right,
            r[2].bottom, StateTexture(row, 3), r[3].left, r[3].top, r[3].right, r[3].bottom);
    textures->RemoveStandardTextureButton(row.slot);
    return textures->AddStandardTextureButton(
        row.slot, row.id, StateTexture(row, 0), r[0].left, r[0].top, r[0].right, r[0].bottom, StateTexture(row, 1),
        r[1].left, r[1].top, r[1].right, r[1].bottom, StateTexture(row, 2), r[2].left, r[2].top, r[2].right,
        r[2].bottom, StateTexture(row, 3), r[3].left, r[3].top, r[3].right, r[3].bottom);
}

// The game's own rows report which step failed; the standard slots fail quietly.
bool DefineRow(MWinTextures* textures, const TorviSkinTexBut& row)
{
    const bool own = row.slot == TORVI_SKIN_OWN;
    if (!AddRow(textures, row)) {
        if (own)
            DebugError(ENG_FUNC, "Could not load texbut <%s>", row.id);
        return false;
    }
    if (!textures->SetTexButDrawStyle(row.id, row.x.mode, row.x.end_fraction, row.x.end_size, row.y.mode,
                                      row.y.end_fraction, row.y.end_size)) {
        if (own)
            DebugError(ENG_FUNC, "Could not set texbut draw style <%s>", row.id);
        return false;
    }
    if (!textures->SetTexButDrawExtra(row.id, 0.0f, 0.0f, 0.0f)) {
        if (own)
            DebugError(ENG_FUNC, "Could not set texbut draw extra <%s>", row.id);
        return false;
    }
    return true;
}

} // namespace

bool TorviMWinSetupTexturesAndTexButs(MWin* mwin)
{
    if (!mwin) {
        DebugError(ENG_FUNC, "No mwinp");
        return false;
    }
    MWinTextures* textures = mwin->GetTextures();
    if (!textures) {
        DebugError(ENG_FUNC, "No mwin textures");
        return false;
    }
    bool ok = true;
    if (!textures->AddTexture(TORVI_SKIN_ATLAS_ID, TORVI_SKIN_ATLAS_FILE, 1, ETFE_PNG)) {
        DebugError(ENG_FUNC, "Could not load texture <%s>", TORVI_SKIN_ATLAS_FILE);
        ok = false;
    }
    for (const TorviSkinTexBut& row : kTorviSkinTexButs)
        ok = DefineRow(textures, row) && ok;
    return ok;
}

bool TorviMWinSetupSizes(MWin* mwin)
{
    if (!mwin) {
        DebugError(ENG_FUNC, "No mwinp");
        return false;
    }
    _MWinSettings settings;
    mwin->GetSettings(&settings);
    for (int layout = 0; layout < MWIN_NUM_LAYOUTS; layout++) {
        _MWinLayoutSettings& l = settings.base_layouts[layout];
        for (const SkinMetric& m : k_metrics)
            l.f[m.field] = m.value;
        // The phone layouts clip their buttons' contents further in; only the desktop layout widens its text margin.
        if (layout == MWIN_LAYOUT_IPHONE_PORTRAIT || layout == MWIN_LAYOUT_IPHONE_LANDSCAPE)
            l.f[MWIN_LF_CLIP_INSET_Y] = 6;
        if (layout == MWIN_LAYOUT_NORMAL)
            l.f[MWIN_LF_TEXT_MARGIN_PER_WIDTH] = 0.09f;
    }
    // The collection under the mouse becomes active; a window does so only when it is the collection's one.
    settings.hover_activate_collection = 1;
    settings.hover_activate_window = 0;
    // A disabled button's text greys out with its sunken plate, so it no longer looks pressable.
    settings.disabled_text_alpha = kDisabledTextAlpha;
    mwin->SetSettings(&settings);
    mwin->ApplyLayoutScale();
    return true;
}

bool TorviMWinCreateFontApart(int font_number, const char* file, EngFont* font)
{
    if (!font || !file || !file[0])
        return false;
    if (font_number != 0) {
        DebugError(ENG_FUNC, "Bad font number %d", font_number);
        return false;
    }
    _EngFontCreationWord words[ENG_FONT_CREATION_WORDS] = {};
    words[0].i = 1;
    words[1].i = 9;
    words[2].i = 7;
    words[3].f = 0.0f;
    words[4].f = 0.803f;
    words[5].i = 3;
    words[6].i = 1;
    font->SetCreationParms(words);
    if (!font->CreateFromFontFile(file, 1, 1, k_font_pixel_size, 32, 126, nullptr, 0, k_font_layout, 1)) {
        DebugError(ENG_FUNC, "EngFont::Create failed <Main>");
        return false;
    }
    return true;
}
