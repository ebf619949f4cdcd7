#include "IO/Linux/HTTP_CurlM.h"

#include <dlfcn.h>

#include "Base/Console.h"

namespace {
const char kLibrary[] = "libcurl.so.4";

template <typename F>
bool Find(void* library, const char* name, F* out) {
  *out = reinterpret_cast<F>(dlsym(library, name));
  return *out != nullptr;
}

const HTTP_Curl* Load() {
  static HTTP_Curl curl;
  // Never closed: transfers may run until the program ends.
  void* l = dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
  if (!l) {
    Console_Printf("HTTP: %s\n", dlerror());
    return nullptr;
  }
  bool ok = Find(l, "curl_global_init", &curl.global_init) && Find(l, "curl_easy_init", &curl.easy_init) &&
            Find(l, "curl_easy_setopt", &curl.easy_setopt) && Find(l, "curl_easy_getinfo", &curl.easy_getinfo) &&
            Find(l, "curl_easy_strerror", &curl.easy_strerror) &&
            Find(l, "curl_easy_cleanup", &curl.easy_cleanup) && Find(l, "curl_slist_append", &curl.slist_append) &&
            Find(l, "curl_slist_free_all", &curl.slist_free_all) && Find(l, "curl_multi_init", &curl.multi_init) &&
            Find(l, "curl_multi_add_handle", &curl.multi_add_handle) &&
            Find(l, "curl_multi_remove_handle", &curl.multi_remove_handle) &&
            Find(l, "curl_multi_perform", &curl.multi_perform) &&
            Find(l, "curl_multi_info_read", &curl.multi_info_read) &&
            Find(l, "curl_multi_strerror", &curl.multi_strerror) && Find(l, "curl_multi_cleanup", &curl.multi_cleanup);
  if (!ok) {
    Console_Printf("HTTP: %s lacks a function: %s\n", kLibrary, dlerror());
    return nullptr;
  }
  return &curl;
}
}  // namespace

const HTTP_Curl* HTTP_LoadCurl() {
  static const HTTP_Curl* s_Curl = Load();
  return s_Curl;
}
