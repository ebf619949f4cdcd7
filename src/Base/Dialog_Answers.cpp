#include "Base/Dialog_Answers.h"

#include <cstdlib>
#include <deque>

namespace {
std::deque<DialogAnswer> g_answers;
bool g_loaded = false;

void Load() {
  if (g_loaded) return;
  g_loaded = true;
  if (const char* env = std::getenv("RUNNER_DIALOG_ANSWERS")) DialogAnswers_Set(env);
}

DialogAnswer Parse(const std::string& item) {
  DialogAnswer a;
  size_t colon = item.find(':');
  a.button = item.substr(0, colon);
  if (colon == std::string::npos) return a;
  std::string rest = item.substr(colon + 1);
  size_t second = rest.find(':');
  a.hasText = true;
  a.text = rest.substr(0, second);
  if (second != std::string::npos) {
    a.hasText2 = true;
    a.text2 = rest.substr(second + 1);
  }
  return a;
}
}  // namespace

void DialogAnswers_Set(const char* list) {
  g_loaded = true;
  g_answers.clear();
  std::string all = list ? list : "";
  size_t start = 0;
  while (start < all.size()) {
    size_t end = all.find(';', start);
    if (end == std::string::npos) end = all.size();
    if (end > start) g_answers.push_back(Parse(all.substr(start, end - start)));
    start = end + 1;
  }
}

bool DialogAnswers_Next(DialogAnswer* out) {
  Load();
  if (g_answers.empty()) return false;
  *out = g_answers.front();
  g_answers.pop_front();
  return true;
}

bool DialogAnswers_Pending() {
  Load();
  return !g_answers.empty();
}
