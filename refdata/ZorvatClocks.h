#pragma once
// The terminal's clocks: the server clock (the local clock corrected by the offset the "TI"
// message gives), its New York twin for the status bar, the two session times of the market
// schedule, and a market's times shifted by its offsets. The reference data object owns one
// and fills the offsets and session times as the server sends them.
#include <ctime>
#include "framework/base/NorvTime.h"
#include "platform/mfc/String.h"

// Where the clocks read the time: the system clock in the application, a fixed one in tests.
struct IClockSource
{
    virtual ~IClockSource() = default;
    virtual time_t GetNow() const = 0;                  // seconds since 1970, UTC
    virtual int GetLocalSecondsOfDay() const = 0;       // the machine's local time of day now
};
const IClockSource& GetSystemClock();

// What the clocks need of the market list: the market time offset (seconds) of a market
// code, 0 for a market that is not listed.
struct IMarketTimeOffsets
{
    virtual ~IMarketTimeOffsets() = default;
    virtual long GetMarketTimeOffset(long nMarketCode) const = 0;
};

// The buffer ShiftServerTime writes: six digits and the terminator.
const int SHIFT_TIME_SIZE = 7;

class CZorvatClocks
{
public:
    CZorvatClocks() = default;
    virtual ~CZorvatClocks() = default;

    // Neither is owned; null restores the system clock, or no market offsets.
    void SetClockSource(const IClockSource* pClock) { m_pClock = pClock; }
    void SetMarketTimeOffsets(const IMarketTimeOffsets* pMarkets) { m_pMarkets = pMarkets; }
    // Now, from the clock source: every "today" of the date rules comes from here.
    time_t GetNow() const { return Clock().GetNow(); }

    // Offsets in seconds and the session times (Kuwait time), as the server sends them.
    void SetClockOffset(long nSeconds)
    {
        m_nClockOffset = nSeconds;
        m_bServerTimeHeard = TRUE;
    }
    long GetClockOffset() const { return m_nClockOffset; }
    // Whether the server told its time since the connection began: until it does, the server
    // time is the machine's corrected by the last offset known (none at all at first). A new
    // connection forgets it, keeping the offset.
    BOOL HasServerTime() const { return m_bServerTimeHeard; }
    void ForgetServerTime() { m_bServerTimeHeard = FALSE; }
    void SetGlobalTimeOffset(long nSeconds) { m_nGlobalTimeOffset = nSeconds; }
    long GetGlobalTimeOffset() const { return m_nGlobalTimeOffset; }
    void SetFirstMarketTime(const CNorvTime& time) { m_firstMarketTime = time; }
    void SetSecondMarketTime(const CNorvTime& time) { m_secondMarketTime = time; }

    // The server time is not wrapped at midnight: it may be negative or pass 24 hours. The
    // texts ("%02d:%02d:%02d") are what the user reads, so they wrap into 00:00:00..23:59:59.
    // GetServerTimeNY is the New York time of day of the instant nearest now that has the
    // server time, with the summer time of that instant, whatever the machine's zone.
    CNorvTime GetServerTime() const;
    CString GetServerTimeText() const;
    CNorvTime GetServerTimeNY() const;
    CString GetServerTimeNYText() const;
    CNorvTime GetFirstMarketTime() const { return m_firstMarketTime; }
    CNorvTime GetSecondMarketTime() const { return m_secondMarketTime; }
    CString GetFirstMarketTimeText() const { return ClockText(m_firstMarketTime); }
    CString GetSecondMarketTimeText() const { return ClockText(m_secondMarketTime); }
    CNorvTime GetFirstMarketTimeNY() const { return ToNewYork(m_firstMarketTime); }
    CNorvTime GetSecondMarketTimeNY() const { return ToNewYork(m_secondMarketTime); }
    CString GetFirstMarketTimeNYText() const { return ClockText(GetFirstMarketTimeNY()); }
    CString GetSecondMarketTimeNYText() const { return ClockText(GetSecondMarketTimeNY()); }

    // A server time "HHMMSS" less the market's time offset and plus the global one, into
    // pszResult (SHIFT_TIME_SIZE bytes) as six digits, wrapped into one day. TRUE when it
    // falls on the next day. Any other text (not six digits) is copied, cut to fit, with FALSE.
    BOOL ShiftServerTime(const char* pszTime, char* pszResult, long nMarketCode) const;
    // The same for a time field as the server writes it, whose hour may come without its leading
    // zero (93000): made six digits first (ConvertServerDateField), or every time before ten
    // would be copied unshifted. An empty field gives six blanks.
    BOOL ShiftServerTimeField(const char* pszField, char* pszResult, long nMarketCode) const;

    static CString ClockText(const CNorvTime& time);

protected:
    const IClockSource& Clock() const { return m_pClock != nullptr ? *m_pClock : GetSystemClock(); }

private:
    CNorvTime ToNewYork(const CNorvTime& kuwait) const;

    const IClockSource* m_pClock = nullptr;             // not owned; null: the system clock
    const IMarketTimeOffsets* m_pMarkets = nullptr;     // not owned
    long m_nClockOffset = 0;                            // local time minus server time
    BOOL m_bServerTimeHeard = FALSE;
    long m_nGlobalTimeOffset = 0;
    CNorvTime m_firstMarketTime;
    CNorvTime m_secondMarketTime;
};
