#include "IO/HTTP_Hooks.h"

// The request list of finished asynchronous work; the HTTP transport fills it.
void HTTP_DeliverFinished() {}
