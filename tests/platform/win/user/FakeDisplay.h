#pragma once
// A display for the layer's questions without Qt: it forwards everything to the headless display
// but shows message boxes and choosers as questions a test answers, and counts the beeps.
#include <vector>
#include "platform/win/user/Display.h"
#include "platform/win/user/Questions.h"

class CFakeQuestion : public ITbQuestion
{
public:
    BOOL IsDone() override { return m_bDone; }
    // The person answers: the test has filled the request; this wakes the waiting loop.
    void Answer();
    ~CFakeQuestion() override;

private:
    BOOL m_bDone = FALSE;
};

class CFakeDisplay : public ITbDisplay
{
public:
    CFakeDisplay();                     // installs itself as the display
    ~CFakeDisplay() override;           // puts the headless display back

    // The requests asked, good until the question is answered, and a copy of the last box as asked.
    TBMESSAGEBOXQUESTION* m_pMessageBox = nullptr;
    TBMESSAGEBOXQUESTION m_box;
    TBFILEQUESTION* m_pFile = nullptr;
    TBFONTQUESTION* m_pFont = nullptr;
    TBCOLORQUESTION* m_pColor = nullptr;
    CFakeQuestion* m_pOpen = nullptr;   // the question showing, null when none
    int m_nAsked = 0;
    std::vector<UINT> m_beeps;

    ITbQuestion* AskMessageBox(HWND, TBMESSAGEBOXQUESTION* p) override
    {
        m_pMessageBox = p;
        m_box = *p;
        return Ask();
    }
    ITbQuestion* AskFile(HWND, TBFILEQUESTION* p) override { m_pFile = p; return Ask(); }
    ITbQuestion* AskFont(HWND, TBFONTQUESTION* p) override { m_pFont = p; return Ask(); }
    ITbQuestion* AskColor(HWND, TBCOLORQUESTION* p) override { m_pColor = p; return Ask(); }
    void Beep(UINT uType) override { m_beeps.push_back(uType); }

    ITbSurface* CreateSurface(HWND h, ITbSurface* p, DWORD s, DWORD x) override { return m_pInner->CreateSurface(h, p, s, x); }
    void Wait(int n) override { m_pInner->Wait(n); }
    void Wake() override { m_pInner->Wake(); }
    void ProcessPending() override { m_pInner->ProcessPending(); }
    void SetCursorShape(const TBCURSORSHAPE& s) override { m_pInner->SetCursorShape(s); }
    BOOL GetCursorPos(POINT* p) override { return m_pInner->GetCursorPos(p); }
    // The person holds the left button down (a drag of a window's frame).
    BOOL m_bLeftDown = FALSE;
    SHORT GetAsyncKeyState(int n) override
    {
        return n == 0x01 && m_bLeftDown ? static_cast<SHORT>(0x8000) : m_pInner->GetAsyncKeyState(n);
    }
    void GetScreenSize(SIZE* p) override { m_pInner->GetScreenSize(p); }
    BOOL PlayWave(LPCSTR p, BOOL b) override { return m_pInner->PlayWave(p, b); }
    void WatchFd(int fd, int n) override { m_pInner->WatchFd(fd, n); }
    void OfferClipboard(BOOL bText, BOOL bImage) override { m_pInner->OfferClipboard(bText, bImage); }
    BOOL GetClipboardText(std::string* p) override { return m_pInner->GetClipboardText(p); }
    BOOL OpenPopupMenu(HMENU h, UINT u, POINT pt, HWND o) override { return m_pInner->OpenPopupMenu(h, u, pt, o); }
    void ClosePopupMenu() override { m_pInner->ClosePopupMenu(); }

private:
    ITbQuestion* Ask();
    ITbDisplay* m_pInner;
};

// The fake display in use, for timer procedures that play the person.
CFakeDisplay* TheFakeDisplay();
