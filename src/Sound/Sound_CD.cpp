#include "Sound/Sound_CD.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Sound/MCI_Main.h"

namespace {
CD_Sender g_Send = MCI_SendString;
// Replies longer than 19 characters are cut.
char g_Reply[20];

// Sends a command with the reply buffer, cleared first: a failed command
// leaves an empty reply, never an older one.
void Send(const char* command) {
  g_Reply[0] = 0;
  g_Send(command, g_Reply, sizeof g_Reply);
}

void Sendf(const char* format, int a, int b = 0) {
  char command[256];
  std::snprintf(command, sizeof command, format, a, b);
  Send(command);
}

int ReplyNumber() { return std::atoi(g_Reply); }

// Two characters of the reply from an offset, as a number.
int ReplyPair(size_t offset) {
  char pair[3] = {};
  size_t n = std::strlen(g_Reply);
  if (n > offset) std::memcpy(pair, g_Reply + offset, std::min<size_t>(2, n - offset));
  return std::atoi(pair);
}

// The command sent only when a disc is present, its numeric reply, else 0.
int QueryIfPresent(const char* command) {
  if (!CD_Present()) return 0;
  Send(command);
  return ReplyNumber();
}

bool ModeIs(const char* a, const char* b = nullptr) {
  Send("open cdaudio");
  if (!CD_Present()) return false;
  Send("status cdaudio mode");
  return std::strcmp(g_Reply, a) == 0 || (b && std::strcmp(g_Reply, b) == 0);
}
}  // namespace

void CD_SetSender(CD_Sender sender) { g_Send = sender ? sender : MCI_SendString; }

void CD_Init() {
  Send("close cdaudio");
  Send("open cdaudio");
}

bool CD_Present() {
  Send("open cdaudio");
  Send("status cdaudio media present");
  return std::strcmp(g_Reply, "true") == 0;
}

int CD_Number() {
  Send("open cdaudio");
  return QueryIfPresent("status cdaudio number of tracks");
}

bool CD_Playing() { return ModeIs("playing"); }

bool CD_Paused() { return ModeIs("paused", "stopped"); }

int CD_Track() {
  Send("open cdaudio");
  Send("set cdaudio time format tmsf wait");
  if (!CD_Present()) return 0;
  Send("status cdaudio position");
  return ReplyPair(0);
}

int CD_Length() {
  Send("open cdaudio");
  Send("set cdaudio time format ms wait");
  int length = QueryIfPresent("status cdaudio length wait");
  Send("set cdaudio time format tmsf wait");
  return length;
}

int CD_TrackLength(int track) {
  Send("open cdaudio");
  if (track < 1 || track > CD_Number()) return 0;
  Send("set cdaudio time format milliseconds wait");
  int length = 0;
  if (CD_Present()) {
    Sendf("status cdaudio length track %d", track);
    length = ReplyNumber();
  }
  Send("set cdaudio time format tmsf wait");
  return length;
}

int CD_Position() {
  Send("open cdaudio");
  Send("set cdaudio time format milliseconds wait");
  int position = QueryIfPresent("status cdaudio position");
  Send("set cdaudio time format tmsf wait");
  return position;
}

int CD_TrackPosition() {
  Send("open cdaudio");
  Send("set cdaudio time format tmsf wait");
  if (!CD_Present()) return 0;
  Send("status cdaudio position");
  // tt:mm:ss:ff
  size_t n = std::strlen(g_Reply);
  int minutes = n > 4 ? ReplyPair(3) : 0;
  int seconds = n > 7 ? ReplyPair(6) : 0;
  return (minutes * 60 + seconds) * 1000;
}

void CD_Play(int first, int last) {
  if (!CD_Present()) return;
  Send("set cdaudio time format tmsf wait");
  if (last < first) return;
  if (first < 1) first = 1;
  if (last >= CD_Number()) Sendf("play cdaudio from %d", first);
  else Sendf("play cdaudio from %d to %d", first, last + 1);
}

void CD_Stop() {
  if (CD_Present()) Send("stop cdaudio");
}

void CD_Pause() {
  if (CD_Present()) Send("pause cdaudio");
}

void CD_Resume() {
  if (CD_Present()) Send("play cdaudio");
}

void CD_SetPosition(int position) {
  if (!CD_Present()) return;
  Send("set cdaudio time format milliseconds wait");
  Sendf(CD_Playing() ? "play cdaudio from %d" : "seek cdaudio to %d", position);
  Send("set cdaudio time format tmsf");
}

void CD_SetTrackPosition(int position) {
  if (!CD_Present()) return;
  int track = CD_Track();
  if (track <= 0) return;
  int minutes = position / 60000;
  int seconds = (position - minutes * 60000) / 1000;
  char time[64];
  std::snprintf(time, sizeof time, "%d:%d:%d", track, minutes, seconds);
  Send("set cdaudio time format tmsf wait");
  std::string command = std::string(CD_Playing() ? "play cdaudio from " : "seek cdaudio to ") + time;
  Send(command.c_str());
  Send("set cdaudio time format tmsf");
}

void CD_OpenDoor() {
  Send("open cdaudio");
  Send("set cdaudio door open");
}

void CD_CloseDoor() {
  Send("open cdaudio");
  Send("set cdaudio door closed");
}
