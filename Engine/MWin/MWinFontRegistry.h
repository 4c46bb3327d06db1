#pragma once

#include "Engine/Core/EngTypes.h"
#include "Engine/MWin/MWinID.h"

#include <vector>

class MWin;
class EngFont;

// Font numbers besides the user fonts (0 and up).
constexpr int MWIN_FONT_NUM_DEFAULT = -1;
constexpr int MWIN_FONT_NUM_NONE = -2;

enum _MWinFontState : char {
    MWIN_FONTSTATE_EMPTY = 0,
    MWIN_FONTSTATE_OWN = 1,
    MWIN_FONTSTATE_EXTERNAL = 2,
};

// One registered font. Fonts are registered by pointer and belong to the caller; an own font (state 1)
// would be owned by the registry, but nothing registers one from a file.
struct MWinFontC {
    MWinID id;
    EngFont* own;      // owned
    EngFont* external; // not owned
    char state;        // _MWinFontState
};

// Fonts named by id; numbers: -1 the standard font, -2 none, 0 and up the user fonts in list order.
class MWinFonts {
public:
    explicit MWinFonts(MWin* mwin);
    ~MWinFonts();
    MWinFonts(const MWinFonts&) = delete;
    MWinFonts& operator=(const MWinFonts&) = delete;

    int AddUserFontPointer(const char* id, EngFont* font);
    int AddFontPointer(const char* id, EngFont* font);
    int GetFontNumFromID(const char* id) const;
    EngFont* GetUserFont(const char* id, bool report) const;
    EngFont* GetFont(int number) const;
    char LoadFonts();
    void UnloadFonts();
    void RemoveAllFonts();
    bool AreFontsLoaded() const { return m_loaded != 0; }
    int GetNumUserFonts() const { return int(m_fonts.size()); }

private:
    static EngFont* FontOf(const MWinFontC& entry);
    static void UnloadEntry(MWinFontC* entry);

    MWin* m_mwin;
    char m_loaded;
    std::vector<MWinFontC> m_fonts;
    MWinFontC m_standard;
};
