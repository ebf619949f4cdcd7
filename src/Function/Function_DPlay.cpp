// The mplay_ built-ins over the multiplayer layer. The layer has no network
// transport, so every result is fixed; each handler still converts its
// arguments and asks the layer, so a transport would need no change here.
#include "Base/Convert.h"
#include "Base/RValue.h"
#include "Code/Code_BuiltinTable.h"
#include "DPlay/DPlay_Main.h"

namespace {

// A text argument: its string, or no text when it is a real.

// A text answer becomes a string result; no text is the empty string.
void SetText(RValue& Result, const char* text) { RValue_SetString(&Result, text ? text : ""); }

void F_InitIPX(RValue& Result, CInstance*, CInstance*, int, const RValue*) { RValue_SetReal(&Result, DPlay_InitIPX()); }
void F_InitTCPIP(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, DPlay_InitTCPIP(RValue_TextOrNull(arg[0])));
}
void F_InitModem(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, DPlay_InitModem(RValue_TextOrNull(arg[0]), RValue_TextOrNull(arg[1])));
}
void F_InitSerial(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, DPlay_InitSerial(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]),
                                           RValue_RoundInt(arg[3]), RValue_RoundInt(arg[4])));
}
void F_ConnectStatus(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  RValue_SetReal(&Result, DPlay_ConnectionStatus());
}
void F_End(RValue&, CInstance*, CInstance*, int, const RValue*) { DPlay_EndConnection(); }

void F_SessionMode(RValue&, CInstance*, CInstance*, int, const RValue* arg) { DPlay_SetSessionMode(RValue_RoundInt(arg[0]) >= 1); }
void F_SessionCreate(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result,
                 DPlay_CreateSession(RValue_TextOrNull(arg[0]), RValue_RoundInt(arg[1]), RValue_TextOrNull(arg[2])));
}
void F_SessionFind(RValue& Result, CInstance*, CInstance*, int, const RValue*) { RValue_SetReal(&Result, DPlay_FindSessions()); }
void F_SessionName(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  SetText(Result, DPlay_GetSessionName(RValue_RoundInt(arg[0])));
}
void F_SessionJoin(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, DPlay_JoinSession(RValue_RoundInt(arg[0]), RValue_TextOrNull(arg[1])));
}
void F_SessionStatus(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  RValue_SetReal(&Result, DPlay_SessionStatus());
}
void F_SessionEnd(RValue&, CInstance*, CInstance*, int, const RValue*) { DPlay_EndSession(); }

void F_PlayerFind(RValue& Result, CInstance*, CInstance*, int, const RValue*) { RValue_SetReal(&Result, DPlay_FindPlayers()); }
void F_PlayerName(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  SetText(Result, DPlay_GetPlayerName(RValue_RoundInt(arg[0])));
}
void F_PlayerId(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, DPlay_GetPlayerID(RValue_RoundInt(arg[0])));
}

void F_DataWrite(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, DPlay_WriteData(RValue_RoundInt(arg[0]), arg[1]));
}
void F_DataRead(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, 0);
  DPlay_ReadData(RValue_RoundInt(arg[0]), &Result);
}
void F_DataMode(RValue&, CInstance*, CInstance*, int, const RValue* arg) { DPlay_SetDataMode(RValue_RoundInt(arg[0]) >= 1); }

// A string player goes by name, a real one by id.
template <bool (*ByName)(const char*, int, const RValue&), bool (*ById)(int, int, const RValue&)>
void F_MessageSend(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  int message = RValue_RoundInt(arg[1]);
  bool sent = RValue_IsString(arg[0]) ? ByName(RValue_TextOrNull(arg[0]), message, arg[2])
                                      : ById(RValue_RoundInt(arg[0]), message, arg[2]);
  RValue_SetReal(&Result, sent);
}
void F_MessageReceive(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  bool got = RValue_IsString(arg[0]) ? DPlay_ReceiveMessageFromName(RValue_TextOrNull(arg[0]))
                                     : DPlay_ReceiveMessageFromId(RValue_RoundInt(arg[0]));
  RValue_SetReal(&Result, got);
}
void F_MessageId(RValue& Result, CInstance*, CInstance*, int, const RValue*) { RValue_SetReal(&Result, DPlay_GetMessageID()); }
void F_MessageValue(RValue& Result, CInstance*, CInstance*, int, const RValue*) { DPlay_GetMessageValue(&Result); }
void F_MessagePlayer(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  RValue_SetReal(&Result, DPlay_GetMessagePlayer());
}
void F_MessageName(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  RValue_SetStringOwned(&Result, DPlay_GetMessagePlayerName());
}
void F_MessageCount(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, DPlay_GetMessageCount(RValue_RoundInt(arg[0])));
}
void F_MessageClear(RValue&, CInstance*, CInstance*, int, const RValue* arg) { DPlay_ClearPlayerMessages(RValue_RoundInt(arg[0])); }

void F_IPAddress(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  char* address = nullptr;
  DPlay_GetIPAddress(&address);
  SetText(Result, address);
}

}  // namespace

void Function_DPlay_Init() {
  Function_Add("mplay_init_ipx", F_InitIPX, 0);
  Function_Add("mplay_init_tcpip", F_InitTCPIP, 1);
  Function_Add("mplay_init_modem", F_InitModem, 2);
  Function_Add("mplay_init_serial", F_InitSerial, 5);
  Function_Add("mplay_connect_status", F_ConnectStatus, 0);
  Function_Add("mplay_end", F_End, 0);
  Function_Add("mplay_session_mode", F_SessionMode, 1);
  Function_Add("mplay_session_create", F_SessionCreate, 3);
  Function_Add("mplay_session_find", F_SessionFind, 0);
  Function_Add("mplay_session_name", F_SessionName, 1);
  Function_Add("mplay_session_join", F_SessionJoin, 2);
  Function_Add("mplay_session_status", F_SessionStatus, 0);
  Function_Add("mplay_session_end", F_SessionEnd, 0);
  Function_Add("mplay_player_find", F_PlayerFind, 0);
  Function_Add("mplay_player_name", F_PlayerName, 1);
  Function_Add("mplay_player_id", F_PlayerId, 1);
  Function_Add("mplay_data_write", F_DataWrite, 2);
  Function_Add("mplay_data_read", F_DataRead, 1);
  Function_Add("mplay_data_mode", F_DataMode, 1);
  Function_Add("mplay_message_send", F_MessageSend<DPlay_SendMessageToName, DPlay_SendMessageToId>, 3);
  Function_Add("mplay_message_send_guaranteed",
               F_MessageSend<DPlay_SendMessageGuaranteedToName, DPlay_SendMessageGuaranteedToId>, 3);
  Function_Add("mplay_message_receive", F_MessageReceive, 1);
  Function_Add("mplay_message_id", F_MessageId, 0);
  Function_Add("mplay_message_value", F_MessageValue, 0);
  Function_Add("mplay_message_player", F_MessagePlayer, 0);
  Function_Add("mplay_message_name", F_MessageName, 0);
  Function_Add("mplay_message_count", F_MessageCount, 1);
  Function_Add("mplay_message_clear", F_MessageClear, 1);
  Function_Add("mplay_ipaddress", F_IPAddress, 0);
}
