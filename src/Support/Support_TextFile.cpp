#include "Support/Support_TextFile.h"

#include <cstring>

bool TextFile_Write(FILE* f, const char* text, size_t length) {
  while (length > 0) {
    const void* lf = std::memchr(text, '\n', length);
    size_t run = lf ? static_cast<size_t>(static_cast<const char*>(lf) - text) : length;
    if (run > 0 && std::fwrite(text, 1, run, f) != run) return false;
    if (!lf) break;
    if (std::fwrite("\r\n", 1, 2, f) != 2) return false;
    text += run + 1;
    length -= run + 1;
  }
  return true;
}

int TextFile_GetChar(FILE* f) {
  int c = std::getc(f);
  if (c != '\r') return c;
  int next = std::getc(f);
  if (next == '\n') return '\n';
  if (next != EOF) std::ungetc(next, f);
  return '\r';
}

std::string TextFile_ReadLine(FILE* f, bool withEnd) {
  std::string line;
  for (int c; (c = TextFile_GetChar(f)) != EOF;) {
    if (!withEnd && (c == '\r' || c == '\n')) break;
    line += static_cast<char>(c);
    if (c == '\n') break;
  }
  return line;
}
