#include "WholeTerminalMakers.h"

#include "account/AccountForms.h"
#include "account/AccountTables.h"
#include "charts/ZorvatChartForm.h"
#include "orders/OrderForms.h"

CWholeTerminalMakers::CWholeTerminalMakers()
{
    for (UINT nId = 1; nId < 0x10000; ++nId) {
        m_tables[nId] = FindTableMaker(nId);
        m_forms[nId] = FindFormMaker(nId);
        m_dialogs[nId] = FindCommandDialog(nId);
    }
    m_pCharts = GetChartMaker();
}

CWholeTerminalMakers::~CWholeTerminalMakers()
{
    for (UINT nId = 1; nId < 0x10000; ++nId) {
        RegisterTableMaker(nId, m_tables[nId]);
        RegisterFormMaker(nId, m_forms[nId]);
        RegisterCommandDialog(nId, m_dialogs[nId]);
    }
    RegisterChartMaker(m_pCharts);
}

void CWholeTerminalMakers::Register()
{
    RegisterAccountTables();
    RegisterAccountForms();
    RegisterOrderForms();
    RegisterCharts();
}
