#pragma once
// The class library's device context: a wrapper of an HDC. CPaintDC paints a window between
// BeginPaint and EndPaint, CClientDC draws into its client area at once. The drawing members
// come with the code that paints through them; the handle works with every GDI call meanwhile.
// A printer DC (CreateDC) prints through the same members between StartDoc and EndDoc.
#include "platform/mfc/GdiObject.h"
#include "platform/mfc/Object.h"
#include "platform/mfc/Rect.h"
#include "platform/mfc/String.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/gdi/Print.h"
#include "platform/win/user/Paint.h"

class CWnd;

class CDC : public CObject
{
public:
    CDC() = default;
    explicit CDC(HDC hdc) : m_hDC(hdc) {}       // borrows the handle
    ~CDC() override;                            // deletes a DC of its own CreateCompatibleDC
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // A temporary object over a handle, owning nothing, freed when the program is next idle.
    static CDC* FromHandle(HDC hdc);
    static void DeleteTempMap();
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    BOOL Attach(HDC hdc);                       // FALSE for null or when one is attached
    HDC Detach();
    // A memory DC like pDC's (the screen's for null), owned by the object.
    BOOL CreateCompatibleDC(CDC* pDC);
    // A printer's DC or information DC, owned by the object; pInitData a DEVMODEA or null.
    BOOL CreateDC(LPCSTR pszDriver, LPCSTR pszDevice, LPCSTR pszOutput, const void* pInitData);
    BOOL CreateIC(LPCSTR pszDriver, LPCSTR pszDevice, LPCSTR pszOutput, const void* pInitData);
    BOOL DeleteDC();

    // Printing: the document calls, as the GDI answers them (> 0, or SP_ERROR).
    int StartDoc(LPDOCINFOA pDocInfo) { return ::StartDocA(m_hDC, pDocInfo); }
    int StartDoc(LPCSTR pszDocName);
    int StartPage() { return ::StartPage(m_hDC); }
    int EndPage() { return ::EndPage(m_hDC); }
    int EndDoc() { return ::EndDoc(m_hDC); }
    int AbortDoc() { return ::AbortDoc(m_hDC); }
    BOOL IsPrinting() const { return m_bPrinting; }
    int GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hDC, nIndex); }

    // Mapping and clipping.
    int SetMapMode(int nMapMode) { return ::SetMapMode(m_hDC, nMapMode); }
    CSize SetWindowExt(int cx, int cy);
    CSize SetViewportExt(int cx, int cy);
    CPoint SetWindowOrg(int x, int y);
    CPoint SetViewportOrg(int x, int y);
    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int nSavedDC) { return ::RestoreDC(m_hDC, nSavedDC); }
    int IntersectClipRect(int x1, int y1, int x2, int y2) { return ::IntersectClipRect(m_hDC, x1, y1, x2, y2); }

    // Objects: the one selected before comes back as a temporary object of its class.
    CGdiObject* SelectObject(CGdiObject* pObject);
    CFont* SelectObject(CFont* pFont);
    CBitmap* SelectObject(CBitmap* pBitmap);
    CBrush* SelectObject(CBrush* pBrush);
    CPen* SelectObject(CPen* pPen);
    CGdiObject* SelectStockObject(int nIndex);

    COLORREF SetTextColor(COLORREF cr) { return ::SetTextColor(m_hDC, cr); }
    COLORREF SetBkColor(COLORREF cr) { return ::SetBkColor(m_hDC, cr); }
    int SetBkMode(int nMode) { return ::SetBkMode(m_hDC, nMode); }
    UINT SetTextAlign(UINT nFlags) { return ::SetTextAlign(m_hDC, nFlags); }
    COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }
    int GetBkMode() const { return ::GetBkMode(m_hDC); }

    // Drawing.
    void FillSolidRect(const RECT& rc, COLORREF cr);
    void FillRect(LPCRECT pRect, CBrush* pBrush) { ::FillRect(m_hDC, pRect, pBrush ? static_cast<HBRUSH>(*pBrush) : nullptr); }
    void FrameRect(LPCRECT pRect, CBrush* pBrush) { ::FrameRect(m_hDC, pRect, pBrush ? static_cast<HBRUSH>(*pBrush) : nullptr); }
    void DrawFocusRect(LPCRECT pRect) { ::DrawFocusRect(m_hDC, pRect); }
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT pt) { return MoveTo(pt.x, pt.y); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }

    // Text, in the active code page.
    BOOL TextOut(int x, int y, LPCSTR pszString, int nCount) { return ::TextOutA(m_hDC, x, y, pszString, nCount); }
    BOOL TextOut(int x, int y, const CString& str) { return TextOut(x, y, str, str.GetLength()); }
    int DrawText(LPCSTR pszString, int nCount, LPRECT pRect, UINT nFormat) { return ::DrawTextA(m_hDC, pszString, nCount, pRect, nFormat); }
    int DrawText(const CString& str, LPRECT pRect, UINT nFormat) { return DrawText(str, str.GetLength(), pRect, nFormat); }
    CSize GetTextExtent(LPCSTR pszString, int nCount) const;
    CSize GetTextExtent(const CString& str) const { return GetTextExtent(str, str.GetLength()); }
    BOOL GetTextMetrics(LPTEXTMETRICA pMetrics) const { return ::GetTextMetricsA(m_hDC, pMetrics); }

    HDC m_hDC = nullptr;
    BOOL m_bPrinting = FALSE;                   // set by whoever prints through this DC

private:
    BOOL m_bOwnDC = FALSE;                      // made by CreateCompatibleDC, CreateDC or CreateIC
};

class CPaintDC : public CDC
{
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps = {};

private:
    HWND m_hWnd = nullptr;
};

class CClientDC : public CDC
{
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

private:
    HWND m_hWnd = nullptr;
};
