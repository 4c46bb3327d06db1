#include "Engine/MWin/MWinEntrySource.h"

#include "Engine/MWin/MWinButton.h"

const char* MWinButton::EntrySourceText(const _MWinEntrySource* source, int count, int index) const
{
    if (index < 0 || index >= count)
        return nullptr;
    if (source->callback)
        return source->callback(index, const_cast<MWinButton*>(this), m_user_data);
    if (source->strings)
        return source->strings[index];
    if (source->token_mode)
        return LanguageSubText(index, nullptr);
    return nullptr;
}

// The button's language token becomes the source; count receives its number of sub-texts.
char MWinButton::EntrySourceSetToken(_MWinEntrySource* source, const char* token, int* count)
{
    if (!SetTextToken(token))
        return 0;
    source->callback = nullptr;
    source->strings = nullptr;
    source->token_mode = 1;
    *count = m_lang_num_sub_texts;
    return 1;
}

// A callback or an array becomes the source; the language token is cleared and a non-null user pointer
// replaces the button's user data.
void MWinButton::EntrySourceSet(_MWinEntrySource* source, MWinButtonStringCB callback, const char** strings,
                                void* user)
{
    source->callback = callback;
    source->strings = callback ? nullptr : strings;
    source->token_mode = 0;
    if (user)
        m_user_data = user;
    m_lang_on = 0;
    m_lang_token[0] = 0;
    m_lang_token_num = -1;
    m_lang_num_sub_texts = 0;
    Redraw();
}
