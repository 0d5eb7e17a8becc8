// Exit with an order typed and not sent: the exit question names the ticket that holds it, for
// every kind of ticket the orders layer makes, and a No keeps the ticket and its order; a ticket
// that holds no order is not named.
#include <gtest/gtest.h>

#include <string>

#include "app/FormMDIWnd.h"
#include "app/NorvMainFrame.h"
#include "market/TableLinks.h"
#include "orders/OrderForms.h"
#include "orders/OrderRoadForm.h"
#include "platform/mfc/AfxRes.h"
#include "platform/win/user/TestAnswers.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/DialogSteps.h"
#include "tests/orders/OrderTestSupport.h"

namespace {
using UnsentOrderSession = COrderSession;
}  // namespace

TEST_F(UnsentOrderSession, TheExitQuestionNamesEveryTicketLeftWithAnOrder)
{
    Start(false);
    const HWND hFrame = App().GetMainFrame()->m_hWnd;
    // The question the trader would read, answered No.
    auto exitQuestion = [&] {
        TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDNO, ""});
        SendMessageA(hFrame, WM_COMMAND, ID_APP_EXIT, 0);
        PumpPending();
        EXPECT_EQ(0, TbPendingTestAnswers()) << "the exit asked";
        EXPECT_TRUE(IsWindow(hFrame));
        return TbLastAnsweredText();
    };
    const std::string strPlain = exitQuestion();
    EXPECT_EQ(std::string(LoadMarketText(40535)), strPlain);
    int nTickets = 0;
    for (UINT nFormId : GetOrderFormIds()) {
        SCOPED_TRACE(nFormId);
        // The forms of the order road are the tickets.
        const HWND hForm = OpenForm(nFormId);
        ASSERT_NE(nullptr, hForm);
        const bool bTicket = dynamic_cast<COrderRoadForm*>(CWnd::FromHandlePermanent(hForm)) != nullptr;
        SendMessageA(GetParent(hForm), WM_CLOSE, 0, 0);
        PumpPending();
        if (!bTicket)
            continue;
        ++nTickets;
        int nQuantity = 0;
        const HWND hDlg = OpenFilledTicket(nFormId, &nQuantity);
        ASSERT_NE(nullptr, hDlg) << "a ticket the test cannot fill";
        char szTitle[256] = "";
        GetWindowTextA(GetParent(hDlg), szTitle, sizeof szTitle);
        EnterText(hDlg, nQuantity, "");
        EXPECT_EQ(strPlain, exitQuestion()) << "no quantity, no order";

        EnterText(hDlg, nQuantity, "250");
        const std::string strQuestion = exitQuestion();
        EXPECT_EQ("The order typed in " + std::string(szTitle) + " has not been sent.\n\n" + strPlain, strQuestion);
        ASSERT_TRUE(IsWindow(hDlg)) << "No keeps the ticket";
        EXPECT_EQ("250", ControlText(hDlg, nQuantity));
        SendMessageA(GetParent(hDlg), WM_CLOSE, 0, 0);
        PumpPending();
    }
    EXPECT_GE(nTickets, 2);
}
