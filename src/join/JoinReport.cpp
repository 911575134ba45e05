#include "join/JoinReport.h"

namespace partwright {

messages::ChildEnding ReportedEnding(const ChildOutcome& outcome)
{
    messages::ChildEnding ending;
    if (outcome.startError != 0)
        ending.startError = {outcome.startError, SystemErrorText(outcome.startError)};
    ending.exitCode = outcome.exitCode;
    ending.signal = outcome.signal;
    ending.errorOutput = outcome.errorOutput;
    return ending;
}

} // namespace partwright
