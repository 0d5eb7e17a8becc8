#include "framework/print/PageRange.h"

#include <cstdio>
#include <cstdlib>

#include "framework/table/CriteriaParser.h"

namespace {
// The forms of an operator and one page, before or after it. The parser turns a trailing "-"
// into ">=" after the page and a leading one into "<=" before it, so "5-" reads from 5 and "-5"
// to 5. The inclusive forms keep the page typed; the strict ones too, as users type them
// (">4" keeps page 4).
const struct {
    int  nOperator;
    BOOL bOperatorFirst;
    BOOL bFrom;             // the page becomes the first page
    BOOL bTo;               // the page becomes the last page
} s_forms[] = {
    {CRIT_OP_EQ, TRUE, TRUE, TRUE},    {CRIT_OP_EQ, FALSE, TRUE, TRUE},
    {CRIT_OP_GT, TRUE, TRUE, FALSE},   {CRIT_OP_GE, TRUE, TRUE, FALSE},
    {CRIT_OP_LT, TRUE, FALSE, TRUE},   {CRIT_OP_LE, TRUE, FALSE, TRUE},
    {CRIT_OP_GT, FALSE, FALSE, TRUE},  {CRIT_OP_GE, FALSE, TRUE, FALSE},
    {CRIT_OP_LT, FALSE, TRUE, FALSE},  {CRIT_OP_LE, FALSE, FALSE, TRUE},
};

// A page number of 0 or less means no bound, as the print settings read it.
int Bound(int nPage)
{
    return nPage > 0 ? nPage : -1;
}
}  // namespace

void ParsePageRange(const char* pszText, int& nFrom, int& nTo)
{
    nFrom = nTo = -1;
    CCriteriaParser parser;
    if (!parser.Parse(pszText, CRIT_NUMERIC) || parser.GetCount() == 0)
        return;
    switch (parser.Classify()) {
    case CRIT_SINGLE: {
        const int nPage = atoi(parser.GetToken(0)->m_strText);
        if (nPage > 0)
            nFrom = nTo = nPage;
        else
            nTo = Bound(-nPage);       // a negative number is an open start: "-5" to 5
        break;
    }
    case CRIT_OPVALUE: {
        const BOOL bOperatorFirst = parser.GetToken(0)->m_nClass == CRIT_OPERATOR;
        const int nOperator = LookupCriteriaOperator(parser.GetToken(bOperatorFirst ? 0 : 1)->m_strText);
        const int nPage = Bound(atoi(parser.GetToken(bOperatorFirst ? 1 : 0)->m_strText));
        for (const auto& form : s_forms) {
            if (form.nOperator != nOperator || form.bOperatorFirst != bOperatorFirst)
                continue;
            if (form.bFrom)
                nFrom = nPage;
            if (form.bTo)
                nTo = nPage;
            break;
        }
        break;
    }
    case CRIT_RANGE: {
        const int nFirst = atoi(parser.GetToken(0)->m_strText);
        const int nLast = atoi(parser.GetToken(2)->m_strText);
        nFrom = Bound(nFirst);
        nTo = Bound(nLast > nFirst ? nLast : nFirst);
        break;
    }
    default:
        break;
    }
}

CTBString FormatPageRange(int nFrom, int nTo)
{
    char szText[32] = "";
    if (nFrom > 0 && nTo > nFrom)
        snprintf(szText, sizeof(szText), "%d-%d", nFrom, nTo);
    else if (nFrom > 0 && nTo > 0)
        snprintf(szText, sizeof(szText), "%d", nFrom);
    else if (nFrom > 0)
        snprintf(szText, sizeof(szText), ">%d", nFrom);
    else if (nTo > 0)
        snprintf(szText, sizeof(szText), "<%d", nTo);
    return CTBString(szText);
}
