// The file, font and colour choosers on the Qt display: Qt's own dialogs shown without exec(),
// answered by the person through them, while timers and posted messages go on.
#include <gtest/gtest.h>
#include <QtWidgets/QApplication>
#include <QtWidgets/QColorDialog>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QFontDialog>
#include <QtWidgets/QLineEdit>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "QtTestSupport.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/CommonDialogs.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/TestAnswers.h"

namespace {
template <class T>
T* OpenChooser(const char* pszName)
{
    for (QWidget* pWidget : QApplication::topLevelWidgets())
        if (pWidget->objectName() == QLatin1String(pszName) && pWidget->isVisible())
            return qobject_cast<T*>(pWidget);
    return nullptr;
}

std::string g_strSeen;
HWND g_hTop = nullptr;
std::string g_strDir;

struct QtChoosersTest : ::testing::Test {
    void SetUp() override
    {
        g_hTop = CreateQtWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
        TbClearTestAnswers();
        g_strSeen.clear();
        QtLog().clear();
        char szDir[] = "/tmp/tbqtchooserXXXXXX";
        ASSERT_NE(nullptr, mkdtemp(szDir));
        g_strDir = szDir;
        FILE* pFile = fopen((g_strDir + "/quotes.txt").c_str(), "w");
        ASSERT_NE(nullptr, pFile);
        fclose(pFile);
    }
    void TearDown() override
    {
        DestroyWindow(g_hTop);
        PumpQt(10);
        EXPECT_EQ(0, system(("rm -rf '" + g_strDir + "'").c_str()));
    }
};
}  // namespace

TEST_F(QtChoosersTest, FileChooserRunsTheQueueAndTakesThePersonsFile)
{
    char szFile[MAX_PATH] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = g_hTop;
    ofn.lpstrFilter = "Text (*.txt)\0*.txt\0All (*.*)\0*.*\0\0";
    ofn.lpstrFile = szFile;
    ofn.nMaxFile = sizeof szFile;
    ofn.lpstrInitialDir = g_strDir.c_str();
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    // A timer finds Qt's chooser open with the original's filters, posts, and the person picks.
    SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR nId, DWORD) {
        KillTimer(nullptr, nId);
        QFileDialog* pDialog = OpenChooser<QFileDialog>("TbFileChooser");
        ASSERT_NE(nullptr, pDialog);
        g_strSeen = pDialog->nameFilters().join(QLatin1Char('|')).toStdString();
        g_strSeen += IsWindowEnabled(g_hTop) ? " enabled" : " disabled";
        g_strSeen += pDialog->testOption(QFileDialog::DontUseNativeDialog) ? " own" : " native";
        g_strSeen += pDialog->directory().absolutePath().toStdString() == g_strDir ? " in-folder" : " elsewhere";
        PostMessageA(g_hTop, WM_USER + 3, 0, 0);
        SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR nId2, DWORD) {
            KillTimer(nullptr, nId2);
            g_strSeen += MessagesOf(WM_USER + 3).size() == 1 ? " posted-delivered" : " posted-waiting";
            QFileDialog* pDialog2 = OpenChooser<QFileDialog>("TbFileChooser");
            // The person types the name and presses Open.
            pDialog2->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("quotes.txt"));
            static_cast<QDialog*>(pDialog2)->accept();
        });
    });
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_EQ("Text (*.txt)|All (*) disabled own in-folder posted-delivered", g_strSeen);
    EXPECT_EQ(g_strDir + "/quotes.txt", szFile);
    EXPECT_EQ(1u, ofn.nFilterIndex);
    EXPECT_EQ(nullptr, OpenChooser<QFileDialog>("TbFileChooser"));
    EXPECT_TRUE(IsWindowEnabled(g_hTop));

    // Cancelled by the person; closed by a test's answer while open.
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR nId, DWORD) {
        KillTimer(nullptr, nId);
        OpenChooser<QFileDialog>("TbFileChooser")->reject();
    });
    EXPECT_FALSE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(0u, CommDlgExtendedError());
    SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR nId, DWORD) {
        KillTimer(nullptr, nId);
        TbQueueTestAnswer({TB_ASK_SAVEFILE, IDOK, "saved.txt"});
    });
    EXPECT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(g_strDir + "/saved.txt", szFile);
    EXPECT_EQ(nullptr, OpenChooser<QFileDialog>("TbFileChooser"));
}

TEST_F(QtChoosersTest, FontChooserStartsFromTheCallersFont)
{
    LOGFONTA lf = {};
    lf.lfHeight = -16;
    lf.lfWeight = 700;
    strcpy(lf.lfFaceName, "DejaVu Sans");
    CHOOSEFONTA cf = {};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = g_hTop;
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_LIMITSIZE;
    cf.nSizeMin = 6;
    cf.nSizeMax = 20;
    SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR nId, DWORD) {
        KillTimer(nullptr, nId);
        QFontDialog* pDialog = OpenChooser<QFontDialog>("TbFontChooser");
        ASSERT_NE(nullptr, pDialog);
        const QFont start = pDialog->currentFont();
        g_strSeen = start.family().toStdString() + " " + std::to_string(start.pointSize()) +
                    (start.weight() == QFont::Bold ? " bold" : " regular");
        // A size past the limit does not close it; one inside does.
        QFont big(QStringLiteral("DejaVu Sans"));
        big.setPointSize(40);
        pDialog->setCurrentFont(big);
        pDialog->accept();
        g_strSeen += OpenChooser<QFontDialog>("TbFontChooser") ? " stays" : " closed";
        QFont chosen(QStringLiteral("DejaVu Serif"));
        chosen.setPointSize(14);
        chosen.setItalic(true);
        pDialog->setCurrentFont(chosen);
        pDialog->accept();
    });
    ASSERT_TRUE(ChooseFontA(&cf));
    EXPECT_EQ("DejaVu Sans 12 bold stays", g_strSeen);
    EXPECT_STREQ("DejaVu Serif", lf.lfFaceName);
    EXPECT_EQ(140, cf.iPointSize);
    EXPECT_EQ(1, lf.lfItalic);
    EXPECT_EQ(400, lf.lfWeight);
}

TEST_F(QtChoosersTest, ColourChooserShowsEachCallersCustomColours)
{
    COLORREF customA[16], customB[16];
    for (int i = 0; i < 16; ++i) {
        customA[i] = RGB(10 + i, 0, 0);
        customB[i] = RGB(0, 0, 10 + i);
    }
    CHOOSECOLORA cc = {};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = g_hTop;
    cc.rgbResult = RGB(1, 2, 3);
    cc.lpCustColors = customA;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR nId, DWORD) {
        KillTimer(nullptr, nId);
        QColorDialog* pDialog = OpenChooser<QColorDialog>("TbColorChooser");
        ASSERT_NE(nullptr, pDialog);
        g_strSeen = pDialog->currentColor() == QColor(1, 2, 3) ? "start" : "other";
        g_strSeen += QColorDialog::customColor(4) == QColor(14, 0, 0) ? " A" : " ?";
        QColorDialog::setCustomColor(4, QColor(200, 100, 50));     // the person adds one
        pDialog->setCurrentColor(QColor(40, 50, 60));
        pDialog->accept();
    });
    ASSERT_TRUE(ChooseColorA(&cc));
    EXPECT_EQ("start A", g_strSeen);
    EXPECT_EQ(RGB(40, 50, 60), cc.rgbResult);
    EXPECT_EQ(RGB(200, 100, 50), customA[4]);

    // Another caller sees its own, and the first caller's change stays in its own array.
    cc.lpCustColors = customB;
    SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR nId, DWORD) {
        KillTimer(nullptr, nId);
        g_strSeen = QColorDialog::customColor(4) == QColor(0, 0, 14) ? "B" : "?";
        OpenChooser<QColorDialog>("TbColorChooser")->reject();
    });
    EXPECT_FALSE(ChooseColorA(&cc));
    EXPECT_EQ("B", g_strSeen);
    EXPECT_EQ(RGB(0, 0, 14), customB[4]);
    EXPECT_EQ(RGB(200, 100, 50), customA[4]);
}
