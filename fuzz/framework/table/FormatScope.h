#pragma once
// The framework's number separators and date and time patterns for one fuzz input, chosen by
// a few bits of it and put back whatever happens, so that no input leaves them changed.
#include <cstdint>
#include "framework/base/NorvGlobals.h"

class CFormatScope
{
public:
    // Bit 0: comma decimals and point thousands; bits 1-2: the date pattern; bit 3: the time pattern.
    explicit CFormatScope(uint8_t bChoice)
        : m_chDecimal(GetNorvGlobals().m_chDecimal), m_chThousands(GetNorvGlobals().m_chThousands),
          m_strDate(GetNorvGlobals().m_strDatePattern), m_strTime(GetNorvGlobals().m_strTimePattern)
    {
        static const char* const s_apszDates[] = {"Y/M/D", "D/M/Y", "D-M-Y", "M.D.y"};
        CNorvGlobals& g = GetNorvGlobals();
        if (bChoice & 1) {
            g.m_chDecimal = ',';
            g.m_chThousands = '.';
        }
        g.m_strDatePattern = s_apszDates[(bChoice >> 1) & 3];
        g.m_strTimePattern = (bChoice & 8) ? "H.M.S" : "H:M:S";
    }
    ~CFormatScope()
    {
        CNorvGlobals& g = GetNorvGlobals();
        g.m_chDecimal = m_chDecimal;
        g.m_chThousands = m_chThousands;
        g.m_strDatePattern = m_strDate;
        g.m_strTimePattern = m_strTime;
    }
    CFormatScope(const CFormatScope&) = delete;
    CFormatScope& operator=(const CFormatScope&) = delete;

private:
    char m_chDecimal;
    char m_chThousands;
    CTBString m_strDate;
    CTBString m_strTime;
};
