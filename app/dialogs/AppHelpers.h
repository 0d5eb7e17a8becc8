#pragma once
// Small services of the application that need nothing of its state: the language code of
// requests, the number a raw line carries after its mnemonic, Base64 for the news reader and the
// workspace section of a chart window.
#include "platform/mfc/String.h"

class CServerMessage;

// "0" for the English user interface, "1" for Arabic (the framework's right-to-left flag); the
// language field of the "EM", "CT" and table requests.
LPCSTR GetLanguageCode();

// The second non-empty "|"-separated piece of the message's raw line as a number: the number
// after the mnemonic. 0 when there is none, or for a null message.
int GetRawLineNumber(const CServerMessage* pMessage);

// Decodes Base64 (RFC 4648 alphabet, '=' padding, blanks and line breaks skipped). TRUE with
// exactly the decoded bytes in *pOut; FALSE and *pOut unchanged when the text is not Base64.
BOOL Base64DecodeString(const CString& strText, CString* pOut);

// The workspace section of the n-th chart window: "ChartView%d".
CString FormatChartViewKey(int n);
