#pragma once
// Settings keys of the table engine: numeric string ids whose texts come from the language
// library, joined with indexes and sub-keys in the few forms the stored layouts use.
#include "framework/base/TBString.h"

// View keys.
#define IDS_VIEW_NAME           28000
#define IDS_VIEW_TITLE          28005
#define IDS_VIEW_SHOWHEADER     28010
#define IDS_VIEW_HIDEONCLOSE    28015
#define IDS_VIEW_ALLOWFIXED     28020
#define IDS_VIEW_ALLOWCUT       28025
#define IDS_VIEW_ALLOWPASTE     28030
#define IDS_VIEW_ALLOWSORTDLG   28035
#define IDS_VIEW_GROUPHEADER    28040
#define IDS_VIEW_TOTALS         28045
#define IDS_VIEW_ROWALERTS      28050
#define IDS_VIEW_SUMMODE        28055
#define IDS_VIEW_COLUMNS        28060
#define IDS_VIEW_ORDER          28065
#define IDS_VIEW_TITLELINE      28070
// Column keys.
#define IDS_COL_PREFIX          28100
#define IDS_COL_NAME            28105
#define IDS_COL_TITLE           28110
#define IDS_COL_SIZE            28115
#define IDS_COL_DECIMALS        28120
#define IDS_COL_SETTING         28125
#define IDS_COL_EDITABLE        28130
#define IDS_COL_OPTION          28135
#define IDS_COL_SUMMED          28140
#define IDS_COL_TYPE            28145
#define IDS_COL_SORTABLE        28150
#define IDS_COL_FLAG1           28155
#define IDS_COL_FLAG2           28160
#define IDS_COL_FLAG3           28165
#define IDS_COL_SWITCHABLE      28170
#define IDS_COL_THOUSANDS       28175
#define IDS_COL_MINDECIMALS     28180
#define IDS_COL_OMITZERO        28185
#define IDS_COL_BLANKZERO       28190
#define IDS_COL_WIDTH           28195
#define IDS_COL_HIDDEN          28200
#define IDS_COL_ALIGN           28205
#define IDS_COL_SETTING03       28206
#define IDS_COLS_COUNT          28300
#define IDS_COLS_DEFSORT        28305
#define IDS_COLS_FIXED          28310
#define IDS_COLS_SORT           28315
#define IDS_COLS_GROUP          28320
#define IDS_ORDER_COUNT         28325
#define IDS_ORDER_ENTRY         28330
// Filter keys.
#define IDS_FILTER_PREFIX       28400
#define IDS_FILTER_FLAG         28401
#define IDS_FILTER_GROUP        28402
#define IDS_FILTER_COMBINE      28403

// The text of a key id.
CTBString TableKeyText(UINT uId);
// "%s%d": the key's text and a number.
CTBString TableKey(UINT uId, int n);
// "%s%s": a prefix and the text of a key id.
CTBString TableKey(const CTBString& strPrefix, UINT uId);
// "%s%s%d": a prefix, the text of a key id and a number.
CTBString TableKey(const CTBString& strPrefix, UINT uId, int n);
// "%s_%s": a key and the text of a sub-key id.
CTBString TableSubKey(const CTBString& strKey, UINT uId);
// A sub-section: the current section, "." and the text of a key id.
CTBString TableSubSection(const CTBString& strSection, UINT uId);
