#include "Base/IniFile.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_set>

#include "Base/File_Folders.h"
#include "Base/RValue.h"
#include "Base/UTF8_Main.h"
#include "Platform/MemoryManager.h"
#include "Support/Support_File.h"
#include "Support/Support_Stream.h"

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Trims blanks from both ends of [*start, *end).
void TrimBlanks(const char** start, const char** end) {
  while (*start < *end && IsBlank(**start)) ++*start;
  while (*end > *start && IsBlank((*end)[-1])) --*end;
}

// The path of a file in a folder: a relative name is joined to the folder.
std::string InFolder(const char* folder, const char* name) {
  if (!File_IsRelative(name)) return name;
  return std::string(folder) + name;
}
}  // namespace

IniFile::IniFile(const char* fileName, bool load) : m_FileName(String_Duplicate(fileName ? fileName : "")) {
  if (!load || !m_FileName || !*m_FileName) return;
  std::string path = InFolder(File_GetSaveDirectory(), m_FileName);
  if (!File_Exists(path.c_str())) path = InFolder(File_GetGameDirectory(), m_FileName);
  if (!File_Exists(path.c_str())) return;
  CStream file;
  if (file.LoadFromFile(path.c_str(), 0))
    Parse(reinterpret_cast<const char*>(file.GetMemory()), static_cast<size_t>(file.GetSize()));
}

IniFile::~IniFile() {
  Clear();
  MEM_FREE(m_FileName);
}

IniSection* IniFile::NewSection(const char* name, size_t length) {
  auto* s = static_cast<IniSection*>(MEM_ALLOC_CLEAR(sizeof(IniSection)));
  if (!s) return nullptr;
  s->name = String_DuplicateLen(name, static_cast<int64_t>(length));
  if (!s->name) {
    MEM_FREE(s);
    return nullptr;
  }
  return s;
}

IniKey* IniFile::NewKey(const char* name, size_t nameLength, const char* value, size_t valueLength) {
  auto* k = static_cast<IniKey*>(MEM_ALLOC_CLEAR(sizeof(IniKey)));
  if (!k) return nullptr;
  k->name = String_DuplicateLen(name, static_cast<int64_t>(nameLength));
  k->value = String_DuplicateLen(value, static_cast<int64_t>(valueLength));
  if (!k->name || !k->value) {
    MEM_FREE(k->name);
    MEM_FREE(k->value);
    MEM_FREE(k);
    return nullptr;
  }
  return k;
}

void IniFile::Parse(const char* text, size_t length) {
  if (!text) return;
  const char* p = text;
  const char* end = text + length;
  p += UTF8_MarkLength(p, length);
  IniSection** sectionTail = &m_Sections;
  while (*sectionTail) sectionTail = &(*sectionTail)->next;
  IniSection* current = nullptr;
  IniKey** keyTail = nullptr;
  std::unordered_set<std::string> seen;  // the key names of the current section
  while (p < end) {
    const char* lineEnd = p;
    while (lineEnd < end && *lineEnd != '\r' && *lineEnd != '\n' && *lineEnd != '\0') ++lineEnd;
    const char* start = p;
    const char* stop = lineEnd;
    p = lineEnd < end ? lineEnd + 1 : end;
    TrimBlanks(&start, &stop);
    if (start == stop || *start == ';') continue;
    if (*start == '[') {
      const char* close = static_cast<const char*>(std::memchr(start, ']', static_cast<size_t>(stop - start)));
      const char* nameStart = start + 1;
      const char* nameEnd = close ? close : stop;
      TrimBlanks(&nameStart, &nameEnd);
      std::string name(nameStart, nameEnd);
      current = GetSection(name.c_str());
      if (!current) {
        current = NewSection(name.data(), name.size());
        if (!current) return;
        *sectionTail = current;
        sectionTail = &current->next;
      }
      keyTail = &current->keys;
      seen.clear();
      for (; *keyTail; keyTail = &(*keyTail)->next) seen.insert((*keyTail)->name);
      continue;
    }
    const char* equals = static_cast<const char*>(std::memchr(start, '=', static_cast<size_t>(stop - start)));
    if (!current || !equals) continue;  // keys outside a section and lines without "=" are skipped
    const char* nameEnd = equals;
    const char* valueStart = equals + 1;
    const char* valueEnd = stop;
    TrimBlanks(&start, &nameEnd);
    TrimBlanks(&valueStart, &valueEnd);
    if (!seen.insert(std::string(start, nameEnd)).second) continue;
    IniKey* key = NewKey(start, static_cast<size_t>(nameEnd - start), valueStart,
                         static_cast<size_t>(valueEnd - valueStart));
    if (!key) return;
    *keyTail = key;
    keyTail = &key->next;
  }
}

IniSection* IniFile::GetSection(const char* section) const {
  if (!section) return nullptr;
  for (IniSection* s = m_Sections; s; s = s->next)
    if (std::strcmp(s->name, section) == 0) return s;
  return nullptr;
}

IniKey* IniFile::GetKey(const char* section, const char* key) const {
  IniSection* s = GetSection(section);
  if (!s || !key) return nullptr;
  for (IniKey* k = s->keys; k; k = k->next)
    if (std::strcmp(k->name, key) == 0) return k;
  return nullptr;
}

void IniFile::SetKey(const char* section, const char* key, const char* value) {
  if (!section || !key) return;
  if (!value) value = "";
  IniSection* s = GetSection(section);
  if (!s) {
    s = NewSection(section, std::strlen(section));
    if (!s) return;
    s->next = m_Sections;
    m_Sections = s;
  }
  if (IniKey* k = GetKey(section, key)) {
    char* copy = String_Duplicate(value);
    if (!copy) return;
    MEM_FREE(k->value);
    k->value = copy;
  } else {
    k = NewKey(key, std::strlen(key), value, std::strlen(value));
    if (!k) return;
    k->next = s->keys;
    s->keys = k;
  }
  m_Changed = true;
}

namespace {
void FreeKey(IniKey* k) {
  MEM_FREE(k->name);
  MEM_FREE(k->value);
  MEM_FREE(k);
}

void FreeSection(IniSection* s) {
  for (IniKey* k = s->keys; k;) {
    IniKey* next = k->next;
    FreeKey(k);
    k = next;
  }
  MEM_FREE(s->name);
  MEM_FREE(s);
}
}  // namespace

bool IniFile::DeleteKey(const char* section, const char* key) {
  IniSection* s = GetSection(section);
  if (!s || !key) return false;
  for (IniKey** link = &s->keys; *link; link = &(*link)->next) {
    if (std::strcmp((*link)->name, key) == 0) {
      IniKey* gone = *link;
      *link = gone->next;
      FreeKey(gone);
      m_Changed = true;
      return true;
    }
  }
  return false;
}

bool IniFile::DeleteSection(const char* section) {
  if (!section) return false;
  for (IniSection** link = &m_Sections; *link; link = &(*link)->next) {
    if (std::strcmp((*link)->name, section) == 0) {
      IniSection* gone = *link;
      *link = gone->next;
      FreeSection(gone);
      m_Changed = true;
      return true;
    }
  }
  return false;
}

bool IniFile::Write() {
  if (!m_Changed) return true;
  if (!m_FileName || !*m_FileName) return false;
  std::string text;
  for (IniSection* s = m_Sections; s; s = s->next) {
    text += "[";
    text += s->name;
    text += "]\r\n";
    for (IniKey* k = s->keys; k; k = k->next) {
      text += k->name;
      text += "=";
      text += k->value;
      text += "\r\n";
    }
  }
  std::string path = InFolder(File_GetSaveDirectory(), m_FileName);
  bool ok = File_WriteWhole(path.c_str(), text.data(), text.size());
  if (ok) m_Changed = false;
  return ok;
}

void IniFile::Clear() {
  for (IniSection* s = m_Sections; s;) {
    IniSection* next = s->next;
    FreeSection(s);
    s = next;
  }
  m_Sections = nullptr;
}
