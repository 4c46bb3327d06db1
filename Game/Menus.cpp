#include "Game/Menus.h"

#include <cstdio>
#include <new>

#include "Engine/Core/EngDebug.h"
#include "Engine/Graphics/EngTexture.h"
#include "Engine/MWin/MWinButton.h"
#include "Game/Game.h"

namespace {

constexpr int kNameSize = 64;
constexpr int kLastTrophyAttachedAsIs = 103;
constexpr char kTrackStem[] = "Data/165";
constexpr char kTrophyStem[] = "Data/190";

EngTexture* NewTexture()
{
    EngTexture* texture = new (std::nothrow) EngTexture();
    DebugFatalCheck(texture != nullptr, ENG_FUNC, "No memory");
    return texture;
}

bool LoadPicture(EngTexture* texture, const char* stem, int n)
{
    char name[kNameSize];
    std::snprintf(name, sizeof(name), "%s%d%s", stem, n, ".dat");
    return texture->LoadFromFileUsingExt(name, true, ETAT_FROM_FILE, ETFE_PNG);
}

} // namespace

Menus::Menus(Game* game) : m_game(game)
{
    DebugFatalCheck(game != nullptr, ENG_FUNC, "No game.");
    for (EngTexture*& picture : m_tracks)
        picture = NewTexture();
    for (EngTexture*& picture : m_trophies)
        picture = NewTexture();
}

Menus::~Menus()
{
    ReleasePictures();
    for (EngTexture* picture : m_tracks)
        delete picture;
    for (EngTexture* picture : m_trophies)
        delete picture;
}

bool Menus::LoadPictures()
{
    bool ok = true;
    for (int n = 0; n < MENUS_TRACK_PICTURES; n++) {
        if (!m_tracks[n]->IsLoaded())
            ok = LoadPicture(m_tracks[n], kTrackStem, n) && ok;
    }
    return ok;
}

bool Menus::LoadOnDemandPicture(int n)
{
    if (n < 0 || n >= MENUS_TROPHIES)
        return false;
    return m_trophies[n]->IsLoaded() || LoadPicture(m_trophies[n], kTrophyStem, n);
}

EngTexture* Menus::GetPicture(int id) const
{
    if (id >= 0 && id < MENUS_TRACK_PICTURES)
        return m_tracks[id];
    if (id >= MENUS_TROPHY_ID && id < MENUS_TROPHY_ID + MENUS_TROPHIES)
        return m_trophies[id - MENUS_TROPHY_ID];
    return nullptr;
}

void Menus::AttachPictureToButton(int id, MWinButton* button, int blending)
{
    if (!button)
        return;
    if (id >= 0 && id < MENUS_TRACK_PICTURES) {
        button->PictureAttachTextureToButton(m_tracks[id], -1);
        return;
    }
    if (id >= MENUS_TROPHY_ID && id < MENUS_TROPHY_ID + MENUS_TROPHIES) {
        LoadOnDemandPicture(id - MENUS_TROPHY_ID);
        char attach_blending = id == kLastTrophyAttachedAsIs ? -1 : char(blending);
        button->PictureAttachTextureToButton(m_trophies[id - MENUS_TROPHY_ID], attach_blending);
        return;
    }
    button->PictureAttachTextureToButton(nullptr, -1);
}

void Menus::ReleasePictures()
{
    for (EngTexture* picture : m_tracks)
        picture->Unload();
    for (EngTexture* picture : m_trophies)
        picture->Unload();
}

void Menus::DestroyGraphics()
{
    for (int n = 0; n < MENUS_TRACK_PICTURES; n++)
        m_tracks_kept[n] = m_tracks[n]->IsLoaded();
    for (int n = 0; n < MENUS_TROPHIES; n++)
        m_trophies_kept[n] = m_trophies[n]->IsLoaded();
    ReleasePictures();
}

void Menus::CreateGraphics()
{
    for (int n = 0; n < MENUS_TRACK_PICTURES; n++) {
        if (m_tracks_kept[n])
            LoadPicture(m_tracks[n], kTrackStem, n);
    }
    for (int n = 0; n < MENUS_TROPHIES; n++) {
        if (m_trophies_kept[n])
            LoadPicture(m_trophies[n], kTrophyStem, n);
    }
}
