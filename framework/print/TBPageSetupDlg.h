#pragma once
// The page-setup dialog: four pages under a tab strip (paper format, margins and scale,
// headers, grid and titles, table appearance) over the dialog's own copy of the print settings.
// Only the page of the current tab has a window; it is made again from its template at every
// change of tab and reads the copy afresh. The run ends with 1 (keep the settings), 2 (cancel)
// or 1090 (keep them and open the preview).
#include <memory>

#include "framework/base/TB3DFrame.h"
#include "framework/print/TablePrintSettings.h"
#include "framework/window/TBDialog.h"
#include "framework/window/TBFont.h"

class CTBPropertyPage;
class CTBTabControl;
class CViewTable;

#define IDD_PAGESETUP           1122
#define IDC_PAGESETUP_TABS      1048
#define IDC_PAGESETUP_PREVIEW   42
#define IDS_PAGESETUP_CAPTION   28706
#define IDS_PAGESETUP_TAB_FIRST 28702   // to 28705, in tab order

class CTBPageSetupDlg : public CTBLangDialog
{
public:
    static constexpr int PAGE_COUNT = 4;

    CTBPageSetupDlg(CTBWnd* pOwner, CViewTable* pView);
    ~CTBPageSetupDlg() override;

    void SetSettings(const CTablePrintSettings& settings) { m_settings.CopyFrom(settings); }
    const CTablePrintSettings& GetSettings() const { return m_settings; }
    CTablePrintSettings& Settings() { return m_settings; }
    // The table window's font (copied) and background for the table page's samples.
    void SetSampleFont(HFONT hFont, COLORREF crSample);

    // The page of a tab (null when its template could not be had) and the tab shown (-1: none).
    CTBPropertyPage* GetPage(int nIndex) const;
    int  GetShownPage() const { return m_nShown; }
    CTBTabControl* GetTabControl() const;

    CTBString GetSettingsSection() override;
    CTBString GetCaption() override;
    CTBString GetLangSection(int nLanguage) override;
    void OnLanguageChanged(int nLanguage) override;
    BOOL OnInitDialog() override;
    BOOL OnCmdMsg(UINT nId, int nCode) override;
    LRESULT WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    void OnOK() override;
    void OnDestroy() override;

private:
    struct PAGE {
        HRSRC hResource = nullptr;
        HGLOBAL hTemplate = nullptr;
        LPCDLGTEMPLATEA pTemplate = nullptr;
        std::unique_ptr<CTBPropertyPage> pPage;
    };
    void LoadPages();
    void FreePages();
    void ShowPage(int nIndex);
    // The page's own edits take what they hold, as if the focus had left them.
    void CommitShownPage();
    RECT GetFrameRect() const;

    PAGE m_pages[PAGE_COUNT];
    int m_nShown = -1;
    CTB3DFrame m_frame;
    CTablePrintSettings m_settings;
    CViewTable* m_pView;            // not owned; may be null
    CTBFont m_fontSample;
    COLORREF m_crSample = RGB(255, 255, 255);
};
