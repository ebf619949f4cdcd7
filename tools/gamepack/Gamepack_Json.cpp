#include "gamepack/Gamepack_Json.h"

#include <algorithm>
#include <cstring>

#include "Base/UTF8_Main.h"
#include "Support/Support_File.h"

// A short text of a JSON value for messages.
std::string Shown(json_object* v) {
  std::string text = v ? json_object_to_json_string_ext(v, JSON_C_TO_STRING_PLAIN) : "null";
  return text.size() > 40 ? text.substr(0, 37) + "..." : text;
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

// The keys of a JSON object, in their order.
std::vector<std::string> Keys(json_object* obj) {
  std::vector<std::string> keys;
  json_object_object_foreach(obj, key, val) {
    (void)val;
    keys.push_back(key);
  }
  return keys;
}

// "LINE:COLUMN" of a byte offset (columns count characters, from 1).
std::string TextPlace(const std::string& text, size_t offset) {
  offset = std::min(offset, text.size());
  size_t line = 1 + std::count(text.begin(), text.begin() + offset, '\n');
  size_t start = text.rfind('\n', offset == 0 ? std::string::npos : offset - 1);
  start = start == std::string::npos ? 0 : start + 1;
  size_t column = 1;
  for (size_t i = start; i < offset; i++) column += ((unsigned char)text[i] & 0xC0) != 0x80;
  return std::to_string(line) + ":" + std::to_string(column);
}

namespace {
// A second reading of the project's text, which json-c has found well formed,
// beside the tree it made: refuses a key repeated in one object (json-c keeps
// the last silently) and gives each whole number the text it was written
// with, for messages (json-c holds numbers past 64 bits at the ends of its range).
class CWrittenJson {
 public:
  CWrittenJson(const std::string& path, const std::string& text) : m_path(path), m_text(text) {}

  void Value(json_object* v) {
    Space();
    char c = m_pos < m_text.size() ? m_text[m_pos] : '\0';
    if (c == '{') return Object(v);
    if (c == '[') return Array(v);
    if (c == '"') {
      String();
      return;
    }
    size_t start = m_pos;
    while (m_pos < m_text.size() && std::strchr("+-.0123456789eEtruefalsn", m_text[m_pos])) m_pos++;
    if (json_object_is_type(v, json_type_int))
      json_object_set_serializer(v, json_object_userdata_to_json_string,
                                 strdup(m_text.substr(start, m_pos - start).c_str()), json_object_free_userdata);
  }

 private:
  void Space() {
    while (m_pos < m_text.size() && std::strchr(" \t\r\n", m_text[m_pos])) m_pos++;
  }
  // Passes the next character (a bracket, comma or colon) after white space.
  char Next() {
    Space();
    return m_pos < m_text.size() ? m_text[m_pos++] : '\0';
  }
  // Passes an empty object or array; false when it holds something.
  bool Empty(char close) {
    m_pos++;
    Space();
    if (m_pos >= m_text.size() || m_text[m_pos] != close) return false;
    m_pos++;
    return true;
  }
  [[noreturn]] void Repeated(size_t at, const std::string& what) const {
    throw ProjectError{m_path + ":" + TextPlace(m_text, at) + ": " + what + " appears twice in one object"};
  }

  // The members come in json-c's order, the order in which they were written.
  void Object(json_object* v) {
    size_t at = m_pos;
    if (Empty('}')) return;
    std::set<std::string> keys;
    struct lh_entry* member = json_object_is_type(v, json_type_object) ? json_object_get_object(v)->head : nullptr;
    do {
      Space();
      size_t key_at = m_pos;
      std::string key = String();
      if (!keys.insert(key).second) Repeated(key_at, "the key " + Quoted(key));
      Next();  // the colon
      Value(member ? static_cast<json_object*>(lh_entry_v(member)) : nullptr);
      if (member) member = member->next;
    } while (Next() == ',');
    // The same key written with different escapes.
    if (v && keys.size() != size_t(json_object_object_length(v))) Repeated(at, "a key");
  }

  void Array(json_object* v) {
    if (Empty(']')) return;
    size_t i = 0;
    do {
      Value(json_object_is_type(v, json_type_array) ? json_object_array_get_idx(v, i++) : nullptr);
    } while (Next() == ',');
  }

  // A string at the position, as written between its quotes.
  std::string String() {
    size_t start = ++m_pos;
    while (m_pos < m_text.size() && m_text[m_pos] != '"') m_pos += m_text[m_pos] == '\\' ? 2 : 1;
    return m_text.substr(start, m_pos++ - start);
  }

  const std::string& m_path;
  const std::string& m_text;
  size_t m_pos = 0;
};

// What the JSON parser stopped at, and the last thing before it.
std::string JsonFound(const std::string& text, size_t offset) {
  auto shown = [](char c) { return c == '\'' ? std::string("\"'\"") : "'" + std::string(1, c) + "'"; };
  if (offset >= text.size()) return "the text ends before the project does";
  std::string why = "unexpected " + shown(text[offset]);
  size_t before = text.find_last_not_of(" \t\r\n", offset == 0 ? std::string::npos : offset - 1);
  if (offset > 0 && before != std::string::npos) why += " after " + shown(text[before]);
  return why;
}
}  // namespace

json_object* Json_ParseProject(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!File_ReadWhole(path, bytes)) throw ProjectError{path + ": cannot read the project file"};
  std::string text(bytes.begin() + UTF8_MarkLength(bytes.data(), bytes.size()), bytes.end());

  json_tokener* tok = json_tokener_new();
  json_tokener_set_flags(tok, JSON_TOKENER_STRICT | JSON_TOKENER_VALIDATE_UTF8);
  json_object* root = json_tokener_parse_ex(tok, text.c_str(), (int)text.size());
  json_tokener_error err = json_tokener_get_error(tok);
  size_t end = json_tokener_get_parse_end(tok);
  json_tokener_free(tok);
  if (!root || err != json_tokener_success) {
    if (root) json_object_put(root);
    std::string why = err == json_tokener_success || err == json_tokener_continue
                          ? "the text ends before the project does"
                      : err == json_tokener_error_parse_utf8_string ? "text that is not UTF-8"
                                                                    : JsonFound(text, end);
    throw ProjectError{path + ":" + TextPlace(text, end) + ": not valid JSON: " + why};
  }
  if (size_t after = text.find_first_not_of(" \t\r\n", end); after != std::string::npos) {
    json_object_put(root);
    throw ProjectError{path + ":" + TextPlace(text, after) + ": not valid JSON: text after the end of the project"};
  }
  try {
    CWrittenJson(path, text).Value(root);
  } catch (...) {
    json_object_put(root);
    throw;
  }
  return root;
}

CSpec::CSpec(CSpecOwner& project, json_object* obj, std::string where)
    : m_project(project), m_obj(obj), m_where(std::move(where)) {
  if (!json_object_is_type(obj, json_type_object)) m_project.Fail(m_where, "expected an object, got " + Shown(obj));
}

void CSpec::Fail(const char* key, const std::string& what) const { m_project.Fail(Where(key), what); }

std::string CSpec::Prefix() const { return m_project.Path() + ": "; }

std::string CSpec::Code(const char* key) {
  json_object* v = Get(key);
  if (!v) return "";
  if (json_object_is_type(v, json_type_string)) return m_project.NoteCode(Where(key), "", json_object_get_string(v));
  if (!json_object_is_type(v, json_type_object)) Fail(key, "expected code text or {\"file\": path}, got " + Shown(v));
  CSpec file(m_project, v, Where(key));
  std::string name = file.String("file");
  if (name.empty()) Fail(key, "expected code text or {\"file\": path}, got " + Shown(v));
  file.Done();
  return m_project.NoteCode(Where(key), name, m_project.ReadText(name, Where(key)));
}

std::vector<std::pair<std::string, std::string>> CSpec::Constants(const char* key) {
  std::vector<std::pair<std::string, std::string>> out;
  json_object* v = Typed(key, json_type_object, "an object of name: value");
  if (!v) return out;
  json_object_object_foreach(v, name, value) {
    if (json_object_is_type(value, json_type_string)) {
      out.emplace_back(name, json_object_get_string(value));
    } else if (json_object_is_type(value, json_type_int) || json_object_is_type(value, json_type_double)) {
      out.emplace_back(name, json_object_to_json_string_ext(value, JSON_C_TO_STRING_PLAIN));
    } else {
      Fail(key, "key " + Quoted(name) + ": expected a value text or a number, got " + Shown(value));
    }
  }
  return out;
}
