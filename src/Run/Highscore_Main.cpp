#include "Run/Highscore_Main.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "Base/Convert.h"
#include "Font/Font_Main.h"
#include "IO/LoadSave_Main.h"
#include "Platform/MemoryManager.h"
#include "Support/Support_Stream.h"

namespace {
constexpr const char* FILE_NAME = "hiscore.dat";

struct Place {
  std::string name;
  int32_t score = 0;
};
Place g_places[HIGHSCORE_PLACES];
std::string g_emptyName = "<nobody>";
}  // namespace

void Highscore_Clear() {
  for (Place& p : g_places) p = {g_emptyName, 0};
}

void Highscore_Add(const char* name, int32_t score) {
  int at = 0;
  while (at < HIGHSCORE_PLACES && g_places[at].score >= score) at++;
  if (at == HIGHSCORE_PLACES) return;
  for (int i = HIGHSCORE_PLACES - 1; i > at; i--) g_places[i] = g_places[i - 1];
  g_places[at] = {name ? name : "", score};
  Highscore_Save();
}

int32_t Highscore_Value(int place) {
  return place >= 1 && place <= HIGHSCORE_PLACES ? g_places[place - 1].score : 0;
}

const char* Highscore_Name(int place) {
  if (place < 1 || place > HIGHSCORE_PLACES || g_places[place - 1].name.empty()) return nullptr;
  return g_places[place - 1].name.c_str();
}

void Highscore_SetEmptyName(const char* name) { g_emptyName = name ? name : ""; }

void Highscore_Show(int32_t) {}

HighscoreDisplay g_HighscoreDisplay;

void Highscore_Draw(double x1, double y1, double x2, double y2) {
  // Worked in 64 bits: any corners a script gives stay defined.
  int64_t left = Convert_RoundInt(x1), top = Convert_RoundInt(y1);
  int64_t width = Convert_RoundInt(x2 - x1), row = Convert_RoundInt((y2 - y1) / 10);
  int64_t y = top;
  for (const Place& p : g_places) {
    Text_Draw(static_cast<float>(left), static_cast<float>(y), p.name.c_str(), -1, -1);
    std::string score = std::to_string(p.score);
    int64_t w = Text_Width(score.c_str(), -1, -1);
    Text_Draw(static_cast<float>(left + width - w), static_cast<float>(y), score.c_str(), -1, -1);
    y += row;
  }
}

// The file: "HISC", then for each place its name (int32 length and bytes)
// and its score (int32), little-endian.
void Highscore_Load() {
  Highscore_Clear();
  int64_t length;
  uint8_t* data = LoadSave_ReadSaveFile(FILE_NAME, &length);
  if (!data) return;
  Place read[HIGHSCORE_PLACES];
  bool ok = length >= 4 && std::memcmp(data, "HISC", 4) == 0;
  int64_t at = 4;
  auto int32At = [&](int32_t* out) {
    if (at + 4 > length) return false;
    uint32_t v = data[at] | data[at + 1] << 8 | data[at + 2] << 16 | static_cast<uint32_t>(data[at + 3]) << 24;
    *out = static_cast<int32_t>(v);
    at += 4;
    return true;
  };
  for (int i = 0; ok && i < HIGHSCORE_PLACES; i++) {
    int32_t n;
    ok = int32At(&n) && n >= 0 && n <= length - at;
    if (!ok) break;
    read[i].name.assign(reinterpret_cast<const char*>(data + at), static_cast<size_t>(n));
    at += n;
    ok = int32At(&read[i].score);
  }
  MEM_FREE(data);
  if (ok)
    for (int i = 0; i < HIGHSCORE_PLACES; i++) g_places[i] = read[i];
}

bool Highscore_Save() {
  CStream s;
  s.WriteInteger(0x43534948);  // "HISC"
  for (const Place& p : g_places) {
    s.WriteString(p.name.c_str());
    s.WriteInteger(p.score);
  }
  return LoadSave_WriteFile(FILE_NAME, s.GetMemory(), s.GetPosition());
}
