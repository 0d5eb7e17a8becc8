#pragma once
// Comma decimals and point thousands for one fuzz input, put back whatever happens, so that no
// input leaves the framework's separators changed for the next.
#include "framework/base/NorvGlobals.h"

class CSeparatorScope
{
public:
    explicit CSeparatorScope(BOOL bComma)
        : m_chDecimal(GetNorvGlobals().m_chDecimal), m_chThousands(GetNorvGlobals().m_chThousands)
    {
        if (bComma) {
            GetNorvGlobals().m_chDecimal = ',';
            GetNorvGlobals().m_chThousands = '.';
        }
    }
    ~CSeparatorScope()
    {
        GetNorvGlobals().m_chDecimal = m_chDecimal;
        GetNorvGlobals().m_chThousands = m_chThousands;
    }
    CSeparatorScope(const CSeparatorScope&) = delete;
    CSeparatorScope& operator=(const CSeparatorScope&) = delete;

private:
    char m_chDecimal;
    char m_chThousands;
};
