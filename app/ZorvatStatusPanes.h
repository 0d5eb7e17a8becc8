#pragma once
// The terminal's status panes: an empty text pane, the Kuwait and New York clocks, the KSE
// status texts, the market states and the connection state.
#include "app/NorvStatusBar.h"

#define STATUS_COLOR_CONNECTED 0x00FF00
#define STATUS_COLOR_DISCONNECTED 0x0000FF

class CZorvatStatusBarTextPane : public CNorvStatusBarTextPane
{
};

// "Connected" in green or "Disconnected" in red, as the link is.
class CZorvatStatusBarStatusPane : public CNorvStatusBarTextPane
{
public:
    CZorvatStatusBarStatusPane();
    void Update() override;
    BOOL IsConnectedShown() const { return m_bConnected; }

private:
    BOOL m_bConnected = FALSE;
};

class CZorvatStatusBarKwTimePane : public CNorvStatusBarAutoResizePane
{
protected:
    CString GetText() const override;
};

class CZorvatStatusBarNyTimePane : public CNorvStatusBarAutoResizePane
{
protected:
    CString GetText() const override;
};

class CZorvatStatusBarKSEStatusPane : public CNorvStatusBarAutoResizePane
{
protected:
    CString GetText() const override;
};

class CZorvatStatusBarStatePane : public CNorvStatusBarAutoResizePane
{
protected:
    CString GetText() const override;
};
