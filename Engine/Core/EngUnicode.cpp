#include "Engine/Core/EngUnicode.h"

#include <cstring>

#include "Engine/Core/EngCodePage.h"
#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMemory.h"

EngUnicode::EngUnicode(const char* text, bool narrow_only)
    : m_text(text), m_unicode(nullptr), m_narrow_copy(nullptr), m_narrow_only(narrow_only), m_owns_unicode(false),
      m_owns_narrow(false)
{
    if (!text || !text[0] || narrow_only)
        return;
    int length = (int)strlen(text);
    m_unicode = (char16_t*)EngMalloc(2u * (unsigned)length + 4u, ENG_FUNC, true);
    if (!m_unicode) {
        DebugError(ENG_FUNC, "No memory (A2U)");
        return;
    }
    m_owns_unicode = true;
    if (EngCodePageAnsiToUtf16(text, length, m_unicode, length + 2) < 0) {
        DebugError(ENG_FUNC, "Could not convert string to unicode");
        EngFree(m_unicode, false, ENG_FUNC);
        m_unicode = nullptr;
        m_owns_unicode = false;
    }
}

EngUnicode::~EngUnicode()
{
    if (m_owns_unicode)
        EngFree(m_unicode, false, ENG_FUNC);
    if (m_owns_narrow)
        EngFree(m_narrow_copy, false, ENG_FUNC);
}

const char* EngUnicode::GetAsciiString(bool allow_null, bool report) const
{
    if (m_text || allow_null)
        return m_text;
    if (report)
        DebugError(ENG_FUNC, m_narrow_only ? "No string (NCN)" : "No string");
    return "";
}

const char16_t* EngUnicode::GetUnicodeString() const
{
    return m_unicode;
}
