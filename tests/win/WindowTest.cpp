// The Windows main window driven by its messages on Wine's virtual display.
#include "join/SystemJoin.h"
#include "platform/NativePaths.h"
#include "platform/TemporaryImage.h"
#include "platform/WideText_win.h"
#include "support/TempDir.h"
#include "text/Messages.h"
#include "win32/ControlIds.h"
#include "win32/MessageLoop.h"
#include "win32/frmPartwright.h"

#include <commctrl.h>
#include <functional>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <thread>

namespace partwright::win32 {
namespace {

// Handles the messages that wait, without blocking, as the program's own loop would.
void ProcessPendingMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (!HandleDialogKeys(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

namespace fs = std::filesystem;
using namespace ids;
using namespace messages;
using namespace std::string_literals;

std::string Box(const char* title, unsigned type, const std::string& text)
{
    return title + (" (" + std::to_string(type) + ") ") + text + "; ";
}

std::wstring Text(HWND window)
{
    wchar_t text[MAX_PATH] = L"";
    return GetWindowTextW(window, text, MAX_PATH), text;
}

bool Until(auto done)
{
    for (int wait = 0; wait < 6000 && !done(); ++wait)
        ProcessPendingMessages(), Sleep(10);
    return done();
}

HWND Await(const wchar_t* windowClass, const wchar_t* title)
{
    HWND window = nullptr;
    return Until([&] { return IsWindowVisible(window = FindWindowW(windowClass, title)); }), window;
}

class WindowTest : public testing::Test, public WinDialogs {
protected:
    std::string chooseFile(HWND, FileDialogKind kind) override
    {
        seen_ += kind == FileDialogKind::Open ? "Open; " : "Save; ";
        return std::exchange(result_, "");
    }
    int messageBox(HWND, const std::string& text, const char* title, unsigned type) override
    {
        seen_ += Box(title, type, text);
        if (whileAsked_)
            std::exchange(whileAsked_, nullptr)();
        return answer_;
    }
    void TearDown() override { fs::current_path(start_); }
    HWND at(int id, HWND window = nullptr) { return GetDlgItem(window ? window : main_, id); }
    void click(int id, HWND window = nullptr) { SendMessageW(at(id, window), BM_CLICK, 0, 0); }
    void pick(const std::string& result) { result_ = result, click(cmdFiles); }
    // "@a.1* b.2 | OUTFILE.ISO | Open; ": the entries ("*" selected, "@" first: the list has the
    // focus), the destination, the dialogs and boxes since last time, without the test folder.
    std::string state(HWND window = nullptr)
    {
        const HWND list = at(lvwFiles, window);
        std::string text = GetFocus() == list ? "@" : "";
        for (int i = 0; i < ListView_GetItemCount(list); ++i) {
            wchar_t item[MAX_PATH] = L"";
            ListView_GetItemText(list, i, 0, item, MAX_PATH);
            text += Utf8(item) + (ListView_GetItemState(list, i, LVIS_SELECTED) ? "* " : " ");
        }
        text += "| " + Utf8(Text(at(txtOuputIso, window))) + " | " + std::exchange(seen_, "");
        for (std::size_t at; (at = text.find(folder_)) != std::string::npos;)
            text.erase(at, folder_.size());
        return text;
    }

    const fs::path start_ = fs::current_path();
    test::TempDir dir_;
    const std::string folder_ = NameOf(dir_.path()) + '\\';
    std::string result_, seen_;
    int answer_ = IDNO;
    std::function<void()> whileAsked_; // runs once while the next box is open
    frmPartwright window_{{SystemJoinSteps, std::shared_ptr<WinDialogs>(this, [](auto) {})}};
    const HWND main_ = (InitCommonControls(), window_.show(), window_.handle());
};

TEST_F(WindowTest, TitleListButtonsKeysPicksAndDestination)
{
    EXPECT_EQ(Text(main_), L"Partwright [1.1.0] by Quillon");
    EXPECT_EQ(state(), "@| OUTFILE.ISO | ");
    const std::string sub = folder_ + "s\0c.003\0a.001\0b.002"s,
                      invalid = Box(kErrorTitle, MB_ICONERROR, InvalidFiles());
    const std::tuple<std::vector<std::string>, std::string, UINT, WPARAM, std::string> cases[] = {
        {{"x.5"}, sub, 0, cmdFiles, "@x.5* s\\a.001 s\\b.002 s\\c.003 | s\\OUTFILE.ISO | Open; "},
        {{"x.5"}, "", 0, cmdFiles, "x.5 | keep.iso | Open; "},
        {{"x.5"}, "   ", 0, cmdFiles, "x.5 | keep.iso | Open; " + invalid},
        {{"A", "B*", "C*", "D"}, "", 0, cmdUp, "@B* C* A D | keep.iso | "},
        {{"A", "B*", "C*", "D"}, "", 0, cmdDown, "@A D B* C* | keep.iso | "},
        {{"A", "B*", "C*", "D"}, "", 0, cmdDelete, "A D | keep.iso | "},
        {{"A", "B*", "C*", "D"}, "", WM_KEYDOWN, VK_DELETE, "A D | keep.iso | "},
        {{"A", "B*", "C*", "D"}, "", WM_SYSKEYDOWN, VK_DELETE, "A D | keep.iso | "},
        {{"A", "B*", "C*", "D"}, "", 0, cmdClear, "| keep.iso | "},
        {{"d.10", "c.9*", "x", "a.1*"}, "", 0, cmdSort, "@x a.1 c.9 d.10 | keep.iso | "},
        {{}, "C:\\my out\\Game.Iso", WM_SYSCHAR, 'e', "| C:\\my out\\Game.Iso | Save; "},
        {{}, "C:\\out\\game.img", 0, cmdDestination, "| keep.iso | Save; "},
        {{}, "", WM_SYSCHAR, 'b', "| keep.iso | " + Box(kErrorTitle, MB_ICONERROR, kInvalidInput)},
    };
    fs::create_directory(dir_.path() / "s");
    for (const auto& [before, result, message, key, after] : cases) {
        click(cmdClear);
        for (const std::string& word : before)
            pick(folder_ + word.substr(0, word.find('*')));
        for (std::size_t i = 0; i < before.size(); ++i)
            ListView_SetItemState(at(lvwFiles), i, before[i].ends_with('*') * LVIS_SELECTED,
                                  LVIS_SELECTED);
        SetWindowTextW(at(txtOuputIso), L"keep.iso");
        result_ = result, seen_.clear();
        SetFocus(at(cmdFiles));
        message ? void(PostMessageW(at(lvwFiles), message, key, 1 << 29)) : click(key);
        ProcessPendingMessages();
        EXPECT_EQ(state(), after) << message << " " << key;
    }
}

// One picked part and the offer's Yes, the default button: the whole set, joined.
TEST_F(WindowTest, OnePickedPartBringsItsSet)
{
    std::string joined;
    for (const char* name : {"DISC.001", "DISC.002", "DISC.003"})
        test::WriteFile(folder_ + name, name), joined += name;
    answer_ = IDYES;
    pick(folder_ + "DISC.002");
    const std::string folder = folder_.substr(0, folder_.size() - 1);
    EXPECT_EQ(state(),
              "@DISC.001* DISC.002 DISC.003 | OUTFILE.ISO | Open; " +
                  Box(kQuestionTitle, MB_YESNO | MB_ICONQUESTION,
                      "DISC.002 is one of 3 parts of DISC in '" + folder + "'. Add the other 2?"));
    click(cmdBuild);
    EXPECT_TRUE(Until([&] { return !window_.isBuilding(); }));
    EXPECT_EQ(test::ReadFile(folder_ + "OUTFILE.ISO"), joined);
}

// A fixed frame at the system's DPI, the tab order, and About: modal, and gone after OK.
TEST_F(WindowTest, FrameTabOrderAndAbout)
{
    RECT client;
    GetClientRect(main_, &client);
    const int dpi = GetDeviceCaps(GetDC(nullptr), LOGPIXELSX);
    EXPECT_TRUE(client.right == 6645 * dpi / 1440 && client.bottom == 3825 * dpi / 1440) << dpi;
    EXPECT_EQ(GetWindowLongW(main_, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
              0);
    const int order[] = {lvwFiles, cmdFiles, cmdClear,    cmdDelete,      cmdSort,
                         cmdUp,    cmdDown,  txtOuputIso, cmdDestination, cmdBuild,
                         cmdHelp,  cmdAbout, lvwFiles};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        EXPECT_EQ(GetDlgCtrlID(GetNextDlgTabItem(main_, at(order[i]), FALSE)), order[i + 1]);
    std::wstring about;
    std::thread answer([&] {
        const HWND window = Await(classes::kAbout, nullptr);
        about = Text(window) + L"|" + Text(at(lblTitle, window)) + L"|" +
                Text(at(lblVersion, window)) + L"|" + std::to_wstring(IsWindowEnabled(main_));
        PostMessageW(window, WM_COMMAND, IDOK, 0);
    });
    click(cmdAbout);
    answer.join();
    EXPECT_EQ(about, L"About...|Partwright|Version 1.1.0|0");
    EXPECT_TRUE(!FindWindowW(classes::kAbout, nullptr) && IsWindowEnabled(main_));
}

// Closing the window during a build: "No" lets it finish, also when the join ends while the
// question is open; "Yes" cancels it without a report.
TEST_F(WindowTest, DroppedPartsBuildUntilCancelledOrClosed)
{
    fs::create_directory(dir_.path() / "sub");
    std::wstring names;
    for (const char* name : {"big.002", "sub", "big.001"})
        names += Wide(folder_ + name) + L'\0';
    for (const char* name : {"big.001", "big.002"}) // sparse
        test::WriteFile(folder_ + name, ""), fs::resize_file(dir_.path() / name, 512 << 20);
    DROPFILES* drop =
        static_cast<DROPFILES*>(GlobalAlloc(GPTR, sizeof *drop + names.size() * 2 + 2));
    *drop = {sizeof *drop, {}, FALSE, TRUE};
    std::copy(names.begin(), names.end(), reinterpret_cast<wchar_t*>(drop + 1));
    SendMessageW(main_, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(state(), "@big.001* big.002 | OUTFILE.ISO | ");

    click(cmdBuild);
    for (const int id : {lvwFiles, cmdFiles, txtOuputIso, cmdBuild, cmdAbout, cmdHelp})
        EXPECT_EQ(IsWindowEnabled(at(id)) != FALSE, id == cmdHelp) << id; // Read Help stays usable
    const HWND progress = FindWindowW(classes::kProgress, nullptr);
    ASSERT_EQ(GetWindow(progress, GW_OWNER), main_);
    click(IDCANCEL, progress);
    EXPECT_TRUE(Until([&] { return !window_.isBuilding(); }));
    EXPECT_TRUE(!IsWindow(progress) && GetFocus() == at(cmdBuild)); // the focus back where it was
    EXPECT_EQ(state(), "big.001* big.002 | OUTFILE.ISO | " +
                           Box(kInfoTitle, MB_ICONINFORMATION, BuildCancelled("", false)));

    for (const char* name : {"big.001", "big.002"})
        fs::resize_file(dir_.path() / name, 1000);
    const std::string question = Box(kQuestionTitle, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2,
                                     CancelOnCloseQuestion()),
                      built = Box(kInfoTitle, MB_ICONEXCLAMATION,
                                  BuiltSuccessfully(folder_ + "no.iso", ""));
    const auto joined = [&] { // the join has written everything into the temporary image
        for (const auto& entry : fs::directory_iterator(dir_.path()))
            if (IsTemporaryImageName(NameOf(entry.path().filename())) && entry.file_size() == 2000)
                return true;
        return false;
    };
    for (const auto& [answer, seen] : {std::pair(IDNO, question + built), {IDYES, question}}) {
        answer_ = answer;
        SetWindowTextW(at(txtOuputIso), answer == IDNO ? L"no.iso" : L"yes.iso");
        click(cmdBuild);
        if (answer == IDNO) // as the system's box would, its loop runs on until the answer
            whileAsked_ = [&] {
                EXPECT_TRUE(Until(joined));
            };
        SendMessageW(main_, WM_CLOSE, 0, 0);
        EXPECT_TRUE(Until([&] { return !window_.isBuilding(); }));
        EXPECT_EQ(std::exchange(seen_, ""), seen);
        EXPECT_EQ(IsWindow(main_) != FALSE, answer == IDNO);
    }
    EXPECT_EQ(test::ReadFile(folder_ + "no.iso"), std::string(2000, '\0'));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), {}), 4); // nothing else left
}

// In the ANSI code page ā.001 would be found as the decoy a.001. A temporary image that a killed
// build left in the folder goes; the image's checksum file is found by its stem, read, and the
// parts hashed while COPY joins them.
TEST_F(WindowTest, TheSystemsDialogAndBoxServeTheWindowWithAnyNames)
{
    const std::string folder = folder_ + "Ω\\";
    fs::create_directory(PathOf(folder));
    test::WriteFile(folder + "a.001", "decoy");
    test::WriteFile(folder + TemporaryImageName(0), "");
    for (const char* name : {"ā.001", "Ω.002", "日本.003"})
        test::WriteFile(folder + name, std::string(name).substr(0, 6)); // parts of one size
    test::WriteFile(folder + "ā.ISO.sha256",
                    "d499cd98edb0829380105ba2caf2dadfc05af451ead771425764a746a3d656ba *ā.iso");
    frmPartwright real;
    real.show();
    fs::current_path(PathOf(folder)); // where the dialog starts
    std::thread open([] { // on a second thread, as the click returns when the dialog closes
        const HWND dialog = Await(L"#32770", L"Open");
        SetWindowTextW(GetDlgItem(dialog, GetDlgItem(dialog, 0x47C) ? 0x47C : 0x480), // cmb13, edt1
                       L"\"日本.003\" \"ā.001\" \"Ω.002\"");
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    click(cmdFiles, real.handle());
    open.join();
    EXPECT_EQ(state(real.handle()), "@Ω\\ā.001* Ω\\Ω.002 Ω\\日本.003 | Ω\\OUTFILE.ISO | ");
    std::wstring text;
    std::thread box([&] {
        const HWND shown = Await(L"#32770", L"Info...");
        text = Text(GetDlgItem(shown, 0xFFFF));
        PostMessageW(shown, WM_COMMAND, IDOK, 0);
    });
    click(cmdBuild, real.handle());
    EXPECT_TRUE(Until([&] { return !real.isBuilding(); }));
    box.join();
    EXPECT_EQ(Utf8(text), BuiltSuccessfully(folder + "OUTFILE.ISO",
                                            "SHA-256 matches ā.ISO.sha256.\r\n"
                                            "Checked on the image once it was written."));
    EXPECT_EQ(test::ReadFile(folder + "OUTFILE.ISO"), "ā.001Ω.002日本");
    EXPECT_EQ(test::ReadFile(folder + "a.001"), "decoy");
    EXPECT_EQ(std::distance(fs::directory_iterator(PathOf(folder)), {}), 6);
}

} // namespace
} // namespace partwright::win32
