#pragma once

#include "join/BuildFlow.h"
#include "join/SystemJoin.h"
#include "support/Waiting.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace partwright::bench {

// A build through the tool's own flow, as a window runs it: every check, the join, the flush,
// the rename, the checks of the image. It says Yes to every question (replacing the last round's
// image) and shows nothing; anything but a built image aborts the benchmark. Returns the report.
inline std::string BuildQuietly(const std::vector<std::string>& parts, const std::string& out)
{
    BuildFlow build(SystemJoinSteps, parts, out);
    build.start();
    for (;;) {
        switch (build.next()) {
        case BuildFlow::Next::Ask:
            build.answer(true);
            continue;
        case BuildFlow::Next::Watch:
            WaitForAny(build.waitables(), -1);
            build.signalled();
            continue;
        case BuildFlow::Next::Report:
            break;
        }
        break;
    }
    if (build.ending() != BuildEnding::Built)
        std::abort();
    return build.message();
}

} // namespace partwright::bench
