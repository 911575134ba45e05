#pragma once

#include "join/BuildFlow.h"
#include "support/Waiting.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace partwright::test {

// A window with nothing else to do: it runs the event loop, answers questions from a script and
// notes them and the progress window's coming and going. Like a box with a loop of its own, it
// calls the build again while each question is open, which the build holds.
struct ScriptedWindow {
    std::vector<bool> answers; // in turn; No when they run out
    std::vector<std::string> asked, progress;
    std::function<void(BuildFlow&)> whileRunning;   // after each turn of the loop
    std::function<void(BuildFlow&)> duringQuestion; // while a question is open

    void run(BuildFlow& flow)
    {
        flow.start();
        for (bool shown = false;;) {
            if (flow.showsProgress() != shown) {
                shown = !shown;
                progress.push_back(
                    shown ? flow.destination() + " " + std::to_string(flow.partCount()) : "closed");
            }
            switch (flow.next()) {
            case BuildFlow::Next::Report:
                return;
            case BuildFlow::Next::Ask:
                asked.push_back(flow.question());
                for (int look = 0; look < 3; ++look) {
                    EXPECT_EQ(flow.waitables(), std::vector<std::intptr_t>{});
                    flow.signalled();
                    EXPECT_EQ(flow.next(), BuildFlow::Next::Ask);
                    EXPECT_EQ(flow.question(), asked.back());
                }
                if (duringQuestion)
                    duringQuestion(flow);
                flow.answer(asked.size() <= answers.size() && answers[asked.size() - 1]);
                break;
            case BuildFlow::Next::Watch:
                if (whileRunning)
                    whileRunning(flow);
                WaitForAny(flow.waitables(), 10);
                flow.signalled();
                break;
            }
        }
    }
};

} // namespace partwright::test
