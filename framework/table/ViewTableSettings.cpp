#include "framework/base/Ini.h"
#include "framework/table/Table.h"
#include "framework/table/TableFilters.h"
#include "framework/table/TableKeys.h"
#include "framework/table/ViewTable.h"

namespace {
// Points a settings object at a sub-section ("<section>.<key text>") and puts its section back
// whatever happens, so that the owner's later reads and writes land where they belong.
class CSubSection
{
public:
    CSubSection(CIni* pIni, UINT uKeyId) : m_pIni(pIni)
    {
        if (m_pIni) {
            m_strSaved = m_pIni->GetSection();
            m_pIni->SetSection(TableSubSection(m_strSaved, uKeyId));
        }
    }
    CSubSection(CIni* pIni, const char* pszSection) : m_pIni(pIni)
    {
        if (m_pIni) {
            m_strSaved = m_pIni->GetSection();
            m_pIni->SetSection(pszSection);
        }
    }
    ~CSubSection()
    {
        if (m_pIni)
            m_pIni->SetSection(m_strSaved);
    }
    CSubSection(const CSubSection&) = delete;
    CSubSection& operator=(const CSubSection&) = delete;

private:
    CIni* m_pIni;
    CTBString m_strSaved;
};

int ClampMode(int nMode, int nLast)
{
    return nMode >= 0 && nMode <= nLast ? nMode : 0;
}
}  // namespace

void CViewTable::SaveSettings(CIni* pLayout, CIni* pDefinition)
{
    if (pDefinition) {
        CIni& d = *pDefinition;
        d.WriteString(IDS_VIEW_NAME, m_strName);
        for (int i = 0; i < 2; ++i)
            d.WriteString(TableKey(IDS_VIEW_TITLE, i), m_strTitle[i]);
        d.WriteBool(IDS_VIEW_SHOWHEADER, m_bShowHeader);
        d.WriteBool(IDS_VIEW_HIDEONCLOSE, m_bHideOnClose);
        d.WriteBool(IDS_VIEW_ALLOWFIXED, m_bAllowFixedColumns);
        d.WriteBool(IDS_VIEW_ALLOWCUT, m_bAllowCut);
        d.WriteBool(IDS_VIEW_ALLOWPASTE, m_bAllowPaste);
        d.WriteBool(IDS_VIEW_ALLOWSORTDLG, m_bAllowSortDialog);
        d.WriteInt(IDS_VIEW_GROUPHEADER, m_nGroupHeaderMode);
        d.WriteInt(IDS_VIEW_TOTALS, m_nTotalsMode);
    }
    {
        CSubSection layout(pLayout, IDS_VIEW_COLUMNS);
        CSubSection definition(pDefinition, IDS_VIEW_COLUMNS);
        m_columns.Save(pLayout, pDefinition);
    }
    if (pLayout) {
        {
            CSubSection order(pLayout, IDS_VIEW_ORDER);
            m_order.Save(pLayout);
        }
        pLayout->WriteBool(IDS_VIEW_ROWALERTS, m_bRowAlerts);
        pLayout->WriteBool(IDS_VIEW_SUMMODE, m_nSumMode);
        pLayout->WriteBool(IDS_VIEW_TITLELINE, m_bWriteTitleLine);
        // A view without filters overwrites filters saved earlier with an empty set.
        if (m_pFilters && m_pFilters->IsBound()) {
            m_pFilters->Save(pLayout);
        } else {
            CTableFilters empty;
            if (empty.Init(this, nullptr))
                empty.Save(pLayout);
        }
    }
    m_events.FireSettingsSaved(pLayout, pDefinition);
}

BOOL CViewTable::LoadFilters(CIni* pLayout)
{
    CTableFilters* pFilters = new CTableFilters;
    if (!pFilters->Init(this, nullptr)) {
        delete pFilters;
        return FALSE;
    }
    if (pFilters->Load(pLayout) && !pFilters->IsEmpty()) {
        SetFilters(pFilters);
    } else {
        delete pFilters;
        SetFilters(nullptr);
    }
    return TRUE;
}

BOOL CViewTable::LoadSettings(CIni* pLayout, CIni* pDefinition)
{
    if (m_bOpen)
        return ApplySettings(pLayout, pDefinition);
    if (pDefinition) {
        CIni& d = *pDefinition;
        m_strName = d.GetString(IDS_VIEW_NAME, m_strName);
        for (int i = 0; i < 2; ++i)
            m_strTitle[i] = d.GetString(TableKey(IDS_VIEW_TITLE, i), m_strTitle[i]);
        m_bShowHeader = d.GetBool(IDS_VIEW_SHOWHEADER, m_bShowHeader);
        m_bHideOnClose = d.GetBool(IDS_VIEW_HIDEONCLOSE, m_bHideOnClose);
        m_bAllowFixedColumns = d.GetBool(IDS_VIEW_ALLOWFIXED, m_bAllowFixedColumns);
        m_bAllowCut = d.GetBool(IDS_VIEW_ALLOWCUT, m_bAllowCut);
        m_bAllowPaste = d.GetBool(IDS_VIEW_ALLOWPASTE, m_bAllowPaste);
        m_bAllowSortDialog = d.GetBool(IDS_VIEW_ALLOWSORTDLG, m_bAllowSortDialog);
        m_nGroupHeaderMode = ClampMode(d.GetInt(IDS_VIEW_GROUPHEADER, m_nGroupHeaderMode), 2);
        m_nTotalsMode = ClampMode(d.GetInt(IDS_VIEW_TOTALS, m_nTotalsMode), 3);
    }
    {
        CSubSection layout(pLayout, IDS_VIEW_COLUMNS);
        CSubSection definition(pDefinition, IDS_VIEW_COLUMNS);
        if (!m_columns.Load(pLayout, pDefinition))
            return FALSE;
    }
    m_order.Rebuild(m_columns);
    if (pLayout) {
        {
            CSubSection order(pLayout, IDS_VIEW_ORDER);
            if (!m_order.Load(pLayout))
                return FALSE;
        }
        m_bRowAlerts = pLayout->GetBool(IDS_VIEW_ROWALERTS, m_bRowAlerts);
        m_nSumMode = pLayout->GetBool(IDS_VIEW_SUMMODE, m_nSumMode) ? 1 : 0;
        m_bWriteTitleLine = pLayout->GetBool(IDS_VIEW_TITLELINE, m_bWriteTitleLine);
        LoadFilters(pLayout);
    }
    m_events.FireSettingsLoaded(pLayout, pDefinition);
    return TRUE;
}

BOOL CViewTable::ApplySettings(CIni* pLayout, CIni* pDefinition)
{
    // The sinks rebuild once at the end instead of following every step.
    ++m_nSuspend;
    if (pDefinition) {
        CIni& d = *pDefinition;
        for (int i = 0; i < 2; ++i)
            SetTitle(d.GetString(TableKey(IDS_VIEW_TITLE, i), m_strTitle[i]), i);
        SetShowHeader(d.GetBool(IDS_VIEW_SHOWHEADER, m_bShowHeader));
        SetHideOnClose(d.GetBool(IDS_VIEW_HIDEONCLOSE, m_bHideOnClose));
        SetAllowFixedColumns(d.GetBool(IDS_VIEW_ALLOWFIXED, m_bAllowFixedColumns));
        m_bAllowCut = d.GetBool(IDS_VIEW_ALLOWCUT, m_bAllowCut);
        m_bAllowPaste = d.GetBool(IDS_VIEW_ALLOWPASTE, m_bAllowPaste);
        SetGroupHeaderMode(ClampMode(d.GetInt(IDS_VIEW_GROUPHEADER, m_nGroupHeaderMode), 2));
        SetTotalsMode(ClampMode(d.GetInt(IDS_VIEW_TOTALS, m_nTotalsMode), 3));
    }
    m_order.Rebuild(m_columns);
    if (pLayout) {
        {
            CSubSection layout(pLayout, IDS_VIEW_COLUMNS);
            m_columns.LoadLayout(pLayout);
        }
        {
            CSubSection order(pLayout, IDS_VIEW_ORDER);
            m_order.Load(pLayout);
        }
        m_bRowAlerts = pLayout->GetBool(IDS_VIEW_ROWALERTS, m_bRowAlerts);
        m_bWriteTitleLine = pLayout->GetBool(IDS_VIEW_TITLELINE, m_bWriteTitleLine);
        LoadFilters(pLayout);
        if (m_nSumMode != 0)
            SetSumMode(0);
        ReapplyFilters();
        SetSumMode(pLayout->GetBool(IDS_VIEW_SUMMODE, m_nSumMode) ? 1 : 0);
    }
    // The loaded keys may differ from the tree's: rebuild under them.
    Resort();
    m_events.FireSettingsLoaded(pLayout, pDefinition);
    --m_nSuspend;
    m_events.FireFilterChanged();
    return TRUE;
}

void CTable::SaveSettings(CIni* pLayout, CIni* pDefinition)
{
    for (CViewTable* pView : m_views) {
        if (!pView)
            break;
        CSubSection layout(pLayout, pView->GetName());
        CSubSection definition(pDefinition, pView->GetName());
        pView->SaveSettings(pLayout, pDefinition);
    }
}

BOOL CTable::LoadSettings(CIni* pLayout, CIni* pDefinition)
{
    if (m_views.GetSize() == 0)
        return FALSE;
    for (CViewTable* pView : m_views)
        if (!pView || !pView->LoadSettings(pLayout, pDefinition))
            return FALSE;
    return TRUE;
}
