#pragma once
// The framework's presentation settings, one process-wide object reached through
// GetNorvGlobals: separators of every number conversion, patterns of every date and time
// conversion, reading direction, language and beep. Windows that must follow a change register
// as CGlobalsEventSink; a setter fires only when the value changed, to every sink.
#include "framework/base/GlobalsEvents.h"
#include "framework/base/TBString.h"

class CNorvGlobals : public CGlobalsEventSource
{
public:
    CNorvGlobals();

    char GetThousandsSeparator() const { return m_chThousands; }
    // 0 English, 1 Arabic: which of an object's two titles is shown. Other values are refused.
    BOOL SetLanguage(int nLanguage);
    // Sets right-to-left reading and mirrored columns together; the sinks hear the language index.
    void SetRightToLeft(BOOL bRightToLeft);

    // The frame colours with their pen sets, the palette and the right-to-left text flag of the
    // drawing calls belong with the drawing utilities and join this class with them.

    // Read directly by the conversions and the windows.
    char m_chDecimal = '.';
    char m_chThousands = ',';
    BOOL m_bRightToLeft = FALSE;
    BOOL m_bNoClipboardKeys = FALSE;     // input fields leave Ctrl+C/V/X alone while set; nothing sets it
    BOOL m_bMirrorColumns = FALSE;       // the grid lays its columns out right to left
    BOOL m_bBeep = TRUE;                 // refused input beeps
    BOOL m_bRightClickSelects = TRUE;    // a right click selects the row under the mouse first
    int  m_nLanguage = 0;
    CTBString m_strDatePattern;          // "Y/M/D" until the application sets its own
    CTBString m_strTimePattern;          // "H:M:S"
};

// The one instance, made on first use so that it exists before any static object needs it.
CNorvGlobals& GetNorvGlobals();
