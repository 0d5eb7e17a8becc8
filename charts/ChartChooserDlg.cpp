#include "charts/ChartChooserDlg.h"

#include "framework/base/ColumnDataType.h"
#include "platform/mfc/Array.h"
#include "platform/mfc/DataExchange.h"
#include "refdata/ZorvatGlobals.h"

#define TICKER_MAX_LENGTH 6
#define PERIOD_COUNT 5

namespace {
// The period buttons by period: the template's group order puts weekly before monthly.
const UINT s_anPeriodButtons[PERIOD_COUNT] = {1738, 1739, 1740, 1742, 1741};
}

BEGIN_MESSAGE_MAP(CChartChooserDlg, CDialog)
    ON_CONTROL(EN_CHANGE, IDC_CHART_TICKER, OnTickerChange)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_CHART_DURATION, IDC_CHART_DURATION + 5, OnDurationChange)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_CHART_COMPARE, IDC_CHART_COMPARE + 3, OnCompareChange)
    ON_CONTROL(CBN_SELCHANGE, IDC_CHART_MARKET, OnMarketChange)
END_MESSAGE_MAP()

CChartChooserDlg::CChartChooserDlg(BOOL bIntraday, LPCSTR pszTicker, int nMarket, CWnd* pParent)
    : CDialog(IDD_CHART_CHOOSER, pParent)
{
    m_nDuration = bIntraday ? 0 : 1;
    m_nPeriod = 0;
    m_strTicker = pszTicker != nullptr ? pszTicker : "";
    m_nMarket = nMarket;
}

void CChartChooserDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_EnhancedEdit(pDX, IDC_CHART_TICKER, m_editTicker, COLTYPE_STRING, 0, TICKER_MAX_LENGTH, 0, EE_KEEP_COLOR,
                     EE_KEEP_COLOR, m_strTicker);
    DDX_EnhancedEdit(pDX, IDC_CHART_COMPARE_TEXT, m_editCompare, COLTYPE_STRING, 0, TICKER_MAX_LENGTH, 0,
                     EE_KEEP_COLOR, EE_KEEP_COLOR, m_strCompare);
    DDX_Radio(pDX, IDC_CHART_COMPARE, m_nCompare);
    DDX_Radio(pDX, IDC_CHART_DURATION, m_nDuration);
    DDX_Radio(pDX, IDC_CHART_AVERAGE, m_nMovingAverage);
    DDX_Radio(pDX, IDC_CHART_PERIOD, m_nPeriod);
    DDX_Radio(pDX, IDC_CHART_LINE_TYPE, m_nLineType);
    DDX_Check(pDX, IDC_CHART_BANDS, m_bStandardVariation);
    DDX_Check(pDX, IDC_CHART_VOLUME, m_bShowVolume);
    DDX_CBString(pDX, IDC_CHART_MARKET, m_strMarket);
}

BOOL CChartChooserDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (ApplyMarket())
        UpdateData(FALSE);
    // The fields first: the handlers below read every control back into the members. The
    // comparison before the ticker, whose change reads the comparison field back.
    m_editCompare.SetText(m_strCompare);
    if (!m_strTicker.IsEmpty())
        m_editTicker.SetText(m_strTicker);
    EnableOk();
    OnCompareChange();
    OnDurationChange();
    m_comboMarket.SubclassDlgItem(IDC_CHART_MARKET, this);
    CArray<int, int> codes;
    const CZorvatGlobals* pGlobals = GetGlobals();
    if (pGlobals != nullptr)
        pGlobals->GetMarketCodes(codes);
    for (int i = 0; i < codes.GetSize(); ++i) {
        const CString strName = pGlobals->GetMarketName(codes[i]);
        const int nItem = m_comboMarket.AddString(strName);
        if (pGlobals->GetMarketCode(strName) == m_nMarket)
            m_comboMarket.SetCurSel(nItem);
    }
    return TRUE;
}

void CChartChooserDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    const CZorvatGlobals* pGlobals = GetGlobals();
    const long nCode = pGlobals != nullptr && !m_strMarket.IsEmpty() ? pGlobals->GetMarketCode(m_strMarket) : 0;
    if (nCode != 0)
        m_nMarket = static_cast<int>(nCode);
    if (m_nMarket == CHART_MARKET_KSE && m_nCompare != 0)
        m_nCompare = 0;
    EndDialog(IDOK);
}

BOOL CChartChooserDlg::ApplyMarket()
{
    const BOOL bKse = m_nMarket == CHART_MARKET_KSE;
    for (UINT nId = IDC_CHART_COMPARE + 1; nId <= IDC_CHART_COMPARE + 3; ++nId)
        GetDlgItem(nId)->EnableWindow(!bKse);
    GetDlgItem(IDC_CHART_NOTE_US)->ShowWindow(bKse ? SW_HIDE : SW_SHOW);
    GetDlgItem(IDC_CHART_NOTE_KSE)->ShowWindow(bKse ? SW_SHOW : SW_HIDE);
    if (!bKse || m_nCompare == 0)
        return FALSE;
    m_nCompare = 0;
    return TRUE;
}

void CChartChooserDlg::OnMarketChange()
{
    UpdateData(TRUE);
    const CZorvatGlobals* pGlobals = GetGlobals();
    const long nCode = pGlobals != nullptr && !m_strMarket.IsEmpty() ? pGlobals->GetMarketCode(m_strMarket) : 0;
    if (nCode == 0)
        return;
    m_nMarket = static_cast<int>(nCode);
    ApplyMarket();
    UpdateData(FALSE);
    OnCompareChange();
}

void CChartChooserDlg::EnableOk()
{
    GetDlgItem(IDOK)->EnableWindow(!m_strTicker.IsEmpty());
}

void CChartChooserDlg::OnTickerChange()
{
    UpdateData(TRUE);
    EnableOk();
}

void CChartChooserDlg::OnCompareChange(UINT)
{
    UpdateData(TRUE);
    m_editCompare.SetReadOnly(m_nCompare != 0);
}

void CChartChooserDlg::OnDurationChange(UINT)
{
    UpdateData(TRUE);
    m_nPeriod = CZorvatChartSettings::FitPeriod(m_nDuration, m_nPeriod);
    for (int nPeriod = 0; nPeriod < PERIOD_COUNT; ++nPeriod)
        GetDlgItem(s_anPeriodButtons[nPeriod])->EnableWindow(CZorvatChartSettings::IsPeriodAllowed(m_nDuration, nPeriod));
    // Today's chart has no moving average: the server sends it only with a history.
    const BOOL bHistory = m_nDuration != 0;
    if (!bHistory)
        m_nMovingAverage = 0;
    for (UINT nId = IDC_CHART_AVERAGE_FIRST; nId <= IDC_CHART_AVERAGE_LAST; ++nId)
        GetDlgItem(nId)->EnableWindow(bHistory);
    GetDlgItem(IDC_CHART_BANDS)->EnableWindow(bHistory);
    UpdateData(FALSE);
}
