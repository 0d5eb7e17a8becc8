#pragma once
#include "framework/base/ColumnDataType.h"
#include "framework/base/TBString.h"
#include "framework/table/CustSumLine.h"

class CIni;

// Computed columns (type 99) ask this for a cell's text; FALSE falls back to the number.
typedef BOOL (*TBCOLUMNFORMAT)(char* pszBuf, int nSize, const TBCellSlot* pRow, int nUserValue);
// An amount whose decimals follow its row's unit (a currency named in another column): the
// decimal code a cell of a column of code nDecimals shows for the unit's text.
typedef int (*TBUNITDECIMALS)(const char* pszUnit, int nDecimals);

#define ALIGN_LEFT      0
#define ALIGN_CENTER    1
#define ALIGN_RIGHT     2

// The largest text size a settings file may give a column.
#define TEXT_SIZE_MAX   4096

// One column of one view: its data type with the number format, text size, width, flags,
// name, two titles, alignment, decimal code and custom sum line. Owned by the view's CTableColumns.
class CTableColumn : public CColumnDataType
{
public:
    CTableColumn();
    CTableColumn(const CTableColumn& other) : CColumnDataType(other) { CopyFrom(other); }
    CTableColumn& operator=(const CTableColumn& other) { CopyFrom(other); return *this; }
    void CopyFrom(const CTableColumn& other);

    // The title of the framework's current language.
    const CTBString& GetTitle() const;
    const CTBString& GetTitleAt(int nLanguage) const { return m_strTitle[nLanguage == 1 ? 1 : 0]; }
    // 1 plus the line feeds of the current title.
    int  GetTitleLines() const;
    // -99 (sixty-fourths) for type 4, and for type 1 when the cell shows sixty-fourths.
    int  GetDecimals(BOOL bFraction) const
    {
        if (m_nType == COLTYPE_INT || (m_nType == COLTYPE_INT32 && bFraction))
            return DECIMALS_64THS;
        return m_chDecimals;
    }
    // The decimal code of a row's cell: its unit's where the column has one, else the column's.
    int  GetRowDecimals(const TBCellSlot* pRow, BOOL bFraction) const;
    // A row's double rounded to the decimals its cell shows (as it is, where they are not fixed).
    double ShownDouble(const TBCellSlot* pRow, double dValue, BOOL bFraction) const;
    // Bytes this column takes in a row's value block, its slot included.
    int  GetValueSize() const;
    // Bytes of out-of-line storage (0 for values that live in the slot).
    int  GetStorageSize() const;
    // A one-cell value block (slot and storage), zero-filled; free with FreeValue.
    TBCellSlot* AllocValue() const;
    static void FreeValue(TBCellSlot* pValue);
    // Room for the whole text of any value of the column, terminator included: a double's 309
    // whole digits with their thousands separators and up to 98 fraction digits, or the text.
    int  GetFullTextSize() const { return m_nSize >= 1024 ? m_nSize + 1 : 1024; }
    // Typed text into a one-cell value of this column, as a paste or an edit reads a cell. FALSE
    // also for a text whose value would show as another, so that what a copy writes pastes back.
    BOOL ParseCellText(TBCellSlot* pValue, int nDecimals, const char* pszText) const;
    void RecalcAlignment();
    int  GetEffectiveAlignment() const { return m_nEffAlign; }

    // Definition and layout keys, under the prefix of column nIndex. Load refuses (0) a
    // definition with an invalid data type and then changes nothing.
    void Save(CIni* pLayout, CIni* pDefinition, int nIndex) const;
    BOOL Load(CIni* pLayout, CIni* pDefinition, int nIndex);

    int  m_nSize = 25;                  // characters of a cell's text buffer, terminator included
    int  m_nWidth = 75;                 // pixels
    // The width follows what the column holds (its widest text and its title, grown as wider
    // ones come) until the user sets one; a layout saves such a width as 0.
    BOOL m_bFitWidth = FALSE;
    // A fitted text (a name, a description) that gives its room to the other columns where the
    // window is too narrow for all of them, its whole text then in the cell's tip.
    BOOL m_bFitYields = FALSE;
    // A fitted word (a code's text: a side, an order type) that gives its room after the texts
    // have given theirs, so that the figures still stand in view; its whole text in the tip too.
    BOOL m_bFitYieldsLast = FALSE;
    LONG m_lSetting = 0;
    BOOL m_bEditable = FALSE;
    BOOL m_bOptionFlag = TRUE;
    BOOL m_bSummed = FALSE;
    BOOL m_bHidden = FALSE;
    BOOL m_bSortable = TRUE;
    BOOL m_bFlag1 = TRUE;
    BOOL m_bFlag2 = TRUE;
    BOOL m_bFlag3 = TRUE;
    BOOL m_bUserSwitchable = TRUE;      // the user may show or hide it
    int  m_nSetting03 = 3;              // 0 to 3
    CTBString m_strName;
    CTBString m_strTitle[2];
    int  m_nAlign = ALIGN_LEFT;
    int  m_nUserValue = 0;
    TBCOLUMNFORMAT m_pfnFormat = nullptr;
    signed char m_chDecimals = 0;
    int  m_nUnitColumn = -1;            // a text column naming each row's unit (its currency)
    TBUNITDECIMALS m_pfnUnitDecimals = nullptr;
    CCustSumLine m_custSum;

private:
    int  m_nEffAlign = ALIGN_LEFT;
};
