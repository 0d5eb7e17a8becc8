#pragma once
// The market dialogs' test setting: the reference data's market list, filled as the server
// fills it, and the message boxes a refusal shows.
#include <initializer_list>
#include <string>

#include "platform/win/Windows.h"

class CZorvatMessageSource;

// The process-wide reference data holds these markets while the object lives (a market list
// of its own replaces any earlier one): KSE 2, US 4, US OTC 8 and Options 16 unless the test
// names others. Their Arabic names are real Arabic.
class CReferenceMarkets
{
public:
    explicit CReferenceMarkets(std::initializer_list<int> codes = {2, 4, 8, 16});
    ~CReferenceMarkets();
    CReferenceMarkets(const CReferenceMarkets&) = delete;
    CReferenceMarkets& operator=(const CReferenceMarkets&) = delete;
};

// A server line handed on as the dispatcher would: "EN", a reply's data row, or a typed line.
void FireDialogLine(CZorvatMessageSource& source, const std::string& strLine);

// Market names as the reference data gives them: English, and Arabic in code page 1256.
std::string EnglishMarketName(int nCode);

// Queues the OK of one message box; MessageBoxesAnswered tells whether each came.
void AnswerNextMessageBox();
bool MessageBoxesAnswered();

// The items of a combo box joined with "|".
std::string ComboItems(HWND hDlg, int nId);
