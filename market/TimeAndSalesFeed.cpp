#include "market/TimeAndSalesFeed.h"

#include "app/DataTable.h"
#include "app/NorvApp.h"

#define IDS_TABLE_TIME_AND_SALES 51954

ITimeAndSalesFeed* FindTimeAndSalesFeed()
{
    const CNorvApp* pApp = CNorvApp::Get();
    IDataTable* pTable = pApp != nullptr ? pApp->FindTable(IDS_TABLE_TIME_AND_SALES) : nullptr;
    return dynamic_cast<ITimeAndSalesFeed*>(pTable);
}
