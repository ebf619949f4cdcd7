// INI files: "[section]" lines and "key=value" lines, kept as lists of
// sections and keys. A relative file name is read from the save folder, else
// from the game's folder, and written to the save folder.
#pragma once
#include <cstddef>

struct IniKey {
  IniKey* next;
  char* name;
  char* value;
};

struct IniSection {
  IniSection* next;
  char* name;
  IniKey* keys;
};

class IniFile {
 public:
  // Reads and parses the file when load is set; an absent file gives an
  // empty object.
  IniFile(const char* fileName, bool load);
  ~IniFile();
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  // Adds the sections and keys of an INI text behind those already held, in
  // text order; the first of two keys with the same name in a section wins.
  void Parse(const char* text, size_t length);

  IniSection* GetSection(const char* section) const;
  IniKey* GetKey(const char* section, const char* key) const;
  // A new section goes in front of the sections, a new key in front of its
  // section's keys; an existing key keeps its place and takes the value.
  void SetKey(const char* section, const char* key, const char* value);
  bool DeleteKey(const char* section, const char* key);
  bool DeleteSection(const char* section);
  // Writes the file (CR LF lines) to the save folder when something changed,
  // creating its folders; false when it cannot be written.
  bool Write();
  void Clear();

  IniSection* GetSections() const { return m_Sections; }
  bool IsChanged() const { return m_Changed; }

 private:
  IniSection* NewSection(const char* name, size_t length);
  static IniKey* NewKey(const char* name, size_t nameLength, const char* value, size_t valueLength);

  char* m_FileName;
  IniSection* m_Sections = nullptr;
  bool m_Changed = false;
};
