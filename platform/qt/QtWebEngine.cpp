// The browser control's surface on Qt WebEngine: a QWebEngineView across the browser window's
// widget. Its page reports navigations, loads, titles, hovered links and new windows to the
// browser; the per-browser switches become the page's settings and a request filter.
#include <unistd.h>

#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtCore/QLibraryInfo>
#include <QtCore/QPointer>
#include <QtCore/QTemporaryFile>
#include <QtWebEngineCore/QWebEnginePage>
#include <QtWebEngineCore/QWebEngineProfile>
#include <QtWebEngineCore/QWebEngineSettings>
#include <QtWebEngineCore/QWebEngineUrlRequestInterceptor>
#include <QtWebEngineWidgets/QWebEngineView>
#include <QtWidgets/QApplication>
#include <QtWidgets/QVBoxLayout>
#include <cstdio>
#include "platform/qt/QtInternal.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/Window.h"
#include "platform/win/user/WebEngine.h"

namespace {
// setHtml carries the document in a data: address, which the engine refuses past 2 MB (and
// percent-encoding may triple a text): a bigger document is shown from a file of its own.
const int MAX_INLINE_HTML = 512 * 1024;

BOOL IsFetched(const QUrl& url)
{
    static const char* const s_schemes[] = {"http", "https", "ws", "wss", "ftp", "file"};
    for (const char* pszScheme : s_schemes)
        if (url.scheme().compare(QLatin1String(pszScheme), Qt::CaseInsensitive) == 0)
            return TRUE;
    return FALSE;
}

// A page a script opened: it lives only until it knows its address, which then goes to the
// browser the owner names, and it never shows anything itself.
class CPopupCatcher : public QWebEnginePage
{
public:
    CPopupCatcher(QWebEngineProfile* pProfile, std::weak_ptr<ITbWebViewSink> pSink)
        : QWebEnginePage(pProfile), m_pSink(std::move(pSink)) {}
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool bMainFrame) override
    {
        if (!bMainFrame || m_bDone)
            return false;
        m_bDone = true;
        deleteLater();
        const std::shared_ptr<ITbWebViewSink> pSink = m_pSink.lock();
        HWND hTarget = pSink ? pSink->OnNewWindow(url.toString().toStdString()) : nullptr;
        if (hTarget != nullptr)
            WebBrowser_Navigate(hTarget, TbUtf8ToCodePage(url.toString().toStdString(), CP_ACP).c_str());
        return false;
    }

private:
    std::weak_ptr<ITbWebViewSink> m_pSink;
    bool m_bDone = false;
};

class CWebPage : public QWebEnginePage
{
public:
    CWebPage(QWebEngineProfile* pProfile, QObject* pParent, HWND hWnd) : QWebEnginePage(pProfile, pParent), m_hWnd(hWnd) {}
    HWND m_hWnd;                                // the browser window
    std::shared_ptr<ITbWebViewSink> m_pSink;    // reset when the browser lets the view go
    DWORD m_dwOptions = 0;
    BOOL m_bWriting = FALSE;                    // the load under way shows a written document
    QUrl m_urlOwnFile;                          // where a big written document is shown from
    // The engine still starts and stops a load the owner refused: those two are not reported.
    BOOL m_bRefused = FALSE;
    BOOL m_bSwallowing = FALSE;

protected:
    int Ask(const QUrl& url, const QString& strMsg, UINT uType)
    {
        const std::string strText = TbUtf8ToCodePage(strMsg.toStdString(), CP_ACP);
        const std::string strCaption = TbUtf8ToCodePage(url.host().toStdString(), CP_ACP);
        return MessageBoxA(GetAncestor(m_hWnd, GA_ROOT), strText.c_str(), strCaption.c_str(), uType);
    }
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool bMainFrame) override
    {
        if (!m_pSink)
            return false;
        if (m_bWriting && bMainFrame && (url.scheme() == QLatin1String("data") || url == m_urlOwnFile))
            return true;
        const std::shared_ptr<ITbWebViewSink> pSink = m_pSink;
        const bool bAccept = pSink->OnBeforeNavigate(url.toString().toStdString(), bMainFrame) != FALSE;
        if (bMainFrame)
            m_bRefused = !bAccept;
        return bAccept;
    }
    QWebEnginePage* createWindow(WebWindowType) override
    {
        if (!m_pSink)
            return nullptr;
        return new CPopupCatcher(profile(), m_pSink);
    }
    // A page's dialogs are the layer's message boxes over the browser's window, so they wait in
    // the layer's loop like every other; silent, none shows. A prompt has no such box: refused.
    void javaScriptAlert(const QUrl& url, const QString& strMsg) override
    {
        if (!(m_dwOptions & WBO_SILENT))
            Ask(url, strMsg, MB_OK | MB_ICONEXCLAMATION);
    }
    bool javaScriptConfirm(const QUrl& url, const QString& strMsg) override
    {
        return !(m_dwOptions & WBO_SILENT) && Ask(url, strMsg, MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
    }
    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override { return false; }
    // A page's console is not the program's: its messages stay out of the standard error.
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int, const QString&) override {}
};

// With loading switched off nothing is fetched into a page, neither from the network nor from
// local files; a local page the browser itself is told to show (or shows a big written document
// from) still loads.
class CRemoteBlocker : public QWebEngineUrlRequestInterceptor
{
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        const bool bLocalPage = info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMainFrame &&
                                info.requestUrl().isLocalFile();
        if (IsFetched(info.requestUrl()) && !bLocalPage)
            info.block(true);
    }
};

// The engine's off-the-record profile: nothing a page leaves behind reaches the disk.
QWebEngineProfile* Profile()
{
    static QPointer<QWebEngineProfile> s_pProfile;
    if (!s_pProfile)
        s_pProfile = new QWebEngineProfile(qApp);
    return s_pProfile;
}

class CQtWebView : public ITbWebView
{
public:
    CQtWebView(QWidget* pWindow, HWND hWnd, std::shared_ptr<ITbWebViewSink> pSink)
    {
        m_pView = new QWebEngineView(pWindow);
        m_pPage = new CWebPage(Profile(), m_pView, hWnd);
        m_pPage->m_pSink = std::move(pSink);
        m_pBlocker = new CRemoteBlocker(m_pPage);
        m_pView->setPage(m_pPage);
        auto* pLayout = new QVBoxLayout(pWindow);
        pLayout->setContentsMargins(0, 0, 0, 0);
        pLayout->addWidget(m_pView);
        // The layer's focus goes to the page, and a click into the page gives the browser the
        // layer's focus: the keys the page leaves come back to its window as the layer's messages.
        pWindow->setFocusProxy(m_pView);
        pWindow->setProperty("tbForeign", true);    // window pictures show the page
        QObject::connect(qApp, &QApplication::focusChanged, m_pPage, [hWnd, pView = m_pView](QWidget*, QWidget* pNow) {
            if (pNow != nullptr && pView != nullptr && (pNow == pView || pView->isAncestorOf(pNow)) && GetFocus() != hWnd)
                SetFocus(hWnd);
        });
        CWebPage* pPage = m_pPage;
        QObject::connect(pPage, &QWebEnginePage::loadStarted, pPage, [pPage] {
            pPage->m_bSwallowing = pPage->m_bRefused;
            pPage->m_bRefused = FALSE;
            if (pPage->m_pSink && !pPage->m_bSwallowing)
                std::shared_ptr<ITbWebViewSink>(pPage->m_pSink)->OnLoadStarted(pPage->m_bWriting);
        });
        QObject::connect(pPage, &QWebEnginePage::loadProgress, pPage, [pPage](int nPercent) {
            if (pPage->m_pSink && !pPage->m_bWriting && !pPage->m_bSwallowing)
                std::shared_ptr<ITbWebViewSink>(pPage->m_pSink)->OnProgress(nPercent);
        });
        QObject::connect(pPage, &QWebEnginePage::loadFinished, pPage, [pPage](bool) {
            const BOOL bSwallow = pPage->m_bSwallowing;
            pPage->m_bSwallowing = FALSE;
            if (!pPage->m_pSink || bSwallow)
                return;
            const BOOL bWritten = pPage->m_bWriting;
            pPage->m_bWriting = FALSE;
            std::shared_ptr<ITbWebViewSink>(pPage->m_pSink)->OnLoadFinished(pPage->url().toString().toStdString(), bWritten);
        });
        QObject::connect(pPage, &QWebEnginePage::titleChanged, pPage, [pPage](const QString& strTitle) {
            if (pPage->m_pSink)
                std::shared_ptr<ITbWebViewSink>(pPage->m_pSink)->OnTitle(strTitle.toStdString());
        });
        QObject::connect(pPage, &QWebEnginePage::linkHovered, pPage, [pPage](const QString& strUrl) {
            if (pPage->m_pSink)
                std::shared_ptr<ITbWebViewSink>(pPage->m_pSink)->OnHoveredLink(strUrl.toStdString());
        });
    }
    ~CQtWebView() override
    {
        // The view may be inside one of its own signals: it goes once Qt is back in its loop.
        if (m_pPage) {
            m_pPage->m_pSink.reset();
            m_pPage->disconnect();
        }
        if (m_pView) {
            if (QWidget* pWindow = m_pView->parentWidget())
                pWindow->setProperty("tbForeign", false);
            m_pView->hide();
            m_pView->deleteLater();
        }
    }
    void Navigate(const std::string& strUrl) override
    {
        if (!m_pPage)
            return;
        m_pPage->m_bWriting = FALSE;
        m_pPage->load(QUrl::fromUserInput(QString::fromStdString(strUrl)));
    }
    void ShowHtml(const std::string& strHtml) override
    {
        if (!m_pPage)
            return;
        m_pPage->m_bWriting = TRUE;
        const QByteArray html = QByteArray::fromStdString(strHtml);
        if (html.size() <= MAX_INLINE_HTML) {
            m_pFile.reset();
            m_pPage->m_urlOwnFile = QUrl();
            m_pPage->setContent(html, QStringLiteral("text/html;charset=UTF-8"), QUrl(QStringLiteral("about:blank")));
            return;
        }
        m_pFile = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/tbpage-XXXXXX.html"));
        if (!m_pFile->open() || m_pFile->write(html) != html.size() || !m_pFile->flush()) {
            m_pPage->m_bWriting = FALSE;
            return;
        }
        m_pPage->m_urlOwnFile = QUrl::fromLocalFile(m_pFile->fileName());
        m_pPage->load(m_pPage->m_urlOwnFile);
    }
    void Reload() override
    {
        if (m_pPage)
            m_pPage->triggerAction(QWebEnginePage::Reload);
    }
    void SetOptions(DWORD dwOptions) override
    {
        if (!m_pPage)
            return;
        m_pPage->m_dwOptions = dwOptions;
        QWebEngineSettings* pSettings = m_pPage->settings();
        pSettings->setAttribute(QWebEngineSettings::JavascriptEnabled, !(dwOptions & WBO_NOSCRIPT));
        pSettings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, !(dwOptions & WBO_NOSCRIPT));
        pSettings->setAttribute(QWebEngineSettings::AutoLoadImages, true);
        m_pPage->setUrlRequestInterceptor((dwOptions & WBO_NOREMOTE) ? m_pBlocker : nullptr);
    }
    BOOL IsEngine() const override { return TRUE; }

private:
    QPointer<QWebEngineView> m_pView;
    QPointer<CWebPage> m_pPage;
    CRemoteBlocker* m_pBlocker = nullptr;       // the page's child
    std::unique_ptr<QTemporaryFile> m_pFile;    // the big written document shown
};

class CQtWebEngine : public ITbWebEngine
{
public:
    ITbWebView* CreateView(HWND hWnd, std::shared_ptr<ITbWebViewSink> pSink) override
    {
        QWidget* pWindow = TbQtWidgetOf(hWnd);
        if (pWindow == nullptr)
            return nullptr;
        return new CQtWebView(pWindow, hWnd, std::move(pSink));
    }
};
}  // namespace

void TbQtPrepareWebEngine()
{
    // The engine shares its GL contexts with Qt's; this must be said before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

ITbWebEngine* TbQtWebEngine()
{
    // The engine runs its pages in helper processes; without the helper it cannot start (and
    // would end the program trying), so the browsers fall back to the rich-text view.
    const QString strHelper = qEnvironmentVariableIsSet("QTWEBENGINEPROCESS_PATH")
                                  ? qEnvironmentVariable("QTWEBENGINEPROCESS_PATH")
                                  : QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + QStringLiteral("/QtWebEngineProcess");
    if (!QFileInfo(strHelper).isExecutable())
        return nullptr;
    // Chromium refuses to start as root inside its sandbox and takes the whole process with it.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        fprintf(stderr, "web engine: running as root, so its sandbox is switched off\n");
    }
    static CQtWebEngine s_engine;
    return &s_engine;
}
