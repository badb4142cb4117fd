// The error log ("userdata/error.log") and the way the game stops on broken data: the log holds
// exactly the last message, no date, no line feed, so a player can send it to us as it stands.
#pragma once

#include <string>
#include <string_view>

namespace Vel {

// A data error ends the game with this code, so scripts and launchers see a failure.
inline constexpr int kFatalExitCode = 1;

std::string ErrorLogPath();

// Replaces the log's content with `message`, creating the user data folder when missing.
// False when the log cannot be written; the caller carries on either way.
bool WriteErrorLog(std::string_view message);

// Writes `message` to the log and to standard error, then ends the process with
// kFatalExitCode without further clean-up (the player file is deliberately not saved, since
// the data it would be saved against is broken).
[[noreturn]] void FatalError(std::string_view message);

// Called by FatalError after the log is written, with the exit code. Tests install a handler
// that throws, to check the message without ending the test program; when the handler returns,
// the process still ends. Returns the previous handler; nullptr restores the plain exit.
using FatalExitHandler = void (*)(int exitCode);
FatalExitHandler SetFatalExitHandler(FatalExitHandler handler);

} // namespace Vel
