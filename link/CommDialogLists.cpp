// The lists of the connection dialogs, one description each: an item's label is a string of the
// language module or a formatted number, its data the value stored in the settings.
#include <cstdio>
#include "link/CommDialogs.h"
#include "platform/win/user/Controls.h"

namespace {
struct COMM_LIST_ITEM
{
    UINT nLabelId;                      // a string id, or 0: the label is pszFormat with the value
    const char* pszFormat;
    int  nValue;
};

const COMM_LIST_ITEM s_ports[] = {
    {0, "COM%d", 1}, {0, "COM%d", 2}, {0, "COM%d", 3}, {0, "COM%d", 4}, {0, "Dual", COMM_PORT_DUAL},
};
const COMM_LIST_ITEM s_speeds[] = {
    {IDS_COMM_SPEED_FIRST + 0, nullptr, 110},     {IDS_COMM_SPEED_FIRST + 1, nullptr, 300},
    {IDS_COMM_SPEED_FIRST + 2, nullptr, 600},     {IDS_COMM_SPEED_FIRST + 3, nullptr, 1200},
    {IDS_COMM_SPEED_FIRST + 4, nullptr, 2400},    {IDS_COMM_SPEED_FIRST + 5, nullptr, 4800},
    {IDS_COMM_SPEED_FIRST + 6, nullptr, 9600},    {IDS_COMM_SPEED_FIRST + 7, nullptr, 14400},
    {IDS_COMM_SPEED_FIRST + 8, nullptr, 19200},   {IDS_COMM_SPEED_FIRST + 9, nullptr, 38400},
    {IDS_COMM_SPEED_FIRST + 10, nullptr, 56000},  {IDS_COMM_SPEED_FIRST + 11, nullptr, 128000},
    {IDS_COMM_SPEED_FIRST + 12, nullptr, 256000},
};
const COMM_LIST_ITEM s_byteSizes[] = {{0, "%d", 5}, {0, "%d", 6}, {0, "%d", 7}, {0, "%d", 8}};
// Labels in the order none, even, odd, mark, space; the values are the serial layer's.
const COMM_LIST_ITEM s_parities[] = {
    {IDS_COMM_PARITY_FIRST + 0, nullptr, 0}, {IDS_COMM_PARITY_FIRST + 1, nullptr, 2},
    {IDS_COMM_PARITY_FIRST + 2, nullptr, 1}, {IDS_COMM_PARITY_FIRST + 3, nullptr, 3},
    {IDS_COMM_PARITY_FIRST + 4, nullptr, 4},
};
const COMM_LIST_ITEM s_stopBits[] = {{IDS_COMM_STOPBITS, nullptr, 0}};

struct COMM_LIST_DESC
{
    const COMM_LIST_ITEM* pItems;
    int nCount;
};
#define COMM_LIST_OF(a) {a, static_cast<int>(sizeof(a) / sizeof((a)[0]))}
const COMM_LIST_DESC s_lists[] = {
    COMM_LIST_OF(s_ports), COMM_LIST_OF(s_speeds), COMM_LIST_OF(s_byteSizes), COMM_LIST_OF(s_parities),
    COMM_LIST_OF(s_stopBits),
};
}  // namespace

void FillCommList(HWND hCombo, COMM_LIST list, int nValue)
{
    if (!hCombo || list < 0 || static_cast<size_t>(list) >= sizeof(s_lists) / sizeof(s_lists[0]))
        return;
    SendMessageA(hCombo, CB_RESETCONTENT, 0, 0);
    const COMM_LIST_DESC& desc = s_lists[list];
    int nSelect = 0;
    for (int i = 0; i < desc.nCount; ++i) {
        const COMM_LIST_ITEM& item = desc.pItems[i];
        CString strLabel;
        char szLabel[32];
        if (!item.nLabelId || !strLabel.LoadString(item.nLabelId)) {
            snprintf(szLabel, sizeof szLabel, item.pszFormat ? item.pszFormat : "%d", item.nValue);
            strLabel = szLabel;
        }
        const LRESULT nIndex = SendMessageA(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strLabel)));
        if (nIndex < 0)
            continue;
        SendMessageA(hCombo, CB_SETITEMDATA, static_cast<WPARAM>(nIndex), item.nValue);
        if (item.nValue == nValue)
            nSelect = static_cast<int>(nIndex);
    }
    SendMessageA(hCombo, CB_SETCURSEL, static_cast<WPARAM>(nSelect), 0);
}

int GetCommListValue(HWND hCombo, int nDefault)
{
    if (!hCombo)
        return nDefault;
    const LRESULT nIndex = SendMessageA(hCombo, CB_GETCURSEL, 0, 0);
    if (nIndex < 0)
        return nDefault;
    return static_cast<int>(SendMessageA(hCombo, CB_GETITEMDATA, static_cast<WPARAM>(nIndex), 0));
}
