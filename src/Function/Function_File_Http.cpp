// The JSON and HTTP built-ins: json_decode, json_encode, http_get and
// http_post_string. A request's reply arrives in a later step as other event
// 62, with async_load naming a map of "id", "url", "result", "http_status"
// and "status" (-1 when no body byte came, else 0).
#include <cstring>
#include <string>

#include "Base/Convert.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Data_Structures.h"
#include "Function/Function_File.h"
#include "Function/Function_Json.h"
#include "IO/HTTP_Main.h"
#include "Object/Object_Event.h"

namespace {
void F_JsonDecode(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, JSON_Decode(arg[0]));
}

void F_JsonEncode(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetString(&Result, JSON_Encode(RValue_TruncInt(arg[0])).c_str());
}

// Only addresses starting exactly "http://" or "https://" are requested.
bool HasWebScheme(const char* url) {
  return std::strncmp(url, "http://", 7) == 0 || std::strncmp(url, "https://", 8) == 0;
}

int HTTP_ResultCallback(HTTP_REQ_CONTEXT* req, void*, int* mapIndex) {
  const DS_MapPair pairs[] = {
      {"id", double(req->id), nullptr},
      {"url", 0, req->url.c_str()},
      {"result", 0, req->body.c_str()},
      {"http_status", double(req->httpStatus), nullptr},
      {"status", req->body.empty() ? -1.0 : 0.0, nullptr},
  };
  *mapIndex = DS_Map_CreateFromPairs(5, pairs);
  return EV_OTHER_HTTP;
}

// GET when body is null, else POST of the body; the result is the request's
// id, or -1 for another scheme.
void StartRequest(RValue& Result, const RValue& address, const char* body) {
  const char* url = RValue_Text(address);
  if (!HasWebScheme(url)) {
    RValue_SetReal(&Result, -1);
    return;
  }
  RValue_SetReal(&Result, HTTP_NextId());
  if (body) HTTP_Post(url, body, HTTP_ResultCallback, nullptr, nullptr);
  else HTTP_Get(url, HTTP_ResultCallback, nullptr, nullptr);
}

void F_HttpGet(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) { StartRequest(Result, arg[0], nullptr); }

void F_HttpPostString(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  StartRequest(Result, arg[0], RValue_Text(arg[1]));
}
}  // namespace

void Function_File_Http_Register() {
  Function_Add("json_decode", F_JsonDecode, 1);
  Function_Add("json_encode", F_JsonEncode, 1);
  Function_Add("http_get", F_HttpGet, 1);
  Function_Add("http_post_string", F_HttpPostString, 2);
}
