// The layer's own dialogs speak the user's language (the thread's locale) and read in its
// direction, whatever the active code page: the program keeps 1256 in English too.
#include <gtest/gtest.h>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QMessageBox>
#include "QtTestSupport.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/user/CommonDialogs.h"
#include "platform/win/user/MessageBox.h"

namespace {
std::string g_strSeen;      // "title | buttons | direction" of the dialog open, then closed

void CALLBACK ReadAndClose(HWND, UINT, UINT_PTR nId, DWORD)
{
    KillTimer(nullptr, nId);
    for (QWidget* pWidget : QApplication::topLevelWidgets()) {
        auto* pDialog = qobject_cast<QDialog*>(pWidget);
        if (pDialog == nullptr || !pDialog->isVisible() || !pDialog->objectName().startsWith(QLatin1String("Tb")))
            continue;
        g_strSeen = pDialog->windowTitle().toStdString() + " |";
        for (QAbstractButton* pButton : pDialog->findChild<QDialogButtonBox*>()->buttons())
            g_strSeen += " " + pButton->text().toStdString();
        g_strSeen += pDialog->layoutDirection() == Qt::RightToLeft ? " | rtl" : " | ltr";
        if (auto* pBox = qobject_cast<QMessageBox*>(pDialog))
            pBox->buttons().back()->click();    // a Yes/No box has no escape
        else
            pDialog->reject();
    }
}
}  // namespace

TEST(QtDialogLanguage, TitlesButtonsAndDirectionFollowTheUsersLanguage)
{
    const UINT uOldPage = GetACP();
    ASSERT_TRUE(TbSetActiveCodePage(1256));
    const HWND hTop = CreateQtWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    char szFile[260] = "";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hTop;
    ofn.lpstrFile = szFile;
    ofn.nMaxFile = sizeof szFile;
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_PRINTSETUP;
    const struct { LCID lcid; int nDialog; const char* pszSeen; } cases[] = {
        {1033, 0, "Error | &Yes &No | ltr"},
        {0x3401, 0, "خطأ | &نعم &لا | rtl"},
        {1033, 1, "Save As | &Save Cancel | ltr"},
        {0x3401, 1, "حفظ باسم | &حفظ إلغاء | rtl"},
        {1033, 2, "Print Setup | OK Cancel | ltr"},
        {0x3401, 2, "إعداد الطباعة | موافق إلغاء | rtl"},
    };
    for (const auto& c : cases) {
        SetThreadLocale(c.lcid);
        g_strSeen.clear();
        SetTimer(nullptr, 0, 50, ReadAndClose);
        if (c.nDialog == 0)
            MessageBoxA(hTop, "?", nullptr, MB_YESNO);
        else if (c.nDialog == 1)
            GetSaveFileNameA(&ofn);
        else
            PrintDlgA(&pd);
        EXPECT_EQ(c.pszSeen, g_strSeen);
    }
    DestroyWindow(hTop);
    SetThreadLocale(1033);
    TbSetActiveCodePage(uOldPage);
}
