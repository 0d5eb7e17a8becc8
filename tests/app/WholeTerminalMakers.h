#pragma once
#include <vector>
#include "app/AppCommands.h"
#include "app/ChartWindows.h"
#include "app/FormFactory.h"
#include "app/TableFactory.h"

// The makers the whole terminal registers, taken back afterwards: the other tests of this
// program run with the market layer's alone.
class CWholeTerminalMakers
{
public:
    CWholeTerminalMakers();
    ~CWholeTerminalMakers();
    CWholeTerminalMakers(const CWholeTerminalMakers&) = delete;
    CWholeTerminalMakers& operator=(const CWholeTerminalMakers&) = delete;
    static void Register();

private:
    std::vector<PFN_MAKE_TABLE> m_tables = std::vector<PFN_MAKE_TABLE>(0x10000);
    std::vector<PFN_MAKE_FORM_VIEW> m_forms = std::vector<PFN_MAKE_FORM_VIEW>(0x10000);
    std::vector<COMMAND_DIALOG_RUNNER> m_dialogs = std::vector<COMMAND_DIALOG_RUNNER>(0x10000);
    IChartMaker* m_pCharts = nullptr;
};
