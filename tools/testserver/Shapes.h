#pragma once
// The shapes of the server's lines, read from one file (data/shapes.txt): per message type its
// kind, its error field, the table its rows come from and, field by field, where each value
// comes from. One writer turns a shape and the values at hand into lines; no message type has
// code of its own here.
//
// A shape starts with "NAME KIND [key=value ...]" at the start of a line; NAME begins with the
// two-letter mnemonic and may go on with ".variant" ("UL.refused"). KIND is
//   plain    one typed line ("head")
//   stream   a typed header, a data row per record of the table, then "EN" (a reply stream)
//   each     one typed line per record of the table ("head" filled from each record)
//   silent   nothing: known only for its error field, so that --fail can answer it
// Keys: error=K (the error field: a data index, -1 for the last field; absent: none),
// rows=TABLE (a plain line takes the first record that passes; TABLE may hold {sources}, so a
// table can take the request's values: "book:{req.0}"), where=F=VALUE, F&VALUE or
// F~PATTERN (equal, bitwise and not zero, or a wildcard pattern with * and ?, any case; several
// joined by ','; a value that comes out empty filters nothing), lang=N (the request field holding the language
// code, "1" Arabic; lang=session: the language the session last asked in), number=VALUE (the header number; default the request's), link=VALUE (the request number
// the line answers; default the request's), live=EVENT (a
// line for each of the market model's events of that type, its record as the row; the filters
// test the record), after=MN (such a line goes only to a session that has had a reply of MN;
// after=MN:symbol: only for the symbols the session subscribed with MN), as=NAME (the fields of the head,
// or of the rows when this shape is a stream, are those of NAME's rows when NAME is a stream,
// else of its head: a live line and the rows of its table's reply are one layout), if=LEFT=RIGHT or LEFT~PATTERN (a variant "MN.x" with a
// condition answers MN in place of the plain shape when its condition holds; variants are
// tried in file order; a live line with a condition goes to the sessions whose user it holds
// for; "!=" and "!~" negate), compact=1 (the line after its first data field is packed in the
// compact quotation form), entries=N (a plain line from a table: its head, then the "row"
// fields of each record that passes, at most N of them, all on the one line; the head is
// written even when none passes), unknown=CODE (the reply fails with CODE when its rows= names
// no table: a ticker the model does not know).
// Indented lines "head", "row" and "end" list the fields, '|'-separated. A field is literal
// text with {sources} in it:
//   {err} the error code   {number} the header number   {seq} per-session count
//   {count} rows written   {found} 1 when a row was written, else 0
//   {req.N} request data field N, {req.N+} it and every field after it, '|' between them
//   {user.F} the logged-in user's field F   {clock.F} the server's F
//   {row.F} the record's field F as it stands   {en.F} F in code page 1252   {ar.F} F_ar in 1256
//   {text.F} {ar.F} when the request asks for Arabic and F_ar exists, else {en.F}
//   {b64.F} F in Base64, in the code page of the record's own language (as {own.F})
//   {sdate.F} F, a YYYYMMDD date, in the server's date form
//   {own.F} F in the code page of the record's own language (its field lang: "1" Arabic)
#include <string>
#include <vector>
#include "tools/testserver/Records.h"

enum { SHAPE_PLAIN, SHAPE_STREAM, SHAPE_EACH, SHAPE_SILENT };
#define SHAPE_NO_ERROR (-2)
#define SHAPE_LANG_SESSION (-2)     // nLangField: the session's language

struct CShapePiece
{
    int nSource = 0;         // SOURCE_ of ShapeWriter.cpp
    std::string strText;     // literal text, or the field name
};
using CShapeField = std::vector<CShapePiece>;

struct CShapeFilter
{
    std::string strField;
    char nOp = '=';          // '=' equal, '&' bitwise and not zero, '~' wildcard pattern
    CShapeField value;
};

struct CShape
{
    std::string strName;
    std::string strMnemonic;
    int nKind = SHAPE_PLAIN;
    int nErrorField = SHAPE_NO_ERROR;
    std::string strRows;     // as written, "" for none
    CShapeField rows;
    std::string strLive;     // the event type of a live line, "" for a reply
    std::string strAfter;
    std::string strAs;
    std::vector<CShapeFilter> filters;
    bool bIf = false;
    bool bIfNot = false;     // "!=" or "!~": the condition holds when the test fails
    bool bCompact = false;
    int nEntries = 0;        // entries=N: records joined onto one plain line, 0 for none
    long nUnknownError = 0;  // unknown=CODE: the error when rows= names no table, 0 for none
    CShapeFilter condition;  // strField unused: the left side is conditionLeft
    CShapeField conditionLeft;
    int nLangField = -1;
    bool bOwnNumber = false;
    CShapeField number;
    bool bOwnLink = false;           // link=: the request number the line answers, not the request's
    CShapeField link;
    std::vector<CShapeField> head, row, end;
};

class CShapeBook
{
public:
    // false, with the line and reason in strError, when the file is missing or a line is wrong.
    bool Load(const std::string& strPath, std::string& strError);
    const CShape* Find(const std::string& strName) const;
    // The reply variants of a mnemonic that carry a condition, in file order.
    std::vector<const CShape*> Conditional(const std::string& strMnemonic) const;
    const std::vector<CShape>& All() const { return m_shapes; }
private:
    std::vector<CShape> m_shapes;
};

// What a shape's values are taken from, besides the tables.
struct CShapeContext
{
    std::string strLink = "0";          // field 1: the request's link number, "0" unsolicited
    std::string strNumber;              // the request's header number
    const std::vector<std::string>* pRequest = nullptr;   // the request's data fields
    const CRecord* pUser = nullptr;     // the logged-in user, null before login
    const CRecord* pClock = nullptr;    // the server's values: date, time, ...
    const CRecord* pRecord = nullptr;   // the record of a plain line, when there is no table
    long nError = 0;                    // forced error code, 0 on success
    long nSeq = 0;
    bool bArabicSession = false;        // the session's last request that named a language asked for Arabic
};

// The lines of one reply and where its rows are, for the scenarios that break a stream.
struct CShapeReply
{
    std::vector<std::string> lines;
    size_t nFirstRow = 0;
    size_t nRows = 0;
    bool bStream = false;
};

class CShapeWriter
{
public:
    CShapeWriter(const CShapeBook& book, const IRecordSource& tables, const CWireText& text)
        : m_book(book), m_tables(tables), m_text(text) {}
    // The lines of a shape: a failure (nError not 0) is its header alone with the code in the
    // error field. False when there is no such shape or it says nothing.
    bool Write(const CShape& shape, const CShapeContext& ctx, CShapeReply& reply) const;
    bool Write(const std::string& strShape, const CShapeContext& ctx, CShapeReply& reply) const;
    // Whether a variant's condition holds for the request.
    bool Holds(const CShape& shape, const CShapeContext& ctx) const;
    // A typed line: "~MN|link|XC|number" and the fields.
    static std::string TypedLine(const std::string& strMnemonic, const std::string& strLink,
                                 const std::string& strNumber, const std::vector<std::string>& fields);
private:
    struct Scope;
    std::string Expand(const CShapeField& field, const Scope& scope) const;
    void AppendField(std::string& out, const CShapeField& field, const Scope& scope) const;
    std::string TypedLine(const CShape& shape, const std::string& strLink, const std::string& strNumber,
                          const Scope& scope) const;
    std::vector<std::string> ExpandAll(const std::vector<CShapeField>& fields, const Scope& scope) const;
    bool Matches(const CShape& shape, const CRecord& rec, const Scope& scope) const;

    const CShapeBook& m_book;
    const IRecordSource& m_tables;
    const CWireText& m_text;
};
