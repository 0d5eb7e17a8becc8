#pragma once
// What the routing of messages needs of the reference data: the logged-in user's role and
// texts, and the code tables whose texts go into reply errors.
#include "platform/mfc/String.h"

#define USER_ROLE_NONE (-1)             // nobody is logged in

struct IRefDataServices
{
    virtual ~IRefDataServices() = default;
    // The user's role; 16 and 17 are restricted roles.
    virtual int GetUserRole() const = 0;
    // A password change was accepted: the pending text becomes the user's current text.
    virtual void AcceptPendingText() = 0;
    // Every reply to a password or PIN change, accepted or refused, in the order they come.
    virtual void OnChangeReply(BOOL bAccepted)
    {
        if (bAccepted)
            AcceptPendingText();
    }
    // Code-table texts; a missing code gives the code written "%d".
    virtual CString GetPaymentModeText(long nCode) const = 0;
    virtual CString GetAccountTypeText(long nCode) const = 0;
};

inline BOOL IsRestrictedRole(int nRole)
{
    return nRole == 16 || nRole == 17;
}
