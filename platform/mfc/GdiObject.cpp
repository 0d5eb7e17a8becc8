#include "platform/mfc/GdiObject.h"

#include <cstring>
#include <memory>
#include <unordered_map>

#include "platform/mfc/DC.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/user/Cursor.h"

namespace {
template <class T>
std::unordered_map<HGDIOBJ, std::unique_ptr<T>>& TempMap()
{
    // Never destroyed: temporaries may be asked for while static objects go at exit.
    static auto* s_pMap = new std::unordered_map<HGDIOBJ, std::unique_ptr<T>>;
    return *s_pMap;
}
}  // namespace

template <class T>
T* CGdiObject::TemporaryOf(HGDIOBJ hObject)
{
    if (hObject == nullptr)
        return nullptr;
    auto& map = TempMap<T>();
    // A program that is never idle still keeps the map small: objects deleted since go first.
    if (map.size() >= 256 && map.find(hObject) == map.end())
        std::erase_if(map, [](const auto& entry) { return ::GetObjectType(entry.first) == 0; });
    std::unique_ptr<T>& pObject = map[hObject];
    if (!pObject) {
        pObject = std::make_unique<T>();
        pObject->m_hObject = hObject;
        static_cast<CGdiObject*>(pObject.get())->m_bTemporary = TRUE;
    }
    return pObject.get();
}

template CGdiObject* CGdiObject::TemporaryOf<CGdiObject>(HGDIOBJ);
template CBitmap* CGdiObject::TemporaryOf<CBitmap>(HGDIOBJ);
template CFont* CGdiObject::TemporaryOf<CFont>(HGDIOBJ);
template CBrush* CGdiObject::TemporaryOf<CBrush>(HGDIOBJ);
template CPen* CGdiObject::TemporaryOf<CPen>(HGDIOBJ);

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject)
{
    return TemporaryOf<CGdiObject>(hObject);
}

void CGdiObject::DeleteTempMap()
{
    TempMap<CGdiObject>().clear();
    TempMap<CBitmap>().clear();
    TempMap<CFont>().clear();
    TempMap<CBrush>().clear();
    TempMap<CPen>().clear();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (hObject == nullptr || m_hObject != nullptr || m_bTemporary)
        return FALSE;
    m_hObject = hObject;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ hObject = m_hObject;
    m_hObject = nullptr;
    return hObject;
}

BOOL CGdiObject::DeleteObject()
{
    if (m_hObject == nullptr || m_bTemporary)
        return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CBitmap::LoadBitmap(LPCSTR pszResourceName)
{
    return Attach(::LoadBitmapA(nullptr, pszResourceName));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    return Attach(::CreateCompatibleBitmap(pDC ? pDC->m_hDC : nullptr, nWidth, nHeight));
}

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void* pBits)
{
    return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitCount, pBits));
}

BOOL CFont::CreateFontIndirect(const LOGFONTA* pLogFont)
{
    return pLogFont != nullptr && Attach(::CreateFontIndirectA(pLogFont));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCSTR pszFaceName, CDC* pDC)
{
    LOGFONTA lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    if (pszFaceName != nullptr)
        std::strncpy(lf.lfFaceName, pszFaceName, sizeof lf.lfFaceName - 1);
    // Tenths of a point to pixels of the device: the height in logical units, negative for
    // the character height.
    HDC hdc = pDC ? pDC->m_hDC : ::GetDC(nullptr);
    const int nDpi = ::GetDeviceCaps(hdc, LOGPIXELSY);
    if (pDC == nullptr)
        ::ReleaseDC(nullptr, hdc);
    lf.lfHeight = -::MulDiv(nPointSize, nDpi > 0 ? nDpi : 96, 720);
    return CreateFontIndirect(&lf);
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor)
{
    return Attach(::CreateSolidBrush(crColor));
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
{
    return Attach(::CreatePen(nPenStyle, nWidth, crColor));
}
