// What the multiplayer layer keeps between calls: two statuses, the session
// mode, the message last received and the players of the session. Without a
// transport nothing but the session mode ever changes; the queries read these
// values so that a transport would only have to fill them.
#pragma once
#include <cstdint>
#include <vector>

#include "Base/RValue.h"

struct DPlayPlayer {
  int32_t id;
  char* name;  // owned
};

struct DPlayState {
  int32_t connection_status = 0;
  int32_t session_status = 0;
  bool session_mode = false;
  int32_t message_id = 0;
  int32_t message_player = 0;
  RValue message_value = {VALUE_REAL, nullptr, 0.0};
  std::vector<DPlayPlayer> players;
};

extern DPlayState g_DPlay;

// Frees the player names and the message's string; the values go back to 0.
void DPlay_Free();
