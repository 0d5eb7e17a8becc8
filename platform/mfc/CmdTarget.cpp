#include "platform/mfc/CmdTarget.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY s_entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP s_map = {nullptr, s_entries};
    return &s_map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT uMsg) const
{
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* p = pMap->pEntries; p->pfn != nullptr; ++p) {
            if (p->pnRegistered != nullptr) {
                // A registered message that was never registered (0) matches nothing.
                if (*p->pnRegistered != 0 && *p->pnRegistered == uMsg)
                    return p;
            } else if (p->nMessage == uMsg && p->nMessage != WM_COMMAND) {
                return p;
            }
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void*, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* p = pMap->pEntries; p->pfn != nullptr; ++p) {
            if (p->nMessage != WM_COMMAND || p->nCode != static_cast<UINT>(nCode) || nID < p->nID || nID > p->nLastID)
                continue;
            if (pHandlerInfo == nullptr)
                p->pfn(this, WM_COMMAND, nID, nCode);
            return TRUE;
        }
    }
    return FALSE;
}
