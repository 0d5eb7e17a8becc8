#include "PrintTestSupport.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "framework/base/NorvGlobals.h"
#include "framework/base/TBApp.h"
#include "framework/table/Table.h"
#include "framework/table/ViewTable.h"

CPrintTable::CPrintTable(int nRows, BOOL bGroups)
    : t({{"Symbol", COLTYPE_STRING, 12, FALSE}, {"Name", COLTYPE_STRING, 40, FALSE}, {"Sector", COLTYPE_STRING, 12, FALSE},
         {"Qty", COLTYPE_INT32, 0, TRUE}, {"Price", COLTYPE_DOUBLE, 0, FALSE}, {"Value", COLTYPE_DOUBLE, 0, TRUE}})
{
    UseSourceResources();
    CTable& table = t.Table();
    table.SetName("Holdings");
    static const int s_widths[PT_COLUMNS] = {60, 150, 70, 60, 70, 90};
    for (int i = 0; i < PT_COLUMNS; ++i) {
        table.GetColumn(i).SetWidth(s_widths[i]);
        table.GetColumn(i).SetThousands(FALSE);
    }
    // The Arabic titles, shown while the framework's language is Arabic.
    static const char* const s_arabic[PT_COLUMNS] = {"الرمز", "الاسم", "القطاع", "الكمية", "السعر", "القيمة"};
    for (int i = 0; i < PT_COLUMNS; ++i)
        table.GetColumn(i).SetTitle(ToCodePage(s_arabic[i], 1256).c_str(), 1);
    table.GetColumn(PT_QTY).SetAlignment(ALIGN_RIGHT);
    table.GetColumn(PT_PRICE).SetAlignment(ALIGN_RIGHT);
    table.GetColumn(PT_PRICE).SetDecimals(-3);
    table.GetColumn(PT_PRICE).SetMinDecimals(1);
    table.GetColumn(PT_VALUE).SetAlignment(ALIGN_RIGHT);
    table.GetColumn(PT_VALUE).SetDecimals(2);
    table.Open();
    View().SetTitle("Holdings", 0);
    View().SetTitle(ToCodePage("المحفظة", 1256).c_str(), 1);
    for (int i = 0; i < nRows; ++i) {
        TBCellSlot* pBlock = t.NewBlock();
        PutText(t, pBlock, PT_SYMBOL, PrintedSymbol(i).c_str());
        std::string strName = "Company " + std::to_string(i) + (i % 7 == 0 ? " Holdings and Investments International" : "");
        PutText(t, pBlock, PT_NAME, strName.c_str());
        PutText(t, pBlock, PT_SECTOR, PrintedSector(i).c_str());
        PutInt(t, pBlock, PT_QTY, i);
        double dPrice = 10.0 + (i % 8) / 8.0;
        View().GetColumns().SetSlotValue(&pBlock[PT_PRICE], &dPrice, PT_PRICE);
        double dValue = i * dPrice;
        View().GetColumns().SetSlotValue(&pBlock[PT_VALUE], &dValue, PT_VALUE);
        t.Insert(pBlock);
    }
    CSortColumns keys(30);
    keys.Add(PT_SECTOR, SORT_ASCENDING);
    keys.Add(PT_SYMBOL, SORT_ASCENDING);
    View().Sort(keys, bGroups);
    if (bGroups) {
        View().SetGroupHeaderMode(1);
        View().SetTotalsMode(3);
    }
    for (int nLine = 0; nLine < View().GetRowTree().GetCount(); ++nLine) {
        CViewRow row(&View());
        if (View().GetRow(row, nLine) && row.IsDataRow()) {
            char szSymbol[16] = "";
            row.GetNode()->GetCellText(szSymbol, sizeof(szSymbol), PT_SYMBOL,
                                       View().GetColumns().GetColumn(PT_SYMBOL), &View());
            if (atoi(szSymbol + 1) % 50 == 0)
                row.SetMarked(TRUE);
        }
    }
}

void UsePdfPrinterOnly()
{
    TbUseSystemPrinters(FALSE);
}

CTestIni::CTestIni() : m_strPath(TestFilePath("print.ini"))
{
    std::remove(m_strPath.c_str());
    m_ini.SetFileName(m_strPath.c_str());
    m_ini.SetSection("Print");
}

CTestIni::~CTestIni()
{
    std::remove(m_strPath.c_str());
}
