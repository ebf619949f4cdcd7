// The package builder's reading of a project's JSON: the text parsed
// strictly (a repeated key or trailing text is an error, every error names
// the line and column), and each object read through a CSpec, which types
// its keys and refuses the ones nobody read.
#pragma once
#include <json-c/json.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "gamepack/Gamepack_Image.h"

// A problem with the project: the build stops with its message.
struct ProjectError {
  std::string text;
};

using JsonPtr = std::unique_ptr<json_object, decltype(&json_object_put)>;

// A short text of a JSON value for messages.
std::string Shown(json_object* v);
std::string Quoted(const std::string& s);
// "LINE:COLUMN" of a byte offset (columns count characters, from 1).
std::string TextPlace(const std::string& text, size_t offset);
// The keys of a JSON object, in their order.
std::vector<std::string> Keys(json_object* obj);

// Reads and parses the project file; throws a ProjectError naming the place
// of the first problem. The caller owns the tree.
json_object* Json_ParseProject(const std::string& path);

// What a CSpec asks of the project it reads.
class CSpecOwner {
 public:
  virtual ~CSpecOwner() = default;
  // The project file, for messages.
  virtual const std::string& Path() const = 0;
  [[noreturn]] void Fail(const std::string& where, const std::string& what) const {
    throw ProjectError{Path() + ": " + where + ": " + what};
  }
  // Keeps where a code text came from, for the code check; returns the text.
  virtual const std::string& NoteCode(const std::string& where, const std::string& file, std::string text) = 0;
  // A text file named relative to the project.
  virtual std::string ReadText(const std::string& name, const std::string& where) = 0;
};

// One JSON object of the project, with its place for messages. Keys read are
// remembered; Done() refuses the keys nobody read, so that a misspelt key is
// an error rather than a silent default.
class CSpec {
 public:
  CSpec(CSpecOwner& project, json_object* obj, std::string where);

  const std::string& Where() const { return m_where; }
  std::string Where(const char* key) const { return m_where + ": key " + Quoted(key); }
  [[noreturn]] void Fail(const char* key, const std::string& what) const;

  // The value of a key, null when absent or null.
  json_object* Get(const char* key) {
    m_used.insert(key);
    json_object* v = nullptr;
    json_object_object_get_ex(m_obj, key, &v);
    return v;
  }
  bool Has(const char* key) { return Get(key) != nullptr; }
  json_object* Typed(const char* key, json_type type, const char* expected) {
    json_object* v = Get(key);
    if (v && !json_object_is_type(v, type)) Fail(key, std::string("expected ") + expected + ", got " + Shown(v));
    return v;
  }

  std::string String(const char* key, const std::string& def = "") {
    json_object* v = Typed(key, json_type_string, "a string");
    return v ? json_object_get_string(v) : def;
  }
  double Real(const char* key, double def) {
    json_object* v = Get(key);
    if (!v) return def;
    if (!json_object_is_type(v, json_type_int) && !json_object_is_type(v, json_type_double))
      Fail(key, "expected a number, got " + Shown(v));
    return json_object_get_double(v);
  }
  int32_t Int(const char* key, int32_t def) {
    json_object* v = Get(key);
    if (!v) return def;
    double d = Real(key, def);
    if (d != std::floor(d) || d < INT32_MIN || d > INT32_MAX) Fail(key, "expected a whole number, got " + Shown(v));
    return (int32_t)d;
  }
  bool Bool(const char* key, bool def) {
    json_object* v = Get(key);
    if (!v) return def;
    if (json_object_is_type(v, json_type_boolean)) return json_object_get_boolean(v);
    if (json_object_is_type(v, json_type_int) && (json_object_get_int(v) == 0 || json_object_get_int(v) == 1))
      return json_object_get_int(v) == 1;
    Fail(key, "expected true or false, got " + Shown(v));
  }
  // A colour: "#RRGGBB" or a BGR number as scripts write colours.
  uint32_t Colour(const char* key, uint32_t def) {
    json_object* v = Get(key);
    if (!v) return def;
    if (json_object_is_type(v, json_type_string)) {
      uint8_t rgba[4];
      bool alpha;
      if (!DataFile_ParseColour(json_object_get_string(v), rgba, alpha) || alpha)
        Fail(key, "expected a colour \"#RRGGBB\" or a number, got " + Shown(v));
      return rgba[0] | (rgba[1] << 8) | (rgba[2] << 16);
    }
    int32_t n = Int(key, 0);
    if (n < 0 || n > 0xFFFFFF) Fail(key, "colour " + std::to_string(n) + " is outside 0 to 16777215");
    return (uint32_t)n;
  }
  std::vector<json_object*> Array(const char* key) {
    std::vector<json_object*> out;
    if (json_object* v = Typed(key, json_type_array, "an array"))
      for (size_t i = 0; i < json_object_array_length(v); i++) out.push_back(json_object_array_get_idx(v, i));
    return out;
  }
  // A resource named by the key: its index, -1 when the key is absent.
  int32_t Ref(const char* key, const std::map<std::string, int32_t>& names, const char* kind) {
    if (!Has(key)) return -1;
    std::string name = String(key);
    auto it = names.find(name);
    if (it == names.end()) Fail(key, std::string("no ") + kind + " named " + Quoted(name));
    return it->second;
  }
  // A code text, or {"file": path} naming a file that holds it.
  std::string Code(const char* key);
  // An object of name: value text or number, in the project's order.
  std::vector<std::pair<std::string, std::string>> Constants(const char* key);

  void Done() const {
    json_object_object_foreach(m_obj, key, val) {
      (void)val;
      if (!m_used.count(key)) throw ProjectError{Prefix() + m_where + ": unknown key " + Quoted(key)};
    }
  }

 private:
  std::string Prefix() const;

  CSpecOwner& m_project;
  json_object* m_obj;
  std::string m_where;
  std::set<std::string> m_used;
};
