// Resources by handle. Only dialog templates are found this way; the handle is the template the
// module keeps, so loading and locking hand back the same record and freeing has nothing to do.
#include "platform/win/kernel/Kernel.h"
#include "platform/win/kernel/ResourceTemplates.h"
#include "platform/win/kernel/Resources.h"

#define ERROR_RESOURCE_TYPE_NOT_FOUND 1813

HRSRC FindResourceA(HMODULE hModule, LPCSTR pszName, LPCSTR pszType)
{
    if (pszType != RT_DIALOG) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return nullptr;
    }
    const TBDLGTEMPLATE* pTemplate = TbFindDialogTemplate(hModule, pszName);
    if (!pTemplate)
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return reinterpret_cast<HRSRC>(const_cast<TBDLGTEMPLATE*>(pTemplate));
}

HGLOBAL LoadResource(HMODULE, HRSRC hResInfo)
{
    return reinterpret_cast<HGLOBAL>(hResInfo);
}

LPVOID LockResource(HGLOBAL hResData)
{
    return hResData;
}

BOOL FreeResource(HGLOBAL)
{
    return FALSE;       // as on the original since 32-bit Windows: nothing was allocated
}

DWORD SizeofResource(HMODULE, HRSRC hResInfo)
{
    return hResInfo ? static_cast<DWORD>(sizeof(TBDLGTEMPLATE)) : 0;
}
