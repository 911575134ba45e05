#pragma once

#include "platform/ChildProcess.h"
#include "text/Messages.h"

namespace partwright {

// What the report says of a joining child that failed, in the system's own words.
messages::ChildEnding ReportedEnding(const ChildOutcome& outcome);

} // namespace partwright
