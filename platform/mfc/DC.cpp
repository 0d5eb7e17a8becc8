#include "platform/mfc/DC.h"

#include <memory>
#include <unordered_map>

#include "platform/mfc/Wnd.h"
#include "platform/win/gdi/Gdi.h"

namespace {
std::unordered_map<HDC, std::unique_ptr<CDC>>& TempDCs()
{
    static auto* s_pMap = new std::unordered_map<HDC, std::unique_ptr<CDC>>;
    return *s_pMap;
}
}  // namespace

CDC::~CDC()
{
    DeleteDC();
}

CDC* CDC::FromHandle(HDC hdc)
{
    if (hdc == nullptr)
        return nullptr;
    std::unique_ptr<CDC>& pDC = TempDCs()[hdc];
    if (!pDC)
        pDC = std::make_unique<CDC>(hdc);
    return pDC.get();
}

void CDC::DeleteTempMap()
{
    TempDCs().clear();
}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    if (m_hDC != nullptr)
        return FALSE;
    m_hDC = ::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr);
    m_bOwnDC = m_hDC != nullptr;
    return m_bOwnDC;
}

BOOL CDC::CreateDC(LPCSTR pszDriver, LPCSTR pszDevice, LPCSTR pszOutput, const void* pInitData)
{
    if (m_hDC != nullptr)
        return FALSE;
    m_hDC = ::CreateDCA(pszDriver, pszDevice, pszOutput, static_cast<const DEVMODEA*>(pInitData));
    m_bOwnDC = m_hDC != nullptr;
    return m_bOwnDC;
}

BOOL CDC::CreateIC(LPCSTR pszDriver, LPCSTR pszDevice, LPCSTR pszOutput, const void* pInitData)
{
    if (m_hDC != nullptr)
        return FALSE;
    m_hDC = ::CreateICA(pszDriver, pszDevice, pszOutput, static_cast<const DEVMODEA*>(pInitData));
    m_bOwnDC = m_hDC != nullptr;
    return m_bOwnDC;
}

int CDC::StartDoc(LPCSTR pszDocName)
{
    DOCINFOA di = {sizeof di, pszDocName, nullptr, nullptr, 0};
    return ::StartDocA(m_hDC, &di);
}

CSize CDC::SetWindowExt(int cx, int cy)
{
    SIZE sz = {0, 0};
    ::SetWindowExtEx(m_hDC, cx, cy, &sz);
    return CSize(sz.cx, sz.cy);
}

CSize CDC::SetViewportExt(int cx, int cy)
{
    SIZE sz = {0, 0};
    ::SetViewportExtEx(m_hDC, cx, cy, &sz);
    return CSize(sz.cx, sz.cy);
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    POINT pt = {0, 0};
    ::SetWindowOrgEx(m_hDC, x, y, &pt);
    return CPoint(pt.x, pt.y);
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    POINT pt = {0, 0};
    ::SetViewportOrgEx(m_hDC, x, y, &pt);
    return CPoint(pt.x, pt.y);
}

BOOL CDC::DeleteDC()
{
    if (m_hDC == nullptr || !m_bOwnDC)
        return FALSE;
    m_bOwnDC = FALSE;
    return ::DeleteDC(Detach());
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject)
{
    return pObject ? CGdiObject::FromHandle(::SelectObject(m_hDC, pObject->m_hObject)) : nullptr;
}

CFont* CDC::SelectObject(CFont* pFont)
{
    return pFont ? CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, pFont->m_hObject))) : nullptr;
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    return pBitmap ? CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, pBitmap->m_hObject))) : nullptr;
}

CBrush* CDC::SelectObject(CBrush* pBrush)
{
    return pBrush ? CBrush::FromHandle(static_cast<HBRUSH>(::SelectObject(m_hDC, pBrush->m_hObject))) : nullptr;
}

CPen* CDC::SelectObject(CPen* pPen)
{
    return pPen ? CPen::FromHandle(static_cast<HPEN>(::SelectObject(m_hDC, pPen->m_hObject))) : nullptr;
}

CGdiObject* CDC::SelectStockObject(int nIndex)
{
    return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(nIndex)));
}

CPoint CDC::MoveTo(int x, int y)
{
    POINT ptOld = {0, 0};
    ::MoveToEx(m_hDC, x, y, &ptOld);
    return CPoint(ptOld);
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
{
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, dwRop);
}

CSize CDC::GetTextExtent(LPCSTR pszString, int nCount) const
{
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(m_hDC, pszString, nCount, &size);
    return CSize(size);
}

BOOL CDC::Attach(HDC hdc)
{
    if (hdc == nullptr || m_hDC != nullptr)
        return FALSE;
    m_hDC = hdc;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC hdc = m_hDC;
    m_hDC = nullptr;
    m_bOwnDC = FALSE;
    return hdc;
}

void CDC::FillSolidRect(const RECT& rc, COLORREF cr)
{
    HBRUSH hBrush = CreateSolidBrush(cr);
    ::FillRect(m_hDC, &rc, hBrush);
    DeleteObject(hBrush);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    if (m_hWnd != nullptr)
        m_hDC = BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC()
{
    if (m_hWnd != nullptr && m_hDC != nullptr)
        EndPaint(m_hWnd, &m_ps);
    m_hDC = nullptr;
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    m_hDC = GetDC(m_hWnd);
}

CClientDC::~CClientDC()
{
    if (m_hDC != nullptr)
        ReleaseDC(m_hWnd, m_hDC);
    m_hDC = nullptr;
}
