#pragma once
// The elements of the four header and footer lists of a printed page: texts (with page fields
// such as "<PAGE>"), bitmaps, separator gaps and filled lines, placed left, centred, right or
// across the full width. The factories append to a list; the list operations prepare, measure
// and draw a whole list for the engine. CTablePrintFields holds the page fields' values.
#include "framework/base/OwnedPtrArray.h"
#include "framework/base/TBString.h"
#include "framework/print/PrintLayout.h"
#include "framework/window/TBFont.h"

class CTablePrint;
class CTablePrintHeader;
typedef CTBOwnedPtrArray<CTablePrintHeader> CTablePrintHeaderList;

// Alignments; under right-to-left reading left and right swap.
#define PRINT_ALIGN_LEFT    1
#define PRINT_ALIGN_CENTER  2
#define PRINT_ALIGN_RIGHT   3
#define PRINT_ALIGN_FULL    4

// The named values a header text shows in place of "<NAME>".
class CTablePrintFields
{
public:
    enum { FIELD_PAGE, FIELD_LASTPAGE, FIELD_COLUMNS, FIELD_ROWS, FIELD_GROUPS, FIELD_COUNT };
    CTablePrintFields();
    // An index outside the names does nothing.
    void SetValue(int nIndex, const char* pszText);
    void SetNumber(int nIndex, long nValue);
    const char* Lookup(const char* pszName) const;          // null for an unknown name
    // The text with each known "<NAME>" replaced (exact case); unknown names and a "<" without
    // a closing ">" stay as they are.
    CTBString Substitute(const char* pszText) const;

private:
    static const char* const s_names[FIELD_COUNT];
    CTBString m_values[FIELD_COUNT];
};

class CTablePrintHeader
{
public:
    virtual ~CTablePrintHeader() = default;
    virtual void Prepare(HDC) {}
    virtual void Release(HDC) {}
    // The element's size as a rectangle from 0, 0; prc comes in as wide as its column so far.
    virtual void Measure(HDC hdc, RECT* prc) = 0;
    virtual void Draw(HDC hdc, const RECT& rc, const CPrintPage& page, CTablePrint* pPrint) = 0;

    // Factories: each appends a new element and returns it.
    static CTablePrintHeader* AddText(CTablePrintHeaderList& list, const char* pszText, const LOGFONTA& lf,
                                      int nAlign, COLORREF crText, COLORREF crBack, int nIndentMm);
    static CTablePrintHeader* AddBitmap(CTablePrintHeaderList& list, HBITMAP hBitmap, int nResX, int nResY,
                                        int nAlign, int nIndentMm);
    static CTablePrintHeader* AddSeparator(CTablePrintHeaderList& list, int nPoints, int nAlign, COLORREF crColor,
                                           int nIndentMm);
    static CTablePrintHeader* AddLine(CTablePrintHeaderList& list, int nThickness, COLORREF crColor, int nAlign,
                                      int nIndentMm);

    // The list as a whole. MeasureList places every element and returns the list's height.
    static void PrepareList(CTablePrintHeaderList& list, HDC hdc);
    static void ReleaseList(CTablePrintHeaderList& list, HDC hdc);
    static int  MeasureList(CTablePrintHeaderList& list, HDC hdc);
    static void DrawList(CTablePrintHeaderList& list, HDC hdc, const RECT& rcArea, const CPrintPage& page,
                         CTablePrint* pPrint);

    // The alignment in effect: left and right swap under right-to-left reading.
    int  GetEffectiveAlign() const;
    const RECT& GetPlaced() const { return m_rcPlaced; }

protected:
    UINT TextFlags() const;

    RECT m_rcPlaced = {0, 0, 0, 0};     // relative to the list's area
    int  m_nAlign = PRINT_ALIGN_CENTER;
    int  m_nIndentMm = 0;
    int  m_nIndent = 0;                 // device units, set by measuring
};
