#include "platform/win/user/ModalLoop.h"
#include <map>
#include <memory>
#include <utility>
#include "platform/win/user/LineHandling.h"
#include "platform/win/user/Questions.h"
#include "platform/win/user/TestAnswers.h"
#include "platform/win/user/Window.h"

namespace {
// Posted calls by number: a call whose message was never read (the queue emptied) is dropped
// with the layer, never run out of its turn.
std::map<WPARAM, std::function<void()>>& PostedCalls()
{
    static std::map<WPARAM, std::function<void()>> calls;
    return calls;
}
WPARAM s_nNextCall = 1;

UINT PostedCallMessage()
{
    static const UINT uMsg = RegisterWindowMessageA("TbPostedCall");
    return uMsg;
}
}  // namespace

void TbPostCall(std::function<void()> fn)
{
    const WPARAM nCall = s_nNextCall++;
    PostedCalls()[nCall] = std::move(fn);
    PostThreadMessageA(0, PostedCallMessage(), nCall, 0);
}

BOOL TbRunIfPostedCall(const MSG* pMsg)
{
    if (pMsg == nullptr || pMsg->hwnd != nullptr || pMsg->message != PostedCallMessage())
        return FALSE;
    auto& calls = PostedCalls();
    const auto it = calls.find(pMsg->wParam);
    if (it == calls.end())
        return TRUE;
    const std::function<void()> fn = std::move(it->second);
    calls.erase(it);
    fn();
    return TRUE;
}

BOOL TbRunModalLoop(HWND hOwner, const std::function<BOOL()>& fnDone, const std::function<BOOL(MSG*)>& fnFilter,
                    UINT uStart)
{
    TbCheckModalStart("modal loop");
    // Before the owner is disabled: disabling drops the capture without telling the window why.
    if (uStart != TB_MODAL_KEEPMODE)
        TbCancelMode();
    HWND hRoot = hOwner ? GetAncestor(hOwner, GA_ROOT) : nullptr;
    // Only an owner this loop disabled is enabled again: a nested loop over the same owner
    // finds it disabled already and leaves it to the outer one.
    const BOOL bDisabled = hRoot && IsWindowEnabled(hRoot);
    if (bDisabled)
        EnableWindow(hRoot, FALSE);
    BOOL bResult = TRUE;
    MSG msg = {};
    while (!fnDone()) {
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            bResult = FALSE;
            break;
        }
        if (fnFilter && fnFilter(&msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (bDisabled && IsWindow(hRoot))
        EnableWindow(hRoot, TRUE);
    return bResult;
}

int TbWaitForAnswer(HWND hOwner, ITbQuestion* pQuestion, int nKind, TBTESTANSWER* pAnswer)
{
    if (!pQuestion)
        return TB_ASKED_NOBODY;
    std::unique_ptr<ITbQuestion> question(pQuestion);
    // The owner loses the keys while it is disabled under the question: they go back to the
    // control that had them, as the owner's activation gives them back on the original.
    const HWND hFocus = GetFocus();
    const HWND hRoot = hOwner ? GetAncestor(hOwner, GA_ROOT) : nullptr;
    BOOL bTest = FALSE;
    // An answer a test queues while the question is open closes it, as the person would.
    // The question's caller ended the user's mode already, however the question is answered.
    TbRunModalLoop(hOwner, [&] { return question->IsDone() || (bTest = TbTakeTestAnswer(nKind, pAnswer)); }, {},
                   TB_MODAL_KEEPMODE);
    if (hFocus && IsWindow(hFocus) && GetFocus() == nullptr && (!hRoot || GetAncestor(hFocus, GA_ROOT) == hRoot) &&
        IsWindowVisible(hFocus) && IsWindowEnabled(GetAncestor(hFocus, GA_ROOT)))
        SetFocus(hFocus);
    if (bTest)
        return TB_ASKED_TEST;
    return question->IsDone() ? TB_ASKED_DISPLAY : TB_ASKED_QUIT;
}
