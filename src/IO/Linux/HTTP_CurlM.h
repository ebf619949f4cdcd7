// libcurl, loaded when the first transfer starts rather than with the
// program: most games never use the network, and the library with its TLS,
// Kerberos and directory-service dependencies adds milliseconds and megabytes
// to every start-up.
#pragma once
#include <curl/curl.h>

struct HTTP_Curl {
  decltype(&::curl_global_init) global_init;
  decltype(&::curl_easy_init) easy_init;
  decltype(&::curl_easy_setopt) easy_setopt;
  decltype(&::curl_easy_getinfo) easy_getinfo;
  decltype(&::curl_easy_strerror) easy_strerror;
  decltype(&::curl_easy_cleanup) easy_cleanup;
  decltype(&::curl_slist_append) slist_append;
  decltype(&::curl_slist_free_all) slist_free_all;
  decltype(&::curl_multi_init) multi_init;
  decltype(&::curl_multi_add_handle) multi_add_handle;
  decltype(&::curl_multi_remove_handle) multi_remove_handle;
  decltype(&::curl_multi_perform) multi_perform;
  decltype(&::curl_multi_info_read) multi_info_read;
  decltype(&::curl_multi_strerror) multi_strerror;
  decltype(&::curl_multi_cleanup) multi_cleanup;
};

// The library's functions, loaded on the first call; null when the library or
// one of its functions cannot be found (said once on the console).
const HTTP_Curl* HTTP_LoadCurl();
