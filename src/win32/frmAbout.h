#pragma once

#include "win32/Twips.h"
#include "win32/WindowBase.h"

namespace partwright::win32 {

// The About window: the tool's name, version and a short description, modal over its owner. It
// is created afresh for every showing.
class frmAbout final : public WindowBase {
public:
    explicit frmAbout(HWND owner);
    ~frmAbout() override;

    // Shows the window and returns when it has closed; the owner takes no input meanwhile.
    void showModal();

private:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void createControls();
    void Form_Load();
    void cmdOK_Click();

    HWND owner_;
    Twips twips_ = Twips::OfScreen();
    HWND lblDescription = nullptr;
    HWND lblTitle = nullptr;
    HWND lblVersion = nullptr;
    HWND cmdOK = nullptr;
    HWND imgDisc = nullptr;
    HFONT font_ = nullptr;
    HFONT titleFont_ = nullptr;
    HFONT descriptionFont_ = nullptr;
    HICON windowIcon_ = nullptr;
    HICON discIcon_ = nullptr;
};

} // namespace partwright::win32
