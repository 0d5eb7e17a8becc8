#pragma once
// Reply errors: about half the reply types carry a server error code in one data field (0 is
// success). The server sends the texts of its codes once per login as the reply to "EM"; the
// dictionary keeps them and shows the text of an error reply in place of its fan-out.
#include "link/MessageSink.h"
#include "platform/mfc/Map.h"
#include "platform/mfc/String.h"

class CServerMessage;
class CZorvatMessageSource;
struct IAppServices;
struct IRefDataServices;

// The error code of a reply: 0 for a line that starts with '$' (never an error reply), else
// data field nField as a number (-1 the last field; 0 when there is no such field).
long IsReplyError(const CServerMessage* pMsg, int nField);

// String nId with every "%1" replaced by the number ("%ld"); the number alone when the id has
// no text. The text is never used as a format, so a translation cannot make it read arguments.
void FormatNumberText(CString* pOut, UINT nId, long nNumber);

class CZorvatErrorDictionary : public CZorvatMessageSink
{
public:
    // Registers with the source and becomes its error dictionary. The services are not owned
    // and must outlive the dictionary.
    CZorvatErrorDictionary(CZorvatMessageSource* pSource, IAppServices* pApp, IRefDataServices* pRefData);
    ~CZorvatErrorDictionary() override;

    // The text of a code; a code the server never described gives string 55203 with the number
    // and sets the missing-code flag.
    void GetText(CString* pOut, long nCode);
    BOOL HasMissingCode() const { return m_bMissingCode; }
    int  GetCount() const { return m_texts.GetCount(); }

    // The error text of a reply: the code from nCodeField (-1 the last field), its parameter
    // from nParamField put between the text's parentheses for the codes that take one, and for
    // any other text whose parentheses hold nothing; a text whose value the reply does not carry
    // closes up over its parentheses, or reads as the client's own sentence for its code where
    // the place stands inside the sentence (428, 432 and 433 show "0").
    void FormatReplyError(CString* pOut, int nCodeField, int nParamField, const CServerMessage* pMsg);
    // The text of a code told without a reply: no value, so no empty parentheses either, and
    // the client's own sentence where the value stands inside the server's.
    void GetTextAlone(CString* pOut, long nCode);
    // When the reply carries an error: its text to the information window, raised with
    // priority 2, and TRUE. FALSE for a reply without error.
    BOOL CheckReplyError(const CServerMessage* pMsg, int nField);
    void ShowReplyError(const CServerMessage* pMsg, int nField);

    // The "EM" reply fills the map; its rows count only while the reply is open. The sink takes
    // "EM" alone.
    void OnEM(CServerMessage* pMsg) override;
    void OnRecord(CServerMessage* pMsg) override;
    void OnEnd(CServerMessage* pMsg) override;

private:
    void FormatText(CString* pOut, long nCode, const CServerMessage* pMsg, int nParamIndex);

    CMap<long, long, CString, LPCSTR> m_texts;
    BOOL m_bMissingCode = FALSE;
    IAppServices* m_pApp;
    IRefDataServices* m_pRefData;
};
