#pragma once
// The class library's device context: a wrapper of an HDC. CPaintDC paints a window between
// BeginPaint and EndPaint, CClientDC draws into its client area at once. The drawing members
// come with the code that paints through them; the handle works with every GDI call meanwhile.
#include "platform/mfc/Object.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Paint.h"

class CWnd;

class CDC : public CObject
{
public:
    CDC() = default;
    explicit CDC(HDC hdc) : m_hDC(hdc) {}       // borrows the handle
    ~CDC() override = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    BOOL Attach(HDC hdc);                       // FALSE for null or when one is attached
    HDC Detach();

    COLORREF SetTextColor(COLORREF cr) { return ::SetTextColor(m_hDC, cr); }
    COLORREF SetBkColor(COLORREF cr) { return ::SetBkColor(m_hDC, cr); }
    int SetBkMode(int nMode) { return ::SetBkMode(m_hDC, nMode); }
    void FillSolidRect(const RECT& rc, COLORREF cr);

    HDC m_hDC = nullptr;
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
