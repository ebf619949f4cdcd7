#include "Kivo/Kivo_Platform.h"

#include <strings.h>

#include "Graphics_API/Display_Main.h"
#include "Platform/MemoryManager.h"
#include "Support/Support_DLL.h"
#include "Support/Support_File.h"

int Platform_OpenURL(const char* url) {
  if (!url || (strncasecmp(url, "http://", 7) != 0 && strncasecmp(url, "https:/", 7) != 0)) return 0;
  Graphics_ResetIfRequested();
  char* dir = File_GetCurrentDirectory();
  Execute_Shell(url, "", dir);
  MEM_FREE(dir);
  return 0;
}

bool Platform_SendAchievement(const char*, int) { return false; }
bool Platform_SendScore(const char*, float) { return false; }
int Platform_LeaveRating() { return 0; }
void Platform_AchievementLogin() {}
void Platform_AchievementStep() {}
void Platform_InitConstants() {}
void Platform_StartServices(bool* achievements_available) { *achievements_available = true; }
void Platform_AdsSetup() {}
void Platform_AdsMove() {}
bool Platform_AdsEngagementActive() { return false; }
bool Platform_AdsEngagementAvailable() { return false; }
int Platform_AdsEnable() { return 0; }
int Platform_AdsDisable() { return 0; }
int Platform_AdsGetDisplayWidth() { return 0; }
int Platform_AdsGetDisplayHeight() { return 0; }
int Platform_GetOSVersion() { return -1; }
int Platform_GetDevice() { return -1; }
int Platform_GetCPUDetails() { return 0; }

void Platform_PostAchievement(const char*, float) {}
void Platform_PostScore(const char*, float) {}
void Platform_MapAchievement(const char*, const char*) {}
void Platform_MapLeaderboard(const char*, const char*) {}
void Platform_SendChallenge(const char*, const char*, int) {}
void Platform_SendInvite(const char*) {}
void Platform_SendSocial(const char*, const char*, const char*) {}
void Platform_SetURL(const char*) {}
