#pragma once

// Numbers of the program file's resources, shared by partwright.rc and the windows that load
// them. Macros only: the resource compiler reads this file too. The program icon has the lowest
// number, so Explorer shows it for the program file.
#define PARTWRIGHT_ICON_PROGRAM 1
#define PARTWRIGHT_ICON_ABOUT 2
#define PARTWRIGHT_ICON_UP 3
#define PARTWRIGHT_ICON_DOWN 4
#define PARTWRIGHT_ICON_QUESTION 5
#define PARTWRIGHT_BITMAP_QUILLON 10
