// The achievement cache: its file, its limit and the sender's states.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Base/File_Folders.h"
#include "Kivo/Kivo_Achievements.h"
#include "Run/Run_Hooks.h"

namespace fs = std::filesystem;

namespace {
struct Record {
  uint32_t kind;
  std::string name;
  uint32_t value;
  bool operator==(const Record&) const = default;
};

std::string Encode(const std::vector<Record>& records) {
  std::string out;
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; i++) out += static_cast<char>(v >> (8 * i));
  };
  for (const Record& r : records) {
    u32(r.kind);
    out += r.name;
    out += '\0';
    u32(r.value);
  }
  return out;
}

std::vector<Record> Queued() {
  std::vector<Record> out;
  for (const AchievementEntry* e = Achievements_Head(); e; e = e->next) out.push_back({e->kind, e->name, e->value});
  return out;
}

std::vector<Record> Parsed(const std::string& bytes) {
  std::vector<Record> out;
  size_t n = Achievements_Parse(
      reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
      [](uint32_t kind, const char* name, size_t length, uint32_t value, void* context) {
        static_cast<std::vector<Record>*>(context)->push_back({kind, std::string(name, length), value});
      },
      &out);
  EXPECT_EQ(n, out.size());
  return out;
}

class AchievementCache : public ::testing::Test {
 protected:
  fs::path dir;
  void SetUp() override {
    char pattern[] = "/tmp/achievementsXXXXXX";
    dir = mkdtemp(pattern);
    File_SetSaveDirectory(dir.c_str());
    Achievements_Init();
  }
  void TearDown() override {
    Achievements_Clear();
    File_SetSaveDirectory(nullptr);
    fs::remove_all(dir);
  }
  std::string File() {
    std::ifstream in(dir / ACHIEVEMENT_CACHE_FILE, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  void WriteFile(const std::string& bytes) {
    std::ofstream(dir / ACHIEVEMENT_CACHE_FILE, std::ios::binary) << bytes;
  }
  void Steps(int n) {
    for (int i = 0; i < n; i++) Achievements_Process();
  }
};

const std::vector<Record> kThree = {{1, "first", 5}, {2, "", 0x40490fdb}, {4, "a longer name", 0xFFFFFFFF}};
}  // namespace

TEST_F(AchievementCache, OneRecordIsTenBytes) {
  ASSERT_TRUE(Achievements_Add(1, "a", 5));
  EXPECT_EQ(File(), std::string("\x01\0\0\0a\0\x05\0\0\0", 10));
}

TEST_F(AchievementCache, FileRoundTripsAcrossRuns) {
  for (const Record& r : kThree) Achievements_Add(r.kind, r.name.c_str(), r.value);
  EXPECT_EQ(File(), Encode(kThree));
  Achievements_Free();
  EXPECT_EQ(Achievements_Count(), 0);
  EXPECT_EQ(File(), Encode(kThree));
  Achievements_Init();
  EXPECT_EQ(Queued(), kThree);
  EXPECT_TRUE(Achievements_Enabled());
}

TEST_F(AchievementCache, EveryPrefixKeepsTheCompleteRecordsBeforeTheCut) {
  std::string whole = Encode(kThree);
  size_t ends[3] = {Encode({kThree[0]}).size(), Encode({kThree[0], kThree[1]}).size(), whole.size()};
  for (size_t cut = 0; cut <= whole.size(); cut++) {
    size_t complete = 0;
    while (complete < 3 && ends[complete] <= cut) complete++;
    std::vector<Record> expected(kThree.begin(), kThree.begin() + complete);
    EXPECT_EQ(Parsed(whole.substr(0, cut)), expected) << "cut at " << cut;
  }
  // Loading a cut file keeps those records and writes them back.
  Achievements_Clear();
  WriteFile(whole.substr(0, ends[1] + 6));
  Achievements_Init();
  EXPECT_EQ(Queued(), std::vector<Record>(kThree.begin(), kThree.begin() + 2));
  EXPECT_EQ(File(), whole.substr(0, ends[1]));
}

TEST_F(AchievementCache, QueueHoldsTwoThousandFortyNine) {
  // Loaded from the file, so the file is written once rather than per entry.
  std::vector<Record> records;
  for (uint32_t i = 0; i < ACHIEVEMENT_QUEUE_LIMIT + 2; i++) records.push_back({1, "x", i});
  Achievements_Clear();
  WriteFile(Encode(records));
  Achievements_Init();
  EXPECT_EQ(Achievements_Count(), 2049);
  records.pop_back();
  EXPECT_EQ(File(), Encode(records));
  EXPECT_FALSE(Achievements_Add(1, "dropped", 0));
  EXPECT_EQ(Achievements_Count(), 2049);
  Steps(1);
  Achievements_SetState(ACHIEVEMENT_DELIVERED);
  Steps(1);
  EXPECT_TRUE(Achievements_Add(1, "fits again", 0));
}

TEST_F(AchievementCache, DeliveredEntryLeavesFailedOneGoesToTheTail) {
  Achievements_Add(1, "a", 1);
  Achievements_Add(2, "b", 2);
  Achievements_Add(3, "c", 3);
  Steps(1);
  EXPECT_EQ(Achievements_State(), ACHIEVEMENT_IN_FLIGHT);
  // This platform's service never answers: the entry stays in flight.
  Steps(1000);
  EXPECT_EQ(Achievements_State(), ACHIEVEMENT_IN_FLIGHT);
  EXPECT_EQ(Achievements_Count(), 3);

  Achievements_SetState(ACHIEVEMENT_DELIVERED);
  Steps(1);
  EXPECT_EQ(Achievements_State(), ACHIEVEMENT_IDLE);
  EXPECT_EQ(Queued(), (std::vector<Record>{{2, "b", 2}, {3, "c", 3}}));
  EXPECT_EQ(File(), Encode(Queued()));

  Steps(1);  // b in flight
  Achievements_SetState(ACHIEVEMENT_FAILED);
  Steps(1);
  EXPECT_EQ(Achievements_State(), ACHIEVEMENT_WAITING);
  EXPECT_EQ(Achievements_Countdown(), ACHIEVEMENT_RETRY_FRAMES);
  EXPECT_EQ(Queued(), (std::vector<Record>{{3, "c", 3}, {2, "b", 2}}));
  EXPECT_EQ(File(), Encode(Queued()));
}

TEST_F(AchievementCache, UnknownKindIsDroppedThenTheSenderWaits600Frames) {
  Achievements_Add(7, "odd", 1);
  Achievements_Add(1, "next", 2);
  Steps(1);
  EXPECT_EQ(Queued(), (std::vector<Record>{{1, "next", 2}}));
  EXPECT_EQ(File(), Encode(Queued()));
  EXPECT_EQ(Achievements_State(), ACHIEVEMENT_WAITING);
  Steps(600);
  EXPECT_EQ(Achievements_Countdown(), 0);
  EXPECT_EQ(Achievements_State(), ACHIEVEMENT_WAITING);
  Steps(1);
  EXPECT_EQ(Achievements_State(), ACHIEVEMENT_IDLE);
  Steps(1);
  EXPECT_EQ(Achievements_State(), ACHIEVEMENT_IN_FLIGHT);
}
