#pragma once
// The program's log: one line of plain text (UTF-8) for whoever started the program, on standard
// error. Only what the user may want to act on goes here. Tests install a sink to see the lines.
#include <functional>
#include <string>

namespace plat {

// Writes "chimewick: <line>" to standard error, or hands the line to the installed sink.
void LogLine(const std::string& line);
// Installs a sink for the lines; an empty function goes back to standard error.
void SetLogSink(std::function<void(const std::string& line)> sink);

}  // namespace plat
