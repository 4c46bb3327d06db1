#pragma once
// Helpers of the graphics tests: pictures written at test time and the log ring.

#include <string>
#include <vector>

// A folder of its own for this test process (made on first use).
std::string TestPictureFolder();

// Writes a w x h picture filled with one colour (R, G, B, A) in the kind given ("bmp", "tga", "jpg", "png")
// and returns its path. Kinds without alpha drop it.
std::string WriteSolidPicture(const char* name, const char* kind, int w, int h, unsigned char r, unsigned char g,
                              unsigned char b, unsigned char a);
// Writes R, G, B, A pixels (top row first).
std::string WritePicture(const char* name, const char* kind, int w, int h, const std::vector<unsigned char>& rgba);
// Writes raw bytes to a file of the folder.
std::string WriteBytes(const char* name, const std::vector<unsigned char>& bytes);

// True when a message containing text was logged since the last ClearLogMark.
bool LogHas(const char* text);
// Counts messages containing text since the last ClearLogMark.
int LogCountSinceMark(const char* text);
void ClearLogMark();
