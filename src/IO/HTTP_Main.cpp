// The request list and its delivery; the transfers themselves are in
// Linux/HTTP_MainM.cpp.
#include "IO/HTTP_Main.h"

namespace {
HTTP_REQ_CONTEXT* g_Head = nullptr;
int g_NextId = 0;
THTTP_EventSender g_Sender = nullptr;

// Unlinks and gives the first active finished record from the head, or none.
HTTP_REQ_CONTEXT* TakeFinished() {
  for (HTTP_REQ_CONTEXT** link = &g_Head; *link; link = &(*link)->next) {
    HTTP_REQ_CONTEXT* req = *link;
    if (req->active && req->state == HTTP_STATE_FINISHED) {
      *link = req->next;
      req->next = nullptr;
      return req;
    }
  }
  return nullptr;
}
}  // namespace

HTTP_REQ_CONTEXT::HTTP_REQ_CONTEXT(const char* u, int size, THTTP_Completion c, THTTP_CleanUp clean, void* a)
    : completion(c), cleanUp(clean), arg(a), url(u ? u : ""), id(g_NextId++), bufferSize(size) {
  next = g_Head;
  g_Head = this;
}

HTTP_REQ_CONTEXT::~HTTP_REQ_CONTEXT() {
  // A record deleted while still listed (at shutdown) leaves the list first.
  for (HTTP_REQ_CONTEXT** link = &g_Head; *link; link = &(*link)->next) {
    if (*link == this) {
      *link = next;
      break;
    }
  }
}

HTTP_REQ_CONTEXT* HTTP_PushFinished(THTTP_Completion completion, THTTP_CleanUp cleanUp, void* arg) {
  auto* req = new HTTP_REQ_CONTEXT(nullptr, 0, completion, cleanUp, arg);
  req->state = HTTP_STATE_FINISHED;
  return req;
}

int HTTP_NextId() { return g_NextId; }

void HTTP_SetEventSender(THTTP_EventSender sender) { g_Sender = sender; }

int HTTP_CountRecords(int state) {
  int n = 0;
  for (HTTP_REQ_CONTEXT* req = g_Head; req; req = req->next) n += (state < 0 || req->state == state);
  return n;
}

void HTTP_DeliverFinished() {
  HTTP_Poll();
  while (HTTP_REQ_CONTEXT* req = TakeFinished()) {
    int map = -1;
    int event = req->completion ? req->completion(req, req->arg, &map) : -1;
    if (g_Sender) g_Sender(event, map);
    if (req->cleanUp) req->cleanUp(req);
    delete req;
  }
}

void HTTP_Shutdown() {
  while (HTTP_REQ_CONTEXT* req = g_Head) {
    g_Head = req->next;
    req->next = nullptr;
    if (req->cleanUp) req->cleanUp(req);
    delete req;
  }
  HTTP_Transport_Close();
}
