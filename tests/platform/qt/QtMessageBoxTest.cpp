// Message boxes on the Qt display: shown without exec(), so timers and posted messages keep
// coming while one is open; the original's buttons, Escape, default button and reading order.
#include <gtest/gtest.h>
#include <QtTest/QTest>
#include <QtGui/QFontMetrics>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include "QtTestSupport.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/TestAnswers.h"

namespace {
QMessageBox* OpenBox()
{
    for (QWidget* pWidget : QApplication::topLevelWidgets())
        if (pWidget->objectName() == QLatin1String("TbMessageBox") && pWidget->isVisible())
            return qobject_cast<QMessageBox*>(pWidget);
    return nullptr;
}

QAbstractButton* ButtonOf(QMessageBox* pBox, QMessageBox::StandardButton button)
{
    return pBox ? pBox->button(button) : nullptr;
}

// What the timers saw and did while the box was open, in order.
std::string g_strSeen;
HWND g_hTop = nullptr;

void CALLBACK Once(HWND, UINT, UINT_PTR nId, DWORD)
{
    KillTimer(nullptr, nId);
}

struct QtMessageBoxTest : ::testing::Test {
    void SetUp() override
    {
        g_hTop = CreateQtWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
        TbClearTestAnswers();
        g_strSeen.clear();
        QtLog().clear();
    }
    void TearDown() override
    {
        DestroyWindow(g_hTop);
        PumpQt(10);
    }
};
}  // namespace

TEST_F(QtMessageBoxTest, TimersAndPostsRunWhileTheBoxIsOpen)
{
    // The first timer finds the box open and the owner waiting, and posts; the second closes the
    // box through the layer, with a test's answer.
    SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR nId, DWORD) {
        Once(nullptr, 0, nId, 0);
        g_strSeen += OpenBox() ? "open " : "closed ";
        g_strSeen += IsWindowEnabled(g_hTop) ? "enabled " : "disabled ";
        PostMessageA(g_hTop, WM_USER + 5, 0, 0);
        SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR nId2, DWORD) {
            Once(nullptr, 0, nId2, 0);
            g_strSeen += MessagesOf(WM_USER + 5).size() == 1 ? "posted-delivered " : "posted-waiting ";
            TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDNO, ""});
        });
    });
    EXPECT_EQ(IDNO, MessageBoxA(g_hTop, "Delete the row?", "Rows", MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ("open disabled posted-delivered ", g_strSeen);
    EXPECT_EQ(nullptr, OpenBox());
    EXPECT_TRUE(IsWindowEnabled(g_hTop));
}

TEST_F(QtMessageBoxTest, TheOriginalsButtonsEscapeAndDefault)
{
    // Escape does nothing in a Yes/No box; the person then clicks No.
    SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR nId, DWORD) {
        Once(nullptr, 0, nId, 0);
        QMessageBox* pBox = OpenBox();
        ASSERT_NE(nullptr, pBox);
        g_strSeen = std::to_string(pBox->buttons().size()) + (pBox->icon() == QMessageBox::Warning ? " warning" : "");
        QTest::keyClick(pBox, Qt::Key_Escape);
        QCloseEvent close;
        QApplication::sendEvent(pBox, &close);
        g_strSeen += OpenBox() ? " stays" : " closed";
        ButtonOf(pBox, QMessageBox::No)->click();
    });
    EXPECT_EQ(IDNO, MessageBoxA(g_hTop, "Replace it?", "Save", MB_YESNO | MB_ICONWARNING));
    EXPECT_EQ("2 warning stays", g_strSeen);

    // Escape answers Cancel where there is one.
    SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR nId, DWORD) {
        Once(nullptr, 0, nId, 0);
        QTest::keyClick(OpenBox(), Qt::Key_Escape);
    });
    EXPECT_EQ(IDCANCEL, MessageBoxA(g_hTop, "Go on?", "", MB_YESNOCANCEL));

    // Enter takes the default button, here the third.
    SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR nId, DWORD) {
        Once(nullptr, 0, nId, 0);
        QMessageBox* pBox = OpenBox();
        ASSERT_NE(nullptr, pBox);
        g_strSeen = pBox->defaultButton() == ButtonOf(pBox, QMessageBox::Ignore) ? "ignore" : "other";
        pBox->defaultButton()->click();
    });
    EXPECT_EQ(IDIGNORE, MessageBoxA(nullptr, "Line lost", "", MB_ABORTRETRYIGNORE | MB_DEFBUTTON3 | MB_ICONERROR));
    EXPECT_EQ("ignore", g_strSeen);
}

// Screenshots of a box with an icon in English and in Arabic (mirrored, right-aligned text).
TEST_F(QtMessageBoxTest, EnglishAndArabicBoxesLookRight)
{
    const UINT uOld = GetACP();
    static const struct { const char* pszName; UINT uCodePage; const char* pszText; const char* pszCaption; UINT uType; } s_boxes[] = {
        {"messagebox_english", 1252, "The connection to the server was lost.\nReconnect now?", "Trading terminal",
         MB_YESNO | MB_ICONWARNING},
        {"messagebox_english_short", 1252, "Disconnect?", "ZORVATOnLine Quelmor Pro trading terminal",
         MB_YESNO | MB_ICONWARNING},
        {"messagebox_arabic", 1256, "انقطع الاتصال بالخادم.\nهل تريد إعادة الاتصال الآن؟", "منصة التداول",
         MB_YESNO | MB_ICONWARNING | MB_RIGHT | MB_RTLREADING},
        {"messagebox_arabic_short", 1256, "قطع الاتصال؟", "زورفات أونلاين - كويلمور برو - منصة التداول",
         MB_YESNO | MB_ICONWARNING | MB_RIGHT | MB_RTLREADING},
    };
    for (const auto& box : s_boxes) {
        ASSERT_TRUE(TbSetActiveCodePage(box.uCodePage));
        static const char* s_pszName;
        s_pszName = box.pszName;
        SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR nId, DWORD) {
            Once(nullptr, 0, nId, 0);
            QMessageBox* pBox = OpenBox();
            ASSERT_NE(nullptr, pBox);
            auto* pLabel = pBox->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            g_strSeen = pBox->layoutDirection() == Qt::RightToLeft ? "rtl" : "ltr";
            g_strSeen += pLabel && (pLabel->alignment() & Qt::AlignRight) ? " right " : " left ";
            g_strSeen += pBox->text().toStdString();
            // A short question keeps its whole caption in the title bar, beside the window's
            // icon and buttons.
            const int cxCaption = QFontMetrics(QApplication::font()).horizontalAdvance(pBox->windowTitle());
            EXPECT_GE(pBox->width(), cxCaption + 120) << pBox->windowTitle().toStdString();
            EXPECT_TRUE(pBox->grab().save(QString::fromStdString(ScreenshotPath(s_pszName))));
            TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDYES, ""});
        });
        EXPECT_EQ(IDYES, MessageBoxA(g_hTop, TbUtf8ToCodePage(box.pszText, box.uCodePage).c_str(),
                                     TbUtf8ToCodePage(box.pszCaption, box.uCodePage).c_str(), box.uType));
        const bool bArabic = box.uCodePage == 1256;
        EXPECT_EQ(std::string(bArabic ? "rtl right " : "ltr left ") + box.pszText, g_strSeen);
    }
    TbSetActiveCodePage(uOld);
}

// A box answered on the display gives the keys back to the field that had them: the next key
// typed goes into it, as into a dialog whose question was answered No.
TEST_F(QtMessageBoxTest, TheFieldThatHadTheKeysHasThemAgainWhenTheBoxCloses)
{
    const HWND hField = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 120, 24, g_hTop,
                                        nullptr, nullptr, nullptr);
    SetFocus(hField);
    PumpQt(10);
    ASSERT_EQ(hField, GetFocus());
    SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR nId, DWORD) {
        Once(nullptr, 0, nId, 0);
        if (QAbstractButton* pNo = ButtonOf(OpenBox(), QMessageBox::No))
            QTest::mouseClick(pNo, Qt::LeftButton);
    });
    EXPECT_EQ(IDNO, MessageBoxA(g_hTop, "Log off?", nullptr, MB_YESNO | MB_ICONQUESTION));
    PumpQt(20);
    EXPECT_EQ(hField, GetFocus());
    QTest::keyClicks(TbQtWidgetOf(hField), "ab");
    PumpQt(20);
    char szText[16] = "";
    GetWindowTextA(hField, szText, sizeof szText);
    EXPECT_STREQ("ab", szText);
}
