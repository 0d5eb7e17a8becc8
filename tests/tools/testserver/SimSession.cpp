#include "SimSession.h"

bool CSimSession::Start(const std::vector<std::string>& options)
{
    std::vector<std::string> args = {"--run-time", "30", "--idle-time", "10", "--rate", "0"};
    args.insert(args.end(), options.begin(), options.end());
    return server.Start(TESTSERVER_PATH, args);
}

long CSimSession::Request(const std::string& strMnemonic, const std::string& strBody)
{
    const std::string strNumber = std::to_string(500 + ++nRequests);
    const long nLink = client.Send(strMnemonic, strBody, strNumber);
    checker.requests[nLink] = {strMnemonic, strNumber};
    return nLink;
}

bool CSimSession::Handshake(const std::string& strLanguage)
{
    if (!client.Connect(server.Port()))
        return false;
    Request("VC", "0|80000");
    if (!client.ReadUntil("~VC|", 5000, &lines))
        return false;
    Request("XC", "||");
    if (!client.ReadUntil("~EN|", 5000, &lines))
        return false;
    if (!client.KeyExchange("00112233445566778899AABBCCDDEEFF"))
        return false;
    Request("MT", "");
    Request("EM", strLanguage + "|0");
    return client.ReadUntil("~EN|", 5000, &lines);
}

void CSimSession::LoginAndLoad(const std::string& strUser, const std::string& strPassword, int nRole, int nKseLevel,
                               const std::string& strNumber, const std::string& strAccount)
{
    Request("UL", strUser + "|" + strPassword + "|");
    Request("CT", "0");
    if (nKseLevel >= 10)
        for (const char* psz : {"SL", "TU", "GM", "GG"})
            Request(psz, "");
    Request("HD", "1");
    Request("VS", strNumber);
    if (nRole >= 3) {
        Request("XC", "||" + strNumber + "|" + strAccount);
        Request("CL", "||" + strNumber + "|");
    }
    Request("VX", "||" + strNumber + "|0");
    Request("LI", "||" + strNumber + "|0|");
    for (const char* pszMarket : {"4", "8", "16"})
        Request("DS", std::string("||") + pszMarket);
    Request("FR", "|||0");
    Request("TL", "M*|");
    Request("RN", "||ALPN|8");
    Drain();
}

void CSimSession::Drain(int nMs)
{
    for (const std::string& line : client.ReadQuiet(nMs))
        lines.push_back(line);
}

std::vector<std::string> CSimSession::Lines(const std::string& strPrefix) const
{
    std::vector<std::string> out;
    for (const std::string& line : lines)
        if (line.rfind(strPrefix, 0) == 0)
            out.push_back(line);
    return out;
}
