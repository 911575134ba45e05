#include "platform/WideText_win.h"
#include "win32/WinDialogs.h"

#include <commdlg.h>
#include <stdexcept>
#include <vector>

namespace partwright::win32 {

namespace {

// Room for the folder and the names of a few thousand picked files.
constexpr DWORD kResultChars = 1 << 17;

// The dialog's result up to the empty name that ends it; the NULs between folder and names
// stay, so the caller can split them.
std::string ResultText(const std::vector<wchar_t>& buffer)
{
    std::size_t end = 0;
    while (end + 1 < buffer.size() && !(buffer[end] == L'\0' && buffer[end + 1] == L'\0'))
        ++end;
    return Utf8(std::wstring_view(buffer.data(), end));
}

class SystemDialogs final : public WinDialogs {
public:
    std::string chooseFile(HWND owner, FileDialogKind kind) override
    {
        const bool open = kind == FileDialogKind::Open;
        std::vector<wchar_t> result(kResultChars, L'\0');
        // The classic dialog starts in the current folder, which a pick moves to.
        std::vector<wchar_t> folder(MAX_PATH + 1, L'\0');
        GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());

        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = owner;
        dialog.lpstrFile = result.data();
        dialog.nMaxFile = kResultChars;
        dialog.lpstrInitialDir = folder.data();
        if (open) {
            dialog.lpstrTitle = L"Open";
            dialog.lpstrFilter = L"All files (*.*)\0*.*\0";
            dialog.Flags =
                OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY;
        } else {
            dialog.lpstrTitle = L"Save";
            dialog.lpstrFilter = L"ISO files (*.ISO)\0*.ISO\0";
            dialog.Flags = OFN_EXPLORER | OFN_CREATEPROMPT | OFN_HIDEREADONLY;
        }
        const BOOL chosen = open ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
        if (!chosen) {
            if (const DWORD error = CommDlgExtendedError())
                throw std::runtime_error("the file dialog failed with error " +
                                         std::to_string(error));
            return {};
        }
        return ResultText(result);
    }

    int messageBox(HWND owner, const std::string& text, const char* title, unsigned type) override
    {
        return MessageBoxW(owner, Wide(text).c_str(), Wide(title).c_str(), type);
    }
};

} // namespace

std::shared_ptr<WinDialogs> SystemWinDialogs()
{
    return std::make_shared<SystemDialogs>();
}

} // namespace partwright::win32
