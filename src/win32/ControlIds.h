#pragma once

// The windows' control IDs, for WM_COMMAND, GetDlgItem and the tests that drive the windows.
// IDOK (1) and IDCANCEL (2) are what Enter and Esc send, so only the About window's OK button and
// the progress window's Cancel button carry them.
namespace partwright::win32::ids {

// frmPartwright
inline constexpr int lblFiles = 101;
inline constexpr int lvwFiles = 102;
inline constexpr int cmdFiles = 103;
inline constexpr int cmdClear = 104;
inline constexpr int cmdDelete = 105;
inline constexpr int cmdSort = 106;
inline constexpr int cmdUp = 107;
inline constexpr int cmdDown = 108;
inline constexpr int lblDestination = 109;
inline constexpr int txtOuputIso = 110;
inline constexpr int cmdDestination = 111;
inline constexpr int cmdBuild = 112;
inline constexpr int cmdHelp = 113;
inline constexpr int cmdAbout = 114;
inline constexpr int imgQuillon = 115;

// frmAbout; its OK button is IDOK
inline constexpr int lblDescription = 201;
inline constexpr int lblTitle = 202;
inline constexpr int lblVersion = 203;
inline constexpr int imgDisc = 204;

// The progress window; its Cancel button is IDCANCEL
inline constexpr int lblAction = 301;
inline constexpr int lblTarget = 302;
inline constexpr int barProgress = 303;
inline constexpr int lblFigures = 304;

} // namespace partwright::win32::ids

// The window classes of the program's own windows, by which the tests find the windows the program
// opens by itself.
namespace partwright::win32::classes {

inline constexpr wchar_t kMain[] = L"PartwrightMain";
inline constexpr wchar_t kAbout[] = L"PartwrightAbout";
inline constexpr wchar_t kProgress[] = L"PartwrightProgress";

} // namespace partwright::win32::classes
