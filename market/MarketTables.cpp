#include "market/MarketTables.h"

#include "app/TableFactory.h"
#include "market/QuotationMonthlyTable.h"
#include "market/RulesFwdKSETable.h"
#include "market/StockDetailTables.h"
#include "market/StockListKSETable.h"
#include "market/TickerLookupResultsTable.h"
#include "market/TicksUnitsKSETable.h"
#include "market/TimeAndSalesKSETables.h"
#include "market/TimeAndSalesTable.h"

void RegisterMarketTables()
{
    RegisterTableMaker(IDS_TABLE_TIME_AND_SALES, MakeDataTable<CTimeAndSalesTable>);
    RegisterTableMaker(IDS_TABLE_TRADES_KSE, MakeDataTable<CTimeAndSalesKSETable>);
    RegisterTableMaker(IDS_TABLE_TRADES_ODDLOT_KSE, MakeDataTable<CTimeAndSalesOddLotKSETable>);
    RegisterTableMaker(IDS_TABLE_TRADES_FWD_KSE, MakeDataTable<CTimeAndSalesFwdKSETable>);
    RegisterTableMaker(IDS_TABLE_STOCK_LIST_KSE, MakeDataTable<CStockListKSETable>);
    RegisterTableMaker(IDS_TABLE_TICKS_UNITS_KSE, MakeDataTable<CTicksUnitsKSETable>);
    RegisterTableMaker(IDS_TABLE_RULES_FWD_KSE, MakeDataTable<CRulesFwdKSETable>);
    RegisterTableMaker(IDS_TABLE_TICKER_LOOKUP_RESULTS, MakeDataTable<CTickerLookupResultsTable>);
    RegisterTableMaker(IDS_TABLE_QUOTATION_MONTHLY, MakeDataTable<CQuotationMonthlyTable>);
    RegisterTableMaker(IDS_TABLE_STOCK_FINANCIAL, MakeDataTable<CStockFinancialTable>);
    RegisterTableMaker(IDS_TABLE_STOCK_INFORMATION, MakeDataTable<CStockInformationTable>);
}
