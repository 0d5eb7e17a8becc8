#pragma once
#include "framework/base/OwnedPtrArray.h"
#include "framework/base/TBString.h"

// Token classes.
#define CRIT_OTHER      0   // invalid
#define CRIT_VALUE      1
#define CRIT_OPERATOR   2
#define CRIT_SEPARATOR  3

// Character sets of the parser.
#define CRIT_NUMERIC    0
#define CRIT_TEXT       1

// Shapes answered by Classify.
#define CRIT_SINGLE     0   // a single value: equality
#define CRIT_OPVALUE    1   // an operator and a value
#define CRIT_RANGE      2   // value, separator, value
#define CRIT_INVALID    3

// Operator codes.
#define CRIT_OP_EQ      1
#define CRIT_OP_GT      2
#define CRIT_OP_GE      3
#define CRIT_OP_LT      4
#define CRIT_OP_LE      5

class CCriteriaToken
{
public:
    CCriteriaToken(int nClass, const CTBString& strText) : m_nClass(nClass), m_strText(strText) {}
    virtual ~CCriteriaToken() = default;
    int m_nClass;
    CTBString m_strText;
};

// Cuts a typed criterion ("<= 100", "10-20", ":20", "12 3/8", a quoted text) into classified
// tokens and tells its shape. Separators and decimal point are the framework's current ones.
class CCriteriaParser
{
public:
    // Replaces the tokens; 1, or 0 for a null text.
    BOOL Parse(const char* pszText, int nKind);
    int  Classify() const;
    int  GetCount() const { return m_tokens.GetSize(); }
    const CCriteriaToken* GetToken(int nIndex) const { return m_tokens.GetAt(nIndex); }

private:
    void AddToken(int nClass, const char* pszText, int nLength);
    CTBOwnedPtrArray<CCriteriaToken> m_tokens;
};

// The operator table: the code of the first entry that is a prefix of the text, 0 for none.
int  LookupCriteriaOperator(const char* pszText);
BOOL IsCriteriaOperator(const char* pszText);
// "<=", ">=", "<", ">", "=" by code; "??" for any other code.
const char* GetCriteriaOperatorText(int nCode);
// A text that begins with a double quote loses its first and last characters.
CTBString UnquoteCriteriaText(const char* pszText);
CTBString QuoteCriteriaText(const char* pszText);
