// Start-up of the whole program: an empty game (one empty room whose creation
// code ends the game, so the process leaves right after the first step) is
// packed by the package builder and run headless under /usr/bin/time -v,
// several times. Prints the best and median wall time from process start to
// exit and the largest maximum resident set.
//
//   bench_start_up [RUNS [BUILD]]
//
// BUILD: another build folder whose runner and gamepack to measure (to set an
// older build beside this one in the same minute); this one's by default.
//
// Room speed 30 is the default: the first step waits one frame (33 ms) after
// the game starts. The 1000 row waits 1 ms, so it shows the start-up work alone.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {
struct Run {
  double ms = 0;
  long maxRssKb = 0;
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs a command line through the shell; its exit status, -1 when it did not run.
int Shell(const std::string& command) {
  std::fflush(stdout);
  int status = std::system(command.c_str());
  return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// One run of the runner under /usr/bin/time -v, timed from before the fork to
// after the wait; false when the game did not start or did not end cleanly.
std::string g_Build = RUNNER_BUILD_DIR;

bool RunOnce(const std::string& dir, Run* out) {
  std::string timeLog = dir + "/time.txt", outLog = dir + "/out.txt";
  std::fflush(stdout);  // or the child writes our buffered lines again
  auto start = std::chrono::steady_clock::now();
  pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0 || !std::freopen(outLog.c_str(), "w", stdout) ||
        !std::freopen("/dev/null", "w", stderr))
      _exit(127);
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("ALSOFT_DRIVERS", "null", 1);
    setenv("LC_ALL", "C", 1);
    setenv("HOME", dir.c_str(), 1);
    setenv("XDG_DATA_HOME", (dir + "/data").c_str(), 1);
    std::string runner = g_Build + "/runner";
    execl("/usr/bin/time", "time", "-v", "-o", timeLog.c_str(), runner.c_str(), "-game", "game.win",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return false;
  out->ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
  if (ReadFile(outLog).find("StartGame()\n") == std::string::npos) return false;
  std::string log = ReadFile(timeLog);
  const char* key = "Maximum resident set size (kbytes): ";
  size_t at = log.find(key);
  if (at == std::string::npos) return false;
  out->maxRssKb = std::atol(log.c_str() + at + std::string(key).size());
  return true;
}

bool Measure(const std::string& dir, int speed, int runs) {
  std::ofstream(dir + "/project.json")
      << "{\"rooms\": [{\"name\": \"rm_empty\", \"speed\": " << speed << ", \"code\": \"game_end();\"}]}\n";
  std::string pack = "cd '" + dir + "' && '" + g_Build + "/gamepack' project.json game.win >/dev/null";
  if (Shell(pack) != 0) {
    std::fprintf(stderr, "the package builder failed in %s\n", dir.c_str());
    return false;
  }
  std::vector<Run> all;
  Run warm;
  if (!RunOnce(dir, &warm)) {  // fills the file caches; not counted
    std::fprintf(stderr, "the empty game did not run (see %s/out.txt)\n", dir.c_str());
    return false;
  }
  for (int i = 0; i < runs; i++) {
    Run r;
    if (!RunOnce(dir, &r)) return false;
    all.push_back(r);
  }
  std::vector<double> ms;
  long rss = 0;
  for (const Run& r : all) {
    ms.push_back(r.ms);
    rss = std::max(rss, r.maxRssKb);
  }
  std::sort(ms.begin(), ms.end());
  std::printf("%10d %6d %10.1f %10.1f %14.1f\n", speed, runs, ms.front(), ms[ms.size() / 2], rss / 1024.0);
  return true;
}
}  // namespace

int main(int argc, char** argv) {
  int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
  if (argc > 2) g_Build = argv[2];
  char pattern[] = "/tmp/bench_start_up_XXXXXX";
  if (!mkdtemp(pattern)) return 1;
  std::string dir = pattern;
  std::printf("%s: empty game, start to exit after the first step (wall time), max RSS by /usr/bin/time -v\n",
              g_Build.c_str());
  std::printf("%10s %6s %10s %10s %14s\n", "room speed", "runs", "best ms", "median ms", "max RSS MiB");
  bool ok = Measure(dir, 30, runs) && Measure(dir, 1000, runs);
  Shell("rm -rf '" + dir + "'");
  return ok ? 0 : 1;
}
