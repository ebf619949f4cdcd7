// The platform's service back-ends: web addresses, achievements and scores,
// ratings, adverts, device queries and the social services. This platform has
// no such services: most answer with fixed values.
#pragma once

// Opens an "http://" or "https://" address (the scheme in any case) with the
// desktop's opener; anything else is ignored. Returns 0.
int Platform_OpenURL(const char* url);
bool Platform_SendAchievement(const char* name, int value);
bool Platform_SendScore(const char* name, float value);
int Platform_LeaveRating();
void Platform_AchievementLogin();
void Platform_AchievementStep();
void Platform_InitConstants();
// Service start-up: sets the achievement service flag.
void Platform_StartServices(bool* achievements_available);
void Platform_AdsSetup();
void Platform_AdsMove();
bool Platform_AdsEngagementActive();
bool Platform_AdsEngagementAvailable();
int Platform_AdsEnable();
int Platform_AdsDisable();
int Platform_AdsGetDisplayWidth();
int Platform_AdsGetDisplayHeight();
int Platform_GetOSVersion();
int Platform_GetDevice();
int Platform_GetCPUDetails();
void Platform_PostAchievement(const char* name, float value);
void Platform_PostScore(const char* name, float value);
void Platform_MapAchievement(const char* name, const char* platform_name);
void Platform_MapLeaderboard(const char* name, const char* platform_name);
void Platform_SendChallenge(const char* text, const char* data, int kind);
void Platform_SendInvite(const char* text);
void Platform_SendSocial(const char* text, const char* data, const char* url);
void Platform_SetURL(const char* url);
