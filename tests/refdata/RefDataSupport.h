#pragma once
// The reference data's test setting: an application double that logs what it is asked, the
// English language library as the resource module, and lines fanned out through a real source.
#include <string>
#include <vector>
#include "link/MessageSource.h"
#include "refdata/MarketListClient.h"
#include "refdata/ZorvatClocks.h"

using CEventLog = std::vector<std::string>;

class CMarketListClientDouble : public IMarketListClient
{
public:
    long SendRequest(int nType, LPCSTR pszBody) override;
    CUser GetUser() const override { return m_user; }
    void SetBusy(BOOL bBusy) override { Log(bBusy ? "busy" : "idle"); }
    void AddInfoText(LPCSTR pszText) override { Log(std::string("info ") + pszText); }
    void BringInfoWindowToTop(int nPriority) override { Log("top " + std::to_string(nPriority)); }
    void RemoveAllTickers() override;
    void AddTicker(LPCSTR pszName) override { m_tickers.push_back(pszName); }
    int GetTickerCount() const override { return static_cast<int>(m_tickers.size()); }
    void OnMarketListChanged() override { Log("market list changed"); }
    void ResetCharts() override { Log("reset charts"); }
    void OnSymbolListsIn() override { Log("order status again"); }
    void OnCurrencyListIn() override { Log("currencies in"); }
    CString GetProgramFolder() const override { return m_strFolder; }

    // Logs a user in: user number, account text and market permission mask.
    void LogIn(int nUserNumber, const char* pszAccount, int nMask);
    std::string Take();                         // the log joined with "; " and emptied

    CUser m_user;
    CString m_strFolder;
    std::vector<std::string> m_tickers;
    CEventLog m_log;
private:
    void Log(const std::string& event) { m_log.push_back(event); }
    long m_nNextNumber = 1;
};

// A clock that stands where the test puts it.
class CFixedClock : public IClockSource
{
public:
    time_t GetNow() const override { return 0; }
    int GetLocalSecondsOfDay() const override { return m_nSecondsOfDay; }
    int m_nSecondsOfDay = 0;
};

// The English language library as the resource module while it lives, and the message codes.
class CLanguageModule
{
public:
    CLanguageModule();
    ~CLanguageModule();
    CLanguageModule(const CLanguageModule&) = delete;
    CLanguageModule& operator=(const CLanguageModule&) = delete;
private:
    HMODULE m_hModule = nullptr;
    HINSTANCE m_hOld = nullptr;
};

// Routes a server line to its fan-out as the dispatcher does.
void FireLine(CZorvatMessageSource& source, const char* pszLine);
// A folder of its own under the system's temporary folder, removed with everything in it.
class CTempFolder
{
public:
    CTempFolder();
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;
    const std::string& Path() const { return m_path; }
    std::string File(const char* pszName) const { return m_path + "/" + pszName; }
private:
    std::string m_path;
};
