#include "Engine/Core/EngString.h"

#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngTypes.h"

char* EngSafeStrcpy(char* dest, const char* source, unsigned size)
{
    if (!dest) {
        DebugError(ENG_FUNC, "No string");
        return nullptr;
    }
    if (size == 0)
        return dest;
    if (!source || !*source) {
        dest[0] = 0;
        return dest;
    }
    // The source need not be terminated within the destination's size.
    std::size_t length = strnlen(source, size - 1);
    std::memmove(dest, source, length);
    dest[length] = 0;
    dest[size - 1] = 0;
    return dest;
}

const char* EngStrStr(const char* text, const char* word, bool whole_word)
{
    if (!text || !word || !*word) {
        DebugError(ENG_FUNC, "Invalid parameters");
        return nullptr;
    }
    std::size_t word_length = std::strlen(word);
    if (!*text || word_length > std::strlen(text))
        return nullptr;
    for (const char* match = std::strstr(text, word); match; match = std::strstr(match + 1, word)) {
        if (!whole_word)
            return match;
        // The word must stand alone: blank or the text's edge on both sides.
        bool starts_alone = match == text || EngIsBlankChar(match[-1]);
        bool ends_alone = EngIsBlankChar(match[word_length]);
        if (starts_alone && ends_alone)
            return match;
    }
    return nullptr;
}

char* EngStrStr(char* text, const char* word, bool whole_word)
{
    return const_cast<char*>(EngStrStr(static_cast<const char*>(text), word, whole_word));
}

bool EngIsBlankChar(char c)
{
    return c == 0 || c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

const char* EngStringOrNone(const char* text)
{
    return text ? text : "(none)";
}

const char* EngFourCharCodeToString(int code)
{
    // Room for the terminator as well as the four characters.
    static char text[5];
    EngUInt32 value = EngUInt32(code);
    text[0] = char(value >> 24);
    text[1] = char(value >> 16);
    text[2] = char(value >> 8);
    text[3] = char(value);
    text[4] = 0;
    return text;
}
