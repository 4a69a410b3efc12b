#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

// The longest command line RunAndWait takes.
inline constexpr std::size_t kMaxCommandLine = 512;

// Starts a command line as a new process and waits for it to end, without
// a time limit. White space separates the words, double quotes group them,
// and backslashes escape a quote as on the assembler's home platform. A
// program named without a folder is looked for beside the running program
// first, then along PATH, never in the current directory. The process
// inherits the environment, the standard streams and the current directory;
// showCode has no effect here, since there is no console window to show.
// Returns the exit code (0..255), 128 plus the signal number for a process
// ended by a signal, or -1 when nothing could be started (an empty line, one
// longer than kMaxCommandLine, a program not found or not runnable).
std::int32_t RunAndWait(const QString& commandLine, std::uint16_t showCode);

// The words of a command line, split by the rules above.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);
