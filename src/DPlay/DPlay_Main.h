// The multiplayer layer: connections, sessions, players, shared data and
// messages. There is no network transport: every connection, create, join and
// send fails, finding finds nothing and receiving receives nothing, so games
// take their own "no connection" path. Nothing opens a socket, a listener, a
// serial port or a modem.
#pragma once
#include <cstdint>

#include "Base/RValue.h"

bool DPlay_InitIPX();
bool DPlay_InitTCPIP(const char* address);
int DPlay_InitModem(const char* init, const char* phone);
bool DPlay_InitSerial(int port, int baud, int stopbits, int parity, int flow);
void DPlay_EndConnection();
int DPlay_ConnectionStatus();

void DPlay_SetSessionMode(bool flag);
bool DPlay_CreateSession(const char* name, int max_players, const char* player_name);
int DPlay_FindSessions();
// Session and player names: null when there is none (no text).
const char* DPlay_GetSessionName(int number);
bool DPlay_JoinSession(int number, const char* player_name);
void DPlay_EndSession();
int DPlay_SessionStatus();

int DPlay_FindPlayers();
const char* DPlay_GetPlayerName(int number);
int DPlay_GetPlayerID(int number);

bool DPlay_WriteData(int index, const RValue& value);
void DPlay_ReadData(int index, RValue* value);
void DPlay_SetDataMode(bool flag);

bool DPlay_SendMessageToId(int player, int message, const RValue& value);
bool DPlay_SendMessageGuaranteedToId(int player, int message, const RValue& value);
bool DPlay_SendMessageToName(const char* player, int message, const RValue& value);
bool DPlay_SendMessageGuaranteedToName(const char* player, int message, const RValue& value);
bool DPlay_ReceiveMessageFromId(int player);
bool DPlay_ReceiveMessageFromName(const char* player);
int DPlay_GetMessageID();
int DPlay_GetMessagePlayer();
// Copies the current message's value into *value (a new copy of its text).
void DPlay_GetMessageValue(RValue* value);
// The sender's name from the player list, else "(unknown)"; a new block
// either way, the caller's to free.
char* DPlay_GetMessagePlayerName();
int DPlay_GetMessageCount(int player);
void DPlay_ClearPlayerMessages(int player);
// Leaves *address as given: there is no address without a connection.
void DPlay_GetIPAddress(char** address);
