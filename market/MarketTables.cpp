#include "market/MarketTables.h"

#include "app/TableFactory.h"
#include "app/ZorvatApp.h"
#include "market/ZorvatInfoTable.h"

namespace {

// The information window answers to the application as its host.
IDataTable* MakeInfoTable(UINT nNameId, int nFixedColumns, UINT nTitleId)
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    CZorvatInfoTable* pTable = new CZorvatInfoTable(pApp, pApp);
    if (!pTable->Create(nNameId, nFixedColumns, nTitleId)) {
        delete pTable;
        return nullptr;
    }
    return pTable;
}

}  // namespace

void RegisterMarketTables()
{
    RegisterTableMaker(IDS_TABLE_INFO, MakeInfoTable);
}
