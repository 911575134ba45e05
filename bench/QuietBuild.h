#pragma once

#include "join/BuildFlow.h"
#include "join/SystemJoin.h"
#include "platform/Waiting.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace partwright::bench {

// A build through the tool's own flow, as a window runs it: every check, the join, the flush,
// the rename, the checks of the image. It says Yes to every question (replacing the last round's
// image) and shows nothing; anything but a built image aborts the benchmark.
inline void BuildQuietly(const std::vector<std::string>& parts, const std::string& out)
{
    struct Window final : BuildFlowWindow {
        bool askYesNo(const std::string&) override { return true; }
        void showProgress(const std::string&, int) override {}
        void closeProgress() override {}
    } window;
    BuildFlow build(window, SystemJoinCommand, parts, out);
    if (build.start())
        while (!build.signalled())
            WaitForAny(build.waitables(), -1);
    if (build.ending() != BuildEnding::Built)
        std::abort();
}

} // namespace partwright::bench
