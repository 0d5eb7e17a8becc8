#include "platform/win/user/MessageBox.h"
#include "platform/win/user/Display.h"

int MessageBoxA(HWND hWnd, LPCSTR pszText, LPCSTR pszCaption, UINT uType)
{
    return TbGetDisplay()->MessageBox(hWnd, pszText ? pszText : "", pszCaption ? pszCaption : "Error", uType);
}
