// Registration of the platform-service built-ins, and the achievement,
// virtual-key, web-address and analytics built-ins.
#include "Function/Kivo_Functions.h"

#include "Base/Convert.h"
#include "Code/Code_Error.h"
#include "Kivo/Kivo_Achievements.h"
#include "Kivo/Kivo_Platform.h"
#include "IO/IO_Main.h"

namespace {
// Bit 1 of this word says whether the player is signed in to the service;
// nothing on this platform sets it.
int g_OnlineFlags = 0;

bool IsReal(const RValue& v) { return v.kind == VALUE_REAL; }

// ------------------------------------------------------------ achievements

void F_AchievementLogin(RValue&, CInstance*, CInstance*, int, const RValue*) { Platform_AchievementLogin(); }
void F_AchievementLogout(RValue&, CInstance*, CInstance*, int, const RValue*) {}
void F_AchievementAvailable(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  RValue_SetReal(&Result, Achievements_Enabled() ? 1 : 0);
}

// (name, value): checked, then handed to the service while it is enabled.
bool PostArguments(int argc, const RValue* arg) {
  if (Kivo_BadCount(argc, 2) || Kivo_BadType(RValue_IsString(arg[0]) && IsReal(arg[1]))) return false;
  return Achievements_Enabled();
}
void F_AchievementPost(RValue&, CInstance*, CInstance*, int argc, const RValue* arg) {
  if (PostArguments(argc, arg)) Platform_PostAchievement(RValue_Text(arg[0]), RValue_Single(arg[1]));
}
void F_AchievementPostScore(RValue&, CInstance*, CInstance*, int argc, const RValue* arg) {
  if (PostArguments(argc, arg))
    Platform_PostScore(RValue_Text(arg[0]), static_cast<float>(RValue_TruncInt(arg[1])));
}
void F_AchievementMapAchievement(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  Platform_MapAchievement(RValue_Text(arg[0]), RValue_Text(arg[1]));
}
// (name, platform name, kind): the service files a leaderboard of that kind
// (1 when not given); this platform's has no kinds to file.
void F_AchievementMapLeaderboard(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  Platform_MapLeaderboard(RValue_Text(arg[0]), RValue_Text(arg[1]));
}
void F_AchievementIsOnline(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  RValue_SetReal(&Result, (g_OnlineFlags >> 1) & 1);
}

// ------------------------------------------------------------ virtual keys

const char kBadHandle[] = "Illegal virtual key handle";

// The record of a handle argument; none after reporting a bad one.
VirtualKey* KeyOfHandle(int argc, const RValue* arg) {
  if (Kivo_BadCount(argc, 1)) return nullptr;
  if (!IsReal(arg[0])) {
    Error_Show_Action("Illegal argument", false);
    return nullptr;
  }
  int64_t index = Convert_TruncInt64(arg[0].val) - 1;
  VirtualKey* key = index >= 0 && index < IO_VIRTUAL_KEYS ? IO_VirtualKey_Get(static_cast<int>(index)) : nullptr;
  if (!key) Error_Show_Action(kBadHandle, false);
  return key;
}

// (x, y, width, height, key code): the handle of a new key, 0 when every
// record is in use.
void F_VirtualKeyAdd(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  if (Kivo_BadCount(argc, 5)) return;
  bool reals = true;
  for (int i = 0; i < 5; i++) reals = reals && IsReal(arg[i]);
  if (Kivo_BadType(reals)) return;
  VirtualKey* key = IO_VirtualKey_FindFree();
  if (!key) return;
  key->left = RValue_TruncInt(arg[0]);
  key->top = RValue_TruncInt(arg[1]);
  key->width = RValue_TruncInt(arg[2]);
  key->height = RValue_TruncInt(arg[3]);
  key->right = static_cast<int>(static_cast<int64_t>(key->left) + key->width);
  key->bottom = static_cast<int>(static_cast<int64_t>(key->top) + key->height);
  key->key = RValue_TruncInt(arg[4]);
  key->state[0] = key->state[1] = key->state[2] = 0;
  key->flags = VIRTUALKEY_USED;
  RValue_SetReal(&Result, key->index + 1);
}
void F_VirtualKeyDelete(RValue&, CInstance*, CInstance*, int argc, const RValue* arg) {
  if (VirtualKey* key = KeyOfHandle(argc, arg)) IO_VirtualKey_Delete(key->index);
}
void F_VirtualKeyShow(RValue&, CInstance*, CInstance*, int argc, const RValue* arg) {
  if (VirtualKey* key = KeyOfHandle(argc, arg)) key->flags |= VIRTUALKEY_VISIBLE;
}
void F_VirtualKeyHide(RValue&, CInstance*, CInstance*, int argc, const RValue* arg) {
  if (VirtualKey* key = KeyOfHandle(argc, arg)) key->flags &= static_cast<uint16_t>(~VIRTUALKEY_VISIBLE);
}

// ----------------------------------------------------------- web addresses

// url_open and its forms with a target and options open the first argument
// only; the address keeps its case.
void F_UrlOpen(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (Kivo_BadType(RValue_IsString(arg[0]))) return;
  RValue_SetReal(&Result, Platform_OpenURL(RValue_Text(arg[0])));
}
void F_UrlGetDomain(RValue& Result, CInstance*, CInstance*, int, const RValue*) { RValue_SetString(&Result, "localhost"); }

// --------------------------------------------------------------- analytics

// Nothing is sent anywhere: the platform has no analytics service.
void F_AnalyticsEvent(RValue& Result, CInstance*, CInstance*, int, const RValue*) { RValue_SetString(&Result, ""); }

// (name, key, value, key, value, ...): an odd last argument is ignored.
void F_AnalyticsEventExt(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  RValue_SetString(&Result, "");
  if (argc < 1 || !RValue_IsString(arg[0])) return;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!RValue_IsString(arg[i]) || !IsReal(arg[i + 1])) {
      Error_Show_Action("malformed analytics parameter must be string, number pair", false);
      return;
    }
  }
}
}  // namespace

void Kivo_Add(const char* name, const char* kivoName, TRoutine routine, int argc) {
  Function_Add(name, routine, argc);
  if (kivoName) Function_Add(kivoName, routine, argc);
}

bool Kivo_BadCount(int argc, int expected) {
  if (argc == expected) return false;
  Error_Show_Action("Illegal argument count", false);
  return true;
}

bool Kivo_BadType(bool ok) {
  if (!ok) Error_Show_Action("Illegal argument type", false);
  return !ok;
}

void Kivo_Functions_Init() {
  Achievements_Init();

  Kivo_Add("achievement_login", "Kivo_LoginAchievements", F_AchievementLogin, 0);
  Kivo_Add("achievement_logout", "Kivo_LogoutAchievements", F_AchievementLogout, 0);
  Kivo_Add("achievement_available", "Kivo_AchievementsAvailable", F_AchievementAvailable, 0);
  Kivo_Add("achievement_post", "Kivo_PostAchievement", F_AchievementPost, 2);
  Kivo_Add("achievement_post_score", "Kivo_PostScore", F_AchievementPostScore, 2);
  Kivo_Add("achievement_map_achievement", "Kivo_OF_AddAchievement", F_AchievementMapAchievement, 2);
  Kivo_Add("achievement_map_leaderboard", "Kivo_OF_AddLeaderboard", F_AchievementMapLeaderboard, 3);
  Kivo_Add("achievement_is_online", "Kivo_OF_IsOnline", F_AchievementIsOnline, 0);

  Kivo_Add("virtual_key_add", "Kivo_AddVirtualKey", F_VirtualKeyAdd, 5);
  Kivo_Add("virtual_key_delete", "Kivo_DeleteVirtualKey", F_VirtualKeyDelete, 1);
  Kivo_Add("virtual_key_show", "Kivo_ShowVirtualKey", F_VirtualKeyShow, 1);
  Kivo_Add("virtual_key_hide", "Kivo_HideVirtualKey", F_VirtualKeyHide, 1);

  Kivo_Add("url_open", "Kivo_OpenURL", F_UrlOpen, 1);
  Kivo_Add("url_open_ext", "Kivo_OpenURL_ext", F_UrlOpen, 2);
  Kivo_Add("url_open_full", "Kivo_OpenURL_full", F_UrlOpen, 3);
  Kivo_Add("url_get_domain", nullptr, F_UrlGetDomain, 1);

  Kivo_Digest_Init();
  Kivo_Add("analytics_event", nullptr, F_AnalyticsEvent, 1);
  Kivo_Add("analytics_event_ext", nullptr, F_AnalyticsEventExt, -1);
  Kivo_Device_Init();
  Kivo_Services_Init();
}
