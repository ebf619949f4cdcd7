// The achievement cache: achievements and scores waiting for the platform's
// achievement service, kept across runs in "achievementcache.dat" in the save
// folder, and the sender that hands them to the service one at a time.
//
// The file has no header: the queue from head to tail as records of kind
// (u32, little-endian), name bytes and one zero byte, value (u32).
#pragma once
#include <cstddef>
#include <cstdint>

constexpr const char ACHIEVEMENT_CACHE_FILE[] = "achievementcache.dat";
// An addition is refused while the queue holds more than this many entries,
// so the queue reaches one more.
constexpr int ACHIEVEMENT_QUEUE_LIMIT = 2048;
// Frames the sender waits after a failed or unknown entry.
constexpr int ACHIEVEMENT_RETRY_FRAMES = 600;

// Kinds 1 and 4 carry an integer value, 2 and 3 the bits of a float score.
enum : uint32_t {
  ACHIEVEMENT_KIND_ACHIEVEMENT = 1,
  ACHIEVEMENT_KIND_SCORE = 2,
  ACHIEVEMENT_KIND_SCORE_ALT = 3,
  ACHIEVEMENT_KIND_ACHIEVEMENT_ALT = 4,
};

// The sender's states; the service ends state 1 by setting 2 or 3.
enum AchievementState : int {
  ACHIEVEMENT_IDLE = 0,
  ACHIEVEMENT_IN_FLIGHT = 1,
  ACHIEVEMENT_DELIVERED = 2,
  ACHIEVEMENT_FAILED = 3,
  ACHIEVEMENT_WAITING = 4,
};

struct AchievementEntry {
  AchievementEntry* next;
  AchievementEntry* previous;
  uint32_t kind;
  uint32_t value;
  char* name;  // kept in the same block, behind the entry
};

// Empties the queue and reads the cache file into it; enables the sender
// when the platform's service starts.
void Achievements_Init();
bool Achievements_Enabled();
// Appends an entry and rewrites the file; false (nothing kept) when the
// queue is full.
bool Achievements_Add(uint32_t kind, const char* name, uint32_t value);
// Writes the whole queue to the cache file.
void Achievements_Save();
// The service's answer to the entry in flight (2 delivered, 3 failed).
void Achievements_SetState(int state);

// Parses cache file data record by record, calling add for each complete
// one; a record cut short by the end of the data ends the parse. Gives the
// number of complete records.
typedef void (*AchievementRecordSink)(uint32_t kind, const char* name, size_t nameLength, uint32_t value, void* context);
size_t Achievements_Parse(const uint8_t* data, size_t size, AchievementRecordSink add, void* context);

// For tests and the debugger.
const AchievementEntry* Achievements_Head();
int Achievements_Count();
int Achievements_State();
int Achievements_Countdown();
// Frees every entry without saving and resets the sender.
void Achievements_Clear();

// Each step: the sender hands the next waiting entry to the service. At the
// end of the run: the queue is saved and freed.
void Achievements_Process();
void Achievements_Free();
