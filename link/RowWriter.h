#pragma once
// One row of a server-fed table as CServerMessage::FillRow writes it. The row store of the
// server-fed tables implements it over the table engine's row.
#include "platform/win/WinTypes.h"

struct IMessageRowWriter
{
    virtual ~IMessageRowWriter() = default;
    virtual int  GetColumnCount() const = 0;
    virtual int  GetColumnType(int nCol) const = 0;         // COLTYPE_ of framework/base/ColumnDataType.h
    virtual int  GetColumnDecimals(int nCol) const = 0;     // the column's decimal code
    // The row's set-cell-text: the text in the column's type, with the caller's write flag.
    virtual BOOL SetCellText(int nCol, LPCSTR pszText, int nFlag) = 0;
};
