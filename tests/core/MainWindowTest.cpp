// The main window's logic, driven through a window of the test's own: what the user sees of a
// build and of the list operations, with this system's own join and real files.
#include "join/SystemJoin.h"
#include "platform/NativePaths.h"
#include "support/MemoryList.h"
#include "support/TempDir.h"
#include "support/Waiting.h"
#include "text/Messages.h"
#include "window/MainWindowController.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace partwright {
namespace {

// Notes what the logic shows as one line ("Busy; Progress; Success: ISO built..."), answers its
// dialogs and questions from a script, and runs the event loop of its watches.
class ScriptedView : public MainWindowView {
public:
    test::MemoryList entries;
    std::string destination, shown, chosen;
    std::vector<bool> answers; // in turn; No when they run out
    bool failProgress = false;
    std::vector<std::intptr_t> watched;

    InputList& list() override { return entries; }
    std::string destinationText() const override { return destination; }
    void setDestinationText(const std::string& text) override { destination = text; }
    std::string chooseFile(FileDialogKind kind) override
    {
        note(kind == FileDialogKind::Open ? "Open" : "Save");
        return chosen;
    }
    void report(ReportKind kind, const std::string& text) override
    {
        const char* kinds[] = {"Error: ", "Success: ", "Note: "};
        note(kinds[static_cast<int>(kind)] + text);
    }
    bool askYesNo(const std::string& question, DefaultAnswer preferred) override
    {
        note(std::string(preferred == DefaultAnswer::Yes ? "Offered: " : "Asked: ") +
             question.substr(0, question.find('\r')));
        const bool yes = !answers.empty() && answers.front();
        if (!answers.empty())
            answers.erase(answers.begin());
        return yes;
    }
    void showAbout() override { note("About"); }
    void setBusy(bool busy) override { note(busy ? "Busy" : "Idle"); }
    void setBusyPointer(bool) override {}
    void watch(const std::vector<std::intptr_t>& waitables) override { watched = waitables; }
    void showProgress(BuildFlow&) override
    {
        if (failProgress)
            throw std::runtime_error("no window");
        note("Progress");
    }
    void closeProgress() override { note("Closed"); }
    void closeWindow() override { note("Window closed"); }

    // The event loop, until nothing is watched; `closeAfter` wake-ups in, the user closes the
    // window.
    void run(MainWindowController& logic, int closeAfter = -1)
    {
        for (int turn = 0; !watched.empty(); ++turn) {
            if (turn == closeAfter && logic.Form_QueryUnload())
                break;
            WaitForAny(watched, 10);
            logic.buildSignalled();
        }
    }

private:
    void note(const std::string& what) { shown += (shown.empty() ? "" : "; ") + what; }
};

TEST(MainWindow, ListOperationsAndBuildsAsTheUserSeesThem)
{
    const auto start = std::filesystem::current_path();
    test::TempDir dir;
    const char sep = NativeSeparator();
    for (const char* part : {"D.001", "D.002", "D.003", "L.001"})
        test::WriteFile(dir.file(part), part);
    const std::string folder = dir.path().string(), image = dir.file("OUTFILE.ISO");
    const std::string built = "Success: " + messages::BuiltSuccessfully(image, "");
    const std::string offer =
        "Offered: D.002 is one of 3 parts of D in '" + folder + "'. Add the other 2?; ";
    const struct {
        const char* name;
        std::string picked;                   // the open dialog's result
        void (MainWindowController::*then)(); // after the pick
        std::vector<bool> answers;
        bool failProgress;
        int closeAfter;
        std::string shown;
        const char* image; // what the destination holds afterwards
        int entries;
    } rows[] = {
        // clang-format off
        {"picked, built", folder + '\0' + "D.003" + '\0' + "D.001" + '\0' + "D.002",
         &MainWindowController::cmdBuild_Click, {}, false, -1,
         "Open; Busy; Progress; Closed; Idle; " + built, "D.001D.002D.003", 3},
        {"nothing picked", "", &MainWindowController::cmdBuild_Click, {}, false, -1,
         "Open; Busy; Idle; Error: Invalid input.", "", 0},
        {"one part picked, Yes: its whole set", dir.file("D.002"), &MainWindowController::cmdBuild_Click,
         {true}, false, -1, "Open; " + offer + "Busy; Progress; Closed; Idle; " + built,
         "D.001D.002D.003", 3},
        {"one part picked, No: that part", dir.file("D.002"), &MainWindowController::cmdSort_Click,
         {false}, false, -1, "Open; " + offer.substr(0, offer.size() - 2), "", 1},
        {"a fault of the window", dir.file("L.001"), &MainWindowController::cmdBuild_Click, {},
         true, -1, "Open; Busy; Idle; Error: " + messages::BuildFailedUnexpectedly(), "", 1},
        {"closed, No: the build goes on", dir.file("L.001"), &MainWindowController::cmdBuild_Click,
         {false}, false, 0, "Open; Busy; Progress; Asked: An image is being built.; Closed; Idle; "
         "Success: " + std::string(messages::kBuiltSuccessfully), "L.001", 1},
        {"closed, Yes: cancelled, no report", dir.file("L.001"), &MainWindowController::cmdBuild_Click,
         {true}, false, 0, "Open; Busy; Progress; Asked: An image is being built.; Closed; Idle; "
         "Window closed", "", 1},
        {"cleared", dir.file("L.001"), &MainWindowController::cmdClear_Click, {}, false, -1, "Open", "", 0},
        // clang-format on
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove(image);
        ScriptedView view;
        MainWindowController logic(view, SystemJoinSteps, sep);
        logic.Form_Load();
        EXPECT_EQ(view.destination, "OUTFILE.ISO");
        view.chosen = row.picked;
        view.answers = row.answers;
        view.failProgress = row.failProgress;
        logic.cmdFiles_Click();
        (logic.*row.then)();
        view.run(logic, row.closeAfter);
        EXPECT_EQ(view.shown.substr(0, row.shown.size()), row.shown);
        EXPECT_EQ(test::ReadFile(image), row.image);
        EXPECT_FALSE(logic.isBuilding());
        EXPECT_EQ(view.entries.count(), row.entries);
    }
    std::filesystem::current_path(start); // a pick moved into the folder, which goes
}

// A window that goes while it builds (the session ends) takes the build along: nothing is
// watched or shown any more, and nothing of the image is left.
TEST(MainWindow, UnloadedWhileBuilding)
{
    const auto start = std::filesystem::current_path();
    test::TempDir dir;
    test::WriteFile(dir.file("L.001"), std::string(1 << 20, 'l'));
    ScriptedView view;
    MainWindowController logic(view, SystemJoinSteps, NativeSeparator());
    logic.Form_Load();
    view.chosen = dir.file("L.001");
    logic.cmdFiles_Click();
    logic.cmdBuild_Click();
    ASSERT_TRUE(logic.isBuilding());
    logic.Form_Unload();
    EXPECT_TRUE(view.watched.empty());
    EXPECT_EQ(view.shown.substr(view.shown.size() - 6), "Closed");
    EXPECT_FALSE(logic.isBuilding());
    EXPECT_EQ(test::EntriesIn(dir.path()), 1);
    std::filesystem::current_path(start);
}

// The save dialog's choice becomes the destination when it names an .iso file.
TEST(MainWindow, TheDestinationChosen)
{
    const std::string image = "/img/new.Iso", kept = "OUTFILE.ISO";
    for (const auto& [chosen, shown] :
         {std::pair(image, image), {"/img/new.img", kept}, {"", kept}}) {
        ScriptedView view;
        MainWindowController logic(view, SystemJoinSteps, NativeSeparator());
        logic.Form_Load();
        view.chosen = chosen;
        logic.cmdDestination_Click();
        EXPECT_EQ(view.destination, shown) << chosen;
    }
}

} // namespace
} // namespace partwright
