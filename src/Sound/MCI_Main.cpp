#include "Sound/MCI_Main.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Base/String_Helpers.h"
#include "Sound/MCI_Music.h"

namespace {
// Open aliases by lower-case name.
std::map<std::string, std::unique_ptr<CMCIMusic>> g_Aliases;

// The command's words: spaces separate them, double quotes hold a word with
// spaces. "wait" and "notify" change nothing here (every command finishes
// before it returns) and are dropped.
std::vector<std::string> Words(const char* command) {
  std::vector<std::string> words;
  const char* p = command;
  while (*p) {
    while (*p == ' ' || *p == '\t') p++;
    if (!*p) break;
    std::string word;
    bool quoted = *p == '"';
    if (quoted) {
      p++;
      while (*p && *p != '"') word += *p++;
      if (*p) p++;
    } else {
      while (*p && *p != ' ' && *p != '\t') word += *p++;
    }
    std::string lower = String_LowerAscii(word);
    if (!quoted && (lower == "wait" || lower == "notify")) continue;
    words.push_back(word);
  }
  return words;
}

bool Is(const std::string& word, const char* name) { return String_LowerAscii(word) == name; }

bool Number(const std::string& word, int64_t& out) {
  if (word.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(word.c_str(), &end, 10);
  if (*end || errno) return false;
  out = v;
  return true;
}

void Reply(char* reply, size_t length, const std::string& text) {
  if (!reply || length == 0) return;
  size_t n = std::min(text.size(), length - 1);
  std::memcpy(reply, text.data(), n);
  reply[n] = 0;
}

// A device this machine cannot have.
int MissingDevice(const std::string& name) {
  if (Is(name, "cdaudio")) return MCI_ERR_NO_CD;
  if (Is(name, "sequencer")) return MCI_ERR_NO_MIDI;
  return MCI_OK;
}

bool IsMidiFile(const std::string& path) {
  std::string lower = String_LowerAscii(path);
  for (const char* ext : {".mid", ".midi", ".rmi"})
    if (String_EndsWith(lower.c_str(), ext)) return true;
  return false;
}

int Open(const std::vector<std::string>& w) {
  if (w.size() < 2) return MCI_ERR_MISSING_WORD;
  std::string element = w[1], alias = String_LowerAscii(w[1]), type;
  for (size_t i = 2; i < w.size(); i++) {
    if ((Is(w[i], "type") || Is(w[i], "alias")) && i + 1 < w.size()) {
      (Is(w[i], "type") ? type : alias) = String_LowerAscii(w[i + 1]);
      i++;
    } else if (!Is(w[i], "shareable")) {
      return MCI_ERR_BAD_WORD;
    }
  }
  if (int e = MissingDevice(element)) return e;
  if (int e = MissingDevice(type)) return e;
  if (type.empty() && IsMidiFile(element)) return MCI_ERR_NO_MIDI;
  if (!type.empty() && type != "mpegvideo" && type != "waveaudio") return MCI_ERR_BAD_WORD;
  if (g_Aliases.count(alias)) return MCI_ERR_ALIAS_TAKEN;
  auto music = std::make_unique<CMCIMusic>();
  if (int e = music->Open(element)) return e;
  g_Aliases[alias] = std::move(music);
  return MCI_OK;
}

int Play(CMCIMusic& m, const std::vector<std::string>& w) {
  int64_t from = -1, to = -1;
  bool repeat = false;
  for (size_t i = 2; i < w.size(); i++) {
    if (Is(w[i], "repeat")) {
      repeat = true;
    } else if (Is(w[i], "from") || Is(w[i], "to")) {
      int64_t value;
      if (i + 1 >= w.size() || !Number(w[i + 1], value) || value < 0) return MCI_ERR_BAD_NUMBER;
      (Is(w[i], "from") ? from : to) = value;
      i++;
    } else {
      return MCI_ERR_BAD_WORD;
    }
  }
  return m.Play(from, to, repeat);
}

int Seek(CMCIMusic& m, const std::vector<std::string>& w) {
  if (w.size() != 4 || !Is(w[2], "to")) return MCI_ERR_MISSING_WORD;
  int64_t ms;
  if (Is(w[3], "start")) ms = 0;
  else if (Is(w[3], "end")) ms = -1;
  else if (!Number(w[3], ms) || ms < 0) return MCI_ERR_BAD_NUMBER;
  m.Seek(ms);
  return MCI_OK;
}

int Set(const std::vector<std::string>& w) {
  std::string rest;
  for (size_t i = 2; i < w.size(); i++) {
    if (i > 2) rest += ' ';
    rest += String_LowerAscii(w[i]);
  }
  if (rest == "time format milliseconds" || rest == "time format ms") return MCI_OK;
  if (rest == "seek exactly on" || rest == "seek exactly off") return MCI_OK;
  return rest.rfind("time format", 0) == 0 ? MCI_ERR_OUT_OF_RANGE : MCI_ERR_BAD_WORD;
}

int SetAudio(CMCIMusic& m, const std::vector<std::string>& w) {
  int64_t volume;
  if (w.size() != 5 || !Is(w[2], "volume") || !Is(w[3], "to")) return MCI_ERR_BAD_WORD;
  if (!Number(w[4], volume)) return MCI_ERR_BAD_NUMBER;
  m.SetVolume(int(std::clamp<int64_t>(volume, 0, 1000000)));
  return MCI_OK;
}

int Status(CMCIMusic& m, const std::vector<std::string>& w, char* reply, size_t length) {
  if (w.size() != 3) return MCI_ERR_MISSING_WORD;
  if (Is(w[2], "mode")) Reply(reply, length, m.Mode());
  else if (Is(w[2], "length")) Reply(reply, length, std::to_string(m.LengthMs()));
  else if (Is(w[2], "position")) Reply(reply, length, std::to_string(m.PositionMs()));
  else return MCI_ERR_BAD_WORD;
  return MCI_OK;
}

int Run(const char* command, char* reply, size_t length) {
  std::vector<std::string> w = Words(command ? command : "");
  if (w.empty()) return MCI_ERR_UNKNOWN_COMMAND;
  std::string verb = String_LowerAscii(w[0]);
  if (verb == "open") return Open(w);
  static const char* const kVerbs[] = {"close", "play", "pause", "resume", "stop", "seek", "set", "setaudio", "status"};
  bool known = false;
  for (const char* v : kVerbs) known = known || verb == v;
  if (!known) return MCI_ERR_UNKNOWN_COMMAND;
  if (w.size() < 2) return MCI_ERR_MISSING_WORD;
  if (int e = MissingDevice(w[1])) return e;
  if (verb == "close" && Is(w[1], "all")) {
    MCI_CloseAll();
    return MCI_OK;
  }
  auto it = g_Aliases.find(String_LowerAscii(w[1]));
  if (it == g_Aliases.end()) return MCI_ERR_NOT_OPEN;
  CMCIMusic& m = *it->second;
  if (verb == "close") {
    g_Aliases.erase(it);
    return w.size() == 2 ? MCI_OK : MCI_ERR_BAD_WORD;
  }
  if (verb == "play") return Play(m, w);
  if (verb == "seek") return Seek(m, w);
  if (verb == "set") return Set(w);
  if (verb == "setaudio") return SetAudio(m, w);
  if (verb == "status") return Status(m, w, reply, length);
  if (w.size() != 2) return MCI_ERR_BAD_WORD;
  if (verb == "pause") m.Pause();
  else if (verb == "resume") m.Resume();
  else m.Stop();
  return MCI_OK;
}
}  // namespace

int MCI_SendString(const char* command, char* reply, size_t replyLength) {
  if (reply && replyLength) reply[0] = 0;
  return Run(command, reply, replyLength);
}

void MCI_GetErrorString(int error, char* text, size_t length) {
  const char* message;
  switch (error) {
    case MCI_OK: message = "The command was carried out."; break;
    case MCI_ERR_UNKNOWN_COMMAND: message = "The command is not one this system knows."; break;
    case MCI_ERR_NOT_OPEN: message = "No device or file is open under that name."; break;
    case MCI_ERR_MISSING_WORD: message = "The command lacks a word it needs."; break;
    case MCI_ERR_BAD_WORD: message = "The command holds a word it does not take."; break;
    case MCI_ERR_BAD_NUMBER: message = "A number in the command is missing or not a whole number."; break;
    case MCI_ERR_FILE: message = "The file is missing or holds no sound this system can decode."; break;
    case MCI_ERR_NO_MIDI: message = "MIDI cannot be played: there is no MIDI synthesiser here."; break;
    case MCI_ERR_NO_CD: message = "There is no CD audio drive here."; break;
    case MCI_ERR_ALIAS_TAKEN: message = "The alias is already in use."; break;
    case MCI_ERR_NO_SOUND_DEVICE: message = "There is no sound device to play on."; break;
    case MCI_ERR_OUT_OF_RANGE: message = "A value in the command is out of range."; break;
    default: message = "Unknown error."; break;
  }
  Reply(text, length, message);
}

void MCI_CloseAll() { g_Aliases.clear(); }
