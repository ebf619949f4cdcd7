// The request list: asynchronous work (HTTP requests, and anything else that
// wants an other event in a coming step) waits here until the step delivers
// it. HTTP requests run over libcurl without blocking: HTTP_Get and HTTP_Post
// start the transfer and return at once, HTTP_Poll drives every transfer
// without waiting, and a transfer that ends leaves its record finished.
//
// Delivery (HTTP_DeliverFinished, once per step): the first active finished
// record from the head of the list (new records are pushed at the head, so
// the newest finished one) is unlinked, its completion callback is called
// with a map index of -1 to fill, the event sender sends the other event the
// callback named with that map, the clean-up callback runs and the record is
// deleted; then again from the head until no record is finished.
#pragma once
#include <cstdint>
#include <string>

class HTTP_REQ_CONTEXT;

// Builds the reply of a finished record; gives the number of the other event
// to send (below 60 for none) and may store the index of a new ds_map through
// mapIndex, which the event sender frees after the event.
typedef int (*THTTP_Completion)(HTTP_REQ_CONTEXT* req, void* arg, int* mapIndex);
// Called after delivery, or at shutdown for a record never delivered; may be
// null.
typedef void (*THTTP_CleanUp)(HTTP_REQ_CONTEXT* req);
// Sends other event `event` (60 or more) with async_load naming mapIndex,
// then frees that map while its slot still holds it; with an event below 60
// only frees the map. Set by the run loop at start-up.
typedef void (*THTTP_EventSender)(int event, int mapIndex);

enum : int {
  HTTP_STATE_CREATED = 1,
  HTTP_STATE_SENT = 5,
  HTTP_STATE_FINISHED = 7,
};

// Receive buffer of a request: a body without an announced length is cut at
// this size less one byte; an announced length is read whole up to
// HTTP_BODY_LIMIT.
constexpr int HTTP_BUFFER_SIZE = 0x20000;
constexpr int64_t HTTP_BODY_LIMIT = 64ll * 1024 * 1024;

class HTTP_REQ_CONTEXT {
 public:
  // Takes the next id and pushes the record at the head of the list, in the
  // created state. url may be null.
  HTTP_REQ_CONTEXT(const char* url, int bufferSize, THTTP_Completion completion, THTTP_CleanUp cleanUp, void* arg);
  virtual ~HTTP_REQ_CONTEXT();
  HTTP_REQ_CONTEXT(const HTTP_REQ_CONTEXT&) = delete;
  HTTP_REQ_CONTEXT& operator=(const HTTP_REQ_CONTEXT&) = delete;

  HTTP_REQ_CONTEXT* next = nullptr;
  int active = 1;  // only active records are delivered
  int state = HTTP_STATE_CREATED;
  THTTP_Completion completion;
  THTTP_CleanUp cleanUp;
  void* arg;
  std::string url;
  int id;
  int httpStatus = 200;  // 0 when a request ended before a status was read
  int bufferSize;        // the most body bytes kept, less one
  std::string body;      // the bytes received
};

// Pushes a record that is already finished, so that its completion callback
// runs in the next delivery: the way for any caller (a dialog's answer, an
// image loaded from an address) to answer with an asynchronous event.
// Returns the record; its id is the request id the caller may hand out.
HTTP_REQ_CONTEXT* HTTP_PushFinished(THTTP_Completion completion, THTTP_CleanUp cleanUp, void* arg);

// The id the next record will take.
int HTTP_NextId();

// Start a GET or a POST of the body (sent whole, as a form) and return at
// once; the record finishes when the transfer ends, also when it fails
// (HTTP status 0 when no reply came, no body bytes).
void HTTP_Get(const char* url, THTTP_Completion completion, THTTP_CleanUp cleanUp, void* arg);
void HTTP_Post(const char* url, const char* body, THTTP_Completion completion, THTTP_CleanUp cleanUp, void* arg);

// Delivers the finished records as described above (once per step, after
// the outside and boundary events).
void HTTP_DeliverFinished();

// Drives every transfer without waiting; finished transfers leave their
// records finished. Called once per frame and before each delivery.
void HTTP_Poll();

void HTTP_SetEventSender(THTTP_EventSender sender);

// Frees every record and transfer (at shutdown); undelivered records get
// their clean-up callback.
void HTTP_Shutdown();
// The transport's part of it: closes the shared transfer handle.
void HTTP_Transport_Close();

// The number of records on the list in a state, or in any state for -1.
int HTTP_CountRecords(int state);

// Transfer limits: seconds to connect (30) and seconds a transfer may go
// without receiving anything before it fails (60). Tests shorten them.
void HTTP_SetTimeouts(long connectSeconds, long idleSeconds);
