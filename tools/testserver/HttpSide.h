#pragma once
// The simulator's web side: HTTP GET on a second loopback port, for the terminal's research,
// story and order-book pages and for the browser's tests. A connection asks one page and is
// closed once answered; one that has not sent a whole request within its bound, or sends more
// than a request may hold, is closed unanswered. Nothing blocks: the server's poll loop drives
// it. Every request is logged ("H GET /path"), so a test can see that nothing was fetched.
#include <poll.h>
#include <cstdio>
#include <string>
#include <vector>
#include "tools/testserver/Records.h"
#include "tools/testserver/model/Simulator.h"

#define HTTP_REQUEST_LIMIT 8192         // bytes of a request line and its headers
#define HTTP_BOUND_SECONDS 5.0          // to send the request and take the answer

class CHttpSide
{
public:
    // Stories come from the model's news file, whether they are out yet or not.
    CHttpSide(const IRecordSource& model, const CSimulator& sim, FILE* pLog) : m_model(model), m_sim(sim), m_pLog(pLog) {}
    ~CHttpSide();
    CHttpSide(const CHttpSide&) = delete;
    CHttpSide& operator=(const CHttpSide&) = delete;

    // A free port on 127.0.0.1; false when none could be had.
    bool Listen();
    int Port() const { return m_nPort; }
    // The descriptors to poll, appended; then Serve with the same vector from nFirst on.
    void AddPollFds(std::vector<pollfd>& fds, double dNow) const;
    void Serve(const std::vector<pollfd>& fds, size_t nFirst, double dNow);

    // The answer to a request target ("/story?id=5001"): status line, type and body.
    struct Page {
        int nStatus = 404;
        std::string strType = "text/html; charset=utf-8";
        std::string strBody;
    };
    Page Answer(const std::string& strTarget) const;

private:
    struct Conn {
        int fd;
        double dStart;
        std::string in;
        std::string out;
        size_t nOff = 0;
        bool bAnswered = false;
    };
    void Accept(double dNow);
    // False when the connection is done (answered and written, broken, or out of bounds).
    bool OnReadable(Conn& conn);
    bool OnWritable(Conn& conn);
    Page ResearchPage(const std::string& strKind, const std::string& strQuery) const;

    const IRecordSource& m_model;
    const CSimulator& m_sim;
    FILE* m_pLog;
    int m_fdListen = -1;
    int m_nPort = 0;
    std::vector<Conn> m_conns;
};
