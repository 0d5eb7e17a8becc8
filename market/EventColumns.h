#pragma once
// The value and date columns the two corporate-event tables share.
#include "market/TableDescription.h"

constexpr TABLE_COLUMN EventValueColumn(UINT nTitleId, int nField)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DOUBLE, .nWidth = MONEY_WIDTH, .nDecimals = -6, .nAlign = ALIGN_RIGHT,
            .nField = nField};
}

constexpr TABLE_COLUMN EventDateColumn(UINT nTitleId, int nField)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DATE_TEXT, .nWidth = DATE_WIDTH, .nAlign = ALIGN_RIGHT,
            .nFlags = COLF_SERVER_DATE, .nField = nField};
}
