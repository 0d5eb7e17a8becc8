#include "account/AccountTables.h"
#include "account/CombinedHoldingsTable.h"
#include "account/InvestorHoldingsKSETable.h"
#include "account/InvestorHoldingsTable.h"
#include "account/UnrealizedProfitLossTable.h"
#include "app/TableFactory.h"

void RegisterAccountTables()
{
    RegisterTableMaker(IDS_TABLE_US_HOLDINGS, MakeDataTable<CInvestorHoldingsTable>);
    RegisterTableMaker(IDS_TABLE_KSE_HOLDINGS, MakeDataTable<CInvestorHoldingsKSETable>);
    RegisterTableMaker(IDS_TABLE_COMBINED_HOLDINGS, MakeDataTable<CCombinedHoldingsTable>);
    RegisterTableMaker(IDS_TABLE_US_UNREALIZED, MakeDataTable<CUnrealizedProfitLossTable>);
}
