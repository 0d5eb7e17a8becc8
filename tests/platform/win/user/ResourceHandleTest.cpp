// Dialog templates by resource handle: found, loaded and locked, then made into a dialog the
// way a property page makes its own.
#include <gtest/gtest.h>
#include "platform/win/kernel/Kernel.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/Dialogs.h"

namespace {
INT_PTR CALLBACK QuietProc(HWND, UINT uMsg, WPARAM, LPARAM)
{
    return uMsg == WM_INITDIALOG;
}
}  // namespace

TEST(ResourceHandles, DialogTemplateFoundLoadedLockedAndCreated)
{
    TbAddResourcePath(TB_SOURCE_DIR "/tests/platform/data");
    HMODULE hModule = LoadLibraryA("testdlg_1252.dll");
    ASSERT_NE(nullptr, hModule);
    HRSRC hInfo = FindResourceA(hModule, MAKEINTRESOURCEA(100), RT_DIALOG);
    ASSERT_NE(nullptr, hInfo);
    HGLOBAL hData = LoadResource(hModule, hInfo);
    const auto* pTemplate = static_cast<LPCDLGTEMPLATEA>(LockResource(hData));
    ASSERT_NE(nullptr, pTemplate);
    EXPECT_EQ("Test dialog", pTemplate->strCaption);
    EXPECT_GE(SizeofResource(hModule, hInfo), sizeof(TBDLGTEMPLATE));
    HWND hDlg = CreateDialogIndirectParamA(hModule, pTemplate, nullptr, QuietProc, 0);
    ASSERT_NE(nullptr, hDlg);
    EXPECT_NE(nullptr, GetDlgItem(hDlg, 101));
    DestroyWindow(hDlg);
    FreeResource(hData);

    // A missing dialog and a type other than dialogs are not found, and say why.
    EXPECT_EQ(nullptr, FindResourceA(hModule, MAKEINTRESOURCEA(9999), RT_DIALOG));
    EXPECT_EQ(static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND), GetLastError());
    EXPECT_EQ(nullptr, FindResourceA(hModule, MAKEINTRESOURCEA(100), MAKEINTRESOURCEA(4)));
    EXPECT_EQ(1813u, GetLastError());
    FreeLibrary(hModule);
}
