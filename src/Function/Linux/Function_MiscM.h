// The platform half of the miscellaneous built-ins: the main window, the
// process priority and the clipboard, over SDL2 and the C library; and the
// platform-service back-ends, most of which answer with fixed values here.
#pragma once
#include <cstdint>
#include <string>

// The GUI size back-ends are the window's Window_GetClientWidth and
// Window_GetClientHeight (Graphics_API/Window_Main.h).

// The main window's native handle (the X11 window or the SDL window id);
// 0 while there is no window.
uint64_t MiscM_WindowHandle();
// Sets the main window's caption, if there is a window.
void MiscM_SetCaption(const char* text);
// Process priority -3 (idle) to 3 (real time); anything else is normal.
void MiscM_SetPriority(int priority);

// The clipboard: the system's while the video layer runs, else one text kept
// in memory.
bool MiscM_ClipboardHasText();
std::string MiscM_ClipboardGetText();
void MiscM_ClipboardSetText(const char* text);

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
