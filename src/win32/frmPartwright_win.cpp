#include "join/SystemJoin.h"
#include "platform/NativePaths.h"
#include "platform/WideText_win.h"
#include "win32/ControlIds.h"
#include "win32/Controls.h"
#include "win32/ListViewControl.h"
#include "win32/ProgressWindow.h"
#include "win32/ResourceIds.h"
#include "win32/frmAbout.h"
#include "win32/frmPartwright.h"
#include "window/MainWindowLayout.h"

#include <commctrl.h>
#include <exception>
#include <filesystem>
#include <shellapi.h>
#include <stdexcept>

namespace partwright::win32 {

namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kButtonStyle = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;

// The list reports plain key presses only; Alt+Delete comes as a system key. It is reported like
// the others, so Delete removes the selected entries whatever Shift, Ctrl and Alt are doing.
LRESULT CALLBACK ReportSystemKeys(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                  UINT_PTR /*id*/, DWORD_PTR /*data*/)
{
    if (message == WM_SYSKEYDOWN && wParam == VK_DELETE) {
        NMLVKEYDOWN key{};
        key.hdr = {list, static_cast<UINT_PTR>(GetDlgCtrlID(list)), LVN_KEYDOWN};
        key.wVKey = VK_DELETE;
        SendMessageW(GetParent(list), WM_NOTIFY, key.hdr.idFrom, reinterpret_cast<LPARAM>(&key));
        return 0;
    }
    return DefSubclassProc(list, message, wParam, lParam);
}

// Every other row a shade darker, so a long line stays readable across the wide column.
LRESULT ShadeRows(NMLVCUSTOMDRAW& draw)
{
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT && draw.nmcd.dwItemSpec % 2 == 1) {
        const COLORREF base = GetSysColor(COLOR_WINDOW);
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        draw.clrTextBk =
            RGB((GetRValue(base) + GetRValue(face)) / 2, (GetGValue(base) + GetGValue(face)) / 2,
                (GetBValue(base) + GetBValue(face)) / 2);
        return CDRF_NEWFONT;
    }
    return CDRF_DODEFAULT;
}

// The regular files of a drop, as UTF-8 paths; folders are left out.
std::vector<std::string> DroppedFiles(HDROP drop)
{
    std::vector<std::string> files;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring name(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        name.resize(DragQueryFileW(drop, i, name.data(), static_cast<UINT>(name.size())));
        const std::string path = Utf8(name);
        std::error_code error;
        if (std::filesystem::is_regular_file(PathOf(path), error))
            files.push_back(path);
    }
    return files;
}

} // namespace

WindowServices SystemWindowServices()
{
    return WindowServices{SystemJoinSteps, SystemWinDialogs()};
}

frmPartwright::frmPartwright(WindowServices services)
    : services_(std::move(services)), logic_(*this, services_.joinCommand, '\\')
{
    font_ = CreateMessageFont();
    create({classes::kMain, "", kStyle, WS_EX_CONTROLPARENT, nullptr,
            twips_.pixels(layout::kWindow.width), twips_.pixels(layout::kWindow.height)});
    waits_ = std::make_unique<WaitWatch>(hwnd_, kBuildSignalled);
    programIcon_ = LoadIconResource(PARTWRIGHT_ICON_PROGRAM, GetSystemMetrics(SM_CXICON),
                                    GetSystemMetrics(SM_CYICON));
    programIconSmall_ = LoadIconResource(PARTWRIGHT_ICON_PROGRAM, GetSystemMetrics(SM_CXSMICON),
                                         GetSystemMetrics(SM_CYSMICON));
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(programIcon_));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(programIconSmall_));

    createControls();
    addTooltips();
    Form_Load();
    DragAcceptFiles(hwnd_, TRUE);
}

frmPartwright::~frmPartwright()
{
    destroy();
    DeleteObject(font_);
    for (HICON icon : {programIcon_, programIconSmall_, upIcon_, downIcon_, questionIcon_})
        if (icon)
            DestroyIcon(icon);
    if (quillon_)
        DeleteObject(quillon_);
}

void frmPartwright::show(int showCommand)
{
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
    SetFocus(lvwFiles);
}

void frmPartwright::createControls()
{
    const auto box = [this](const layout::Control& control) {
        const layout::Place& at = control.place;
        return twips_.box(at.left, at.top, at.width, at.height);
    };
    // Created in tab order: the dialog keys follow the order of creation.
    const auto button = [&](int id, const layout::Control& control) {
        return CreateControl(hwnd_, id, WC_BUTTONW, control.caption, kButtonStyle, box(control),
                             font_);
    };
    // The caption of a picture button is not shown; a screen reader reads it out.
    const auto pictureButton = [&](int id, const layout::Control& control, HICON picture) {
        HWND button = CreateControl(hwnd_, id, WC_BUTTONW, control.caption, kButtonStyle | BS_ICON,
                                    box(control), font_);
        SendMessageW(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(picture));
        return button;
    };
    const auto label = [this](int id, const layout::Control& control) {
        const SIZE size = TextExtent(hwnd_, font_, control.caption); // sized to its text
        return CreateControl(
            hwnd_, id, WC_STATICW, control.caption, WS_VISIBLE | SS_LEFT,
            {twips_.pixels(control.place.left), twips_.pixels(control.place.top), size.cx, size.cy},
            font_);
    };

    lblFiles = label(ids::lblFiles, layout::kLblFiles);
    lvwFiles =
        CreateControl(hwnd_, ids::lvwFiles, WC_LISTVIEWW, "",
                      WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SHOWSELALWAYS,
                      box(layout::kLvwFiles), font_, WS_EX_CLIENTEDGE);
    list_ = std::make_unique<ListViewControl>(lvwFiles);
    SetWindowSubclass(lvwFiles, ReportSystemKeys, 0, 0);

    cmdFiles = button(ids::cmdFiles, layout::kCmdFiles);
    cmdClear = button(ids::cmdClear, layout::kCmdClear);
    cmdDelete = button(ids::cmdDelete, layout::kCmdDelete);
    cmdSort = button(ids::cmdSort, layout::kCmdSort);
    upIcon_ = LoadIconResource(PARTWRIGHT_ICON_UP, 14, 15);
    cmdUp = pictureButton(ids::cmdUp, layout::kCmdUp, upIcon_);
    downIcon_ = LoadIconResource(PARTWRIGHT_ICON_DOWN, 14, 15);
    cmdDown = pictureButton(ids::cmdDown, layout::kCmdDown, downIcon_);

    lblDestination = label(ids::lblDestination, layout::kLblDestination);
    txtOuputIso = CreateControl(hwnd_, ids::txtOuputIso, WC_EDITW, "",
                                WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, box(layout::kTxtOuputIso),
                                font_, WS_EX_CLIENTEDGE);
    cmdDestination = button(ids::cmdDestination, layout::kCmdDestination);
    cmdBuild = button(ids::cmdBuild, layout::kCmdBuild);
    cmdHelp = button(ids::cmdHelp, layout::kCmdHelp);
    questionIcon_ = LoadIconResource(PARTWRIGHT_ICON_QUESTION, 16, 16);
    cmdAbout = pictureButton(ids::cmdAbout, layout::kCmdAbout, questionIcon_);

    // SS_NOTIFY lets the picture see the mouse, for its tooltip.
    imgQuillon = CreateControl(hwnd_, ids::imgQuillon, WC_STATICW, "",
                               WS_VISIBLE | SS_BITMAP | SS_NOTIFY, box(layout::kImgQuillon), font_);
    quillon_ = LoadBitmapResource(PARTWRIGHT_BITMAP_QUILLON);
    SendMessageW(imgQuillon, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(quillon_));
}

void frmPartwright::addTooltips()
{
    tooltips_ = CreateTooltips(hwnd_);
    const std::pair<HWND, const layout::Control&> tips[] = {
        {lvwFiles, layout::kLvwFiles},
        {cmdFiles, layout::kCmdFiles},
        {cmdClear, layout::kCmdClear},
        {cmdDelete, layout::kCmdDelete},
        {cmdSort, layout::kCmdSort},
        {cmdUp, layout::kCmdUp},
        {cmdDown, layout::kCmdDown},
        {txtOuputIso, layout::kTxtOuputIso},
        {cmdDestination, layout::kCmdDestination},
        {cmdBuild, layout::kCmdBuild},
        {cmdHelp, layout::kCmdHelp},
        {cmdAbout, layout::kCmdAbout},
        {imgQuillon, layout::kImgQuillon},
    };
    for (const auto& [control, shown] : tips)
        AddTooltip(tooltips_, control, shown.tooltip);
}

void frmPartwright::Form_Load()
{
    logic_.Form_Load();
    SetText(hwnd_, layout::WindowTitle());

    // One column of paths, without a header row, far wider than the list, so long paths
    // scroll sideways instead of being cut off.
    ListView_SetExtendedListViewStyle(lvwFiles, LVS_EX_FULLROWSELECT);
    RECT frame;
    GetWindowRect(lvwFiles, &frame);
    wchar_t heading[] = L"Files";
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = (frame.right - frame.left) * 15;
    column.pszText = heading;
    SendMessageW(lvwFiles, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));

    CentreOnScreen(hwnd_);
}

LRESULT frmPartwright::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            Form_Command(LOWORD(wParam));
        return 0;
    case WM_NOTIFY: {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.hwndFrom == lvwFiles)
            return lvwFiles_Notify(header, lParam);
        break;
    }
    case WM_DROPFILES:
        Form_DropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_PAINT:
        Form_Paint();
        return 0;
    case WM_ACTIVATE:
        Form_Activate(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_SETCURSOR:
        if (!busyPointer_)
            break;
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
    case WM_CLOSE:
        if (logic_.Form_QueryUnload())
            DestroyWindow(hwnd_);
        return 0;
    case WM_DESTROY:
        logic_.Form_Unload();
        return 0;
    case kBuildSignalled:
        logic_.buildSignalled();
        return 0;
    default:
        break;
    }
    return WindowBase::onMessage(message, wParam, lParam);
}

void frmPartwright::Form_Command(int id)
{
    const std::pair<int, void (MainWindowController::*)()> clicks[] = {
        {ids::cmdFiles, &MainWindowController::cmdFiles_Click},
        {ids::cmdClear, &MainWindowController::cmdClear_Click},
        {ids::cmdDelete, &MainWindowController::cmdDelete_Click},
        {ids::cmdSort, &MainWindowController::cmdSort_Click},
        {ids::cmdUp, &MainWindowController::cmdUp_Click},
        {ids::cmdDown, &MainWindowController::cmdDown_Click},
        {ids::cmdDestination, &MainWindowController::cmdDestination_Click},
        {ids::cmdBuild, &MainWindowController::cmdBuild_Click},
        {ids::cmdHelp, &MainWindowController::cmdHelp_Click},
        {ids::cmdAbout, &MainWindowController::cmdAbout_Click}};
    for (const auto& [control, handler] : clicks) {
        if (control == id)
            return (logic_.*handler)();
    }
    // Enter and Esc: the window has no default button
}

LRESULT frmPartwright::lvwFiles_Notify(const NMHDR& header, LPARAM lParam)
{
    switch (header.code) {
    case LVN_KEYDOWN:
        logic_.lvwFiles_KeyDown(reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey == VK_DELETE);
        return 0;
    case NM_CUSTOMDRAW:
        return ShadeRows(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
    default:
        return 0;
    }
}

// The etched separator: a white stroke under a grey one, one pixel further right.
void frmPartwright::Form_Paint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd_, &paint);
    const auto rect = [this](const layout::Place& at) {
        return RECT{twips_.pixels(at.left), twips_.pixels(at.top),
                    twips_.pixels(at.left + at.width), twips_.pixels(at.top + at.height)};
    };
    const RECT white = rect(layout::kSeparatorWhite);
    FillRect(dc, &white, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const RECT grey = rect(layout::kSeparatorGrey);
    HBRUSH greyBrush = CreateSolidBrush(RGB(128, 128, 128));
    FillRect(dc, &grey, greyBrush);
    DeleteObject(greyBrush);
    EndPaint(hwnd_, &paint);
}

// A top-level window that is not a dialog keeps no focus of its own: it goes back where it was.
void frmPartwright::Form_Activate(bool active)
{
    if (!active) {
        HWND focus = GetFocus();
        focusWhenInactive_ = focus && IsChild(hwnd_, focus) ? focus : nullptr;
        return;
    }
    HWND focus =
        focusWhenInactive_ && IsWindowEnabled(focusWhenInactive_) ? focusWhenInactive_ : lvwFiles;
    SetFocus(IsWindowEnabled(focus) ? focus : cmdHelp);
}

void frmPartwright::Form_DropFiles(HDROP drop)
{
    std::vector<std::string> files;
    if (!isBuilding())
        files = DroppedFiles(drop);
    DragFinish(drop);
    logic_.Form_DropFiles(std::move(files));
}

bool frmPartwright::isBuilding() const
{
    return logic_.isBuilding();
}

InputList& frmPartwright::list()
{
    return *list_;
}

std::string frmPartwright::destinationText() const
{
    return TextOf(txtOuputIso);
}

void frmPartwright::setDestinationText(const std::string& text)
{
    SetText(txtOuputIso, text);
    // The caret at the end, so a long path shows its file name.
    const auto end = static_cast<WPARAM>(GetWindowTextLengthW(txtOuputIso));
    SendMessageW(txtOuputIso, EM_SETSEL, end, static_cast<LPARAM>(end));
    SendMessageW(txtOuputIso, EM_SCROLLCARET, 0, 0);
}

std::string frmPartwright::chooseFile(FileDialogKind kind)
{
    return services_.dialogs->chooseFile(hwnd_, kind);
}

void frmPartwright::report(ReportKind kind, const std::string& text)
{
    switch (kind) {
    case ReportKind::Error:
        return ShowError(*services_.dialogs, hwnd_, text);
    case ReportKind::Success:
        return ShowSuccess(*services_.dialogs, hwnd_, text);
    case ReportKind::Note:
        return ShowNote(*services_.dialogs, hwnd_, text);
    }
}

bool frmPartwright::askYesNo(const std::string& question, DefaultAnswer preferred)
{
    return AskYesNo(*services_.dialogs, hwnd_, question, preferred == DefaultAnswer::Yes);
}

void frmPartwright::showAbout()
{
    frmAbout about(hwnd_);
    about.showModal();
}

// A disabled control loses the focus; it comes back when the build ends, so the keyboard stays
// where the user left it. Meanwhile "Read Help", which stays usable, has it.
void frmPartwright::setBusy(bool busy)
{
    if (busy) {
        HWND focus = GetFocus();
        focusBeforeBuild_ = focus && IsChild(hwnd_, focus) ? focus : nullptr;
    }
    for (HWND control : {cmdFiles, cmdClear, cmdDelete, cmdSort, cmdDestination, cmdBuild, cmdAbout,
                         cmdUp, cmdDown, lvwFiles, txtOuputIso})
        EnableWindow(control, !busy);
    if (busy) {
        if (GetActiveWindow() == hwnd_ && !GetFocus())
            SetFocus(cmdHelp);
        return;
    }
    if (!focusBeforeBuild_ || !IsWindow(focusBeforeBuild_))
        return;
    if (GetActiveWindow() == hwnd_)
        SetFocus(focusBeforeBuild_);
    else
        focusWhenInactive_ = focusBeforeBuild_; // where activation puts it
}

// The window under the pointer sets it again, so the change shows without a move of the mouse.
void frmPartwright::setBusyPointer(bool busy)
{
    if (busy == busyPointer_)
        return;
    busyPointer_ = busy;
    POINT at;
    GetCursorPos(&at);
    HWND under = WindowFromPoint(at);
    if (under && GetAncestor(under, GA_ROOT) == hwnd_)
        SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

// Stopped first, so the handles may be closed once this returns.
void frmPartwright::watch(const std::vector<std::intptr_t>& waitables)
{
    waits_->stop();
    if (!waitables.empty())
        waits_->watch(waitables);
}

void frmPartwright::showProgress(BuildFlow& build)
{
    progress_ = std::make_unique<ProgressWindow>(
        hwnd_, font_, build.destination(), static_cast<int>(build.partCount()),
        [&build] { return build.figures(); }, [this] { logic_.cancelBuild(); });
}

void frmPartwright::closeProgress()
{
    progress_.reset();
}

void frmPartwright::closeWindow()
{
    DestroyWindow(hwnd_);
}

} // namespace partwright::win32
