#pragma once
// The class library's drawing objects over GDI handles: an object made by one of its Create or
// Load calls (or given a handle by Attach) owns it and deletes it with itself; Detach keeps the
// handle. FromHandle answers a temporary object of the class that owns nothing, freed when the
// program is next idle (DeleteTempMap), as the window and menu objects are.
#include "platform/mfc/Object.h"
#include "platform/win/gdi/Gdi.h"

class CDC;

class CGdiObject : public CObject
{
public:
    CGdiObject() = default;
    ~CGdiObject() override;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    static CGdiObject* FromHandle(HGDIOBJ hObject);
    static void DeleteTempMap();
    // FALSE for null or when the object holds a handle already.
    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    // Deletes the handle the object owns; FALSE when there is none (or it is a temporary's).
    BOOL DeleteObject();
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    int GetObject(int nCount, LPVOID pObject) const { return ::GetObjectA(m_hObject, nCount, pObject); }

    HGDIOBJ m_hObject = nullptr;

protected:
    template <class T> static T* TemporaryOf(HGDIOBJ hObject);

private:
    BOOL m_bTemporary = FALSE;
};

class CBitmap : public CGdiObject
{
public:
    static CBitmap* FromHandle(HBITMAP hBitmap) { return TemporaryOf<CBitmap>(hBitmap); }
    // The BITMAP resource of the resource module.
    BOOL LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCEA(nIDResource)); }
    BOOL LoadBitmap(LPCSTR pszResourceName);
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void* pBits);
    int GetBitmap(BITMAP* pBitmap) const { return GetObject(sizeof(BITMAP), pBitmap); }
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};

class CFont : public CGdiObject
{
public:
    static CFont* FromHandle(HFONT hFont) { return TemporaryOf<CFont>(hFont); }
    BOOL CreateFontIndirect(const LOGFONTA* pLogFont);
    // A font of nPointSize tenths of a point for the screen (or pDC's device).
    BOOL CreatePointFont(int nPointSize, LPCSTR pszFaceName, CDC* pDC = nullptr);
    int GetLogFont(LOGFONTA* pLogFont) const { return GetObject(sizeof(LOGFONTA), pLogFont); }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

class CBrush : public CGdiObject
{
public:
    CBrush() = default;
    explicit CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }
    static CBrush* FromHandle(HBRUSH hBrush) { return TemporaryOf<CBrush>(hBrush); }
    BOOL CreateSolidBrush(COLORREF crColor);
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

class CPen : public CGdiObject
{
public:
    CPen() = default;
    CPen(int nPenStyle, int nWidth, COLORREF crColor) { CreatePen(nPenStyle, nWidth, crColor); }
    static CPen* FromHandle(HPEN hPen) { return TemporaryOf<CPen>(hPen); }
    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
};
