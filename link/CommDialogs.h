#pragma once
// The link's settings dialogs, from templates of the language module: the connection
// (CCommSettingsDlg), the serial port it opens (CCommSerialSettings) and the replay of a recorded
// feed (CNorvFeedSettings). Each edits a copy of its values; the link stores them on OK.
#include "platform/mfc/Dialog.h"
#include "platform/mfc/String.h"

#define IDD_COMM_SETTINGS       5300
#define IDD_COMM_SERIAL         5301
#define IDD_FEED_SETTINGS       5302

// CCommSettingsDlg
#define IDC_COMM_NETWORK        5310
#define IDC_COMM_SERIAL         5311
#define IDC_COMM_SERVER         5312
#define IDC_COMM_SERVER2        5313
#define IDC_COMM_PORT           5314
#define IDC_COMM_COMPORT        5315
#define IDC_COMM_SPEED          5316
#define IDC_COMM_UDP            5317
#define IDC_COMM_CRYPT          5318
#define IDC_COMM_LOG            5319
#define IDC_COMM_PROTOCOL       5320
#define IDC_COMM_LOGPATH        5321
#define IDC_COMM_BROWSE         5322
#define IDC_COMM_FONT           5323
#define IDC_COMM_SERIALSET      5324
#define IDC_COMM_SERVER_LABEL   5325
#define IDC_COMM_SERVER2_LABEL  5326
#define IDC_COMM_PORT_LABEL     5327
#define IDC_COMM_COMPORT_LABEL  5328
#define IDC_COMM_SPEED_LABEL    5329
// CCommSerialSettings
#define IDC_SERIAL_PORT         5330
#define IDC_SERIAL_SPEED        5331
#define IDC_SERIAL_BYTESIZE     5332
#define IDC_SERIAL_PARITY       5333
#define IDC_SERIAL_STOPBITS     5334
#define IDC_SERIAL_DTRDSR       5335
#define IDC_SERIAL_RTSCTS       5336
#define IDC_SERIAL_XONXOFF      5337
#define IDC_SERIAL_AUTOWRAP     5338
#define IDC_SERIAL_NEWLINE      5339
#define IDC_SERIAL_LOCALECHO    5340
// CNorvFeedSettings
#define IDC_FEED_PERIOD         5350
#define IDC_FEED_PERIOD_TEXT    5351
#define IDC_FEED_REPLAY         5352
#define IDC_FEED_REPEAT         5353

// Strings: the speeds' labels (632 on, one per speed), parities (656 on), the stop bits, the
// log chooser's filter and the period's "%d ms".
#define IDS_COMM_SPEED_FIRST    632
#define IDS_COMM_PARITY_FIRST   656
#define IDS_COMM_STOPBITS       668
#define IDS_COMM_LOG_FILTER     669
#define IDS_FEED_PERIOD         670

#define COMM_PORT_DUAL          5       // "Dual": COM1 and COM2 in turn
#define FEED_PERIOD_MIN         1       // ms
#define FEED_PERIOD_MAX         3000
#define FEED_PERIOD_PAGE        100

// The serial line and the terminal's options, as the serial dialog edits them.
struct COMM_SERIAL_VALUES
{
    int  nComPort = 1;                  // 1 to 4, COMM_PORT_DUAL
    int  nBaudRate = 9600;
    int  nByteSize = 8;                 // 5 to 8
    int  nParity = 0;                   // 0 none, 1 odd, 2 even, 3 mark, 4 space
    int  nStopBits = 0;                 // 0: one stop bit
    int  nHandshake = 4;                // bit 0 DTR/DSR, bit 1 RTS/CTS, bit 2 XON/XOFF
    BOOL bAutoWrap = TRUE;
    BOOL bNewLineOnCr = FALSE;
    BOOL bLocalEcho = FALSE;
};

// Everything the connection dialog edits.
struct COMM_DIALOG_VALUES
{
    int  nConnection = 1;               // "Connection type": 1 network, otherwise serial
    CString strServer;
    CString strServer2;
    long nPort = 8001;
    BOOL bUdp = FALSE;
    BOOL bCrypt = FALSE;
    BOOL bLog = FALSE;
    CString strLogPath;
    LOGFONTA font{};
    COMM_SERIAL_VALUES serial;
};

// What the link lets the connection dialog offer.
struct COMM_DIALOG_OPTIONS
{
    int  nDialogFlags = 1;              // bit 0 the network button, bit 1 the serial button
    BOOL bLogControls = TRUE;           // the traffic-log box, its path and browse button
    BOOL bCryptControl = TRUE;          // the encryption box (network links only)
    BOOL bProtocolControl = TRUE;       // the protocol box (serial links only)
    BOOL bPortOpen = FALSE;             // the serial port is open: its choice is fixed
};

// The replay of a recorded feed.
struct FEED_REPLAY_VALUES
{
    BOOL bReplay = FALSE;
    BOOL bRepeat = FALSE;
    int  nPeriod = 5;                   // ms
};

class CCommSerialSettings : public CDialog
{
public:
    CCommSerialSettings(const COMM_SERIAL_VALUES& values, BOOL bPortOpen, CWnd* pParent = nullptr);
    const COMM_SERIAL_VALUES& GetValues() const { return m_values; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    COMM_SERIAL_VALUES m_values;
    BOOL m_bPortOpen;
};

class CCommSettingsDlg : public CDialog
{
public:
    CCommSettingsDlg(const COMM_DIALOG_VALUES& values, const COMM_DIALOG_OPTIONS& options, CWnd* pParent = nullptr);
    const COMM_DIALOG_VALUES& GetValues() const { return m_values; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg void OnKindClicked();
    afx_msg void OnLogClicked();
    afx_msg void OnLogPathChanged();
    afx_msg void OnBrowse();
    afx_msg void OnFont();
    afx_msg void OnSerialSettings();
    DECLARE_MESSAGE_MAP()

private:
    BOOL IsNetworkChosen() const;
    void ShowKind();
    void EnableLogPath();
    void ShowItem(int nId, BOOL bShow);
    BOOL IsChecked(int nId) const;

    COMM_DIALOG_VALUES m_values;
    COMM_DIALOG_OPTIONS m_options;
    BOOL m_bShownNetwork = TRUE;        // the kind whose fields show, to notice a change
};

class CNorvFeedSettings : public CDialog
{
public:
    explicit CNorvFeedSettings(const FEED_REPLAY_VALUES& values, CWnd* pParent = nullptr);
    const FEED_REPLAY_VALUES& GetValues() const { return m_values; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    DECLARE_MESSAGE_MAP()

private:
    void ShowPeriod();

    FEED_REPLAY_VALUES m_values;
};

// The value lists the two connection dialogs share (CommDialogLists.cpp): the ports, the
// speeds, byte sizes, parities and stop bits, each item's data its value.
enum COMM_LIST
{
    COMM_LIST_PORT,
    COMM_LIST_SPEED,
    COMM_LIST_BYTESIZE,
    COMM_LIST_PARITY,
    COMM_LIST_STOPBITS,
};
// Fills the combo box and selects the value (the first item when it is not in the list).
void FillCommList(HWND hCombo, COMM_LIST list, int nValue);
// The selected item's value; nDefault without a selection.
int GetCommListValue(HWND hCombo, int nDefault);
