#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdio>

// What the programs need of the operating system beyond files: signals,
// arguments and the console. One implementation file per platform, chosen by
// the build.
namespace tamrivel::platform {

// The signals that a write can raise (a pipe's reader gone, a size limit)
// become ordinary write errors.
void turnWriteSignalsIntoErrors();

// Ctrl+C and termination requests set `stop` instead of ending the program
// at once; a second one ends it the usual way.
void stopOnInterrupt(std::atomic<bool> *stop);

// The program's arguments, the program first. On POSIX each name reaches the
// file system as exactly the bytes given, whatever their encoding; on Windows
// they come from the UTF-16 command line.
QStringList commandLineArguments(int argc, char *argv[]);

// The language the user reads messages in: on POSIX the locale of
// LC_MESSAGES (LC_ALL, then LC_MESSAGES, then LANG, and LANGUAGE's first
// choice unless that locale is C), as gettext chooses it; on Windows the
// display language.
QLocale messagesLocale();

// Makes the stream (stdin, stdout) carry bytes as they are, for an image
// read from or written to it: Windows otherwise turns line ends into CR LF
// and stops reading at a Ctrl+Z.
void useBinaryMode(std::FILE *stream);

// True when the stream (stdout, stderr) is a terminal or console.
bool isTerminal(std::FILE *stream);

// Writes text so that it reads right where it lands: in the character set
// of the user's locale on POSIX, UTF-16 to a Windows console, and the
// console's code page in a file or pipe on Windows. A character that the
// character set lacks becomes '?'; a name whose bytes were not UTF-8 goes out
// as those bytes. False if it failed.
bool writeText(std::FILE *stream, const QString &text);

} // namespace tamrivel::platform
