#include "DPlay/DPlay_Main.h"

#include "DPlay/DPlay_Shared.h"
#include "Platform/MemoryManager.h"

bool DPlay_InitIPX() { return false; }
bool DPlay_InitTCPIP(const char*) { return false; }
int DPlay_InitModem(const char*, const char*) { return 0; }
bool DPlay_InitSerial(int, int, int, int, int) { return false; }
void DPlay_EndConnection() {}
int DPlay_ConnectionStatus() { return g_DPlay.connection_status; }

void DPlay_SetSessionMode(bool flag) { g_DPlay.session_mode = flag; }
bool DPlay_CreateSession(const char*, int, const char*) { return false; }
int DPlay_FindSessions() { return 0; }
const char* DPlay_GetSessionName(int) { return nullptr; }
bool DPlay_JoinSession(int, const char*) { return false; }
void DPlay_EndSession() {}
int DPlay_SessionStatus() { return g_DPlay.session_status; }

int DPlay_FindPlayers() { return 0; }
const char* DPlay_GetPlayerName(int) { return nullptr; }
int DPlay_GetPlayerID(int) { return 0; }

bool DPlay_WriteData(int, const RValue&) { return false; }
void DPlay_ReadData(int, RValue*) {}
void DPlay_SetDataMode(bool) {}

bool DPlay_SendMessageToId(int, int, const RValue&) { return false; }
bool DPlay_SendMessageGuaranteedToId(int, int, const RValue&) { return false; }
bool DPlay_SendMessageToName(const char*, int, const RValue&) { return false; }
bool DPlay_SendMessageGuaranteedToName(const char*, int, const RValue&) { return false; }
bool DPlay_ReceiveMessageFromId(int) { return false; }
bool DPlay_ReceiveMessageFromName(const char*) { return false; }
int DPlay_GetMessageID() { return g_DPlay.message_id; }
int DPlay_GetMessagePlayer() { return g_DPlay.message_player; }

void DPlay_GetMessageValue(RValue* value) { RValue_Copy(value, &g_DPlay.message_value); }

char* DPlay_GetMessagePlayerName() {
  for (const DPlayPlayer& p : g_DPlay.players)
    if (p.id == g_DPlay.message_player) return String_Duplicate(p.name);
  return String_Duplicate("(unknown)");
}

int DPlay_GetMessageCount(int) { return 0; }
void DPlay_ClearPlayerMessages(int) {}
void DPlay_GetIPAddress(char**) {}
