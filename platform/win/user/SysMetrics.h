#pragma once
// System metrics and colours: the classic desktop scheme, fixed so that pixels are predictable.
#include "platform/win/WinTypes.h"

#define SM_CXSCREEN        0
#define SM_CYSCREEN        1
#define SM_CXVSCROLL       2
#define SM_CYHSCROLL       3
#define SM_CYCAPTION       4
#define SM_CXBORDER        5
#define SM_CYBORDER        6
#define SM_CXDLGFRAME      7
#define SM_CYDLGFRAME      8
#define SM_CYVTHUMB        9
#define SM_CXHTHUMB        10
#define SM_CXICON          11
#define SM_CYICON          12
#define SM_CXCURSOR        13
#define SM_CYCURSOR        14
#define SM_CYMENU          15
#define SM_CXFULLSCREEN    16
#define SM_CYFULLSCREEN    17
#define SM_MOUSEPRESENT    19
#define SM_CYVSCROLL       20
#define SM_CXHSCROLL       21
#define SM_SWAPBUTTON      23
#define SM_CXMIN           28
#define SM_CYMIN           29
#define SM_CXSIZE          30
#define SM_CYSIZE          31
#define SM_CXFRAME         32
#define SM_CYFRAME         33
#define SM_CXMINTRACK      34
#define SM_CYMINTRACK      35
#define SM_CXDOUBLECLK     36
#define SM_CYDOUBLECLK     37
#define SM_CXEDGE          45
#define SM_CYEDGE          46
#define SM_CXSMICON        49
#define SM_CYSMICON        50
#define SM_CXMAXIMIZED     61
#define SM_CYMAXIMIZED     62
#define SM_CXDRAG          68
#define SM_CYDRAG          69
#define SM_CMONITORS       80

#define COLOR_SCROLLBAR           0
#define COLOR_BACKGROUND          1
#define COLOR_DESKTOP             1
#define COLOR_ACTIVECAPTION       2
#define COLOR_INACTIVECAPTION     3
#define COLOR_MENU                4
#define COLOR_WINDOW              5
#define COLOR_WINDOWFRAME         6
#define COLOR_MENUTEXT            7
#define COLOR_WINDOWTEXT          8
#define COLOR_CAPTIONTEXT         9
#define COLOR_ACTIVEBORDER        10
#define COLOR_INACTIVEBORDER      11
#define COLOR_APPWORKSPACE        12
#define COLOR_HIGHLIGHT           13
#define COLOR_HIGHLIGHTTEXT       14
#define COLOR_BTNFACE             15
#define COLOR_3DFACE              15
#define COLOR_BTNSHADOW           16
#define COLOR_3DSHADOW            16
#define COLOR_GRAYTEXT            17
#define COLOR_BTNTEXT             18
#define COLOR_INACTIVECAPTIONTEXT 19
#define COLOR_BTNHIGHLIGHT        20
#define COLOR_BTNHILIGHT          20
#define COLOR_3DHIGHLIGHT         20
#define COLOR_3DHILIGHT           20
#define COLOR_3DDKSHADOW          21
#define COLOR_3DLIGHT             22
#define COLOR_INFOTEXT            23
#define COLOR_INFOBK              24
#define COLOR_HOTLIGHT            26
#define COLOR_GRADIENTACTIVECAPTION   27
#define COLOR_GRADIENTINACTIVECAPTION 28
#define TB_SYSCOLOR_COUNT         31

int      GetSystemMetrics(int nIndex);          // 0 for an unknown index
COLORREF GetSysColor(int nIndex);               // 0 for an unknown index
HBRUSH   GetSysColorBrush(int nIndex);          // a stock brush; null for an unknown index
// Changes colours for the whole program and sends WM_SYSCOLORCHANGE to the top-level windows.
BOOL     SetSysColors(int cElements, const INT* pIndexes, const COLORREF* pValues);
