#pragma once

// Bounded string helpers.

// Copies at most size - 1 characters and always terminates; returns dest.
char* EngSafeStrcpy(char* dest, const char* source, unsigned size);
// Finds word in text; with whole_word the match must stand alone: blank (or the text's edge) on both sides.
char* EngStrStr(char* text, const char* word, bool whole_word);
const char* EngStrStr(const char* text, const char* word, bool whole_word);
// True for 0, tab, line feed, carriage return and blank.
bool EngIsBlankChar(char c);
// The string, or "(none)" for null.
const char* EngStringOrNone(const char* text);
// The four characters of a code, most significant byte first ('MAIN' gives "MAIN"), in a static buffer.
const char* EngFourCharCodeToString(int code);
