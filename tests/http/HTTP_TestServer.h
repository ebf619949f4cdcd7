// Starts tests/http/server.py on 127.0.0.1 for the request tests and
// benchmarks, and stops it when it goes out of scope. Also clears the proxy
// variables, so that requests go straight to it. The build gives the script's
// path as HTTP_TEST_SERVER.
#pragma once
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

class HTTP_TestServer {
 public:
  // extra: arguments for the server ("--cert", file, "--key", file for TLS).
  explicit HTTP_TestServer(std::vector<std::string> extra = {}) {
    for (const char* v : {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}) unsetenv(v);
    std::vector<std::string> args = {"python3", HTTP_TEST_SERVER};
    args.insert(args.end(), extra.begin(), extra.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int fds[2];
    if (pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    if (posix_spawnp(&m_Pid, "python3", &actions, nullptr, argv.data(), environ) != 0) m_Pid = 0;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    FILE* out = fdopen(fds[0], "r");
    if (out && std::fscanf(out, "%d", &m_Port) != 1) m_Port = 0;
    if (out) std::fclose(out);
  }
  ~HTTP_TestServer() {
    if (m_Pid > 0) {
      kill(m_Pid, SIGTERM);
      waitpid(m_Pid, nullptr, 0);
    }
  }
  HTTP_TestServer(const HTTP_TestServer&) = delete;
  HTTP_TestServer& operator=(const HTTP_TestServer&) = delete;

  int Port() const { return m_Port; }
  std::string Url(const std::string& path, const char* scheme = "http", const char* host = "127.0.0.1") const {
    return std::string(scheme) + "://" + host + ":" + std::to_string(m_Port) + path;
  }

 private:
  pid_t m_Pid = 0;
  int m_Port = 0;
};
