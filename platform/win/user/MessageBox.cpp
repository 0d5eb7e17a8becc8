// Message boxes: the button sets, the answer without a display, and the wait for the display's.
#include "platform/win/user/MessageBox.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/LayerWords.h"
#include "platform/win/user/ModalLoop.h"
#include "platform/win/user/Questions.h"
#include "platform/win/user/TestAnswers.h"
#include "platform/win/user/LineHandling.h"

namespace {
const struct { UINT uType; int nButtons[3]; } s_buttonSets[] = {
    {MB_OK, {IDOK}},
    {MB_OKCANCEL, {IDOK, IDCANCEL}},
    {MB_ABORTRETRYIGNORE, {IDABORT, IDRETRY, IDIGNORE}},
    {MB_YESNOCANCEL, {IDYES, IDNO, IDCANCEL}},
    {MB_YESNO, {IDYES, IDNO}},
    {MB_RETRYCANCEL, {IDRETRY, IDCANCEL}},
};

// The box's buttons, default and escape answer from its type; FALSE for an unknown set.
BOOL DescribeButtons(UINT uType, TBMESSAGEBOXQUESTION* pQuestion)
{
    for (const auto& set : s_buttonSets) {
        if (set.uType != (uType & MB_TYPEMASK))
            continue;
        for (int nId : set.nButtons)
            if (nId)
                pQuestion->buttons.push_back(nId);
        // A default past the last button falls back to the first.
        const size_t nDefault = (uType & MB_DEFMASK) >> 8;
        pQuestion->nDefault = pQuestion->buttons[nDefault < pQuestion->buttons.size() ? nDefault : 0];
        for (int nId : pQuestion->buttons)
            if (nId == IDCANCEL)
                pQuestion->nEscape = IDCANCEL;
        if (pQuestion->buttons.size() == 1)
            pQuestion->nEscape = pQuestion->buttons[0];
        return TRUE;
    }
    return FALSE;
}
}  // namespace

int MessageBoxA(HWND hWnd, LPCSTR pszText, LPCSTR pszCaption, UINT uType)
{
    TBMESSAGEBOXQUESTION question;
    if (!DescribeButtons(uType, &question)) {
        SetLastError(ERROR_INVALID_MSGBOX_STYLE);
        return 0;
    }
    // Checked before a test's answer can close it unseen.
    TbCheckModalStart("message box");
    // The box ends a drag in progress even when nobody sees it (a test's answer, no display).
    TbCancelMode();
    const UINT uIcon = uType & MB_ICONMASK;
    MessageBeep(uIcon);
    // A box without a title is an error's, named in the user's language.
    question.strCaption = pszCaption ? TbCodePageToUtf8(pszCaption, CP_ACP) : TbLayerWord("Error");
    TBTESTANSWER answer;
    if (TbTakeTestAnswer(TB_ASK_MESSAGEBOX, &answer)) {
        TbNoteAnsweredText(pszText, question.strCaption);
        return static_cast<int>(answer.nValue);
    }
    question.strText = TbCodePageToUtf8(pszText ? pszText : "", CP_ACP);
    if (uIcon == MB_ICONHAND || uIcon == MB_ICONQUESTION || uIcon == MB_ICONEXCLAMATION || uIcon == MB_ICONASTERISK)
        question.uIcon = uIcon;
    // An Arabic user's boxes read right to left whatever the caller asked.
    question.bRight = (uType & MB_RIGHT) != 0 || TbUserReadsArabic();
    question.bRtl = (uType & MB_RTLREADING) != 0 || TbUserReadsArabic();
    question.bAppModal = (uType & (MB_SYSTEMMODAL | MB_TASKMODAL)) != 0;
    switch (TbWaitForAnswer(hWnd, TbGetDisplay()->AskMessageBox(hWnd, &question), TB_ASK_MESSAGEBOX, &answer)) {
    case TB_ASKED_DISPLAY: return question.nAnswer;
    case TB_ASKED_TEST:    return static_cast<int>(answer.nValue);
    case TB_ASKED_QUIT:    return question.nEscape;
    }
    return question.nDefault;
}
