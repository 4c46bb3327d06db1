#include "Engine/MWin/MWinFontRegistry.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Graphics/EngFont.h"

#include <cstring>

MWinFonts::MWinFonts(MWin* mwin) : m_mwin(mwin), m_loaded(0), m_standard{}
{
    DebugFatalCheck(mwin != nullptr, ENG_FUNC, "Internal Error (MWinFonts)");
}

MWinFonts::~MWinFonts()
{
    RemoveAllFonts();
}

EngFont* MWinFonts::FontOf(const MWinFontC& entry)
{
    if (entry.state == MWIN_FONTSTATE_OWN)
        return entry.own;
    if (entry.state == MWIN_FONTSTATE_EXTERNAL)
        return entry.external;
    return nullptr;
}

void MWinFonts::UnloadEntry(MWinFontC* entry)
{
    if (entry->state != MWIN_FONTSTATE_OWN)
        return;
    delete entry->own;
    entry->own = nullptr;
    entry->state = MWIN_FONTSTATE_EMPTY;
}

int MWinFonts::AddUserFontPointer(const char* id, EngFont* font)
{
    if (MWinIDIsEmpty(id)) {
        DebugError(ENG_FUNC, "No id specified");
        return MWIN_FONT_NUM_NONE;
    }
    return AddFontPointer(id, font);
}

int MWinFonts::AddFontPointer(const char* id, EngFont* font)
{
    if (!font) {
        DebugError(ENG_FUNC, "No font passed in");
        return MWIN_FONT_NUM_NONE;
    }
    if (id && !id[0]) {
        DebugError(ENG_FUNC, "Empty id");
        return MWIN_FONT_NUM_NONE;
    }
    if (!id) {
        // The standard font answers to number -1.
        m_standard.external = font;
        m_standard.state = MWIN_FONTSTATE_EXTERNAL;
        return MWIN_FONT_NUM_DEFAULT;
    }
    for (const MWinFontC& entry : m_fonts) {
        if (MWinIDsEqual(entry.id, id)) {
            DebugError(ENG_FUNC, "Font <%.*s> already created", MWIN_ID_SIZE, id);
            return MWIN_FONT_NUM_NONE;
        }
    }
    size_t index = 0;
    while (index < m_fonts.size() && !MWinIDIsEmpty(m_fonts[index].id))
        index++;
    if (index == m_fonts.size())
        m_fonts.push_back(MWinFontC{});
    MWinFontC& entry = m_fonts[index];
    if (entry.state != MWIN_FONTSTATE_EMPTY) {
        DebugError(ENG_FUNC, "Font is already loaded");
        return MWIN_FONT_NUM_NONE;
    }
    if (!MWinCopyID(entry.id, id))
        return MWIN_FONT_NUM_NONE;
    entry.external = font;
    entry.state = MWIN_FONTSTATE_EXTERNAL;
    return int(index);
}

int MWinFonts::GetFontNumFromID(const char* id) const
{
    if (MWinIDIsEmpty(id) || MWinIDsEqual(id, MWIN_FONT_NONE))
        return MWIN_FONT_NUM_NONE;
    if (MWinIDsEqual(id, MWIN_FONT_DEFAULT))
        return MWIN_FONT_NUM_DEFAULT;
    for (size_t i = 0; i < m_fonts.size(); i++)
        if (MWinIDsEqual(m_fonts[i].id, id))
            return int(i);
    DebugError(ENG_FUNC, "Font <%.*s> does not exist", MWIN_ID_SIZE, id);
    return MWIN_FONT_NUM_NONE;
}

EngFont* MWinFonts::GetUserFont(const char* id, bool report) const
{
    if (MWinIDIsEmpty(id)) {
        DebugError(ENG_FUNC, "No id specified");
        return nullptr;
    }
    for (const MWinFontC& entry : m_fonts)
        if (MWinIDsEqual(entry.id, id))
            return FontOf(entry);
    if (report)
        DebugError(ENG_FUNC, "Font <%.*s> does not exist", MWIN_ID_SIZE, id);
    return nullptr;
}

EngFont* MWinFonts::GetFont(int number) const
{
    if (number == MWIN_FONT_NUM_DEFAULT)
        return FontOf(m_standard);
    if (number < 0 || number >= int(m_fonts.size()))
        return nullptr;
    return FontOf(m_fonts[size_t(number)]);
}

char MWinFonts::LoadFonts()
{
    char result = 1;
    for (const MWinFontC& entry : m_fonts)
        if (MWinIDIsEmpty(entry.id))
            result = 0;
    m_loaded = result;
    return result;
}

void MWinFonts::UnloadFonts()
{
    UnloadEntry(&m_standard);
    for (MWinFontC& entry : m_fonts)
        UnloadEntry(&entry);
    m_loaded = 0;
}

void MWinFonts::RemoveAllFonts()
{
    UnloadFonts();
    m_standard = MWinFontC{};
    for (MWinFontC& entry : m_fonts)
        entry = MWinFontC{};
}
