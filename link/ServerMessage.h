#pragma once
// One line of the server protocol as its message type and an array of text fields, and the
// request lines built from a type and a body. A received line is copied once; its fields are
// pieces of that copy, cut where the '|' stood, so reading a field copies nothing.
#include <string>
#include <string_view>
#include <vector>
#include "link/MessageTypes.h"
#include "platform/mfc/String.h"

struct IMessageRowWriter;

// Results of building a request line.
#define REQUEST_OK 0
#define REQUEST_BAD_FIELD (-1)      // a field holds '|', CR or LF, or the body CR or LF
#define REQUEST_NO_TYPE (-2)        // the type has no mnemonic, or the mode is not 0, 1 or 2

class CServerMessage
{
public:
    // Parse modes: 1 for the lines the server sends, 0 and 2 for the other line forms.
    explicit CServerMessage(int nMode);
    CServerMessage(LPCSTR pszLine, int nMode);
    virtual ~CServerMessage();
    CServerMessage(const CServerMessage&) = default;
    CServerMessage& operator=(const CServerMessage&) = default;

    // Splits the line into type, header number and data fields by the message's mode; a null
    // line parses as an empty one. The overrides are emptied.
    void Parse(LPCSTR pszLine);

    int  GetType() const { return m_nType; }
    int  GetMode() const { return m_nMode; }
    long GetHeaderNumber() const { return m_nHeaderNumber; }
    int  GetSize() const { return static_cast<int>(m_bBuilt ? m_built.size() : m_fields.size()); }
    CString GetRawLine() const;                 // the line as received; "" for a built message
    char GetRawFirstChar() const;               // its first character, 0 when empty

    // Fields. An index outside the fields reads as "", 0 or 0.0. GetFieldText's pointer stays
    // valid until the message is parsed again or a field is set. GetLong and GetDouble convert
    // a field once and keep the number until then, however many sinks ask; overrides are
    // never converted, so they cannot be served from there.
    virtual CString GetField(int i) const;
    LPCSTR GetFieldText(int i) const;
    std::string_view GetFieldView(int i) const;
    long GetLong(int i) const;                          // as atol, saturating at 32 bits
    double GetDouble(int i, int nPower) const;          // as atof, times 10^nPower

    // Overrides: last known values a consumer puts over fields for the sinks after it. Every
    // fan-out resets them before each sink it calls, and at its end when a sink it passed over
    // came after the last call. Setting one outside the fields does nothing.
    void SetOverride(int i, LPCSTR pszText);
    CString GetFieldOrOverride(int i) const;
    LPCSTR GetFieldOrOverrideText(int i) const;
    virtual void ResetOverrides();

    // Building a request field by field; a gap left by SetAtGrow holds empty fields.
    int  Add(LPCSTR pszField);
    void SetAtGrow(int i, LPCSTR pszField);
    void RemoveAll();

    // Joins the fields with '|' into a body and builds the request line of nType with it
    // (FormatRequestLine). A field that holds '|', CR or LF would shift the fields after it or
    // end the line on the wire: such a message gives REQUEST_BAD_FIELD and an empty line. A
    // raw line (mode 1 with bRaw) is sent as it stands, so there only CR and LF are refused.
    virtual int FormatRequest(CString* pOut, int nType, int nMode, BOOL bCaret, BOOL bRaw, long* pnRequestNumber,
                              BOOL bDoubleBar) const;

    // Writes the fields into a table row: column c takes field pnFieldOfColumn[c] (override
    // first); columns past nMapSize or mapped outside the fields are left alone. Returns the
    // row's column count.
    int FillRow(const int* pnFieldOfColumn, int nMapSize, IMessageRowWriter* pRow, int nFlag) const;

private:
    struct Field {
        unsigned nOffset;       // into m_text, where the field's NUL-terminated text starts
        int nLength;
    };
    // A field's numbers as last converted, valid while its stamp equals m_nCacheStamp.
    struct FieldNumbers {
        unsigned nLongStamp = 0;
        unsigned nDoubleStamp = 0;
        long nLong = 0;
        double dDouble = 0.0;   // before the power of ten
    };
    void Clear();
    void OwnFields();           // copies parsed fields into m_built before one is changed
    void ForgetNumbers();       // after any change of the fields
    FieldNumbers& NumbersOf(int i) const;

    int m_nType = MESSAGE_TYPE_UNKNOWN;
    int m_nMode = 1;
    long m_nHeaderNumber = 0;
    std::string m_text;                 // the received line, each '|' replaced by a NUL
    std::vector<Field> m_fields;        // the parsed fields while m_bBuilt is clear
    std::vector<CString> m_built;       // the fields of a built or changed message
    BOOL m_bBuilt = FALSE;
    std::vector<CString> m_overrides;   // sized on the first override
    int m_nOverrides = 0;               // overrides set since the last reset
    // Kept across lines so that a parse only moves the stamp; an entry of 0 is never valid.
    mutable std::vector<FieldNumbers> m_numbers;
    unsigned m_nCacheStamp = 1;
};

// TRUE when a user's text can stand as one field of a request: no '|' (it would split the field)
// and no control character (CR and LF end the line on the wire). Dialogs refuse other texts.
BOOL IsRequestFieldText(LPCSTR pszText);

// Builds one request line of nType with the body: the '@' link forms for modes 0 and 2, the
// '&' (or '^' with bCaret) request forms for mode 1. REQUEST_NO_TYPE for a type without a
// mnemonic or another mode, REQUEST_BAD_FIELD for a body holding CR or LF; pOut is then empty.
int FormatRequestLine(CString* pOut, int nType, std::string_view body, int nMode, BOOL bCaret, BOOL bRaw,
                      const long* pnRequestNumber, BOOL bDoubleBar);
