#include "Kivo/Kivo_Achievements.h"

#include <cstring>
#include <vector>

#include "Kivo/Kivo_Platform.h"
#include "IO/LoadSave_Main.h"
#include "Platform/MemoryManager.h"

// Everything here runs on the game's one thread. A service that answered on
// another thread would have to take a lock around the state it sets.
namespace {
struct Queue {
  AchievementEntry* head = nullptr;
  AchievementEntry* tail = nullptr;
  int count = 0;
  bool dirty = false;
  int state = ACHIEVEMENT_IDLE;
  AchievementEntry* inFlight = nullptr;
  int countdown = 0;
  bool enabled = false;
  bool started = false;  // the cache was read, so the end of the run writes it
};
Queue g_Queue;

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; i++) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint32_t GetU32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void Unlink(AchievementEntry* e) {
  (e->previous ? e->previous->next : g_Queue.head) = e->next;
  (e->next ? e->next->previous : g_Queue.tail) = e->previous;
  e->next = e->previous = nullptr;
  g_Queue.count--;
}

void LinkAtTail(AchievementEntry* e) {
  e->previous = g_Queue.tail;
  e->next = nullptr;
  (g_Queue.tail ? g_Queue.tail->next : g_Queue.head) = e;
  g_Queue.tail = e;
  g_Queue.count++;
}

// Appends without writing the file; false when the queue is full.
bool Append(uint32_t kind, const char* name, size_t length, uint32_t value) {
  if (g_Queue.count > ACHIEVEMENT_QUEUE_LIMIT) return false;
  auto* e = static_cast<AchievementEntry*>(MEM_ALLOC(sizeof(AchievementEntry) + length + 1));
  e->kind = kind;
  e->value = value;
  e->name = reinterpret_cast<char*>(e + 1);
  std::memcpy(e->name, name, length);
  e->name[length] = 0;
  LinkAtTail(e);
  g_Queue.dirty = true;
  return true;
}

void Remove(AchievementEntry* e) {
  Unlink(e);
  MEM_FREE(e);
  g_Queue.dirty = true;
  Achievements_Save();
}

void AppendRecord(uint32_t kind, const char* name, size_t length, uint32_t value, void*) {
  Append(kind, name, length, value);
}

// Reads the cache file into an empty queue and writes it back once.
void Load() {
  if (g_Queue.count) return;
  int64_t size = 0;
  uint8_t* data = LoadSave_ReadSaveFile(ACHIEVEMENT_CACHE_FILE, &size);
  if (!data) return;
  Achievements_Parse(data, static_cast<size_t>(size), AppendRecord, nullptr);
  MEM_FREE(data);
  Achievements_Save();
}

// Hands the head entry to the service.
void SendHead() {
  AchievementEntry* e = g_Queue.head;
  g_Queue.inFlight = e;
  g_Queue.state = ACHIEVEMENT_IN_FLIGHT;
  switch (e->kind) {
    case ACHIEVEMENT_KIND_ACHIEVEMENT:
    case ACHIEVEMENT_KIND_ACHIEVEMENT_ALT:
      Platform_SendAchievement(e->name, static_cast<int32_t>(e->value));
      break;
    case ACHIEVEMENT_KIND_SCORE:
    case ACHIEVEMENT_KIND_SCORE_ALT: {
      float score;
      std::memcpy(&score, &e->value, sizeof score);
      Platform_SendScore(e->name, score);
      break;
    }
    default:
      g_Queue.inFlight = nullptr;
      Remove(e);
      g_Queue.countdown = ACHIEVEMENT_RETRY_FRAMES;
      g_Queue.state = ACHIEVEMENT_WAITING;
  }
}
}  // namespace

size_t Achievements_Parse(const uint8_t* data, size_t size, AchievementRecordSink add, void* context) {
  size_t pos = 0, records = 0;
  while (size - pos >= 4) {
    uint32_t kind = GetU32(data + pos);
    const uint8_t* name = data + pos + 4;
    const void* end = std::memchr(name, 0, size - pos - 4);
    if (!end) break;
    size_t length = static_cast<const uint8_t*>(end) - name;
    size_t valueAt = pos + 4 + length + 1;
    if (size - valueAt < 4) break;
    add(kind, reinterpret_cast<const char*>(name), length, GetU32(data + valueAt), context);
    records++;
    pos = valueAt + 4;
  }
  return records;
}

void Achievements_Init() {
  Achievements_Clear();
  Load();
  Platform_StartServices(&g_Queue.enabled);
  g_Queue.started = true;
}

bool Achievements_Enabled() { return g_Queue.enabled; }

bool Achievements_Add(uint32_t kind, const char* name, uint32_t value) {
  if (!Append(kind, name ? name : "", name ? std::strlen(name) : 0, value)) return false;
  Achievements_Save();
  return true;
}

void Achievements_Save() {
  std::vector<uint8_t> out;
  for (const AchievementEntry* e = g_Queue.head; e; e = e->next) {
    PutU32(out, e->kind);
    out.insert(out.end(), e->name, e->name + std::strlen(e->name) + 1);
    PutU32(out, e->value);
  }
  LoadSave_WriteFile(ACHIEVEMENT_CACHE_FILE, out.data(), static_cast<int64_t>(out.size()));
  g_Queue.dirty = false;
}

void Achievements_SetState(int state) { g_Queue.state = state; }

void Achievements_Process() {
  Platform_AchievementStep();
  if (!g_Queue.enabled || !g_Queue.head) return;
  switch (g_Queue.state) {
    case ACHIEVEMENT_IDLE:
      SendHead();
      break;
    case ACHIEVEMENT_DELIVERED:
      if (g_Queue.inFlight) Remove(g_Queue.inFlight);
      g_Queue.inFlight = nullptr;
      g_Queue.state = ACHIEVEMENT_IDLE;
      break;
    case ACHIEVEMENT_FAILED:
      g_Queue.countdown = ACHIEVEMENT_RETRY_FRAMES;
      g_Queue.state = ACHIEVEMENT_WAITING;
      if (AchievementEntry* e = g_Queue.inFlight) {
        Unlink(e);
        LinkAtTail(e);
        g_Queue.dirty = true;
        Achievements_Save();
      }
      g_Queue.inFlight = nullptr;
      break;
    case ACHIEVEMENT_WAITING:
      if (g_Queue.countdown > 0) g_Queue.countdown--;
      else g_Queue.state = ACHIEVEMENT_IDLE;
      break;
    default:  // in flight: the service answers
      break;
  }
}

void Achievements_Free() {
  if (g_Queue.started) Achievements_Save();
  Achievements_Clear();
}

void Achievements_Clear() {
  while (AchievementEntry* e = g_Queue.head) {
    Unlink(e);
    MEM_FREE(e);
  }
  bool enabled = g_Queue.enabled;
  g_Queue = Queue{};
  g_Queue.enabled = enabled;
}

const AchievementEntry* Achievements_Head() { return g_Queue.head; }
int Achievements_Count() { return g_Queue.count; }
int Achievements_State() { return g_Queue.state; }
int Achievements_Countdown() { return g_Queue.countdown; }
