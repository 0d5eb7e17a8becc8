// The KSE global parameters dialog.
#include "market/dialogs/GlobalParamKSEDlg.h"

#include <iterator>

#include "framework/base/ColumnDataType.h"
#include "refdata/ZorvatGlobals.h"

namespace {
const SHOWN_FIELDS s_paramFields[] = {
    {IDC_KSE_PARAM_FIRST, IDC_KSE_PARAM_RATE_FIRST - 1, COLTYPE_INT64, 0, 12},
    {IDC_KSE_PARAM_RATE_FIRST, IDC_KSE_PARAM_LIMIT_FIRST - 1, COLTYPE_DOUBLE, -2, 12},
    {IDC_KSE_PARAM_LIMIT_FIRST, IDC_KSE_PARAM_LAST, COLTYPE_INT64, 0, 12},
};
}  // namespace

CGlobalParamKSEDlg::CGlobalParamKSEDlg(CWnd* pParent)
    : CShownFieldsDlg(IDD_GLOBAL_PARAM_KSE, s_paramFields, static_cast<int>(std::size(s_paramFields)), pParent)
{
}

void CGlobalParamKSEDlg::FillFields()
{
    const KseGlobalParams& params = GetGlobals()->GetKseGlobalParams();
    int nId = IDC_KSE_PARAM_FIRST;
    for (int nValue : params.anValues)
        SetFieldNumber(nId++, nValue);
    for (double dRate : params.adRatesA)
        SetFieldNumber(nId++, dRate);
    for (double dRate : params.adRatesB)
        SetFieldNumber(nId++, dRate);
    for (int nLimit : params.anLimits)
        SetFieldNumber(nId++, nLimit);
}
