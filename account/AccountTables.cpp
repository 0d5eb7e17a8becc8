#include "account/AccountTables.h"
#include "account/CombinedHoldingsTable.h"
#include "account/InvestorHoldingsKSETable.h"
#include "account/InvestorHoldingsTable.h"
#include "account/UnrealizedProfitLossTable.h"
#include "account/ExecutedTradesKSETable.h"
#include "account/ExecutedTradesTable.h"
#include "account/OrderStatusKSETable.h"
#include "account/OrderStatusTable.h"
#include "app/TableFactory.h"
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
    RegisterTableMaker(56370, MakeDataTable<COrderStatusForwardTable>);
    RegisterTableMaker(IDS_TABLE_KSE_TRADES, MakeDataTable<CExecutedTradesKSETable>);
}

void RegisterAccountForms()
{
    RegisterFormMaker(IDD_FORM_PERFORMANCE_US, &CAccountPerformanceForm::Make);
    RegisterFormMaker(IDD_FORM_PERFORMANCE_KSE, &CAccountPerformanceForm::Make);
    RegisterFormMaker(IDD_FORM_PERFORMANCE_COMBINED, &CAccountPerformanceForm::Make);
    RegisterFormMaker(IDD_FORM_CURRENCY_CONVERSION, &CCurrencyConversionForm::Make);
    RegisterFormMaker(IDD_FORM_INTL_CONVERSION, &CInternationalConversionForm::Make);
}
