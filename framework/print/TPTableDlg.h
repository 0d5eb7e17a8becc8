#pragma once
// The table appearance page of the page setup: colour mode (colour, grey, black and white), the
// background of the table body and the font: the table's own or the table window's. The table's
// own font is kept aside while the window's is chosen, so switching back brings it again; fonts
// pass between the settings and the page as copies, each owned once.
#include "framework/print/TBPropertyPage.h"
#include "framework/window/TBFont.h"

#define IDD_PAGE_TABLE          1126
#define IDC_TABLE_COLOR         1084
#define IDC_TABLE_GREY          1085
#define IDC_TABLE_BLACKWHITE    1086
#define IDC_TABLE_BACKGROUND    1087
#define IDC_TABLE_OWNFONT       1035
#define IDC_TABLE_WINDOWFONT    1036
#define IDC_TABLE_FONTSAMPLE    1088
#define IDS_FONT_BOLD           28708
#define IDS_FONT_ITALIC         28709
#define IDS_FONT_POINTS         28710

// "<face> - <points> <points name>", then " - <bold>" and " - <italic>" as the font has them.
CTBString FontSampleText(HFONT hFont, HDC hdc);

class CTPTableDlg : public CTBPropertyPage
{
public:
    explicit CTPTableDlg(CTablePrintSettings* pSettings);
    ~CTPTableDlg() override;

    // The table window's font (copied) and background, shown when the table has none of its own.
    void SetSample(HFONT hFont, COLORREF crSample);

    BOOL OnInitDialog() override;
    BOOL OnCmdMsg(UINT nId, int nCode) override;
    void OnDrawItem(int nIdCtl, tagDRAWITEMSTRUCT* pDraw) override;

    void ChooseBackground();
    void ChooseFont();
    void ApplyColorMode();
    int  GetFontChoice() const { return m_nFontChoice; }
    // The font the sample shows: the table window's while it is chosen, else the table's own.
    HFONT GetShownFont() const;

private:
    void DrawFontSample(tagDRAWITEMSTRUCT* pDraw);
    void Redraw(int nId);
    // Whether the printer prints colour: its device mode has the field and its driver says so.
    BOOL PrinterHasColor() const;

    COLORREF m_crCustom[16] = {};
    CTBFont m_fontWindow;           // the table window's font
    CTBFont m_fontSpare;            // the table's own font while the window's is chosen
    COLORREF m_crSample = RGB(255, 255, 255);
    int m_nFontChoice = 0;          // 0 the table's own font, 1 the table window's
};
