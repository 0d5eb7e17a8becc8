#include "refdata/User.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include "link/ServerMessage.h"

namespace {
// Fields of the login reply.
enum {
    LOGIN_USER_TEXT = 0,
    LOGIN_ERROR = 1,
    LOGIN_USER_NUMBER = 2,
    LOGIN_NAME = 4,
    LOGIN_ACCOUNT = 6,
    LOGIN_ROLE = 8,
    LOGIN_US_ACCESS = 9,
    LOGIN_VALUE_10 = 10,
    LOGIN_KSE_ACCESS = 12,
    LOGIN_VALUE_18 = 18,
    LOGIN_VALUE_19 = 19,
    LOGIN_VALUE_20 = 20,
    LOGIN_TEXT_21 = 21,
    LOGIN_TEXT_22 = 22,
    LOGIN_MARKET_MASK = 23,
    LOGIN_QUOTES_PAGE = 27,
};

// GetLong saturates at 32 bits, so the value fits an int.
int IntField(const CServerMessage& reply, int i)
{
    return static_cast<int>(reply.GetLong(i));
}
}  // namespace

CUser& CUser::operator=(const CUser& other)
{
    m_strName = other.m_strName;
    m_strUserText = other.m_strUserText;
    m_strPendingText = other.m_strPendingText;
    m_strPassword = other.m_strPassword;
    m_strAccountText = other.m_strAccountText;
    m_strQuotesPage = other.m_strQuotesPage;
    m_nUserNumber = other.m_nUserNumber;
    m_nRole = other.m_nRole;
    m_nValue18 = other.m_nValue18;
    m_nValue19 = 0;     // never handed on: only the application's own record carries it
    m_nValue20 = other.m_nValue20;
    m_nMarketMask = other.m_nMarketMask;
    m_strLoginText21 = other.m_strLoginText21;
    m_strLoginText22 = other.m_strLoginText22;
    m_nValue10 = other.m_nValue10;
    m_nUsAccess = other.m_nUsAccess;
    m_nKseAccess = other.m_nKseAccess;
    return *this;
}

BOOL CUser::SetFromLoginReply(const CServerMessage& reply)
{
    if (reply.GetSize() <= 4 || reply.GetLong(LOGIN_ERROR) != 0)
        return FALSE;
    m_strName = reply.GetField(LOGIN_NAME);
    m_strUserText = reply.GetField(LOGIN_USER_TEXT);
    m_strAccountText = reply.GetField(LOGIN_ACCOUNT);
    m_strQuotesPage = reply.GetField(LOGIN_QUOTES_PAGE);
    m_nUserNumber = IntField(reply, LOGIN_USER_NUMBER);
    m_nRole = IntField(reply, LOGIN_ROLE);
    m_nValue18 = IntField(reply, LOGIN_VALUE_18);
    m_nValue19 = IntField(reply, LOGIN_VALUE_19);
    m_nValue20 = IntField(reply, LOGIN_VALUE_20);
    m_nMarketMask = IntField(reply, LOGIN_MARKET_MASK);
    m_strLoginText21 = reply.GetField(LOGIN_TEXT_21);
    m_strLoginText22 = reply.GetField(LOGIN_TEXT_22);
    m_nValue10 = IntField(reply, LOGIN_VALUE_10);
    m_nUsAccess = IntField(reply, LOGIN_US_ACCESS);
    m_nKseAccess = IntField(reply, LOGIN_KSE_ACCESS);
    return TRUE;
}

long CUser::GetAccountNumber() const
{
    // The whole text must be the number: "12A" is not account 12.
    const char* pszText = m_strAccountText;
    if (*pszText == '\0')
        return 0;
    char* pszEnd = nullptr;
    errno = 0;
    const long long nValue = strtoll(pszText, &pszEnd, 10);
    if (errno != 0 || *pszEnd != '\0' || nValue > INT_MAX || nValue < INT_MIN)
        return 0;
    return static_cast<long>(nValue);
}
