#pragma once
#include <cstdio>
#include <string>

// Writes one line "hh:mm:ss.mmm<TAB>message" to the open log file; does nothing while none is open.
void log(const char* format, ...) __attribute__((format(printf, 1, 2)));
void a_log(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Logs the text as it stands: a '%' in a player or file name must never be read as a format.
void log(const std::string& text);

// "(%s, line %u)" with the file part of the path; the returned buffer is reused by the next call.
const char* a_fileLine(const char* path, unsigned line);

// The application frame opens and closes the log file; these hand it over.
void a_logSetFile(std::FILE* file);
std::FILE* a_logFile();

// The log's own clock, started with the program.
class aTimer& a_logTimer();
