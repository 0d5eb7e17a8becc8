#include "account/AccountTables.h"
#include "account/CombinedHoldingsTable.h"
#include "account/InvestorHoldingsKSETable.h"
#include "account/InvestorHoldingsTable.h"
#include "account/UnrealizedProfitLossTable.h"
#include "account/ExecutedTradesKSETable.h"
#include "account/ExecutedTradesTable.h"
#include "account/OrderStatusKSETable.h"
#include "account/OrderStatusTable.h"
#include "account/CombinedUnrealizedProfitLossDlg.h"
#include "account/HistRangeDlg.h"
#include "account/CombinedUnrealizedProfitLossTable.h"
#include "account/ForwardContractsTable.h"
#include "account/MarginDetailsTable.h"
#include "account/MarginReportTable.h"
#include "account/MarginStocksTable.h"
#include "account/UnrealizedProfitLossKSETable.h"
#include "app/AppCommands.h"
#include "app/TableFactory.h"
#include "account/CombinedRealizedProfitLossTable.h"
#include "account/HistTransactionKSETable.h"
#include "account/HistTransactionTable.h"
#include "account/RealizedProfitLossKSETable.h"
#include "account/RealizedProfitLossTable.h"

namespace {
template <const RANGE_REPORT_DESC& REPORT>
INT_PTR RunReportDialog(HWND hParent)
{
    return RunRangeDialog(REPORT, hParent);
}
}  // namespace
#include "account/AccountForms.h"
#include "account/AccountPerformanceForm.h"
#include "account/CurrencyConversionForm.h"
#include "account/InternationalConversionForm.h"
#include "app/FormFactory.h"

void RegisterAccountTables()
{
    RegisterTableMaker(IDS_TABLE_US_HOLDINGS, MakeDataTable<CInvestorHoldingsTable>);
    RegisterTableMaker(IDS_TABLE_KSE_HOLDINGS, MakeDataTable<CInvestorHoldingsKSETable>);
    RegisterTableMaker(IDS_TABLE_COMBINED_HOLDINGS, MakeDataTable<CCombinedHoldingsTable>);
    RegisterTableMaker(IDS_TABLE_US_UNREALIZED, MakeDataTable<CUnrealizedProfitLossTable>);
    RegisterTableMaker(IDS_TABLE_US_ORDERS, MakeDataTable<COrderStatusTable>);
    RegisterTableMaker(IDS_TABLE_US_TRADES, MakeDataTable<CExecutedTradesTable>);
    RegisterTableMaker(IDS_TABLE_KSE_ORDERS, MakeDataTable<COrderStatusKSETable>);
    RegisterTableMaker(51164, MakeDataTable<COrderStatusActiveKSETable>);
    RegisterTableMaker(51165, MakeDataTable<COrderStatusFilledKSETable>);
    RegisterTableMaker(51166, MakeDataTable<COrderStatusCancelledKSETable>);
    RegisterTableMaker(IDS_TABLE_KSE_FORWARD_ORDERS, MakeDataTable<COrderStatusForwardTable>);
    RegisterTableMaker(IDS_TABLE_KSE_TRADES, MakeDataTable<CExecutedTradesKSETable>);
    RegisterTableMaker(IDS_TABLE_KSE_UNREALIZED, MakeDataTable<CUnrealizedProfitLossKSETable>);
    RegisterTableMaker(IDS_TABLE_COMBINED_UNREALIZED, MakeDataTable<CCombinedUnrealizedProfitLossTable>);
    RegisterCommandDialog(40229, CCombinedUnrealizedProfitLossDlg::Run);
    RegisterCommandDialog(ID_APP_COMBINED_REALIZED, CCombinedRealizedProfitLossDlg::RunFresh);
    RegisterCombinedRealizedDialog(CCombinedRealizedProfitLossDlg::Run);
    RegisterTableMaker(IDS_TABLE_FORWARD_CONTRACTS, MakeDataTable<CForwardContractsTable>);
    RegisterTableMaker(IDS_TABLE_MARGIN_DETAILS, MakeDataTable<CMarginDetailsTable>);
    RegisterTableMaker(IDS_TABLE_MARGIN_REPORT, MakeDataTable<CMarginReportTable>);
    RegisterTableMaker(IDS_TABLE_MARGIN_STOCKS_1, MakeDataTable<CMarginStocksTable>);
    RegisterTableMaker(IDS_TABLE_MARGIN_STOCKS_2, MakeDataTable<CMarginStocksTable>);
    RegisterTableMaker(IDS_TABLE_US_REALIZED, MakeDataTable<CRealizedProfitLossTable>);
    RegisterTableMaker(IDS_TABLE_KSE_REALIZED, MakeDataTable<CRealizedProfitLossKSETable>);
    RegisterTableMaker(IDS_TABLE_COMBINED_REALIZED, MakeDataTable<CCombinedRealizedProfitLossTable>);
    RegisterTableMaker(IDS_TABLE_US_TRANSACTIONS, MakeDataTable<CHistTransactionTable>);
    RegisterTableMaker(IDS_TABLE_KSE_TRANSACTIONS, MakeDataTable<CHistTransactionKSETable>);
    RegisterCommandDialog(ID_APP_US_REALIZED, RunReportDialog<g_realizedProfitLossTable>);
    RegisterCommandDialog(ID_APP_KSE_REALIZED, RunReportDialog<g_realizedProfitLossKSETable>);
    RegisterCommandDialog(ID_APP_US_TRANSACTIONS, RunReportDialog<g_histTransactionTable>);
    RegisterCommandDialog(ID_APP_KSE_TRANSACTIONS, RunReportDialog<g_histTransactionKSETable>);
}

void RegisterAccountForms()
{
    RegisterFormMaker(IDD_FORM_PERFORMANCE_US, &CAccountPerformanceForm::Make);
    RegisterFormMaker(IDD_FORM_PERFORMANCE_KSE, &CAccountPerformanceForm::Make);
    RegisterFormMaker(IDD_FORM_PERFORMANCE_COMBINED, &CAccountPerformanceForm::Make);
    RegisterFormMaker(IDD_FORM_CURRENCY_CONVERSION, &CCurrencyConversionForm::Make);
    RegisterFormMaker(IDD_FORM_INTL_CONVERSION, &CInternationalConversionForm::Make);
}
