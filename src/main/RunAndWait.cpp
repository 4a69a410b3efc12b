#include "RunAndWait.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <cstdlib>

extern char** environ;

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The program's name: quotes group, backslashes are plain characters.
std::size_t TakeProgram(const std::string& line, std::size_t at, std::string& word) {
  bool quoted = false;
  for (; at < line.size() && (quoted || !IsBlank(line[at])); ++at) {
    if (line[at] == '"') quoted = !quoted;
    else word += line[at];
  }
  return at;
}

// An argument: 2n backslashes before a quote give n and the quote groups,
// 2n+1 give n and a literal quote; other backslashes are plain.
std::size_t TakeArgument(const std::string& line, std::size_t at, std::string& word) {
  bool quoted = false;
  while (at < line.size() && (quoted || !IsBlank(line[at]))) {
    std::size_t backslashes = 0;
    while (at < line.size() && line[at] == '\\') ++backslashes, ++at;
    if (at < line.size() && line[at] == '"') {
      word.append(backslashes / 2, '\\');
      if (backslashes % 2 == 1) {
        word += '"';
      } else if (quoted && at + 1 < line.size() && line[at + 1] == '"') {
        word += '"';  // "" inside quotes is one quote
        ++at;
      } else {
        quoted = !quoted;
      }
      ++at;
    } else {
      word.append(backslashes, '\\');
      if (backslashes == 0 && at < line.size()) word += line[at++];
    }
  }
  return at;
}

bool IsRunnable(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

std::string FindProgram(const std::string& name) {
  if (name.empty()) return {};
  if (name.find('/') != std::string::npos) return name;
  const std::string ownFolder = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
  std::vector<std::string> folders;
  if (!ownFolder.empty()) folders.push_back(ownFolder);
  const char* path = std::getenv("PATH");
  std::string rest = path != nullptr ? path : "";
  for (std::size_t start = 0; start <= rest.size();) {
    const std::size_t colon = std::min(rest.find(':', start), rest.size());
    const std::string folder = rest.substr(start, colon - start);
    // An empty or relative entry would mean the current directory.
    if (!folder.empty() && folder[0] == '/') folders.push_back(folder);
    start = colon + 1;
  }
  for (const std::string& folder : folders) {
    const std::string candidate = folder + "/" + name;
    if (IsRunnable(candidate)) return candidate;
  }
  return {};
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
  std::vector<std::string> words;
  std::size_t at = 0;
  while (at < commandLine.size() && IsBlank(commandLine[at])) ++at;
  if (at == commandLine.size()) return words;
  words.emplace_back();
  at = TakeProgram(commandLine, at, words.back());
  for (;;) {
    while (at < commandLine.size() && IsBlank(commandLine[at])) ++at;
    if (at == commandLine.size()) return words;
    words.emplace_back();
    at = TakeArgument(commandLine, at, words.back());
  }
}

std::int32_t RunAndWait(const QString& commandLine, std::uint16_t /*showCode*/) {
  const std::string line = commandLine.toLocal8Bit().toStdString();
  if (line.size() > kMaxCommandLine) return -1;
  const std::vector<std::string> words = SplitCommandLine(line);
  if (words.empty()) return -1;
  const std::string program = FindProgram(words.front());
  if (program.empty()) return -1;

  std::vector<char*> argv;
  for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawn(&child, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;

  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}
