#pragma once

#include "join/BuildFlow.h"
#include "platform/Waiting.h"

#include <functional>
#include <string>
#include <vector>

namespace partwright::test {

// A window for the build flow that answers its questions from a script and shows nothing.
struct ScriptedWindow final : BuildFlowWindow {
    std::vector<bool> answers; // in turn; No when they run out
    std::vector<std::string> asked, progress;
    bool askYesNo(const std::string& question) override
    {
        asked.push_back(question);
        return asked.size() <= answers.size() && answers[asked.size() - 1];
    }
    void showProgress(const std::string& destination, int parts) override
    {
        progress.emplace_back(destination + " " + std::to_string(parts));
    }
    void closeProgress() override { progress.emplace_back("closed"); }
};

// Runs the event loop of a window that has nothing else to do; `whileRunning` after each turn.
inline void RunBuild(BuildFlow& flow, const std::function<void()>& whileRunning = {})
{
    if (!flow.start())
        return;
    do {
        if (whileRunning)
            whileRunning();
        WaitForAny(flow.waitables(), 10);
    } while (!flow.signalled());
}

} // namespace partwright::test
