#include "Sound/Sound_Music.h"

#include <strings.h>

#include <algorithm>
#include <string>

#include "Base/Console.h"
#include "Base/Convert.h"
#include "Base/File_Folders.h"
#include "Sound/MCI_Main.h"

namespace {
int g_AliasNumber = 0;  // the current alias, 0 before the first open

std::string Alias() { return "MediaFile" + std::to_string(g_AliasNumber); }

// Sends a command; on an error logs the message, which takes the error
// text (after `subject` when one is given), and returns false.
bool Send(const std::string& command, const char* message, const char* subject = nullptr, char* reply = nullptr,
          size_t length = 0) {
  int error = MCI_SendString(command.c_str(), reply, length);
  if (error == MCI_OK) return true;
  char text[1024];
  MCI_GetErrorString(error, text, sizeof text);
  if (subject) Console_Printf(message, subject, text);
  else Console_Printf(message, text);
  return false;
}
}  // namespace

void MP3_Play(const char* name, bool loop) {
  std::string path = (name[0] == '\\' || name[0] == '/') ? name : std::string(File_GetGameDirectory()) + name;
  // The song played before is closed, so that its decoded sound does not stay in memory.
  if (g_AliasNumber > 0) MCI_SendString(("close " + Alias()).c_str(), nullptr, 0);
  g_AliasNumber++;
  const char* p = path.c_str();
  Send("open \"" + path + "\" type mpegvideo alias " + Alias(), "error opening mp3 file %s - %s\n", p);
  Send("set " + Alias() + " time format milliseconds", "error opening set file time format for %s - %s\n", p);
  Send("set " + Alias() + " seek exactly on", "error opening set file seek exactly for %s - %s\n", p);
  Send("play " + Alias() + (loop ? " repeat" : ""), "error playing file for %s - %s\n", p);
}

void MP3_Stop() {
  if (g_AliasNumber == 0) return;  // no song was ever opened
  Send("seek " + Alias() + " to start", "error stopping mp3 file seeking - %s\n");
  Send("stop " + Alias(), "error stopping mp3 - %s\n");
}

void MP3_SetVolume(float volume) {
  if (g_AliasNumber == 0) return;
  // The player's own range: silent below 0, no louder above 1000 times full.
  int level = Convert_TruncInt(std::clamp(double(volume) * 1000.0, 0.0, 1000000.0));
  std::string command = "setaudio " + Alias() + " volume to " + std::to_string(level);
  int error = MCI_SendString(command.c_str(), nullptr, 0);
  if (error == MCI_OK) return;
  char text[1024];
  MCI_GetErrorString(error, text, sizeof text);
  Console_Printf("error setting mp3 volume to %g(%d) - %s\n", double(volume), level, text);
}

bool MP3_IsPlaying() {
  if (g_AliasNumber == 0) return false;
  char reply[1024] = {};
  bool ok = Send("status " + Alias() + " mode", "error getting mp3 status - %s\n", nullptr, reply, sizeof reply);
  return ok && strcasecmp(reply, "playing") == 0;
}

void MP3_Reset() { g_AliasNumber = 0; }
