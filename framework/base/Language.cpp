#include "framework/base/Language.h"

#include "framework/base/SharedGlobals.h"

CDictionary* CLanguage::GetDictionary()
{
    if (!m_pDictionary) {
        m_pDictionary = std::make_unique<CDictionary>();
        if (m_strDictionaryPath.GetLength() > 0)
            m_pDictionary->LoadDictionaryFile(m_strDictionaryPath);
    }
    return m_pDictionary.get();
}

void TranslateWindowForLanguage(HWND hWnd)
{
    CLanguage* pLanguage = GetLanguage();
    pLanguage->GetDictionary()->TranslateWindow(hWnd, pLanguage->GetDirection());
}
