#pragma once
// The user who is logged in: the identity texts sent in requests, the user number, the role,
// the access levels of the two market families and the market permission mask. The
// application holds one, filled by the login reply; everyone else works on copies.
#include "platform/mfc/String.h"

class CServerMessage;

#define USER_NUMBER_NONE 0              // with the role -1: nobody is logged in

class CUser
{
public:
    CUser() = default;
    virtual ~CUser() = default;
    // A copy takes every field but value 19, which is 0 in every copy.
    CUser(const CUser& other) { *this = other; }
    CUser& operator=(const CUser& other);

    // Fills the record from a login reply ("UL") with more than 4 fields whose field 1 is 0;
    // any other reply leaves it as it was (FALSE). The pending text and the password are not
    // the reply's and stay.
    BOOL SetFromLoginReply(const CServerMessage& reply);
    void Reset() { *this = CUser(); }       // log-off: nobody logged in

    // The password typed at login, and the user text a "US" request asks for, which becomes
    // the user text when the server accepts it.
    void SetPassword(LPCSTR pszPassword) { m_strPassword = pszPassword != nullptr ? pszPassword : ""; }
    void SetPendingText(LPCSTR pszText) { m_strPendingText = pszText != nullptr ? pszText : ""; }
    void AcceptPendingText() { m_strUserText = m_strPendingText; }

    CString GetName() const { return m_strName; }
    CString GetUserText() const { return m_strUserText; }
    CString GetPendingText() const { return m_strPendingText; }
    CString GetPassword() const { return m_strPassword; }
    CString GetAccountText() const { return m_strAccountText; }
    long GetAccountNumber() const;          // 0 when the account text is not a number
    CString GetQuotesPageAddress() const { return m_strQuotesPage; }
    CString GetLoginText21() const { return m_strLoginText21; }
    CString GetLoginText22() const { return m_strLoginText22; }
    int GetUserNumber() const { return m_nUserNumber; }
    int GetRole() const { return m_nRole; }
    int GetValue18() const { return m_nValue18; }
    int GetValue19() const { return m_nValue19; }
    int GetValue20() const { return m_nValue20; }
    int GetMarketMask() const { return m_nMarketMask; }
    int GetValue10() const { return m_nValue10; }
    int GetUsAccessLevel() const { return m_nUsAccess; }
    int GetKseAccessLevel() const { return m_nKseAccess; }

private:
    CString m_strName;
    CString m_strUserText;
    CString m_strPendingText;
    CString m_strPassword;
    CString m_strAccountText;
    CString m_strQuotesPage;
    int m_nUserNumber = USER_NUMBER_NONE;
    int m_nRole = -1;
    int m_nValue18 = 0;
    int m_nValue19 = 0;
    int m_nValue20 = 0;
    int m_nMarketMask = 0;
    CString m_strLoginText21;
    CString m_strLoginText22;
    int m_nValue10 = 0;
    int m_nUsAccess = 0;
    int m_nKseAccess = 0;
};
