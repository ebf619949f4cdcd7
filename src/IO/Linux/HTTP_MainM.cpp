// HTTP transfers over libcurl's multi interface: started by HTTP_Get and
// HTTP_Post, driven without waiting by HTTP_Poll, each ending with its record
// finished. Failures are logged as "call: message" with the name of the
// stage that failed: "InternetConnect" (the transfer could not be set up),
// "HttpSendRequest" (no reply came) or "InternetReadFile" (the reply broke
// off); the record then finishes with no body.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "Base/Console.h"
#include "IO/HTTP_Main.h"
#include "IO/Linux/HTTP_CurlM.h"

namespace {
const HTTP_Curl* g_Curl = nullptr;  // loaded with the first transfer
CURLM* g_Multi = nullptr;
long g_ConnectTimeout = 30;
long g_IdleTimeout = 60;

const char kAgent[] = "Calderwyn HTTP";

class HTTP_REQ_CONTEXT_CURL : public HTTP_REQ_CONTEXT {
 public:
  using HTTP_REQ_CONTEXT::HTTP_REQ_CONTEXT;
  ~HTTP_REQ_CONTEXT_CURL() override { Release(); }

  // Frees the transfer; the record stays.
  void Release() {
    if (easy) {
      g_Curl->multi_remove_handle(g_Multi, easy);
      g_Curl->easy_cleanup(easy);
      easy = nullptr;
    }
    if (headers) g_Curl->slist_free_all(headers);
    headers = nullptr;
  }

  CURL* easy = nullptr;
  curl_slist* headers = nullptr;
  bool limitKnown = false;  // the body limit was fixed by the first bytes
  // When the transfer started or last received a byte (header or body).
  std::chrono::steady_clock::time_point lastHeard = std::chrono::steady_clock::now();
};

// Ends a failed record with no body and the status read so far (0 when no
// reply came).
void FinishFailed(HTTP_REQ_CONTEXT_CURL* req, const char* call, const char* message, long status = 0) {
  Console_Printf("%s: %s\n", call, message);
  req->Release();
  req->httpStatus = static_cast<int>(status);
  req->body.clear();
  req->state = HTTP_STATE_FINISHED;
}

// The body limit: the buffer less its terminating byte, or the announced
// length when that does not fit, up to HTTP_BODY_LIMIT.
void FixLimit(HTTP_REQ_CONTEXT_CURL* req) {
  req->limitKnown = true;
  curl_off_t announced = -1;
  g_Curl->easy_getinfo(req->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
  if (announced < req->bufferSize) return;
  if (announced > HTTP_BODY_LIMIT) {
    Console_Printf("HTTP: %s announces %lld bytes; only the first %lld are kept\n", req->url.c_str(),
                   static_cast<long long>(announced), static_cast<long long>(HTTP_BODY_LIMIT));
    announced = HTTP_BODY_LIMIT;
  }
  req->bufferSize = static_cast<int>(announced) + 1;
  req->body.reserve(static_cast<size_t>(announced));
}

// Keeps what fits; the rest is read and dropped.
size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto* req = static_cast<HTTP_REQ_CONTEXT_CURL*>(user);
  req->lastHeard = std::chrono::steady_clock::now();
  size_t length = size * count;
  if (!req->limitKnown) FixLimit(req);
  size_t keep = static_cast<size_t>(req->bufferSize - 1);
  size_t room = keep > req->body.size() ? keep - req->body.size() : 0;
  req->body.append(data, std::min(length, room));
  return length;
}

size_t OnHeader(char*, size_t size, size_t count, void* user) {
  static_cast<HTTP_REQ_CONTEXT_CURL*>(user)->lastHeard = std::chrono::steady_clock::now();
  return size * count;
}

// Ends a transfer that has received nothing for the idle time. A reply that
// keeps trickling in, however slowly, goes on.
int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  auto silent = std::chrono::steady_clock::now() - static_cast<HTTP_REQ_CONTEXT_CURL*>(user)->lastHeard;
  return silent >= std::chrono::seconds(g_IdleTimeout) ? 1 : 0;
}

// The address without a user name and password: the transfer would send
// them as Basic authorization, in clear text over plain HTTP.
std::string WithoutCredentials(const std::string& url) {
  size_t host = url.find("://");
  if (host == std::string::npos) return url;
  host += 3;
  size_t end = std::min(url.find_first_of("/?#", host), url.size());
  size_t at = url.rfind('@', end - 1);
  return at == std::string::npos || at < host ? url : url.substr(0, host) + url.substr(at + 1);
}

// The address as a browser would send it: blanks, control bytes and bytes
// above 126 percent-encoded.
std::string Canonical(const char* url) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(url); *p; ++p) {
    if (*p <= 0x20 || *p >= 0x7F) {
      out += '%';
      out += hex[*p >> 4];
      out += hex[*p & 15];
    } else {
      out += static_cast<char>(*p);
    }
  }
  return out;
}

bool EnsureMulti() {
  if (g_Multi) return true;
  if (!(g_Curl = HTTP_LoadCurl())) return false;
  static bool s_Global = g_Curl->global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  if (s_Global) g_Multi = g_Curl->multi_init();
  return g_Multi != nullptr;
}

bool Configure(HTTP_REQ_CONTEXT_CURL* req, const char* body) {
  CURL* e = req->easy;
  std::string url = Canonical(WithoutCredentials(req->url).c_str());
  bool ok = g_Curl->easy_setopt(e, CURLOPT_URL, url.c_str()) == CURLE_OK;
  g_Curl->easy_setopt(e, CURLOPT_PRIVATE, req);
  g_Curl->easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
  g_Curl->easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
  g_Curl->easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  g_Curl->easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
  // Nor a user name and password that a redirect's address carries.
  g_Curl->easy_setopt(e, CURLOPT_HTTPAUTH, static_cast<unsigned long>(CURLAUTH_NONE));
  g_Curl->easy_setopt(e, CURLOPT_MAXREDIRS, 10L);
  g_Curl->easy_setopt(e, CURLOPT_CONNECTTIMEOUT, g_ConnectTimeout);
  g_Curl->easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
  g_Curl->easy_setopt(e, CURLOPT_XFERINFOFUNCTION, OnProgress);
  g_Curl->easy_setopt(e, CURLOPT_XFERINFODATA, req);
  g_Curl->easy_setopt(e, CURLOPT_HEADERFUNCTION, OnHeader);
  g_Curl->easy_setopt(e, CURLOPT_HEADERDATA, req);
  g_Curl->easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 1L);
  g_Curl->easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 2L);
  // As for the curl command: CURL_CA_BUNDLE names the only trusted roots.
  if (const char* bundle = std::getenv("CURL_CA_BUNDLE"); bundle && *bundle) {
    g_Curl->easy_setopt(e, CURLOPT_CAINFO, bundle);
    g_Curl->easy_setopt(e, CURLOPT_CAPATH, nullptr);
  }
  g_Curl->easy_setopt(e, CURLOPT_USERAGENT, kAgent);
  g_Curl->easy_setopt(e, CURLOPT_WRITEFUNCTION, OnBody);
  g_Curl->easy_setopt(e, CURLOPT_WRITEDATA, req);
  req->headers = g_Curl->slist_append(req->headers, "Cache-Control: no-cache");
  if (body) {
    req->headers = g_Curl->slist_append(req->headers, "Content-Type: application/x-www-form-urlencoded");
    req->headers = g_Curl->slist_append(req->headers, "Accept: */*");
    req->headers = g_Curl->slist_append(req->headers, "Expect:");
    g_Curl->easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(std::strlen(body)));
    ok = ok && g_Curl->easy_setopt(e, CURLOPT_COPYPOSTFIELDS, body) == CURLE_OK;
  } else {
    req->headers = g_Curl->slist_append(req->headers, "Accept:");
  }
  ok = ok && req->headers;
  g_Curl->easy_setopt(e, CURLOPT_HTTPHEADER, req->headers);
  return ok;
}

void Start(const char* url, const char* body, THTTP_Completion completion, THTTP_CleanUp cleanUp, void* arg) {
  auto* req = new HTTP_REQ_CONTEXT_CURL(url, HTTP_BUFFER_SIZE, completion, cleanUp, arg);
  if (!EnsureMulti() || !(req->easy = g_Curl->easy_init()) || !Configure(req, body)) {
    FinishFailed(req, "InternetConnect", "the transfer could not be set up");
    return;
  }
  if (CURLMcode m = g_Curl->multi_add_handle(g_Multi, req->easy); m != CURLM_OK) {
    FinishFailed(req, "InternetConnect", g_Curl->multi_strerror(m));
    return;
  }
  req->state = HTTP_STATE_SENT;
}

void Finish(HTTP_REQ_CONTEXT_CURL* req, CURLcode code) {
  long status = 0;
  g_Curl->easy_getinfo(req->easy, CURLINFO_RESPONSE_CODE, &status);
  if (code != CURLE_OK) {
    const char* call = status != 0 ? "InternetReadFile"
                       : (code == CURLE_URL_MALFORMAT || code == CURLE_UNSUPPORTED_PROTOCOL) ? "InternetConnect"
                                                                                             : "HttpSendRequest";
    std::string idle = "nothing received for " + std::to_string(g_IdleTimeout) + " s";
    FinishFailed(req, call, code == CURLE_ABORTED_BY_CALLBACK ? idle.c_str() : g_Curl->easy_strerror(code), status);
    return;
  }
  req->httpStatus = static_cast<int>(status);
  req->Release();
  req->state = HTTP_STATE_FINISHED;
}
}  // namespace

void HTTP_Get(const char* url, THTTP_Completion completion, THTTP_CleanUp cleanUp, void* arg) {
  Start(url, nullptr, completion, cleanUp, arg);
}

void HTTP_Post(const char* url, const char* body, THTTP_Completion completion, THTTP_CleanUp cleanUp, void* arg) {
  Start(url, body ? body : "", completion, cleanUp, arg);
}

void HTTP_Poll() {
  if (!g_Multi) return;
  int running = 0;
  g_Curl->multi_perform(g_Multi, &running);
  int left = 0;
  while (CURLMsg* msg = g_Curl->multi_info_read(g_Multi, &left)) {
    if (msg->msg != CURLMSG_DONE) continue;
    HTTP_REQ_CONTEXT_CURL* req = nullptr;
    g_Curl->easy_getinfo(msg->easy_handle, CURLINFO_PRIVATE, &req);
    if (req) Finish(req, msg->data.result);
  }
}

void HTTP_SetTimeouts(long connectSeconds, long idleSeconds) {
  g_ConnectTimeout = connectSeconds;
  g_IdleTimeout = idleSeconds;
}

void HTTP_Transport_Close() {
  if (g_Multi) g_Curl->multi_cleanup(g_Multi);
  g_Multi = nullptr;
}
