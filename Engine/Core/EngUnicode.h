#pragma once

// A string held as narrow (Windows-1252) text and as UTF-16. The narrow text is the caller's and must outlive
// the object; the UTF-16 copy is owned.
class EngUnicode {
public:
    EngUnicode(const char* text, bool narrow_only);
    ~EngUnicode();
    EngUnicode(const EngUnicode&) = delete;
    EngUnicode& operator=(const EngUnicode&) = delete;

    // With no text and allow_null false, an empty string.
    const char* GetAsciiString(bool allow_null, bool report) const;
    // The UTF-16 copy, or null when there is none.
    const char16_t* GetUnicodeString() const;

private:
    const char* m_text;
    char16_t* m_unicode;
    char* m_narrow_copy;
    bool m_narrow_only;
    bool m_owns_unicode;
    bool m_owns_narrow;
};
