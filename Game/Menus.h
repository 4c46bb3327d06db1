#pragma once

// Pictures shown on menu buttons: the six track thumbnails (ids 0..5) and the four trophies (ids 100..103,
// loaded when first asked for).

class Game;
class EngTexture;
class MWinButton;

constexpr int MENUS_TRACK_PICTURES = 6;
constexpr int MENUS_TROPHIES = 4;
constexpr int MENUS_TROPHY_ID = 100;

class Menus
{
public:
    // A missing game is fatal ("No game.").
    explicit Menus(Game* game);
    ~Menus();
    Menus(const Menus&) = delete;
    Menus& operator=(const Menus&) = delete;

    bool LoadPictures();
    bool LoadOnDemandPicture(int n);
    // Ids 0..5 and 100..103 attach their picture; any other id removes the button's picture.
    void AttachPictureToButton(int id, MWinButton* button, int blending);
    void ReleasePictures();
    // Around a re-creation of the device: the pictures loaded before come back into the same textures, which
    // the buttons still hold.
    void DestroyGraphics();
    void CreateGraphics();
    EngTexture* GetPicture(int id) const;

private:
    Game* m_game;
    EngTexture* m_tracks[MENUS_TRACK_PICTURES];
    EngTexture* m_trophies[MENUS_TROPHIES];
    bool m_tracks_kept[MENUS_TRACK_PICTURES] = {};
    bool m_trophies_kept[MENUS_TROPHIES] = {};
};
