#include "platform/mfc/CmdTarget.h"
#include "platform/mfc/CmdUI.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY s_entries[] = {{0, 0, 0, 0, nullptr, nullptr, 0}};
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
            } else if (p->nMessage == uMsg && p->nMessage != WM_COMMAND && p->nSig != AFX_SIG_NOTIFY) {
                return p;
            }
        }
    }
    return nullptr;
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindNotifyEntry(UINT nCode, UINT nID) const
{
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* p = pMap->pEntries; p->pfn != nullptr; ++p)
            if (p->nSig == AFX_SIG_NOTIFY && p->nCode == nCode && nID >= p->nID && nID <= p->nLastID)
                return p;
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* p = pMap->pEntries; p->pfn != nullptr; ++p) {
            if (p->nMessage != WM_COMMAND || p->nCode != static_cast<UINT>(nCode) || nID < p->nID || nID > p->nLastID)
                continue;
            if (pHandlerInfo != nullptr) {
                pHandlerInfo->pTarget = this;
                return TRUE;
            }
            if (nCode == static_cast<int>(CN_UPDATE_COMMAND_UI)) {
                // An update handler that calls ContinueRouting lets the targets after it decide.
                CCmdUI* pCmdUI = static_cast<CCmdUI*>(pExtra);
                pCmdUI->m_bContinueRouting = FALSE;
                p->pfn(this, WM_COMMAND, nID, reinterpret_cast<LPARAM>(pCmdUI));
                return !pCmdUI->m_bContinueRouting;
            }
            const LRESULT lResult = p->pfn(this, WM_COMMAND, nID, reinterpret_cast<LPARAM>(pExtra));
            return p->nSig == AFX_SIG_BOOL ? lResult != 0 : TRUE;
        }
    }
    return FALSE;
}
