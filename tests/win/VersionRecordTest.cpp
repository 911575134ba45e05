// The version record compiled into a program file of the build, read back as Windows reads it.

#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>

namespace {

std::string ThisProgram()
{
    char path[MAX_PATH];
    return std::string(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
}

TEST(VersionRecord, NamesAndNumbers)
{
    const std::string program = ThisProgram();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(program.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> record(size);
    ASSERT_TRUE(GetFileVersionInfoA(program.c_str(), 0, size, record.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(record.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(1, 1)); // 1.1
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);             // .0.0
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(1, 1));
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);

    const struct {
        const char* name;
        const char* value;
    } strings[] = {{"ProductName", "prPartwright"},
                   {"FileVersion", "1.01"},
                   {"ProductVersion", "1.01"},
                   {"InternalName", "Partwright_by_Quillon"}};
    for (const auto& s : strings) {
        char* value = nullptr;
        const std::string key = std::string("\\StringFileInfo\\040904b0\\") + s.name;
        ASSERT_TRUE(
            VerQueryValueA(record.data(), key.c_str(), reinterpret_cast<void**>(&value), &length))
            << s.name;
        EXPECT_STREQ(value, s.value) << s.name;
    }
}

TEST(VersionRecord, ProgramIcon)
{
    EXPECT_NE(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)), nullptr);
}

} // namespace
