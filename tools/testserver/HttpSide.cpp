#include "tools/testserver/HttpSide.h"
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <map>

namespace {

int HexValue(char ch)
{
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    return -1;
}

// "%41%26B+x" -> "A&B x"; a '%' without two hexadecimal digits stays as it is.
std::string Decode(const std::string& str)
{
    std::string out;
    for (size_t i = 0; i < str.size(); ++i) {
        if (str[i] == '%' && i + 2 < str.size() && HexValue(str[i + 1]) >= 0 && HexValue(str[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(str[i + 1]) * 16 + HexValue(str[i + 2]));
            i += 2;
        } else {
            out += str[i] == '+' ? ' ' : str[i];
        }
    }
    return out;
}

std::map<std::string, std::string> ParseQuery(const std::string& strQuery)
{
    std::map<std::string, std::string> values;
    size_t nStart = 0;
    while (nStart <= strQuery.size()) {
        size_t nEnd = strQuery.find('&', nStart);
        if (nEnd == std::string::npos)
            nEnd = strQuery.size();
        const std::string strPair = strQuery.substr(nStart, nEnd - nStart);
        const size_t nEq = strPair.find('=');
        if (!strPair.empty())
            values[Decode(strPair.substr(0, nEq))] = nEq == std::string::npos ? "" : Decode(strPair.substr(nEq + 1));
        nStart = nEnd + 1;
    }
    return values;
}

std::string Escape(const std::string& str)
{
    std::string out;
    for (char ch : str) {
        switch (ch) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += ch;
        }
    }
    return out;
}

std::string Html(const std::string& strTitle, const std::string& strBody, bool bRightToLeft = false)
{
    return std::string("<!DOCTYPE html><html") + (bRightToLeft ? " dir=\"rtl\" lang=\"ar\"" : "") +
           "><head><meta charset=\"utf-8\"><title>" + Escape(strTitle) + "</title></head><body><h1>" +
           Escape(strTitle) + "</h1>" + strBody + "</body></html>";
}

// A picture of one blue pixel: what a story may try to fetch.
const unsigned char s_png[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00,
    0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x02, 0x00, 0x00, 0x00, 0x90, 0x77, 0x53, 0xDE, 0x00, 0x00, 0x00, 0x0C, 0x49,
    0x44, 0x41, 0x54, 0x08, 0xD7, 0x63, 0x60, 0x60, 0xF8, 0x0F, 0x00, 0x01, 0x04, 0x01, 0x00, 0x5F, 0xE5, 0xC3, 0x4B,
    0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

const struct { const char* pszKind; const char* pszTitle; } s_research[] = {
    {"profile", "Company profile"}, {"research", "Research"}, {"insider", "Insider trades"},
    {"insider-detail", "Insider trades in detail"},
};

}  // namespace

CHttpSide::~CHttpSide()
{
    for (const Conn& conn : m_conns)
        close(conn.fd);
    if (m_fdListen >= 0)
        close(m_fdListen);
}

bool CHttpSide::Listen()
{
    m_fdListen = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    if (m_fdListen < 0)
        return false;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t nLen = sizeof addr;
    if (bind(m_fdListen, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(m_fdListen, 16) != 0 ||
        getsockname(m_fdListen, reinterpret_cast<sockaddr*>(&addr), &nLen) != 0) {
        close(m_fdListen);
        m_fdListen = -1;
        return false;
    }
    m_nPort = ntohs(addr.sin_port);
    return true;
}

void CHttpSide::AddPollFds(std::vector<pollfd>& fds, double) const
{
    fds.push_back({m_fdListen, POLLIN, 0});
    for (const Conn& conn : m_conns)
        fds.push_back({conn.fd, static_cast<short>(conn.bAnswered ? POLLOUT : POLLIN), 0});
}

void CHttpSide::Serve(const std::vector<pollfd>& fds, size_t nFirst, double dNow)
{
    // The connections polled are the first ones of the list; those accepted now come after.
    const size_t nPolled = fds.size() - nFirst - 1;
    for (size_t i = nPolled; i-- > 0;) {
        Conn& conn = m_conns[i];
        const short nEvents = fds[nFirst + 1 + i].revents;
        bool bKeep = dNow - conn.dStart <= HTTP_BOUND_SECONDS;
        if (bKeep && (nEvents & (POLLIN | POLLHUP | POLLERR)) && !conn.bAnswered)
            bKeep = OnReadable(conn);
        if (bKeep && conn.bAnswered)
            bKeep = OnWritable(conn);
        if (!bKeep) {
            close(conn.fd);
            m_conns.erase(m_conns.begin() + static_cast<long>(i));
        }
    }
    if (fds[nFirst].revents & POLLIN)
        Accept(dNow);
}

void CHttpSide::Accept(double dNow)
{
    for (;;) {
        const int fd = accept4(m_fdListen, nullptr, nullptr, SOCK_NONBLOCK);
        if (fd < 0)
            return;
        m_conns.push_back({fd, dNow, {}, {}});
    }
}

bool CHttpSide::OnReadable(Conn& conn)
{
    char buf[2048];
    const ssize_t n = read(conn.fd, buf, sizeof buf);
    if (n < 0)
        return errno == EAGAIN || errno == EINTR;
    if (n == 0)
        return false;
    conn.in.append(buf, static_cast<size_t>(n));
    const size_t nEnd = conn.in.find("\r\n\r\n");
    if (nEnd == std::string::npos)
        return conn.in.size() <= HTTP_REQUEST_LIMIT;
    if (nEnd > HTTP_REQUEST_LIMIT)
        return false;
    // "GET /path HTTP/1.1": only GET is answered.
    const std::string strLine = conn.in.substr(0, conn.in.find("\r\n"));
    const size_t nSpace = strLine.find(' '), nSpace2 = strLine.rfind(' ');
    Page page;
    page.nStatus = 405;
    std::string strTarget;
    if (nSpace != std::string::npos && nSpace2 > nSpace) {
        strTarget = strLine.substr(nSpace + 1, nSpace2 - nSpace - 1);
        if (strLine.compare(0, nSpace, "GET") == 0)
            page = Answer(strTarget);
    }
    if (m_pLog) {
        fprintf(m_pLog, "H %s\n", strLine.c_str());
        fflush(m_pLog);
    }
    const char* pszReason = page.nStatus == 200 ? "OK" : page.nStatus == 404 ? "Not Found" : "Method Not Allowed";
    conn.out = "HTTP/1.1 " + std::to_string(page.nStatus) + " " + pszReason + "\r\nContent-Type: " + page.strType +
               "\r\nContent-Length: " + std::to_string(page.strBody.size()) + "\r\nConnection: close\r\n\r\n" + page.strBody;
    conn.bAnswered = true;
    return true;
}

bool CHttpSide::OnWritable(Conn& conn)
{
    const ssize_t n = send(conn.fd, conn.out.data() + conn.nOff, conn.out.size() - conn.nOff, MSG_NOSIGNAL);
    if (n < 0)
        return errno == EAGAIN || errno == EINTR;
    conn.nOff += static_cast<size_t>(n);
    return conn.nOff < conn.out.size();
}

CHttpSide::Page CHttpSide::ResearchPage(const std::string& strKind, const std::string& strQuery) const
{
    std::map<std::string, std::string> query = ParseQuery(strQuery);
    const std::string& strSymbol = query["symbol"];
    const bool bKse = query["market"] == "kse";
    Page page;
    for (const auto& research : s_research) {
        if (strKind != research.pszKind)
            continue;
        std::string strBody = "<p id=\"symbol\">" + Escape(strSymbol) + "</p>";
        if (const std::vector<CRecord>* pSymbols = m_model.FindTable("symbols")) {
            for (const CRecord& rec : *pSymbols) {
                const auto it = rec.find("symbol");
                if (it != rec.end() && it->second == strSymbol && (rec.at("market") == "2") == bKse)
                    strBody += "<p id=\"name\">" + Escape(rec.at("name")) + "</p><p>" + Escape(rec.at("name_ar")) + "</p>";
            }
        }
        // The insider trades offer their details in a window of their own.
        if (strKind == "insider")
            strBody += "<p><a id=\"detail\" target=\"_blank\" href=\"/research/insider-detail?" + Escape(strQuery) +
                       "\">Details</a></p>";
        page.nStatus = 200;
        page.strBody = Html(std::string(research.pszTitle) + (bKse ? " (KSE) " : " ") + strSymbol, strBody);
    }
    return page;
}

CHttpSide::Page CHttpSide::Answer(const std::string& strTarget) const
{
    const size_t nQuery = strTarget.find('?');
    const std::string strPath = strTarget.substr(0, nQuery);
    const std::string strQuery = nQuery == std::string::npos ? "" : strTarget.substr(nQuery + 1);
    std::map<std::string, std::string> query = ParseQuery(strQuery);
    Page page;
    page.nStatus = 200;
    if (strPath.rfind("/research/", 0) == 0)
        return ResearchPage(strPath.substr(10), strQuery);
    if (strPath.rfind("/brief/", 0) == 0) {
        page.strBody = Html("Briefing: " + Decode(strPath.substr(7)) + (query["market"] == "kse" ? " (KSE)" : ""),
                            "<p>The day's briefing.</p>");
    } else if (strPath == "/calendar") {
        page.strBody = Html(std::string("Earnings calendar") + (query["market"] == "kse" ? " (KSE)" : ""),
                            "<p><a id=\"week\" target=\"_blank\" href=\"/calendar/week\">This week</a></p>");
    } else if (strPath == "/calendar/week") {
        page.strBody = Html("Earnings this week", "<p>No reports.</p>");
    } else if (strPath == "/charting") {
        page.strBody = Html("Technical charting", "<p>Charts.</p>");
    } else if (strPath == "/quotes") {
        page.strBody = Html("US market quotes", "<p>Quotes.</p>");
    } else if (strPath == "/story") {
        const CSimRecord* pStory = nullptr;
        for (const CSimRecord& row : m_sim.Tables().Get("news").rows)
            if (GetField(row, "id") == query["id"])
                pStory = &row;
        if (pStory == nullptr) {
            page.nStatus = 404;
            page.strBody = Html("No such story", "<p>" + Escape(query["id"]) + "</p>");
            return page;
        }
        const CSimRecord& story = *pStory;
        page.strBody = Html(GetField(story, "headline"), "<p id=\"story\">" + Escape(GetField(story, "story")) + "</p>",
                            GetField(story, "lang") == "1");
    } else if (strPath == "/book") {
        std::string strRows;
        if (const std::vector<CRecord>* pBook = m_model.FindTable("book:" + query["market"] + ":" + query["symbol"]))
            for (const CRecord& level : *pBook) {
                strRows += "<tr>";
                for (const auto& field : level)
                    strRows += "<td>" + Escape(field.second) + "</td>";
                strRows += "</tr>";
            }
        page.strBody = Html("Order book " + query["symbol"], "<table>" + strRows + "</table>");
    } else if (strPath == "/frame") {
        page.strBody = Html("A page with a frame", "<iframe id=\"inner\" src=\"/research/profile?symbol=ALPN\"></iframe>");
    } else if (strPath == "/popup") {
        page.strBody = Html("A page that opens a window", "<script>window.open('/calendar/week');</script>");
    } else if (strPath == "/script") {
        page.strBody = Html("script off", "<script>document.title = 'script ran';</script>");
    } else if (strPath == "/image.png") {
        page.strType = "image/png";
        page.strBody.assign(reinterpret_cast<const char*>(s_png), sizeof s_png);
    } else {
        page.nStatus = 404;
        page.strBody = Html("Not found", "");
    }
    return page;
}
