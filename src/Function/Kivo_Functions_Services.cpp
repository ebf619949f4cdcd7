// The phone and store services this platform does not have: advertising,
// leaderboards and social networks, the save service, in-app purchases over
// a demonstration store, and the Windows 8 tiles and charms. Each answers
// with a fixed value, an empty operation or one console line.
#include <cstdint>

#include "Base/Console.h"
#include "Base/Convert.h"
#include "Function/Function_Args.h"
#include "Function/Function_Data_Structures.h"
#include "Function/Kivo_Functions.h"
#include "Kivo/Kivo_Platform.h"

namespace {


template <void (*Operation)()>
void F_Call(RValue&, CInstance*, CInstance*, int, const RValue*) {
  Operation();
}
template <auto Query>
void F_Answer(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  Give(Result, Query());
}

void F_PocketChangeShop(RValue&, CInstance*, CInstance*, int, const RValue*) { Console_Printf("Calling to display shop\n"); }
void F_PocketChangeReward(RValue&, CInstance*, CInstance*, int, const RValue*) {
  Console_Printf("Calling to display reward\n");
}
void F_LeaveRating(RValue&, CInstance*, CInstance*, int, const RValue*) { Platform_LeaveRating(); }

void F_SendChallenge(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  Platform_SendChallenge(RValue_Text(arg[0]), RValue_Text(arg[1]), RValue_TruncInt(arg[2]));
}
void F_SendInvite(RValue&, CInstance*, CInstance*, int, const RValue* arg) { Platform_SendInvite(RValue_Text(arg[0])); }
void F_SendSocial(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  Platform_SendSocial(RValue_Text(arg[0]), RValue_Text(arg[1]), RValue_Text(arg[2]));
}
void F_SetURL(RValue&, CInstance*, CInstance*, int, const RValue* arg) { Platform_SetURL(RValue_Text(arg[0])); }

void F_FacebookStatus(RValue& Result, CInstance*, CInstance*, int, const RValue*) { RValue_SetString(&Result, "IDLE"); }

void F_Windows8(RValue&, CInstance*, CInstance*, int, const RValue*) {
  Console_Printf("Windows8 functionality not supported on this platform\n");
}

// ----------------------------------------------------- demonstration store

// A fixed catalogue: nothing is ever bought, consumed or kept.
struct Product {
  const char* id;
  const char* title;
  const char* description;
  const char* price;
  const char* state;  // "Purchased", "Available" or "Unavailable"
};
const Product kCatalogue[] = {
    {"demo_full_version", "Full version", "Every level of the game", "1.99", "Purchased"},
    {"demo_coins", "Bag of coins", "A hundred coins to spend", "0.99", "Available"},
    {"demo_level_pack", "Level pack", "Ten more levels", "2.99", "Unavailable"},
};
bool g_StoreActive = false;

int PurchasedCount() {
  int n = 0;
  for (const Product& p : kCatalogue) n += p.state[0] == 'P';
  return n;
}

// A new map {status, purchases}; the script destroys it.
int StoreMap(const char* status) {
  DS_MapPair pairs[] = {{"status", 0, status}, {"purchases", static_cast<double>(PurchasedCount()), nullptr}};
  return DS_Map_CreateFromPairs(2, pairs);
}

// (product list): the game's list is not read; the catalogue is fixed.
void F_IapActivate(RValue&, CInstance*, CInstance*, int, const RValue*) { g_StoreActive = true; }
void F_IapStatus(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  Give(Result, StoreMap(g_StoreActive ? "Available" : "Unavailable"));
}
// The purchased product as a new map {id, title, description, price, status};
// -1 before the store is active.
void F_IapRestoreAll(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  Give(Result, -1);
  if (!g_StoreActive) return;
  for (const Product& p : kCatalogue) {
    if (p.state[0] != 'P') continue;
    DS_MapPair pairs[] = {{"id", 0, p.id},
                          {"title", 0, p.title},
                          {"description", 0, p.description},
                          {"price", 0, p.price},
                          {"status", 0, p.state}};
    return Give(Result, DS_Map_CreateFromPairs(5, pairs));
  }
}
void F_IapFilesPurchased(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  Give(Result, StoreMap("Purchased"));
}
}  // namespace

void Kivo_Services_Init() {
  Kivo_Add("Kivo_EnableAds", nullptr, F_Answer<Platform_AdsEnable>, 5);
  Kivo_Add("ads_enable", nullptr, F_Answer<Platform_AdsEnable>, 3);
  Kivo_Add("ads_move", nullptr, F_Call<Platform_AdsMove>, 3);
  Kivo_Add("ads_setup", nullptr, F_Call<Platform_AdsSetup>, 2);
  Kivo_Add("ads_disable", "Kivo_DisableAds", F_Answer<Platform_AdsDisable>, 0);
  Kivo_Add("ads_engagement_launch", nullptr, F_Nothing, 1);
  Kivo_Add("ads_engagement_available", nullptr, F_Answer<Platform_AdsEngagementAvailable>, 1);
  Kivo_Add("ads_engagement_active", nullptr, F_Answer<Platform_AdsEngagementActive>, 1);
  Kivo_Add("ads_get_display_width", nullptr, F_Answer<Platform_AdsGetDisplayWidth>, 1);
  Kivo_Add("ads_get_display_height", nullptr, F_Answer<Platform_AdsGetDisplayHeight>, 1);
  Kivo_Add("clickable_add", nullptr, F_Nothing, 6);
  Kivo_Add("clickable_add_ext", nullptr, F_Nothing, 8);
  Kivo_Add("clickable_change", nullptr, F_Nothing, 4);
  Kivo_Add("clickable_change_ext", nullptr, F_Nothing, 5);
  Kivo_Add("clickable_delete", nullptr, F_Nothing, 1);
  Kivo_Add("pocketchange_display_shop", nullptr, F_PocketChangeShop, 0);
  Kivo_Add("pocketchange_display_reward", nullptr, F_PocketChangeReward, 0);
  Kivo_Add("shop_leave_rating", "Kivo_LeaveRating", F_LeaveRating, 4);

  Kivo_Add("openfeint_start", "Kivo_OF_StartDashboard", F_Nothing, 0);
  Kivo_Add("openfeint_send_challenge", "Kivo_OF_SendChallenge", F_SendChallenge, 3);
  Kivo_Add("openfeint_send_invite", "Kivo_OF_SendInvite", F_SendInvite, 1);
  Kivo_Add("openfeint_send_social", "Kivo_OF_SendSocial", F_SendSocial, 3);
  Kivo_Add("openfeint_set_url", "Kivo_OF_SetURL", F_SetURL, 1);
  Kivo_Add("openfeint_send_result", "Kivo_OF_SendChallengeResult", F_Nothing, 2);
  Kivo_Add("openfeint_accept_challenge", "Kivo_OF_AcceptChallenge", F_EmptyText, 0);

  Kivo_Add("facebook_init", nullptr, F_Nothing, 0);
  Kivo_Add("facebook_login", nullptr, F_Nothing, 1);
  Kivo_Add("facebook_graph_request", nullptr, F_Nothing, 4);
  Kivo_Add("facebook_dialog", nullptr, F_Nothing, 3);
  Kivo_Add("facebook_post_message", nullptr, F_Nothing, 7);
  Kivo_Add("facebook_send_invite", nullptr, F_Nothing, 4);
  Kivo_Add("facebook_logout", nullptr, F_Nothing, 0);
  Kivo_Add("facebook_launch_offerwall", nullptr, F_Nothing, 1);
  Kivo_Add("facebook_status", nullptr, F_FacebookStatus, 0);

  Kivo_Add("quillstoneLogin", nullptr, F_EmptyText, 2);
  Kivo_Add("quillstoneSave", nullptr, F_EmptyText, 2);
  Kivo_Add("quillstoneLoad", nullptr, F_EmptyText, 1);
  Kivo_Add("quillstoneIsLoggedIn", nullptr, F_EmptyText, 0);
  Kivo_Add("quillstoneIsLoaded", nullptr, F_EmptyText, 0);

  Kivo_Add("iap_activate", nullptr, F_IapActivate, 1);
  Kivo_Add("iap_restore_all", nullptr, F_IapRestoreAll, 0);
  Kivo_Add("iap_status", nullptr, F_IapStatus, 0);
  Kivo_Add("iap_acquire", nullptr, F_Nothing, 1);
  Kivo_Add("iap_consume", nullptr, F_Nothing, 1);
  Kivo_Add("iap_files_purchased", nullptr, F_IapFilesPurchased, 0);
  Kivo_Add("iap_is_purchased", nullptr, F_Nothing, 1);

  static const struct {
    const char* name;
    int argc;
  } kWindows8[] = {
      {"win8_appbar_add_element", 0},
      {"win8_appbar_enable", 1},
      {"win8_appbar_remove_element", 0},
      {"win8_device_touchscreen_available", 0},
      {"win8_livetile_badge_clear", 0},
      {"win8_livetile_badge_notification", 1},
      {"win8_livetile_queue_enable", 1},
      {"win8_livetile_tile_clear", 0},
      {"win8_livetile_tile_notification", 4},
      {"win8_search_add_suggestions", 1},
      {"win8_search_disable", 0},
      {"win8_search_enable", 1},
      {"win8_secondarytile_badge_notification", 5},
      {"win8_secondarytile_delete", 1},
      {"win8_secondarytile_notification", 5},
      {"win8_secondarytile_pin", 8},
      {"win8_settingscharm_add_entry", 2},
      {"win8_settingscharm_add_html_entry", 3},
      {"win8_settingscharm_remove_entry", 1},
      {"win8_share_file", 3},
      {"win8_share_image", 3},
      {"win8_share_screenshot", 2},
      {"win8_share_text", 3},
      {"win8_share_url", 3},
  };
  for (const auto& w : kWindows8) Kivo_Add(w.name, nullptr, F_Windows8, w.argc);
}
