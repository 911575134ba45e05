#pragma once

#include <string>

namespace partwright::layout {

// The main window as it is drawn, in twips (1440 to the inch, 15 to a pixel at 96 dots per inch),
// the same on every system: each window makes its own controls from these.
struct Place {
    int left = 0;
    int top = 0;
    int width = 0; // 0 for a label: sized to its text
    int height = 0;
};

struct Control {
    const char* name;    // the control's name in the code and the tests
    const char* caption; // with '&' before its access key; a picture button's spoken name
    const char* tooltip; // nullptr: none
    Place place;
};

inline constexpr Place kWindow{0, 0, 6645, 3825};

// In tab order.
inline constexpr Control kLblFiles{"lblFiles", "Input files:", nullptr, {1440, 120, 0, 0}};
inline constexpr Control kLvwFiles{"lvwFiles",
                                   "Input files",
                                   "Input files that should be pasted together",
                                   {1440, 360, 3375, 2055}};
inline constexpr Control kCmdFiles{
    "cmdFiles",
    "&Files...",
    "Select the files that should be pasted together (multiselect is available)...",
    {5280, 360, 1215, 375}};
inline constexpr Control kCmdClear{
    "cmdClear", "&Clear", "Clear all input files", {5280, 840, 1215, 375}};
inline constexpr Control kCmdDelete{"cmdDelete",
                                    "&Delete",
                                    "Clear selected input files (multiselect is available)",
                                    {5280, 1320, 1215, 375}};
inline constexpr Control kCmdSort{
    "cmdSort", "&Sort", "Sort all input files", {5280, 1800, 1215, 375}};
inline constexpr Control kCmdUp{"cmdUp",
                                "Move up",
                                "Move all selected input files up (multiselect is available)",
                                {4920, 360, 255, 255}};
inline constexpr Control kCmdDown{"cmdDown",
                                  "Move down",
                                  "Move all selected input files down (multiselect is available)",
                                  {4920, 600, 255, 255}};
inline constexpr Control kLblDestination{
    "lblDestination", "Destination file:", nullptr, {1440, 2520, 0, 0}};
inline constexpr Control kTxtOuputIso{
    "txtOuputIso", "Destination file", "Destination file", {1440, 2760, 3375, 285}};
inline constexpr Control kCmdDestination{
    "cmdDestination", "D&estination...", "Choose destination file", {5280, 2730, 1215, 375}};
inline constexpr Control kCmdBuild{
    "cmdBuild", "&Build", "Build all input files to the destination file", {5280, 3360, 1215, 375}};
inline constexpr Control kCmdHelp{
    "cmdHelp", "Read &Help", "Open the help file in the text viewer", {120, 3360, 1215, 375}};
inline constexpr Control kCmdAbout{
    "cmdAbout", "About Partwright", "Help...", {1440, 3360, 375, 375}};
inline constexpr Control kImgQuillon{
    "imgQuillon", "Partwright picture", "Nice picture, huh?", {120, 360, 1050, 1050}};

// The etched separator: a white stroke under a grey one, one pixel further right.
inline constexpr Place kSeparatorWhite{105, 3240, 6480 - 105, 30};
inline constexpr Place kSeparatorGrey{90, 3240, 6480 - 90, 15};

// "Partwright [1.1.0] by Quillon".
std::string WindowTitle();

} // namespace partwright::layout
