#pragma once

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

// The board stand-in (tools/board) run as a child process. Every wait is
// bounded, so a stand-in that hangs fails the caller instead of blocking it.
class BoardProcess {
 public:
  struct Received {
    double atMs;
    std::uint8_t byte;
  };

  // program: the stand-in's path; record: where it notes what it receives.
  BoardProcess(const std::string& program, const std::string& record,
               std::vector<std::string> options)
      : record_(record) {
    options.insert(options.begin(), {program, "--quiet", "--record", record});
    std::vector<char*> argv;
    for (auto& option : options) argv.push_back(option.data());
    argv.push_back(nullptr);
    int out[2];
    if (pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (pid_ > 0) terminal_ = FirstLine(out[0]);
    close(out[0]);
  }
  ~BoardProcess() { Stop(); }
  BoardProcess(const BoardProcess&) = delete;
  BoardProcess& operator=(const BoardProcess&) = delete;

  // The pseudo-terminal's path; empty when the stand-in did not come up.
  const std::string& TerminalPath() const { return terminal_; }

  // Ends the stand-in and returns what it received, in order.
  std::vector<Received> Stop() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      if (!Reaped(std::chrono::seconds(5))) {
        kill(pid_, SIGKILL);
        Reaped(std::chrono::seconds(5));
      }
      pid_ = -1;
    }
    std::vector<Received> received;
    std::ifstream lines(record_);
    Received entry{};
    unsigned byte = 0;
    std::string line;
    while (std::getline(lines, line)) {
      if (std::sscanf(line.c_str(), "%lf %x", &entry.atMs, &byte) != 2) continue;
      entry.byte = static_cast<std::uint8_t>(byte);
      received.push_back(entry);
    }
    return received;
  }

 private:
  static std::string FirstLine(int fd) {
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
      pollfd entry{fd, POLLIN, 0};
      if (poll(&entry, 1, 100) <= 0) continue;
      char c = 0;
      if (read(fd, &c, 1) != 1) break;
      if (c == '\n') return line;
      line += c;
    }
    return {};
  }

  bool Reaped(std::chrono::seconds within) {
    const auto deadline = std::chrono::steady_clock::now() + within;
    while (std::chrono::steady_clock::now() < deadline) {
      if (waitpid(pid_, nullptr, WNOHANG) == pid_) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }

  std::string record_;
  std::string terminal_;
  pid_t pid_ = -1;
};
