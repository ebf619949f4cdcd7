// Finished asynchronous requests, delivered once per step as other events.
#pragma once

void HTTP_DeliverFinished();
