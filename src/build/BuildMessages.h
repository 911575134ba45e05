#pragma once

#include "platform/ChildProcess.h"

#include <string>

namespace partwright::messages {

// Line breaks inside messages are CR LF.
inline constexpr char kLineBreak[] = "\r\n";

inline constexpr char kErrorTitle[] = "Error...";
inline constexpr char kInfoTitle[] = "Info...";

inline constexpr char kInvalidInput[] = "Invalid input.";
inline constexpr char kBuiltSuccessfully[] = "ISO built succesfully.";
inline constexpr char kCannotBuild[] = "Cannot built ISO.";

// An unexpected failure inside the build operation.
std::string BuildFailedUnexpectedly();

// An entry that is not an existing regular file; nothing was run.
std::string PartMissing(const std::string& path);

// A child that could not start, ended with a non-zero exit code or was ended by a signal.
std::string JoinFailed(const ChildOutcome& outcome);

} // namespace partwright::messages
