// Start-up of the whole program: an empty game (one empty room whose creation
// code ends the game, so the process leaves right after the first step) is
// packed by the package builder and run headless under /usr/bin/time -v,
// several times. The runner's console lines are read through a pipe as they
// come (the console flushes each line) and timed from just before the fork:
//   ready     "Entering main loop.": start-up done, the first frame begins;
//   1st step  the frame-rate lines that the shutdown writes once the first
//             step has ended the game;
//   exit      the process has ended (its shutdown included).
// Prints the best and median of each and the largest maximum resident set
// that /usr/bin/time reports.
//
//   bench_start_up [RUNS [BUILD]]
//
// BUILD: another build folder whose runner and gamepack to measure (to set an
// older build beside this one in the same minute); this one's by default.
//
// Room speed 30 is the default: the first step waits one frame (33 ms) after
// the game starts. The 1000 row waits 1 ms.
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
using Clock = std::chrono::steady_clock;

struct Run {
  double readyMs = -1, stepMs = -1, exitMs = -1;
  long maxRssKb = 0;
};

std::string g_Build = RUNNER_BUILD_DIR;

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

double Since(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

[[noreturn]] void ExecRunner(const std::string& dir, int out) {
  if (chdir(dir.c_str()) != 0 || dup2(out, STDOUT_FILENO) < 0 || !std::freopen("/dev/null", "w", stderr))
    _exit(127);
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  setenv("ALSOFT_DRIVERS", "null", 1);
  setenv("LC_ALL", "C", 1);
  setenv("HOME", dir.c_str(), 1);
  setenv("XDG_DATA_HOME", (dir + "/data").c_str(), 1);
  std::string runner = g_Build + "/runner", timeLog = dir + "/time.txt";
  execl("/usr/bin/time", "time", "-v", "-o", timeLog.c_str(), runner.c_str(), "-game", "game.win",
        static_cast<char*>(nullptr));
  _exit(127);
}

// One run; false when the game did not start or did not end cleanly.
bool RunOnce(const std::string& dir, Run* out) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return false;
  std::fflush(stdout);  // or the child writes our buffered lines again
  Clock::time_point start = Clock::now();
  pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    close(pipeEnds[0]);
    ExecRunner(dir, pipeEnds[1]);
  }
  close(pipeEnds[1]);
  std::string text;
  char buffer[4096];
  for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
    text.append(buffer, size_t(n));
    if (out->readyMs < 0 && text.find("Entering main loop.\n") != std::string::npos) out->readyMs = Since(start);
    if (out->stepMs < 0 && text.find("minFPS, maxFPS, avgFPS\n") != std::string::npos) out->stepMs = Since(start);
  }
  close(pipeEnds[0]);
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return false;
  out->exitMs = Since(start);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || out->readyMs < 0 || out->stepMs < 0) return false;
  std::string log = ReadFile(dir + "/time.txt");
  const std::string key = "Maximum resident set size (kbytes): ";
  size_t at = log.find(key);
  if (at == std::string::npos) return false;
  out->maxRssKb = std::atol(log.c_str() + at + key.size());
  return true;
}

// "best / median" of one figure of the runs.
std::string BestMedian(const std::vector<Run>& runs, double Run::*figure) {
  std::vector<double> v;
  for (const Run& r : runs) v.push_back(r.*figure);
  std::sort(v.begin(), v.end());
  char text[64];
  std::snprintf(text, sizeof text, "%6.1f / %6.1f", v.front(), v[v.size() / 2]);
  return text;
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
    std::fprintf(stderr, "the empty game did not run in %s\n", dir.c_str());
    return false;
  }
  for (int i = 0; i < runs; i++) {
    Run r;
    if (!RunOnce(dir, &r)) return false;
    all.push_back(r);
  }
  long rss = 0;
  for (const Run& r : all) rss = std::max(rss, r.maxRssKb);
  std::printf("%5d %4d  %s  %s  %s  %8.1f\n", speed, runs, BestMedian(all, &Run::readyMs).c_str(),
              BestMedian(all, &Run::stepMs).c_str(), BestMedian(all, &Run::exitMs).c_str(), rss / 1024.0);
  return true;
}
}  // namespace

int main(int argc, char** argv) {
  int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
  if (argc > 2) g_Build = argv[2];
  char pattern[] = "/tmp/bench_start_up_XXXXXX";
  if (!mkdtemp(pattern)) return 1;
  std::string dir = pattern;
  std::printf("%s: empty game, ms from process start (best / median), max RSS by /usr/bin/time -v\n",
              g_Build.c_str());
  std::printf("%5s %4s  %15s  %15s  %15s  %8s\n", "speed", "runs", "ready", "1st step", "exit", "RSS MiB");
  bool ok = Measure(dir, 30, runs) && Measure(dir, 1000, runs);
  Shell("rm -rf '" + dir + "'");
  return ok ? 0 : 1;
}
