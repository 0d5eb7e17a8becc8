#pragma once
// A date and time in the server's compressed text form, one character per component: the year
// as its distance from 1922, then month, day, hour, minute and second as '0' plus the value.
// Three characters carry a date, six a date and a time.
#include "framework/base/NorvTime.h"
#include "platform/mfc/OleDateTime.h"

class CCompressedDateTime
{
public:
    CCompressedDateTime() = default;
    virtual ~CCompressedDateTime() = default;

    // 0 when the text held a valid date (and, with six characters, a time); nonzero otherwise.
    // A text of any other length, a null text included, changes nothing.
    int Parse(const char* pszText);
    const COleDateTime& GetDate() const { return m_date; }
    const CNorvTime& GetTime() const { return m_time; }

private:
    COleDateTime m_date;
    CNorvTime m_time;
};
