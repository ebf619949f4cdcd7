#include "Function/Function_Json.h"

#include <json-c/json.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "Base/Convert.h"
#include "Base/Text_Real.h"
#include "Function/Function_Data_Structures.h"
#include "Support/Support_Data_Structures_Map.h"
#include "Support/Support_Data_Structures_Sequence.h"

namespace {
int JSON_ObjectToMap(json_object* object);
int JSON_ArrayToList(json_object* array);

// A JSON value as a script value; a text is borrowed from the parsed tree.
RValue JSON_ToRValue(json_object* v) {
  switch (json_object_get_type(v)) {
    case json_type_boolean:
      return {VALUE_REAL, nullptr, json_object_get_boolean(v) ? 1.0 : 0.0};
    case json_type_double:
    case json_type_int:  // read whole, also beyond 32 bits
      return {VALUE_REAL, nullptr, json_object_get_double(v)};
    case json_type_string:
      return {VALUE_STRING, const_cast<char*>(json_object_get_string(v)), 0.0};
    case json_type_object:
      return {VALUE_REAL | KIND_MARK_MAP, nullptr, double(JSON_ObjectToMap(v))};
    case json_type_array:
      return {VALUE_REAL | KIND_MARK_LIST, nullptr, double(JSON_ArrayToList(v))};
    default:
      return {VALUE_REAL, nullptr, 0.0};
  }
}

// Members in the object's order, null members skipped; the map takes its
// index after the structures nested in it.
int JSON_ObjectToMap(json_object* object) {
  auto* map = new CDS_Map();
  json_object_object_foreach(object, key, member) {
    if (!member) continue;
    RValue k{VALUE_STRING, key, 0.0};
    RValue v = JSON_ToRValue(member);
    map->Add(&k, &v);
  }
  return DS_Map_FreeSlot(map);
}

// Elements in order, null elements as the real 0.
int JSON_ArrayToList(json_object* array) {
  auto* list = new CDS_List();
  size_t n = json_object_array_length(array);
  for (size_t i = 0; i < n; ++i) {
    RValue v = JSON_ToRValue(json_object_array_get_idx(array, i));
    list->Add(&v);
  }
  return DS_List_FreeSlot(list);
}

json_object* ParseObject(const std::string& text) {
  json_object* parsed = json_tokener_parse(text.c_str());
  if (parsed && !json_object_is_type(parsed, json_type_object)) {
    json_object_put(parsed);
    return nullptr;
  }
  return parsed;
}

// { "default" : <text> }, the text escaped as a JSON string so that the
// member holds exactly it.
std::string Wrapped(const char* text) {
  json_object* s = json_object_new_string(text);
  std::string out = std::string("{ \"default\" : ") + json_object_to_json_string(s) + " }";
  json_object_put(s);
  return out;
}

// The object text without the white space around it (the parser takes no
// form feed or vertical tab there); false when it is not "{...}".
bool ObjectText(const std::string& text, std::string* object) {
  size_t begin, end;
  JSON_SkipBlanks(text.data(), text.size(), &begin, &end);
  if (begin == end || text[begin] != '{' || text[end - 1] != '}') return false;
  *object = text.substr(begin, end - begin);
  return true;
}

// The text with every whole number that does not fit in 64 bits given a
// fraction (".0"), so that the parser reads it as a real with its value
// instead of clamping it.
std::string WideNumbersAsReals(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0, n = text.size();
  while (i < n) {
    char c = text[i];
    if (c == '"' || c == '\'') {  // a string (the parser takes both quotes), as it stands
      size_t end = i + 1;
      while (end < n && text[end] != c) end += text[end] == '\\' ? 2 : 1;
      end = std::min(end + 1, n);
      out.append(text, i, end - i);
      i = end;
    } else if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) {
      size_t end = i + 1;
      while (end < n && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
      std::string number = text.substr(i, end - i);
      out += number;
      i = end;
      bool whole = i >= n || (text[i] != '.' && text[i] != 'e' && text[i] != 'E');
      errno = 0;
      if (whole && number != "-" && (std::strtoll(number.c_str(), nullptr, 10), errno == ERANGE)) out += ".0";
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}

json_object* JSON_Number(double d) { return json_object_new_double_s(d, Text_Format("%f", d).c_str()); }

json_object* JSON_MapToObject(const CDS_Map* map, int depth);
json_object* JSON_ListToArray(const CDS_List* list, int depth);

// depth: the nesting level a structure named by the value would have.
json_object* JSON_ValueFromRValue(const RValue& v, int depth) {
  if (v.kind & (KIND_MARK_MAP | KIND_MARK_LIST)) {
    if (depth > JSON_MAX_DEPTH || v.val < 0 || v.val >= 2147483648.0) return nullptr;
    int index = static_cast<int>(v.val);
    if (v.kind & KIND_MARK_MAP) {
      const CDS_Map* map = DS_Map_Get(index);
      return map ? JSON_MapToObject(map, depth) : nullptr;
    }
    const CDS_List* list = DS_List_Get(index);
    return list ? JSON_ListToArray(list, depth) : nullptr;
  }
  if (RValue_IsString(v)) return json_object_new_string(RValue_Text(v));
  return JSON_Number(v.val);
}

json_object* JSON_MapToObject(const CDS_Map* map, int depth) {
  json_object* object = json_object_new_object();
  CDS_MapIterator it(map);
  while (const CDS_MapEntry* e = it.Next()) {
    RValue key, value;
    e->GetKey(&key);
    e->GetValue(&value);
    std::string name = RValue_IsString(key) ? std::string(RValue_Text(key))
                                            : Text_Format("%lld", static_cast<long long>(Convert_TruncInt64(key.val)));
    json_object_object_add(object, name.c_str(), JSON_ValueFromRValue(value, depth + 1));
  }
  return object;
}

json_object* JSON_ListToArray(const CDS_List* list, int depth) {
  json_object* array = json_object_new_array();
  for (int i = 0; i < list->Size(); ++i) json_object_array_add(array, JSON_ValueFromRValue(*list->FindValue(i), depth + 1));
  return array;
}
// Destroys the structure a marked value names, then those its values named
// (so a structure that names itself is gone before it is met again).
void DestroyMarked(const RValue& v) {
  if (v.val < 0 || v.val >= 2147483648.0) return;
  int index = static_cast<int>(v.val);
  std::vector<RValue> named;
  auto keep = [&](const RValue& x) {
    if (x.kind & (KIND_MARK_MAP | KIND_MARK_LIST)) named.push_back({x.kind, nullptr, x.val});
  };
  if (v.kind & KIND_MARK_MAP) {
    const CDS_Map* map = DS_Map_Get(index);
    if (!map) return;
    CDS_MapIterator it(map);
    while (const CDS_MapEntry* e = it.Next()) {
      RValue value;
      e->GetValue(&value);
      keep(value);
    }
    DS_Map_Destroy(index);
  } else if (v.kind & KIND_MARK_LIST) {
    const CDS_List* list = DS_List_Get(index);
    if (!list) return;
    for (int i = 0; i < list->Size(); ++i) keep(*list->FindValue(i));
    DS_List_Destroy(index);
  }
  for (const RValue& x : named) DestroyMarked(x);
}
}  // namespace

void JSON_SkipBlanks(const char* text, size_t length, size_t* begin, size_t* end) {
  size_t a = 0, b = length;
  while (a < b && std::isspace(static_cast<unsigned char>(text[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(text[b - 1]))) --b;
  *begin = a;
  *end = b;
}

int JSON_Decode(const RValue& value) {
  const char* given = RValue_Text(value);
  std::string text = RValue_IsString(value) ? std::string(given) : Text_Format("{ \"default\" : \"%.2f\" }", value.val);
  std::string object;
  text = ObjectText(text, &object) ? WideNumbersAsReals(object) : Wrapped(given);
  json_object* parsed = ParseObject(text);
  if (!parsed) parsed = ParseObject(Wrapped(given));
  if (!parsed) return -1;
  int index = JSON_ObjectToMap(parsed);
  json_object_put(parsed);
  return index;
}

std::string JSON_Encode(int mapIndex) {
  const CDS_Map* map = DS_Map_Get(mapIndex);
  if (!map) return "";
  json_object* object = JSON_MapToObject(map, 1);
  std::string out = json_object_to_json_string(object);
  json_object_put(object);
  return out;
}

void JSON_DestroyTree(int mapIndex) { DestroyMarked({VALUE_REAL | KIND_MARK_MAP, nullptr, double(mapIndex)}); }
