// The layer's own dialogs speak the user's language (the thread's locale) and read in its
// direction, whatever the active code page: the program keeps 1256 in English too.
#include <gtest/gtest.h>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDialogButtonBox>
#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QListView>
#include <QtWidgets/QMdiSubWindow>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QTreeView>
#include "QtTestSupport.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/user/CommonDialogs.h"
#include "platform/win/user/Menu.h"
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
// A top window and the Save As request it owns.
struct SAVE_AS_OWNER {
    HWND hTop = CreateQtWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    char szFile[260] = "";
    OPENFILENAMEA ofn{};
    SAVE_AS_OWNER()
    {
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = hTop;
        ofn.lpstrFile = szFile;
        ofn.nMaxFile = sizeof szFile;
    }
    ~SAVE_AS_OWNER() { DestroyWindow(hTop); }
};
}  // namespace

TEST(QtDialogLanguage, TitlesButtonsAndDirectionFollowTheUsersLanguage)
{
    const UINT uOldPage = GetACP();
    ASSERT_TRUE(TbSetActiveCodePage(1256));
    SAVE_AS_OWNER owner;
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
            MessageBoxA(owner.hTop, "?", nullptr, MB_YESNO);
        else if (c.nDialog == 1)
            GetSaveFileNameA(&owner.ofn);
        else
            PrintDlgA(&pd);
        EXPECT_EQ(c.pszSeen, g_strSeen);
    }
    SetThreadLocale(1033);
    TbSetActiveCodePage(uOldPage);
}

namespace {
// The Save As list as "sidebar | each entry's type | the first's date", once the folder has been read.
void CALLBACK ReadFileListAndClose(HWND, UINT, UINT_PTR nId, DWORD)
{
    QFileDialog* pDialog = nullptr;
    for (QWidget* pWidget : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<QFileDialog*>(pWidget); p != nullptr && p->isVisible())
            pDialog = p;
    const auto* pList = pDialog != nullptr ? pDialog->findChild<QTreeView*>(QStringLiteral("treeView")) : nullptr;
    if (pList == nullptr || pList->model()->rowCount(pList->rootIndex()) < 3)
        return;
    KillTimer(nullptr, nId);
    const QModelIndex first = pList->model()->index(0, 0, pList->rootIndex());
    const auto* pSidebar = pDialog->findChild<QListView*>(QStringLiteral("sidebar"));
    g_strSeen = pSidebar->model()->index(0, 0).data().toString().toStdString() + " |";
    for (int i = 0; i < pList->model()->rowCount(pList->rootIndex()); ++i)
        g_strSeen += " " + pList->model()->index(i, 2, pList->rootIndex()).data().toString().toStdString() + ",";
    g_strSeen += " " + first.siblingAtColumn(3).data().toString().toStdString();
    pDialog->reject();
}
}  // namespace

// A maximised and a restored child's system menu and the Save As chooser's places, types and
// dates are in the user's language; the keys stay as the keyboard names them.
TEST(QtDialogLanguage, SystemMenuAndFileListFollowTheUsersLanguage)
{
    ASSERT_TRUE(TbInitQtPlatform(nullptr, nullptr));   // a Qt window of its own, run alone too
    const UINT uOldPage = GetACP();
    ASSERT_TRUE(TbSetActiveCodePage(1256));
    const std::string strFolder = QDir::tempPath().toStdString() + "/tb_dialog_language";
    QDir().mkpath(QString::fromStdString(strFolder + "/sub"));
    for (const char* pszFile : {"/report.pdf", "/notes.txt"})
        if (FILE* pFile = fopen((strFolder + pszFile).c_str(), "w"))
            fclose(pFile);
    const std::string strDate =
        QFileInfo(QString::fromStdString(strFolder + "/sub")).lastModified().toString("dd/MM/yyyy HH:mm").toStdString();
    const struct { LCID lcid; const char* pszMenu; const char* pszRestored; std::string strFiles; } cases[] = {
        {1033, "&Restore|&Move|&Size|Mi&nimize|Ma&ximize||&Close\tCtrl+F4|Nex&t\tCtrl+F6|",
         "&Restore|&Move|&Size|Mi&nimize|Ma&ximize|Stay on &Top||&Close|", ""},
        {0x3401, "ا&ستعادة|&نقل|ال&حجم|ت&صغير|تك&بير||إ&غلاق\tCtrl+F4|ال&تالي\tCtrl+F6|",
         "ا&ستعادة|&نقل|ال&حجم|ت&صغير|تك&بير|البقاء في الم&قدمة||إ&غلاق|",
         "الكمبيوتر | مجلد, ملف TXT, ملف PDF, " + strDate},
    };
    for (const auto& c : cases) {
        SetThreadLocale(c.lcid);
        const HWND hChild = CreateWindowExA(WS_EX_MDICHILD, "Static", "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                            nullptr, nullptr, nullptr, nullptr);
        const HMENU hMenu = GetSystemMenu(hChild, FALSE);
        std::string strMenu;
        for (int i = 0; i < GetMenuItemCount(hMenu); ++i) {
            char szText[64] = "";
            GetMenuStringA(hMenu, static_cast<UINT>(i), szText, sizeof szText, MF_BYPOSITION);
            strMenu += TbCodePageToUtf8(szText, 1256) + "|";
        }
        EXPECT_EQ(c.pszMenu, strMenu);
        DestroyWindow(hChild);
        QMdiSubWindow restored;
        std::string strRestored;
        for (QAction* pAction : restored.systemMenu()->actions())
            strRestored += pAction->text().toStdString() + "|";
        EXPECT_EQ(c.pszRestored, strRestored);
        if (c.strFiles.empty())
            continue;
        SAVE_AS_OWNER owner;
        owner.ofn.lpstrInitialDir = strFolder.c_str();
        g_strSeen.clear();
        SetTimer(nullptr, 0, 50, ReadFileListAndClose);
        GetSaveFileNameA(&owner.ofn);
        EXPECT_EQ(c.strFiles, g_strSeen);
    }
    SetThreadLocale(1033);
    TbSetActiveCodePage(uOldPage);
}
