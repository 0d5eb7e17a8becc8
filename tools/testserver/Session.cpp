#include "tools/testserver/Session.h"
#include <algorithm>
#include <random>
#include "tools/testserver/OrderDesk.h"
#include <cerrno>
#include <cstdlib>
#include <numeric>
#include <sys/socket.h>
#include <unistd.h>

// Sent after every login, in this order: the status that starts the terminal's market-data
// subscription, then the market states and notices a terminal shows at once, and the odd-lot
// board, which no request asks for.
static const char* const s_afterLogin[] = {"DR", "MM.us", "MM.kse", "CM.1", "CM.2", "BM", "MS", "OD"};
// The unknown-types scenario: a mnemonic no table knows, and types in the table without a handler.
static const char* const s_unknownTypes[] = {"ZZ", "IC", "FT"};

static std::string Field(const std::vector<std::string>& fields, size_t i)
{
    return i < fields.size() ? fields[i] : std::string();
}

CSession::CSession(int fd, CServerShared& shared)
    : m_fd(fd), m_shared(shared), m_options(shared.options)
{
}

CSession::~CSession()
{
    close(m_fd);
}

bool CSession::OnReadable(double dNow)
{
    char buf[65536];
    const ssize_t n = recv(m_fd, buf, sizeof buf, MSG_DONTWAIT);
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return true;
    if (n <= 0)
        return false;
    std::string data(buf, static_cast<size_t>(n));
    if (m_bEncrypted)
        data = StripLinePadding(m_cipher.DecryptStream(m_carry, data));
    for (char ch : data) {
        if (m_bClose)
            break;
        if (ch != '\n') {
            m_line += ch;
            continue;
        }
        const std::string line = m_line;
        m_line.clear();
        OnLine(line, dNow);
    }
    return true;
}

void CSession::OnLine(const std::string& line, double dNow)
{
    Log("<", line);
    // A request: "&MN|number|XC|request-number|data..." ("&EN|number|XC|data..." for EN).
    if (line.size() < 3 || (line[0] != '&' && line[0] != '^'))
        return;
    const std::string strMnemonic = line.substr(1, 2);
    const std::vector<std::string> parts = SplitFields(line);
    const size_t nData = strMnemonic == "EN" ? 3 : 4;
    const std::vector<std::string> fields(parts.begin() + static_cast<long>(std::min(nData, parts.size())), parts.end());
    CShapeContext ctx;
    ctx.strLink = m_options.IsScenario("no-ack") ? "0" : parts.size() > 1 ? std::to_string(atol(parts[1].c_str())) : "0";
    ctx.strNumber = parts.size() > 3 && nData == 4 ? parts[3] : "";
    ctx.pRequest = &fields;
    ctx.pUser = m_pUser;
    ctx.pClock = &m_shared.clock;
    ctx.nSeq = ++m_nSeq;
    // The login's texts (errors, countries) name the user's language; it stands for the replies
    // that name none. Other requests name the language of one reply only (a story, a profile).
    if (const CShape* pShape = m_shared.shapes.Find(strMnemonic);
        pShape && (strMnemonic == "EM" || strMnemonic == "CT") && pShape->nLangField >= 0 &&
        static_cast<size_t>(pShape->nLangField) < fields.size())
        m_bArabic = fields[static_cast<size_t>(pShape->nLangField)] == "1";
    ctx.bArabicSession = m_bArabic;
    auto itFail = m_options.fails.find(strMnemonic);
    if (strMnemonic == "X9") {
        OnKeyExchange(atol(ctx.strLink.c_str()), fields);
    } else if (itFail != m_options.fails.end()) {
        ctx.nError = itFail->second;
        Reply(strMnemonic, ctx, dNow);
    } else if (strMnemonic == "UL") {
        OnLogin(ctx, fields, dNow);
    } else if (strMnemonic == "US") {
        OnPasswordChange(ctx, fields, dNow);
    } else if (strMnemonic == "GS" || strMnemonic == "L2" || strMnemonic == "L3") {
        // A subscription starts with the symbol's lines now; its live lines follow.
        const bool bQuote = strMnemonic == "GS";
        const std::string strSymbol = Field(fields, bQuote ? 0 : 2);
        if (bQuote ? Field(fields, 1) == "0" : Field(fields, 4) == "2") {
            m_symbols.erase(strMnemonic + ":" + strSymbol);
            // A book's stop is answered with the line that clears it; a quote's stop is not.
            if (!bQuote)
                Reply(strMnemonic, ctx, dNow);
        } else if (!strSymbol.empty()) {
            Reply(strMnemonic, ctx, dNow);
            m_symbols.insert(strMnemonic + ":" + strSymbol);
        }
    } else if (const COrderForm* pForm = m_pUser ? FindOrderForm(strMnemonic, fields, m_bAfterContractCheck) : nullptr) {
        if (strMnemonic == "KJ")
            m_bAfterContractCheck = pForm->nWhenEmpty >= 0;
        // The model acts for the user; the reply is written from what it says.
        CRecord result;
        ctx.nError = ActOnOrder(m_shared.sim, *pForm, fields, m_user, result);
        ctx.pRecord = &result;
        // As a server whose status lines overtake their order's reply.
        const bool bLiveFirst = m_options.IsScenario("live-first") && m_options.strScenarioArg == strMnemonic;
        if (bLiveFirst)
            m_shared.fnPushPending(dNow);
        Reply(strMnemonic, ctx, dNow);
        if (!bLiveFirst)
            m_shared.fnPushPending(dNow);
    } else if (const CConversionForm* pConversion = m_pUser ? FindConversionForm(strMnemonic, fields) : nullptr) {
        CRecord result;
        ctx.nError = ActOnConversion(m_shared.sim, *pConversion, fields, m_user, result);
        ctx.pRecord = &result;
        Reply(strMnemonic, ctx, dNow);
        m_shared.fnPushPending(dNow);
    } else if (m_shared.script.HasSection(strMnemonic)) {
        Emit(m_shared.script.Reply(strMnemonic, atol(ctx.strLink.c_str()), fields), dNow);
    } else {
        Reply(strMnemonic, ctx, dNow);
    }
    if (strMnemonic == "VC" && m_options.IsScenario("close-after-hello"))
        m_bClose = true;
    if (!m_options.strState.empty())
        WriteState();
}

void CSession::WriteState() const
{
    // Written aside and renamed, so that a reader never sees half a state.
    const std::string strTemp = m_options.strState + ".new";
    FILE* pFile = fopen(strTemp.c_str(), "w");
    if (pFile == nullptr)
        return;
    const std::string strText = m_shared.sim.Accounts().StateText();
    fwrite(strText.data(), 1, strText.size(), pFile);
    fclose(pFile);
    rename(strTemp.c_str(), m_options.strState.c_str());
}

void CSession::OnKeyExchange(long nNumber, const std::vector<std::string>& fields)
{
    const std::string prefix = "~X9|" + std::to_string(nNumber) + "|XC||";
    const bool bKeyRequest = fields.empty() || (fields.size() == 1 && fields[0].empty());
    if (bKeyRequest) {
        if (m_options.IsScenario("x9-two-fields"))
            Emit({prefix + "0|" + m_shared.rsa.ModulusText()}, 0);
        else
            Emit({prefix + "0|" + m_shared.rsa.ModulusText() + "|" + m_shared.rsa.ExponentText()}, 0);
        return;
    }
    std::string keyText;
    if (!m_shared.rsa.Decrypt(fields[0], keyText) || !m_cipher.SetKeyText(keyText) ||
        m_options.IsScenario("x9-reject")) {
        Emit({prefix + "1"}, 0);
        return;
    }
    // The accept goes out plain; everything after it, in the same write too, is enciphered.
    Emit({prefix + "0"}, 0);
    m_bEncrypted = true;
    if (m_options.IsScenario("data-after-accept"))
        Emit(m_shared.script.Reply("AFTER-ACCEPT", nNumber, fields), 0);
    if (m_options.IsScenario("stream"))
        m_bStreaming = true;
}

void CSession::OnLogin(const CShapeContext& ctx, const std::vector<std::string>& fields, double dNow)
{
    const std::string strUser = fields.size() > 0 ? fields[0] : "";
    const std::string strPassword = fields.size() > 1 ? fields[1] : "";
    const CRecord* pFound = nullptr;
    for (const CRecord& rec : m_shared.pUsers ? *m_shared.pUsers : NoRecords()) {
        auto itUser = rec.find("user"), itPassword = rec.find("password");
        if (itUser != rec.end() && itUser->second == strUser && itPassword != rec.end() && itPassword->second == strPassword)
            pFound = &rec;
    }
    if (!pFound) {
        Reply("UL.refused", ctx, dNow);
        return;
    }
    m_user = *pFound;
    m_pUser = &m_user;
    // The account the model keeps for the user, opened at the first login of any session.
    m_shared.sim.Login(strUser, strPassword, atoi(m_user["account"].c_str()));
    CShapeContext login = ctx;
    login.pUser = m_pUser;
    Reply("UL", login, dNow);
    m_bLoginHeld = m_options.IsScenario("login-order");

    CShapeContext push;
    push.pUser = m_pUser;
    push.pClock = &m_shared.clock;
    std::vector<std::string> names(std::begin(s_afterLogin), std::end(s_afterLogin));
    if (m_options.IsScenario("us-mm-kse-0"))
        names.insert(names.begin() + 1, "MM.kse0");
    if (m_options.IsScenario("second-market-list"))
        names.push_back("XC");
    if (m_options.IsScenario("unknown-types"))
        names.insert(names.end(), std::begin(s_unknownTypes), std::end(s_unknownTypes));
    for (const std::string& strName : names) {
        push.nSeq = ++m_nSeq;
        Reply(strName, push, dNow);
    }
}

// A password or PIN change: the user number and the old value must match the logged-in user.
void CSession::OnPasswordChange(const CShapeContext& ctx, const std::vector<std::string>& fields, double dNow)
{
    auto field = [&](size_t i) { return i < fields.size() ? fields[i] : std::string(); };
    const bool bPin = field(1).empty() && !field(4).empty();
    const std::string strKey = bPin ? "pin" : "password";
    if (!m_pUser || field(0) != m_user["number"] || field(bPin ? 4 : 1) != m_user[strKey]) {
        Reply("US.refused", ctx, dNow);
        return;
    }
    m_user[strKey] = field(bPin ? 5 : 3);
    Reply("US", ctx, dNow);
}

// The no-number and empty scenarios: field nField (after the header's link, source and number)
// of the lines of a mnemonic becomes strText.
static void SpoilField(std::vector<std::string>& lines, const std::string& strStart, int nField,
                       const std::string& strText = "n/a")
{
    for (std::string& line : lines) {
        if (line.rfind(strStart, 0) != 0)
            continue;
        size_t nAt = 0;
        for (int i = 0; i < nField + 4 && nAt != std::string::npos; ++i)
            nAt = line.find('|', nAt + 1);
        if (nAt == std::string::npos)
            continue;
        const size_t nEnd = line.find('|', nAt + 1);
        line.replace(nAt + 1, (nEnd == std::string::npos ? line.size() : nEnd) - nAt - 1, strText);
    }
}

void CSession::Reply(const std::string& strShape, const CShapeContext& ctx, double dNow)
{
    CShapeReply reply;
    // A variant whose condition holds answers in place of the shape; a lookup that finds no
    // record answers with its ".missing" shape, when it has one.
    const CShape* pShape = m_shared.shapes.Find(strShape);
    if (strShape.size() == 2 && ctx.nError == 0)
        for (const CShape* pVariant : m_shared.shapes.Conditional(strShape))
            if (m_shared.writer.Holds(*pVariant, ctx)) {
                pShape = pVariant;
                break;
            }
    if (!(pShape && m_shared.writer.Write(*pShape, ctx, reply)) && !m_shared.writer.Write(strShape + ".missing", ctx, reply))
        return;
    const std::string strMnemonic = strShape.substr(0, 2);
    if (ctx.nError == 0)
        m_opened.insert(strMnemonic);
    const bool bNamed = m_options.strScenarioArg.compare(0, 2, strMnemonic) == 0;
    if (ctx.nError != 0 && m_options.IsScenario("en-after-error"))
        reply.lines.push_back("~EN|" + ctx.strLink + "|XC|0");
    if (reply.bStream && reply.nRows > 0 && m_options.IsScenario("live-in-refill")) {
        const std::string& strLive =
            m_options.strScenarioArg.empty() ? m_shared.strLastLive : m_shared.lastLiveOf[m_options.strScenarioArg];
        if (!strLive.empty())
            reply.lines.insert(reply.lines.begin() + static_cast<long>(reply.nFirstRow + 1), strLive);
    }
    if (m_options.IsScenario("no-number"))
        for (size_t nAt = 0; nAt < m_options.strScenarioArg.size(); nAt = m_options.strScenarioArg.find(',', nAt) + 1) {
            if (m_options.strScenarioArg.compare(nAt, 2, strMnemonic) == 0)
                SpoilField(reply.lines, "~" + strMnemonic + "|", atoi(m_options.strScenarioArg.c_str() + nAt + 3));
            if (m_options.strScenarioArg.find(',', nAt) == std::string::npos)
                break;
        }
    if (bNamed && m_options.IsScenario("empty"))
        EmptyNamedField(reply.lines);
    if (bNamed && m_options.IsScenario("close-in-stream") && reply.bStream) {
        reply.lines.resize(reply.nFirstRow + reply.nRows / 2);
        Emit(reply.lines, dNow, 0, /*bCloseAfter=*/true);
    } else if (bNamed && m_options.IsScenario("delay")) {
        const size_t nColon = m_options.strScenarioArg.find(':');
        Emit(reply.lines, dNow, nColon == std::string::npos ? 1 : atof(m_options.strScenarioArg.c_str() + nColon + 1));
    } else if (bNamed && m_options.IsScenario("reverse") && !m_bReverseDone) {
        m_reversed = reply.lines;        // the first one waits for the second
        m_bReverseDone = true;
    } else if (bNamed && m_options.IsScenario("hold")) {
        m_holding.insert(m_holding.end(), reply.lines.begin(), reply.lines.end());
    } else if (m_bLoginHeld) {
        m_loginReplies.push_back(reply.lines);
        if (strMnemonic == "VX") {
            m_bLoginHeld = false;
            std::mt19937 random(static_cast<unsigned>(strtoul(m_options.strScenarioArg.c_str(), nullptr, 10)));
            std::shuffle(m_loginReplies.begin(), m_loginReplies.end(), random);
            for (const std::vector<std::string>& lines : m_loginReplies)
                Emit(lines, dNow);
            m_loginReplies.clear();
        }
    } else {
        if (m_options.IsScenario("hold") && m_options.strScenarioArg.size() >= 5
            && m_options.strScenarioArg.compare(3, 2, strMnemonic) == 0) {
            Emit(m_holding, dNow);
            m_holding.clear();
        }
        Emit(reply.lines, dNow);
        if (!m_reversed.empty()) {
            Emit(m_reversed, dNow);
            m_reversed.clear();
        }
    }
}

std::string CSession::Encode(const std::vector<const std::string*>& lines)
{
    std::string plain;
    for (const std::string* pLine : lines) {
        Log(">", *pLine);
        plain += *pLine;
        plain += '\n';
    }
    if (!m_bEncrypted)
        return plain;
    if (!m_options.IsScenario("pad-lines"))
        return m_cipher.EncryptPadded(plain);
    std::string bytes;
    for (const std::string* pLine : lines)
        bytes += m_cipher.EncryptPadded(*pLine + "\n");
    return bytes;
}

void CSession::Emit(const std::vector<std::string>& lines, double dNow, double dDelay, bool bCloseAfter)
{
    std::vector<const std::string*> pointers;
    for (const std::string& line : lines)
        pointers.push_back(&line);
    Emit(pointers, dNow, dDelay, bCloseAfter);
}

void CSession::Emit(const std::vector<const std::string*>& lines, double dNow, double dDelay, bool bCloseAfter)
{
    if (lines.empty() && !bCloseAfter)
        return;
    std::string bytes = Encode(lines);
    if (dDelay > 0 || !m_held.empty()) {
        const double dDue = std::max(dNow + dDelay, m_held.empty() ? 0.0 : m_held.back().dDue);
        m_held.push_back({dDue, std::move(bytes), bCloseAfter});
        return;
    }
    if (QueuedBytes() == 0)
        m_dLastProgress = dNow;
    m_out += bytes;
    m_bClose = m_bClose || bCloseAfter;
}

void CSession::SendUnsolicited(const std::vector<std::string>& lines, double dNow)
{
    if (m_bEncrypted && !m_bClose)
        Emit(lines, dNow);
}

void CSession::SendLive(const std::vector<CLiveLine>& lines, double dNow)
{
    if (!m_bEncrypted || m_bClose)
        return;
    const std::string& strUser = m_user["user"];
    std::vector<const std::string*> mine;
    for (const CLiveLine& live : lines) {
        const std::string& strAfter = live.pShape->strAfter;
        bool bMine = !live.strUser.empty() ? live.strUser == strUser
                         : strAfter.empty() ? true
                         : !live.strSymbol.empty() ? m_symbols.count(strAfter.substr(0, 3) + live.strSymbol) > 0
                                                   : m_opened.count(strAfter) > 0;
        if (bMine && live.pShape->bIf) {
            CShapeContext ctx;
            ctx.pUser = m_pUser;
            bMine = m_shared.writer.Holds(*live.pShape, ctx);
        }
        if (bMine)
            mine.push_back(&live.line);
    }
    if (mine.empty())
        return;
    if (!m_options.IsScenario("empty")) {
        Emit(mine, dNow);
        return;
    }
    std::vector<std::string> copies;
    for (const std::string* pLine : mine)
        copies.push_back(*pLine);
    EmptyNamedField(copies);
    Emit(copies, dNow);
}

// The empty scenario ("MN:F"): field F of the lines of type MN, replies and live lines, is empty.
void CSession::EmptyNamedField(std::vector<std::string>& lines) const
{
    const std::string& strArg = m_options.strScenarioArg;
    const size_t nColon = strArg.find(':');
    if (nColon != std::string::npos)
        SpoilField(lines, "~" + strArg.substr(0, nColon) + "|", atoi(strArg.c_str() + nColon + 1), "");
}

// As a busy server does: quotation lines of 30 fields, enciphered, in writes of a megabyte. The
// lines repeat in a cycle of 64; repeated until its length is whole blocks, the cycle is
// enciphered once and its cipher text reused (the cipher works block by block).
void CSession::StreamQuotes(double dNow)
{
    static const char* const s_pszTickers[] = {"ZAIN", "NBK", "KFH", "AGILITY", "GBK", "BURGAN", "MABANEE", "HUMANSOFT"};
    static const size_t CYCLE = 64;
    std::string cycle;
    std::vector<std::string> lines;
    for (size_t i = 0; i < CYCLE; ++i) {
        std::string line = "~GS|0|XC|7|" + std::string(s_pszTickers[i % 8]);
        for (size_t nField = 1; nField < 30; ++nField) {
            switch (nField % 5) {
            case 0: line += "|" + std::to_string(100 + i * 7 + nField) + "." + std::to_string(nField % 10) + "5"; break;
            case 1: line += "|" + std::to_string(12500 * (i + 1) + nField); break;
            case 2: line += "|" + std::to_string(9 + nField % 3) + ":" + std::to_string(10 + i % 50) + ":05"; break;
            case 3: line += nField % 2 ? "|" : "|KWD"; break;
            default: line += "|-" + std::to_string(nField) + ".250"; break;
            }
        }
        lines.push_back(line);
        cycle += line + "\n";
    }
    const size_t nRepeat = 16 / std::gcd(cycle.size() % 16 ? cycle.size() % 16 : 16, size_t(16));
    std::string unitPlain;
    for (size_t i = 0; i < nRepeat; ++i)
        unitPlain += cycle;
    const std::string unit = m_cipher.EncryptPadded(unitPlain);
    const long nUnitLines = static_cast<long>(CYCLE * nRepeat);
    std::string block;
    while (block.size() < (1u << 20) && m_nStreamSent + nUnitLines <= m_options.nStreamLines) {
        block += unit;
        m_nStreamSent += nUnitLines;
    }
    if (block.size() < (1u << 20) && m_nStreamSent < m_options.nStreamLines) {
        std::string tail;
        while (m_nStreamSent < m_options.nStreamLines)
            tail += lines[static_cast<size_t>(m_nStreamSent++) % CYCLE] + "\n";
        block += m_cipher.EncryptPadded(tail);
    }
    if (QueuedBytes() == 0)
        m_dLastProgress = dNow;
    m_out += block;
    if (m_nStreamSent >= m_options.nStreamLines)
        m_bStreaming = false;
}

bool CSession::WantsWrite(double dNow) const
{
    if (m_bStreaming && QueuedBytes() < (1u << 20))
        return true;
    if (QueuedBytes() > 0)
        return true;
    return (m_bClose && m_held.empty()) || (!m_held.empty() && m_held.front().dDue <= dNow);
}

double CSession::NextDue() const
{
    return m_held.empty() ? 0 : m_held.front().dDue;
}

bool CSession::OnWritable(double dNow)
{
    while (!m_held.empty() && m_held.front().dDue <= dNow) {
        if (QueuedBytes() == 0)
            m_dLastProgress = dNow;
        m_out += m_held.front().bytes;
        m_bClose = m_bClose || m_held.front().bClose;
        m_held.pop_front();
    }
    if (m_bStreaming && QueuedBytes() < (1u << 20))
        StreamQuotes(dNow);
    if (QueuedBytes() == 0) {
        m_dLastProgress = dNow;
        return !(m_bClose && m_held.empty());
    }
    // With --split every piece is a send of its own (the socket has no delay), so the terminal
    // meets lines cut anywhere; the pieces go as fast as the socket takes them, and a round
    // stops after a bounded number of them so that requests and other sessions get their turn.
    const size_t nPiece = m_options.nSplit ? m_options.nSplit : QueuedBytes();
    for (int nSends = 0; QueuedBytes() > 0 && nSends < SESSION_ROUND_SENDS; ++nSends) {
        const ssize_t n = send(m_fd, m_out.data() + m_nOutOff, std::min(nPiece, QueuedBytes()), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
                break;
            return false;
        }
        m_nOutOff += static_cast<size_t>(n);
        m_dLastProgress = dNow;
    }
    if (m_nOutOff == m_out.size()) {
        m_out.clear();
        m_nOutOff = 0;
        return !(m_bClose && m_held.empty() && !m_bStreaming);
    }
    if (m_nOutOff > (1u << 20)) {
        m_out.erase(0, m_nOutOff);
        m_nOutOff = 0;
    }
    return true;
}

bool CSession::WithinBound(double dNow, std::string& strWhy) const
{
    if (QueuedBytes() > SESSION_QUEUE_LIMIT) {
        strWhy = "more than " + std::to_string(SESSION_QUEUE_LIMIT >> 20) + " MiB waiting";
        return false;
    }
    if (QueuedBytes() > 0 && dNow - m_dLastProgress > SESSION_STALL_SECONDS) {
        strWhy = "no byte taken for " + std::to_string(static_cast<int>(SESSION_STALL_SECONDS)) + " s";
        return false;
    }
    return true;
}

void CSession::Log(const char* pszDir, const std::string& line) const
{
    if (m_options.pLog) {
        fprintf(m_options.pLog, "%s %s\n", pszDir, line.c_str());
        fflush(m_options.pLog);
    }
}
