#include "Version.h"
#include "help/HelpFile.h"
#include "join/Destination.h"
#include "join/PasteString.h"
#include "join/SystemJoin.h"
#include "list/FileNames.h"
#include "list/ListOperations.h"
#include "list/PickedParts.h"
#include "platform/HelpViewer.h"
#include "platform/NativePaths.h"
#include "platform/WideText_win.h"
#include "text/DisplayText.h"
#include "text/Messages.h"
#include "win32/ControlIds.h"
#include "win32/Controls.h"
#include "win32/ListViewControl.h"
#include "win32/ProgressWindow.h"
#include "win32/ResourceIds.h"
#include "win32/frmAbout.h"
#include "win32/frmPartwright.h"

#include <commctrl.h>
#include <exception>
#include <filesystem>
#include <shellapi.h>
#include <stdexcept>

namespace partwright::win32 {

namespace {

constexpr char kSeparator = '\\';
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

frmPartwright::frmPartwright(WindowServices services) : services_(std::move(services))
{
    font_ = CreateMessageFont();
    create({classes::kMain, "", kStyle, WS_EX_CONTROLPARENT, nullptr, twips_.pixels(6645),
            twips_.pixels(3825)});
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
    // Created in tab order: the dialog keys follow the order of creation.
    const auto button = [this](int id, const char* caption, const Box& box) {
        return CreateControl(hwnd_, id, WC_BUTTONW, caption, kButtonStyle, box, font_);
    };
    // The caption of a picture button is not shown; a screen reader reads it out.
    const auto pictureButton = [this](int id, const char* name, HICON picture, const Box& box) {
        HWND control =
            CreateControl(hwnd_, id, WC_BUTTONW, name, kButtonStyle | BS_ICON, box, font_);
        SendMessageW(control, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(picture));
        return control;
    };
    const auto label = [this](int id, const char* caption, int left, int top) {
        const SIZE size = TextExtent(hwnd_, font_, caption); // sized to its text
        return CreateControl(hwnd_, id, WC_STATICW, caption, WS_VISIBLE | SS_LEFT,
                             {twips_.pixels(left), twips_.pixels(top), size.cx, size.cy}, font_);
    };

    lblFiles = label(ids::lblFiles, "Input files:", 1440, 120);
    lvwFiles =
        CreateControl(hwnd_, ids::lvwFiles, WC_LISTVIEWW, "",
                      WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SHOWSELALWAYS,
                      twips_.box(1440, 360, 3375, 2055), font_, WS_EX_CLIENTEDGE);
    list_ = std::make_unique<ListViewControl>(lvwFiles);
    SetWindowSubclass(lvwFiles, ReportSystemKeys, 0, 0);

    cmdFiles = button(ids::cmdFiles, "&Files...", twips_.box(5280, 360, 1215, 375));
    cmdClear = button(ids::cmdClear, "&Clear", twips_.box(5280, 840, 1215, 375));
    cmdDelete = button(ids::cmdDelete, "&Delete", twips_.box(5280, 1320, 1215, 375));
    cmdSort = button(ids::cmdSort, "&Sort", twips_.box(5280, 1800, 1215, 375));
    upIcon_ = LoadIconResource(PARTWRIGHT_ICON_UP, 14, 15);
    cmdUp = pictureButton(ids::cmdUp, "Move up", upIcon_, twips_.box(4920, 360, 255, 255));
    downIcon_ = LoadIconResource(PARTWRIGHT_ICON_DOWN, 14, 15);
    cmdDown = pictureButton(ids::cmdDown, "Move down", downIcon_, twips_.box(4920, 600, 255, 255));

    lblDestination = label(ids::lblDestination, "Destination file:", 1440, 2520);
    txtOuputIso = CreateControl(hwnd_, ids::txtOuputIso, WC_EDITW, "",
                                WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                                twips_.box(1440, 2760, 3375, 285), font_, WS_EX_CLIENTEDGE);
    cmdDestination =
        button(ids::cmdDestination, "D&estination...", twips_.box(5280, 2730, 1215, 375));
    cmdBuild = button(ids::cmdBuild, "&Build", twips_.box(5280, 3360, 1215, 375));
    cmdHelp = button(ids::cmdHelp, "Read &Help", twips_.box(120, 3360, 1215, 375));
    questionIcon_ = LoadIconResource(PARTWRIGHT_ICON_QUESTION, 16, 16);
    cmdAbout = pictureButton(ids::cmdAbout, "About Partwright", questionIcon_,
                             twips_.box(1440, 3360, 375, 375));

    // SS_NOTIFY lets the picture see the mouse, for its tooltip.
    imgQuillon =
        CreateControl(hwnd_, ids::imgQuillon, WC_STATICW, "", WS_VISIBLE | SS_BITMAP | SS_NOTIFY,
                      twips_.box(120, 360, 1050, 1050), font_);
    quillon_ = LoadBitmapResource(PARTWRIGHT_BITMAP_QUILLON);
    SendMessageW(imgQuillon, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(quillon_));
}

void frmPartwright::addTooltips()
{
    tooltips_ = CreateTooltips(hwnd_);
    const std::pair<HWND, const char*> tips[] = {
        {lvwFiles, "Input files that should be pasted together"},
        {cmdFiles, "Select the files that should be pasted together (multiselect is available)..."},
        {cmdClear, "Clear all input files"},
        {cmdDelete, "Clear selected input files (multiselect is available)"},
        {cmdSort, "Sort all input files"},
        {cmdUp, "Move all selected input files up (multiselect is available)"},
        {cmdDown, "Move all selected input files down (multiselect is available)"},
        {txtOuputIso, "Destination file"},
        {cmdDestination, "Choose destination file"},
        {cmdBuild, "Build all input files to the destination file"},
        {cmdHelp, "Open the help file in the text viewer"},
        {cmdAbout, "Help..."},
        {imgQuillon, "Nice picture, huh?"},
    };
    for (const auto& [control, text] : tips)
        AddTooltip(tooltips_, control, text);
}

void frmPartwright::Form_Load()
{
    showDestination(kDefaultImageName);

    const std::string version = std::string("[").append(VersionTriple()).append("]");
    SetText(hwnd_, PasteString(" ", {"Partwright", version, "by Quillon"}));

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
        if (Form_QueryUnload())
            DestroyWindow(hwnd_);
        return 0;
    case WM_DESTROY:
        progress_.reset();
        waits_->stop();
        build_.reset();
        return 0;
    case kBuildSignalled:
        buildSignalled();
        return 0;
    default:
        break;
    }
    return WindowBase::onMessage(message, wParam, lParam);
}

void frmPartwright::Form_Command(int id)
{
    switch (id) {
    case ids::cmdFiles:
        return cmdFiles_Click();
    case ids::cmdClear:
        return cmdClear_Click();
    case ids::cmdDelete:
        return cmdDelete_Click();
    case ids::cmdSort:
        return cmdSort_Click();
    case ids::cmdUp:
        return cmdUp_Click();
    case ids::cmdDown:
        return cmdDown_Click();
    case ids::cmdDestination:
        return cmdDestination_Click();
    case ids::cmdBuild:
        return cmdBuild_Click();
    case ids::cmdHelp:
        return cmdHelp_Click();
    case ids::cmdAbout:
        return cmdAbout_Click();
    default:
        return; // Enter and Esc: the window has no default button
    }
}

LRESULT frmPartwright::lvwFiles_Notify(const NMHDR& header, LPARAM lParam)
{
    switch (header.code) {
    case LVN_KEYDOWN:
        lvwFiles_KeyDown(reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey);
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
    const int top = twips_.pixels(3240);
    const RECT white{twips_.pixels(105), top, twips_.pixels(6480), top + twips_.pixels(30)};
    FillRect(dc, &white, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const RECT grey{twips_.pixels(90), top, twips_.pixels(6480), top + twips_.pixels(15)};
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

void frmPartwright::cmdFiles_Click()
{
    try {
        const std::string result = services_.dialogs->chooseFile(hwnd_, FileDialogKind::Open);
        if (result.empty())
            return;

        std::string directory;
        std::vector<std::string> paths;
        if (!SplitFileNames(result, kSeparator, directory, paths)) {
            ShowError(*services_.dialogs, hwnd_, messages::InvalidFiles());
            return;
        }
        addPickedParts(directory, std::move(paths));
    } catch (const std::exception& error) {
        ShowError(*services_.dialogs, hwnd_,
                  messages::FileCouldNotBeOpened(messages::DetailsOf(error)));
    }
}

void frmPartwright::addPickedParts(const std::string& directory, std::vector<std::string> paths)
{
    showDestination(AddPickedParts(*list_, directory, std::move(paths)));
}

void frmPartwright::Form_DropFiles(HDROP drop)
{
    std::vector<std::string> files;
    if (!isBuilding())
        files = DroppedFiles(drop);
    DragFinish(drop);
    if (files.empty())
        return;
    try {
        const std::string directory = DirectoryOfDrop(files, kSeparator);
        addPickedParts(directory, std::move(files));
    } catch (const std::exception& error) {
        ShowError(*services_.dialogs, hwnd_,
                  messages::FileCouldNotBeOpened(messages::DetailsOf(error)));
    }
}

void frmPartwright::cmdClear_Click()
{
    list_->clear();
}

void frmPartwright::cmdDelete_Click()
{
    DeleteSelected(*list_);
}

// Shift, Ctrl and Alt make no difference.
void frmPartwright::lvwFiles_KeyDown(WORD KeyCode)
{
    if (KeyCode == VK_DELETE)
        DeleteSelected(*list_);
}

void frmPartwright::cmdSort_Click()
{
    try {
        SortListview(*list_);
    } catch (const std::exception&) {
        // A failed sort ends silently; what it did stays done.
    }
}

void frmPartwright::cmdUp_Click()
{
    MoveListview(*list_, -1);
}

void frmPartwright::cmdDown_Click()
{
    MoveListview(*list_, 1);
}

void frmPartwright::cmdDestination_Click()
{
    try {
        const std::string chosen = services_.dialogs->chooseFile(hwnd_, FileDialogKind::Save);
        if (!chosen.empty() && IsIsoName(chosen))
            showDestination(chosen);
    } catch (const std::exception& error) {
        ShowError(*services_.dialogs, hwnd_,
                  messages::FileCouldNotBeCreated(messages::DetailsOf(error)));
    }
}

void frmPartwright::cmdHelp_Click()
{
    std::string path;
    try {
        path = ProgramDirectory();
        path = HelpFilePath(path, kSeparator);
        if (!StartHelpViewer(path))
            throw std::runtime_error("the help viewer cannot be started");
    } catch (const std::exception&) {
        ShowError(*services_.dialogs, hwnd_, messages::HelpCannotBeOpened(path));
    }
}

void frmPartwright::cmdAbout_Click()
{
    frmAbout about(hwnd_);
    about.showModal();
}

void frmPartwright::showDestination(const std::string& path)
{
    shownDestination_ = {DisplayText(path), path};
    SetText(txtOuputIso, shownDestination_.text);
    // The caret at the end, so a long path shows its file name.
    const auto end = static_cast<WPARAM>(GetWindowTextLengthW(txtOuputIso));
    SendMessageW(txtOuputIso, EM_SETSEL, end, static_cast<LPARAM>(end));
    SendMessageW(txtOuputIso, EM_SCROLLCARET, 0, 0);
}

// Text the user typed is taken as it is.
std::string frmPartwright::destinationPath() const
{
    const std::string text = TextOf(txtOuputIso);
    return text == shownDestination_.text ? shownDestination_.path : text;
}

} // namespace partwright::win32
