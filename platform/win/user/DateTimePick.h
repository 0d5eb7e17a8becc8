#pragma once
// The date picker "SysDateTimePick32": a date (and time) shown in a format of fields, each field
// chosen with the mouse or the arrow keys and changed with Up and Down or typed digits. With
// DTS_SHOWNONE a check box before the fields says whether there is a date at all; unchecked, the
// picker holds no date (GDT_NONE). Every change the user makes reaches the parent as WM_NOTIFY
// with DTN_DATETIMECHANGE; a change by DTM_SETSYSTEMTIME does not. A window with
// WS_EX_LAYOUTRTL or WS_EX_RTLREADING is mirrored: the check box at the right, the drop button
// at the left, the text against the right edge.
#include "platform/win/Records.h"
#include "platform/win/WinTypes.h"
#include "platform/win/user/CommCtrl.h"

#define DATETIMEPICK_CLASSA "SysDateTimePick32"

#define DTS_UPDOWN          0x0001
#define DTS_SHOWNONE        0x0002
#define DTS_SHORTDATEFORMAT 0x0000
#define DTS_LONGDATEFORMAT  0x0004
#define DTS_TIMEFORMAT      0x0009
#define DTS_APPCANPARSE     0x0010
#define DTS_RIGHTALIGN      0x0020

#define GDT_ERROR (-1)
#define GDT_VALID 0
#define GDT_NONE  1

#define DTM_FIRST         0x1000
#define DTM_GETSYSTEMTIME (DTM_FIRST + 1)   // lParam SYSTEMTIME*: GDT_VALID (filled) or GDT_NONE
#define DTM_SETSYSTEMTIME (DTM_FIRST + 2)   // wParam GDT_VALID (lParam the date) or GDT_NONE; 0 refused
#define DTM_SETFORMATA    (DTM_FIRST + 5)   // lParam the format; null: the default "dd/MM/yyyy"

// Format fields: d dd ddd dddd (day, weekday names), M MM MMM MMMM, y yy yyyy, h hh H HH, m mm,
// s ss, t tt; text in single quotes ('' for a quote) and any other character stand as written.

#define DTN_FIRST2          (0U - 753U)
#define DTN_DATETIMECHANGE  (DTN_FIRST2 - 6)
struct NMDATETIMECHANGE {
    NMHDR nmhdr;
    DWORD dwFlags;          // GDT_VALID: st holds the date; GDT_NONE: the box was unchecked
    SYSTEMTIME st;
};
typedef NMDATETIMECHANGE* LPNMDATETIMECHANGE;
