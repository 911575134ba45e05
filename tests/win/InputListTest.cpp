// The Windows window's input list keeps the contract every input list keeps.
#include "support/InputListContract.h"
#include "win32/ListViewControl.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace partwright::win32 {
namespace {

TEST(InputList, TheContractInTheWindowsList)
{
    InitCommonControls();
    // As the main window's list: many entries may be selected.
    const HWND view =
        CreateWindowExW(0, WC_LISTVIEWW, L"", WS_POPUP | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0, 300,
                        200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(view);
    ListViewControl list(view);
    for (const auto& [outcome, expected] : test::InputListContract(list))
        EXPECT_EQ(outcome, expected);
    DestroyWindow(view);
}

} // namespace
} // namespace partwright::win32
