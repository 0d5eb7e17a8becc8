#include "market/LastPriceSource.h"

#include "market/DataTable.h"
#include "market/TableLinks.h"

double GetLastPriceFrom(UINT nNameId, long nStockId)
{
    const ILastPriceSource* pSource = dynamic_cast<const ILastPriceSource*>(FindDataTable(nNameId));
    return pSource != nullptr ? pSource->GetLastPrice(nStockId) : 0.0;
}
