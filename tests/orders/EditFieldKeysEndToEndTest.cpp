// Ctrl+A in a field of an order form selects the whole field, whatever the field takes (a
// quantity, a price, a ticker, a number of days), and the next key acts on all of it, in every
// field of every form the orders layer makes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "orders/OrderForms.h"
#include "platform/win/user/Display.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/DialogSteps.h"
#include "tests/orders/OrderTestSupport.h"

namespace {
using EditFieldKeys = COrderSession;

BOOL CALLBACK CollectTypingFields(HWND hWnd, LPARAM lParam)
{
    char szClass[32] = "";
    GetClassNameA(hWnd, szClass, sizeof szClass);
    if (std::string(szClass) == "Edit" && IsWindowVisible(hWnd) && IsWindowEnabled(hWnd) &&
        !(GetWindowLongA(hWnd, GWL_STYLE) & ES_READONLY))
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}
}  // namespace

TEST_F(EditFieldKeys, CtrlASelectsTheWholeFieldAndTheNextKeyTakesItAll)
{
    Start(false);
    int nFields = 0;
    for (UINT nFormId : GetOrderFormIds()) {
        const HWND hForm = OpenForm(nFormId);
        ASSERT_NE(nullptr, hForm) << nFormId;
        std::vector<HWND> fields;
        EnumChildWindows(hForm, CollectTypingFields, reinterpret_cast<LPARAM>(&fields));
        for (HWND hField : fields) {
            SCOPED_TRACE(std::to_string(nFormId) + " field " + std::to_string(GetDlgCtrlID(hField)) + " of " +
                         std::to_string(GetDlgCtrlID(GetParent(hField))));
            SetFocus(hField);
            SetWindowTextA(hField, "12");
            SendMessageA(hField, EM_SETSEL, 1, 1);
            PumpPending();
            if (GetFocus() != hField)
                continue;       // a field the form gives the keys elsewhere from
            ++nFields;
            PressCtrlKey('A');
            PumpPending();
            DWORD dwStart = 9, dwEnd = 9;
            SendMessageA(hField, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd));
            const int nLength = GetWindowTextLengthA(hField);
            EXPECT_EQ(0u, dwStart);
            EXPECT_EQ(static_cast<DWORD>(nLength), dwEnd);
            // Backspace, which every field takes, empties it.
            TbDisplayKey(WM_KEYDOWN, VK_BACK, MAKELPARAM(1, 0), "\b");
            TbDisplayKey(WM_KEYUP, VK_BACK, MAKELPARAM(1, KF_UP | KF_REPEAT), nullptr);
            PumpPending();
            EXPECT_EQ(0, GetWindowTextLengthA(hField));
        }
        SendMessageA(GetParent(hForm), WM_CLOSE, 0, 0);
        PumpPending();
    }
    EXPECT_GT(nFields, 20);
}
