#include "Engine/MWin/MWinTextureRegistry.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/EngTexture.h"
#include "Engine/MWin/MWin.h"

#include <cstdio>
#include <cstring>

namespace {

bool ValidSlot(int slot)
{
    return slot >= 0 && slot < MWIN_NUM_STANDARD_TEXBUTS;
}

// One axis of a texture button: one span, or three with the ends kept at their size.
int LayoutSpans(float pos, float size, bool keep, float end, float fraction, float spans[3][4])
{
    if (!keep) {
        float one[4] = {pos, size, 0.0f, 1.0f};
        std::memcpy(spans[0], one, sizeof(one));
        return 1;
    }
    float all[3][4] = {{pos, end, 0.0f, fraction},
                       {pos + end, size - 2.0f * end, fraction, 1.0f - fraction},
                       {pos + size - end, end, 1.0f - fraction, 1.0f}};
    std::memcpy(spans, all, sizeof(all));
    return 3;
}

float Lerp(float a, float b, float t)
{
    return a + (b - a) * t;
}

} // namespace

MWinTextures::MWinTextures(MWin* mwin) : m_mwin(mwin), m_loaded(0), m_num_textures(0), m_num_texbuts(0)
{
    DebugFatalCheck(mwin != nullptr, ENG_FUNC, "Internal Error (MWinTextures)");
    std::memset(m_textures, 0, sizeof(m_textures));
    std::memset(m_texbuts, 0, sizeof(m_texbuts));
    for (EngInt32& slot : m_standard)
        slot = -1;
}

MWinTextures::~MWinTextures()
{
    if (m_loaded)
        DebugError(ENG_FUNC, "Textures still loaded");
    for (_MWinTexture& t : m_textures) {
        if (!t.texture)
            continue;
        t.texture->Destroy();
        delete t.texture;
        t.texture = nullptr;
    }
}

char MWinTextures::AddTexture(const char* id, const char* file, char load_flag1, char load_flag2)
{
    if (!file || !file[0]) {
        DebugError(ENG_FUNC, "No filename passed in");
        return 0;
    }
    if (strnlen(file, MWIN_TEXTURE_FILE_SIZE) >= size_t(MWIN_TEXTURE_FILE_SIZE)) {
        DebugError(ENG_FUNC, "Filename too long");
        return 0;
    }
    if (m_num_textures >= MWIN_MAX_TEXTURES) {
        DebugError(ENG_FUNC, "Too many textures");
        return 0;
    }
    if (!EngFileExists(file, false)) {
        DebugError(ENG_FUNC, "File does not exist <%s>", file);
        return 0;
    }
    _MWinTexture& t = m_textures[m_num_textures];
    if (!MWinCopyID(t.id, id))
        return 0;
    EngSafeStrcpy(t.file, file, sizeof(t.file));
    t.load_flag1 = load_flag1;
    t.load_flag2 = load_flag2;
    m_num_textures++;
    return 1;
}

bool MWinTextures::HasTextures() const
{
    for (const _MWinTexture& t : m_textures)
        if (t.texture)
            return true;
    return false;
}

char MWinTextures::CreateTextures()
{
    if (m_loaded) {
        DebugError(ENG_FUNC, "Textures already loaded");
        DestroyTextures();
    }
    char result = 1;
    for (int i = 0; i < m_num_textures; i++) {
        _MWinTexture& t = m_textures[i];
        char name[32];
        snprintf(name, sizeof(name), "MWinTextures:%d", i);
        if (!t.texture)
            t.texture = new EngTexture(name);
        bool ok = t.texture->LoadFromFileUsingExt(t.file, t.load_flag1 != 0, MWIN_GUI_ALPHA_TYPE,
                                                  _EngTextureFileExt(t.load_flag2));
        if (ok)
            continue;
        t.texture->Destroy();
        result = 0;
    }
    m_loaded = result;
    return result;
}

// A partly failed load leaves some textures loaded; they are destroyed as well.
void MWinTextures::DestroyTextures()
{
    if (!m_loaded && !HasTextures()) {
        DebugError(ENG_FUNC, "Textures not loaded");
        return;
    }
    for (_MWinTexture& t : m_textures)
        if (t.texture)
            t.texture->Destroy();
    m_loaded = 0;
}

int MWinTextures::GetTextureNum(const char* id) const
{
    for (int i = 0; i < m_num_textures; i++)
        if (MWinIDsEqual(m_textures[i].id, id))
            return i;
    return -1;
}

EngTexture* MWinTextures::GetTexture(int index) const
{
    if (index < 0 || index >= m_num_textures)
        return nullptr;
    return m_textures[index].texture;
}

_MWinTextureButton* MWinTextures::AddTextureButton(const char* id, const char* tex0, float l0, float t0, float r0,
                                                   float b0, const char* tex1, float l1, float t1, float r1,
                                                   float b1, const char* tex2, float l2, float t2, float r2,
                                                   float b2, const char* tex3, float l3, float t3, float r3,
                                                   float b3)
{
    if (MWinIDIsEmpty(id)) {
        DebugError(ENG_FUNC, "Invalid ID passed in");
        return nullptr;
    }
    if (m_num_texbuts >= MWIN_MAX_TEXTURE_BUTTONS) {
        DebugError(ENG_FUNC, "Too many texture buttons");
        return nullptr;
    }
    if (GetTexButNum(id) >= 0) {
        DebugError(ENG_FUNC, "Texture button alread exits <%.*s>", MWIN_ID_SIZE, id);
        return nullptr;
    }
    _MWinTextureButton* record = &m_texbuts[m_num_texbuts];
    std::memset(record, 0, sizeof(*record));
    if (!MWinCopyID(record->id, id))
        return nullptr;
    m_num_texbuts++;
    const char* ids[4] = {tex0, tex1, tex2, tex3};
    const float rects[4][4] = {{l0, t0, r0, b0}, {l1, t1, r1, b1}, {l2, t2, r2, b2}, {l3, t3, r3, b3}};
    for (int s = 0; s < 4; s++) {
        record->states[s].texture = -1;
        if (!MWinIDIsEmpty(ids[s]))
            SetTextureButtonState(record, s, ids[s], rects[s][0], rects[s][1], rects[s][2], rects[s][3]);
    }
    record->style_x = 1;
    record->style_y = 1;
    record->end_size_x = 16.0f;
    record->end_size_y = 16.0f;
    return record;
}

char MWinTextures::SetTextureButtonState(_MWinTextureButton* record, int state, const char* texture_id,
                                         float left_u, float top_v, float right_u, float bottom_v)
{
    if (!record || MWinIDIsEmpty(texture_id) || state < 0 || state >= 4) {
        DebugError(ENG_FUNC, "Invalid parameters passed in");
        return 0;
    }
    _MWinTextureButtonState& st = record->states[state];
    st.texture = -1;
    int texture = GetTextureNum(texture_id);
    if (texture < 0) {
        DebugError(ENG_FUNC, "Texture <%.*s> does not exist", MWIN_ID_SIZE, texture_id);
        return 0;
    }
    st.texture = texture;
    st.rect[0] = left_u;
    st.rect[1] = top_v;
    st.rect[2] = right_u;
    st.rect[3] = bottom_v;
    return 1;
}

_MWinTextureButton* MWinTextures::AddStandardTextureButton(int slot, const char* id, const char* tex0, float l0,
                                                           float t0, float r0, float b0, const char* tex1, float l1,
                                                           float t1, float r1, float b1, const char* tex2, float l2,
                                                           float t2, float r2, float b2, const char* tex3, float l3,
                                                           float t3, float r3, float b3)
{
    _MWinTextureButton* record = AddTextureButton(id, tex0, l0, t0, r0, b0, tex1, l1, t1, r1, b1, tex2, l2, t2, r2,
                                                  b2, tex3, l3, t3, r3, b3);
    if (record)
        SetStandardTextureToTexBut(slot, id);
    return record;
}

char MWinTextures::SetStandardTextureToTexBut(int slot, const char* texbut_id)
{
    if (!ValidSlot(slot)) {
        DebugError(ENG_FUNC, "Invalid std tex num %d", slot);
        return 0;
    }
    if (MWinIDIsEmpty(texbut_id)) {
        m_standard[slot] = -1;
        return 1;
    }
    int num = GetTexButNum(texbut_id);
    if (num < 0) {
        DebugError(ENG_FUNC, "Texture Button <%.*s> does not exist", MWIN_ID_SIZE, texbut_id);
        return 0;
    }
    m_standard[slot] = num;
    return 1;
}

int MWinTextures::RemoveStandardTextureButton(int slot)
{
    if (!ValidSlot(slot)) {
        DebugError(ENG_FUNC, "Invalid standard texbut num: %d", slot);
        return -1;
    }
    if (m_standard[slot] < 0)
        return 0;
    m_texbuts[m_standard[slot]].id[0] = 0;
    m_standard[slot] = -1;
    return 1;
}

int MWinTextures::GetStandardTexButNum(int slot) const
{
    if (!ValidSlot(slot)) {
        DebugError(ENG_FUNC, "Invalid standard texbut num: %d", slot);
        return -1;
    }
    return m_standard[slot];
}

const char* MWinTextures::GetStandardTexButID(int slot) const
{
    if (!ValidSlot(slot) || m_standard[slot] < 0)
        return nullptr;
    return m_texbuts[m_standard[slot]].id;
}

int MWinTextures::GetTexButNum(const char* id) const
{
    if (MWinIDIsEmpty(id))
        return -1;
    for (int i = 0; i < m_num_texbuts; i++)
        if (MWinIDsEqual(m_texbuts[i].id, id))
            return i;
    return -1;
}

const _MWinTextureButton* MWinTextures::GetTexBut(int index) const
{
    if (index < 0 || index >= m_num_texbuts)
        return nullptr;
    return &m_texbuts[index];
}

char MWinTextures::SetTexButDrawStyle(const char* id, int style_x, float end_fraction_x, float end_size_x,
                                      int style_y, float end_fraction_y, float end_size_y)
{
    int num = GetTexButNum(id);
    if (num < 0) {
        DebugError(ENG_FUNC, "Texture Button <%.*s> does not exist", MWIN_ID_SIZE, id ? id : "");
        return 0;
    }
    _MWinTextureButton& b = m_texbuts[num];
    b.style_x = style_x;
    b.end_fraction_x = end_fraction_x;
    b.end_size_x = end_size_x;
    b.style_y = style_y;
    b.end_fraction_y = end_fraction_y;
    b.end_size_y = end_size_y;
    return 1;
}

char MWinTextures::SetTexButDrawExtra(const char* id, float x, float top, float bottom)
{
    int num = GetTexButNum(id);
    if (num < 0) {
        DebugError(ENG_FUNC, "Texture Button <%.*s> does not exist", MWIN_ID_SIZE, id ? id : "");
        return 0;
    }
    m_texbuts[num].extra_x = x;
    m_texbuts[num].extra_top = top;
    m_texbuts[num].extra_bottom = bottom;
    return 1;
}

bool MWinTextures::GetTexButDrawExtra(int index, float* x, float* top, float* bottom) const
{
    const _MWinTextureButton* b = GetTexBut(index);
    if (x)
        *x = b ? b->extra_x : 0.0f;
    if (top)
        *top = b ? b->extra_top : 0.0f;
    if (bottom)
        *bottom = b ? b->extra_bottom : 0.0f;
    return b != nullptr;
}

// A state without a texture draws as the normal state.
const _MWinTextureButtonState* MWinTextures::UsableState(const _MWinTextureButton* button, int state) const
{
    if (state < 0 || state >= 4)
        state = 0;
    if (button->states[state].texture < 0)
        state = 0;
    return &button->states[state];
}

int MWinTextures::LayoutTexBut(int index, int state, float x, float y, float w, float h, Piece* pieces) const
{
    const _MWinTextureButton* b = GetTexBut(index);
    if (!b || !pieces)
        return 0;
    const _MWinTextureButtonState* st = UsableState(b, state);
    if (b->extra_x != 0.0f) {
        x -= b->extra_x / 2.0f;
        w += b->extra_x;
    }
    if (b->extra_top != 0.0f) {
        y -= b->extra_top;
        h += b->extra_top;
    }
    h += b->extra_bottom;
    float end_w = b->end_size_x * eng_aspect_x;
    float end_h = b->end_size_y * eng_aspect_y * 4.0f / 3.0f;
    bool keep_x = b->style_x > 1 && end_w > 0.0f && 2.0f * end_w < w;
    bool keep_y = b->style_y > 1 && end_h > 0.0f && 2.0f * end_h < h;
    float cols[3][4];
    float rows[3][4];
    int num_cols = LayoutSpans(x, w, keep_x, end_w, b->end_fraction_x, cols);
    int num_rows = LayoutSpans(y, h, keep_y, end_h, b->end_fraction_y, rows);
    int n = 0;
    for (int r = 0; r < num_rows; r++) {
        for (int c = 0; c < num_cols; c++) {
            Piece& p = pieces[n++];
            MWinSetArea(&p.area, cols[c][0], rows[r][0], cols[c][1], rows[r][1]);
            p.rect[0] = Lerp(st->rect[0], st->rect[2], cols[c][2]);
            p.rect[1] = Lerp(st->rect[1], st->rect[3], rows[r][2]);
            p.rect[2] = Lerp(st->rect[0], st->rect[2], cols[c][3]);
            p.rect[3] = Lerp(st->rect[1], st->rect[3], rows[r][3]);
        }
    }
    return n;
}

void MWinTextures::DrawPiece(EngTexture* texture, const Piece& piece, const float* colour) const
{
    if (!texture->PositionRatioedToDimension(&piece.area))
        return;
    texture->DrawWithTextureCoordinatesAndColourArray(piece.rect[0], piece.rect[1], piece.rect[2], piece.rect[3],
                                                      colour);
}

const _MWinTextureButtonState* MWinTextures::DrawableState(int index, int state, const float* colour,
                                                          EngTexture** texture, float* tint) const
{
    const _MWinTextureButton* b = GetTexBut(index);
    if (!b)
        return nullptr;
    const _MWinTextureButtonState* st = UsableState(b, state);
    *texture = GetTexture(st->texture);
    if (!*texture || !(*texture)->IsLoaded())
        return nullptr;
    for (int i = 0; i < 4; i++)
        tint[i] = (st->colour_on ? st->colour[i] : 1.0f) * (colour ? colour[i] : 1.0f);
    return st;
}

char MWinTextures::DrawTexBut(int index, int state, float x, float y, float w, float h, const float* colour)
{
    EngTexture* texture = nullptr;
    float tint[4];
    if (!DrawableState(index, state, colour, &texture, tint))
        return 0;
    Piece pieces[9];
    int n = LayoutTexBut(index, state, x, y, w, h, pieces);
    for (int i = 0; i < n; i++)
        DrawPiece(texture, pieces[i], tint);
    return 1;
}

char MWinTextures::DrawTexButInArea(int index, int state, const _Dimension* area, const float* offset,
                                    const float* colour)
{
    if (!area)
        return 0;
    float dx = offset ? offset[0] : 0.0f;
    float dy = offset ? offset[1] : 0.0f;
    return DrawTexBut(index, state, area->x + dx, area->y + dy, area->w, area->h, colour);
}

char MWinTextures::DrawTexButStatePart(int index, int state, float x, float y, float w, float h, const float* part,
                                       const float* colour)
{
    EngTexture* texture = nullptr;
    float tint[4];
    const _MWinTextureButtonState* st = part ? DrawableState(index, state, colour, &texture, tint) : nullptr;
    if (!st)
        return 0;
    Piece piece;
    MWinSetArea(&piece.area, x, y, w, h);
    piece.rect[0] = Lerp(st->rect[0], st->rect[2], part[0]);
    piece.rect[1] = Lerp(st->rect[1], st->rect[3], part[1]);
    piece.rect[2] = Lerp(st->rect[0], st->rect[2], part[2]);
    piece.rect[3] = Lerp(st->rect[1], st->rect[3], part[3]);
    DrawPiece(texture, piece, tint);
    return 1;
}
