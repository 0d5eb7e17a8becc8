#pragma once
// The framework's presentation settings, one process-wide object reached through
// GetNorvGlobals: separators of every number conversion, patterns of every date and time
// conversion, reading direction, language and beep, the two frame colours with their pen sets,
// and the palette of a palette screen. Windows that must follow a change register as
// CGlobalsEventSink; a setter fires only when the value changed, to every sink.
#include "framework/base/GlobalsEvents.h"
#include "framework/base/TB3DFrame.h"
#include "framework/base/TBString.h"

#include <string>

class CNorvGlobals : public CGlobalsEventSource
{
public:
    CNorvGlobals();
    ~CNorvGlobals() override;

    char GetThousandsSeparator() const { return m_chThousands; }
    // 0 English, 1 Arabic: which of an object's two titles is shown. Other values are refused.
    BOOL SetLanguage(int nLanguage);
    // Sets right-to-left reading and mirrored columns together; the sinks hear the language index.
    void SetRightToLeft(BOOL bRightToLeft);

    // Frame colours. Each setter rebuilds its coloured set (also for the same colour) and fires
    // only when the colour changed. RecreateFrames follows a change of the system colours.
    void SetFrameColor1(COLORREF crColor);
    void SetFrameColor2(COLORREF crColor);
    void RecreateFrames();

    // Palette screens get a halftone palette; on a true-colour screen there is none and
    // RealizePalette does nothing.
    void RealizePalette(HDC hdc);
    // DT_RTLREADING for the text drawing calls while right-to-left reading is set, else 0.
    UINT GetRtlReadingFlag() const;
    // The right-to-left mark while right-to-left reading is set in the Arabic code page, else "".
    // Put after a label or a separator, it starts what follows as a part of its own, so that the
    // parts of a text stand in right-to-left reading order whatever their own direction.
    LPCSTR GetRtlMark() const;

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
    COLORREF m_crFrame1;                 // the grid's frame and header colour: the button face
    COLORREF m_crFrame2;                 // the header highlight: pure red
    CTB3DFrame m_frame;                  // built from the system colours
    CTB3DFrame m_frame1;                 // built from frame colour 1
    CTB3DFrame m_frame2;                 // built from frame colour 2
    HPALETTE m_hPalette = nullptr;       // owned; null on a true-colour screen
};

// A halftone palette for the screen when it is palette-based, else null; the caller owns it.
HPALETTE CreateHalftonePaletteIfNeeded();

// The one instance, made on first use so that it exists before any static object needs it.
CNorvGlobals& GetNorvGlobals();

// A number as every window shows it: the whole part of a plain number ([-]digits, maybe a '.' and
// digits) grouped in thousands with the set separator, "184,200" and "1,150.0"; any other text
// (a name, a number already grouped) as it stands.
std::string GroupedNumber(const std::string& strNumber);
