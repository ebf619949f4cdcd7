// The function reference (docs/functions/*.md) lists every built-in function
// the runner registers exactly once, with as many argument names as the
// function takes ("..." last for any number), and lists nothing else. The
// registrations are read from fresh processes, where only the runner has
// registered names (other tests add their own), once for current packages and
// once for older ones, whose few functions of their own are listed too.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Init.h"
#include "Option/Option_CommandLine.h"

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

std::string Count(int argc) { return argc < 0 ? "any" : std::to_string(argc); }

// Name -> argument count; a name registered twice (an alias of the same
// name) is one entry.
using Table = std::map<std::string, int>;

constexpr unsigned kCurrentPackage = 800, kOlderPackage = 700;

// In the fresh process that RegisteredFor starts: registers the built-ins
// for the package version asked for and writes them to the file named.
TEST(DocsFunctions, WritesTheRegisteredBuiltInsInAFreshProcess) {
  const char* version = std::getenv("DOCS_TABLE_VERSION");
  const char* file = std::getenv("DOCS_TABLE_FILE");
  if (!version || !file) GTEST_SKIP() << "runs only as the helper of the other tests";
  Package_Version = static_cast<unsigned>(std::atoi(version));
  InitCWLFunctions();
  std::ofstream out(file);
  for (int i = 0; i < Function_Count(); ++i) out << Function_Get(i)->name << " " << Function_Get(i)->argnumb << "\n";
}

Table RegisteredFor(unsigned version) {
  char path[] = "/tmp/docs_functions_XXXXXX";
  int fd = mkstemp(path);
  if (fd < 0) return {};
  close(fd);
  pid_t child = fork();
  if (child == 0) {
    setenv("DOCS_TABLE_VERSION", std::to_string(version).c_str(), 1);
    setenv("DOCS_TABLE_FILE", path, 1);
    char filter[] = "--gtest_filter=DocsFunctions.WritesTheRegisteredBuiltInsInAFreshProcess";
    char* args[] = {const_cast<char*>("unit_tests"), filter, nullptr};
    execv("/proc/self/exe", args);
    _exit(127);
  }
  int status = -1;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the fresh process failed";
  Table table;
  std::ifstream in(path);
  std::string name;
  int argc;
  while (in >> name >> argc) table.emplace(name, argc);
  std::remove(path);
  EXPECT_FALSE(table.empty()) << "no built-ins read from the fresh process";
  return table;
}

std::string Listing(const std::vector<Entry>& entries) {
  std::string pages;
  for (const Entry& e : entries) pages += (pages.empty() ? "" : " ") + e.page;
  return "(" + pages + ") ";
}

TEST(DocsFunctions, EveryBuiltInIsListedOnceWithItsArguments) {
  std::string malformed;
  std::map<std::string, std::vector<Entry>> listed = ReadReference(malformed);
  EXPECT_EQ(malformed, "") << "lines that begin like an entry but are not \"- `name(args)` → ...\"";
  std::string missing, twice, wrong;
  for (const auto& [name, argc] : RegisteredFor(kCurrentPackage)) {
    auto it = listed.find(name);
    if (it == listed.end()) {
      missing += name + " ";
      continue;
    }
    if (it->second.size() > 1) twice += name + " " + Listing(it->second);
    if (it->second[0].argc != argc)
      wrong += name + " (" + it->second[0].page + ": " + Count(it->second[0].argc) + ", takes " + Count(argc) + ") ";
  }
  EXPECT_EQ(missing, "") << "registered built-ins with no line in docs/functions/";
  EXPECT_EQ(twice, "") << "functions listed more than once";
  EXPECT_EQ(wrong, "") << "functions listed with the wrong number of arguments";
}

// Packages of the older version have a few functions of their own (and some
// argument counts of their own, which the lines do not show).
TEST(DocsFunctions, TheFunctionsOfOlderPackagesAreListedToo) {
  std::string malformed;
  std::map<std::string, std::vector<Entry>> listed = ReadReference(malformed);
  Table current = RegisteredFor(kCurrentPackage);
  std::string missing, wrong;
  for (const auto& [name, argc] : RegisteredFor(kOlderPackage)) {
    if (current.count(name)) continue;
    auto it = listed.find(name);
    if (it == listed.end()) {
      missing += name + " ";
    } else if (it->second[0].argc != argc) {
      wrong += name + " (" + it->second[0].page + ": " + Count(it->second[0].argc) + ", takes " + Count(argc) + ") ";
    }
  }
  EXPECT_EQ(missing, "") << "built-ins of older packages with no line in docs/functions/";
  EXPECT_EQ(wrong, "") << "functions listed with the wrong number of arguments";
}

TEST(DocsFunctions, NoLineNamesAFunctionTheRunnerLacks) {
  std::string malformed;
  std::map<std::string, std::vector<Entry>> listed = ReadReference(malformed);
  Table current = RegisteredFor(kCurrentPackage), older = RegisteredFor(kOlderPackage);
  std::string extra;
  for (const auto& [name, entries] : listed)
    if (!current.count(name) && !older.count(name)) extra += name + " " + Listing(entries);
  EXPECT_EQ(extra, "") << "lines for functions the runner does not register";
}

// docs/functions.md links every page of the reference, and only pages that
// exist.
TEST(DocsFunctions, TheIndexLinksEveryPage) {
  std::ifstream in(std::string(DOCS_DIR) + "/functions.md");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  static const std::regex link(R"(\]\(functions/([a-z0-9-]+\.md)\))");
  std::set<std::string> linked, pages;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), link); it != std::sregex_iterator(); ++it)
    linked.insert((*it)[1]);
  for (const auto& file : std::filesystem::directory_iterator(std::string(DOCS_DIR) + "/functions"))
    if (file.path().extension() == ".md") pages.insert(file.path().filename().string());
  std::string unlinked, missing;
  for (const std::string& page : pages)
    if (!linked.count(page)) unlinked += page + " ";
  for (const std::string& page : linked)
    if (!pages.count(page)) missing += page + " ";
  EXPECT_EQ(unlinked, "") << "pages the index does not link";
  EXPECT_EQ(missing, "") << "pages the index links that do not exist";
}

}  // namespace
