#include "platform/win/user/MessageBox.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/TestAnswers.h"

int MessageBoxA(HWND hWnd, LPCSTR pszText, LPCSTR pszCaption, UINT uType)
{
    TBTESTANSWER answer;
    if (TbTakeTestAnswer(TB_ASK_MESSAGEBOX, &answer))
        return static_cast<int>(answer.nValue);
    return TbGetDisplay()->MessageBox(hWnd, pszText ? pszText : "", pszCaption ? pszCaption : "Error", uType);
}
