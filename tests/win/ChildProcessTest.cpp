// The Windows child process for real: programs and DLLs planted in the current folder, and what a
// child prints on its way to the failure report.
#include "platform/ChildProcess.h"

#include "join/JoinReport.h"
#include "platform/HelpViewer.h"
#include "platform/NativePaths.h"
#include "platform/SystemPrograms_win.h"
#include "support/TempDir.h"
#include "text/Messages.h"

#include <gtest/gtest.h>
#include <windows.h>
// Builds on windows.h.
#include <tlhelp32.h>

namespace partwright {
namespace {

std::string Planted(const std::string& file)
{
    return ProgramDirectory() + "\\planted\\" + file;
}

// The folder is current while this lives; it can be removed only once it no longer is.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::filesystem::path& folder)
    {
        std::filesystem::current_path(folder);
    }
    ~CurrentFolder() { SetCurrentDirectoryW(previous_.c_str()); }

private:
    std::filesystem::path previous_ = std::filesystem::current_path();
};

// Ends the child of this process that runs the named program; the program file's path.
std::string EndChild(const wchar_t* name)
{
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    std::wstring path(MAX_PATH, L'\0');
    for (BOOL more = Process32FirstW(snapshot, &entry); more && path[0] == 0;
         more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ParentProcessID != GetCurrentProcessId() || lstrcmpiW(entry.szExeFile, name))
            continue;
        const HANDLE child = OpenProcess(PROCESS_ALL_ACCESS, FALSE, entry.th32ProcessID);
        DWORD length = MAX_PATH;
        QueryFullProcessImageNameW(child, 0, path.data(), &length);
        path.resize(length);
        TerminateProcess(child, 0);
        WaitForSingleObject(child, 30000);
        CloseHandle(child);
    }
    CloseHandle(snapshot);
    return NameOf(path.c_str());
}

TEST(SystemPrograms, StartFromTheSystemFolderNotFromTheCurrentOne)
{
    test::TempDir dir;
    for (const char* name : {"cmd.exe", "notepad.exe"})
        ASSERT_TRUE(CopyFileA(Planted("planted.exe").c_str(), dir.file(name).c_str(), FALSE));
    const std::string first = dir.file("a.001"), second = dir.file("b.002");
    const std::string joined = dir.file("out.iso");
    test::WriteFile(first, std::string("one\0\x1a", 5));
    test::WriteFile(second, "two");
    const CurrentFolder current(dir.path());

    ChildProcess child;
    ASSERT_EQ(child.start({{SystemFolderProgram("cmd.exe")},
                           "cmd.exe /D /V:OFF /c COPY /B /Y \"" + first + "\" + \"" + second +
                               "\" \"" + joined + '"'}),
              0);
    child.wait();
    EXPECT_EQ(test::ReadFile(joined), std::string("one\0\x1atwo", 8));
    ASSERT_TRUE(StartHelpViewer(first));
    EXPECT_EQ(EndChild(L"notepad.exe"), SystemFolderProgram("notepad.exe"));
    for (const std::string name : {"cmd.exe", "notepad.exe"})
        EXPECT_FALSE(std::filesystem::exists(dir.file(name + ".ran"))) << name;
}

TEST(SystemPrograms, NoDllLoadsByNameFromTheCurrentFolder)
{
    test::TempDir dir;
    ASSERT_TRUE(CopyFileA(Planted("planted.dll").c_str(), dir.file("planted.dll").c_str(), FALSE));
    const CurrentFolder current(dir.path());
    const HMODULE byDefault = LoadLibraryW(L"planted.dll");
    ASSERT_NE(byDefault, nullptr);
    FreeLibrary(byDefault);
    KeepCurrentFolderOutOfDllSearch();
    EXPECT_EQ(LoadLibraryW(L"planted.dll"), nullptr);
}

TEST(ChildProcess, KeepsTheLastLinesItPrintedForTheReport)
{
    test::TempDir dir;
    const std::string first = dir.file("a.001"), second = dir.file("b.002");
    const std::string copy =
        " /D /c COPY /B /Y \"" + first + "\" + \"" + second + "\" \"" + dir.file("out.iso") + '"';
    const std::string dashes(60, '-');
    std::string lastOfMany = "line 2981 " + dashes;
    for (int line = 2982; line <= 3000; ++line)
        lastOfMany += "\nline " + std::to_string(line) + ' ' + dashes;
    enum FirstPart { Readable, HeldOpen, Missing };
    // Far more than the pipe holds: the child goes on only while it is read.
    const std::string many = "cmd.exe /D /c for /L %i in (1,1,3000) do @echo line %i " + dashes;
    const std::tuple<std::string, FirstPart, std::string, int> cases[] = {
        {"cmd.exe /U" + copy, HeldOpen, SystemErrorText(ERROR_SHARING_VIOLATION), 1},
        {"cmd.exe" + copy, Missing, SystemErrorText(ERROR_FILE_NOT_FOUND), 1},
        {"cmd.exe /U /D /c echo ā日本", Readable, "ā日本", 0},
        {many, Readable, lastOfMany, 0}};
    for (const auto& [commandLine, firstPart, printed, exitCode] : cases) {
        test::WriteFile(first, "one");
        test::WriteFile(second, "two");
        if (firstPart == Missing)
            DeleteFileA(first.c_str());
        const HANDLE held = firstPart == HeldOpen ? CreateFileA(first.c_str(), GENERIC_READ, 0,
                                                                nullptr, OPEN_EXISTING, 0, nullptr)
                                                  : nullptr;
        ChildProcess child;
        ASSERT_EQ(child.start({{}, commandLine}), 0);
        ASSERT_EQ(WaitForSingleObject(HANDLE(child.exitWaitable()), 120000), WAIT_OBJECT_0);
        child.wait();
        CloseHandle(held);
        EXPECT_EQ(child.outcome().errorOutput, printed) << commandLine;
        EXPECT_TRUE(messages::JoinFailed(ReportedEnding(child.outcome()))
                        .ends_with(printed.substr(printed.rfind('\n') + 1) + messages::kLineBreak +
                                   "The join ended with exit code " + std::to_string(exitCode) +
                                   "."))
            << commandLine;
    }
}

} // namespace
} // namespace partwright
