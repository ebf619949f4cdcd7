// Text files as the Windows build writes and reads them in text mode: every
// LF written lands as CR LF, and on reading a CR LF arrives as one LF (a lone
// CR stays as it is). Streams are opened in binary mode; these calls do the
// translation, so the bytes on disk are the same on both builds.
#pragma once
#include <cstddef>
#include <cstdio>
#include <string>

// Writes the bytes with every LF written as CR LF; false when a write failed.
bool TextFile_Write(FILE* f, const char* text, size_t length);
inline bool TextFile_Write(FILE* f, const std::string& text) { return TextFile_Write(f, text.data(), text.size()); }

// The next character as text mode reads it (CR LF gives LF), EOF at the end.
int TextFile_GetChar(FILE* f);

// The rest of the line. Without the end: the bytes before the first CR or LF,
// which is read and dropped. With the end: every byte up to and including
// the next LF. At the end of the file the result is "".
std::string TextFile_ReadLine(FILE* f, bool withEnd);
