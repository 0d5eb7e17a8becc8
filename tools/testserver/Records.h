#pragma once
// Every entity the server writes is a record: field name to its text in wire form (texts in
// UTF-8 until they are written). Tables of records come from small text files here and, later,
// from the market model; the writer only asks an IRecordSource for a table by name.
#include <iconv.h>
#include <map>
#include <string>
#include <vector>

using CRecord = std::map<std::string, std::string>;

struct IRecordSource
{
    virtual ~IRecordSource() = default;
    // The rows of a table, null when the source has no such table.
    virtual const std::vector<CRecord>* FindTable(const std::string& strName) const = 0;
};

// Tables read from files: "#" lines are comments, the first "@name|name|..." line names the
// fields, every other line is one record of '|'-separated texts.
class CRecordTables : public IRecordSource
{
public:
    bool LoadFile(const std::string& strTable, const std::string& strPath);
    // Every "*.txt" file of the folder as a table named after the file; false when the folder
    // cannot be read.
    bool LoadFolder(const std::string& strFolder);
    const std::vector<CRecord>* FindTable(const std::string& strName) const override;
private:
    std::map<std::string, std::vector<CRecord>> m_tables;
};

// UTF-8 texts to the terminal's code pages: 1252 for Latin texts, 1256 for Arabic ones. A
// character the code page lacks becomes '?', so a text never loses its place in the line. The
// same names go out with every live line, so each text is converted once and kept.
class CWireText
{
public:
    CWireText();
    ~CWireText();
    CWireText(const CWireText&) = delete;
    CWireText& operator=(const CWireText&) = delete;
    const std::string& Convert(const std::string& strUtf8, bool bArabic) const;
private:
    std::string Iconv(const std::string& strUtf8, bool bArabic) const;
    iconv_t m_latin;
    iconv_t m_arabic;
    mutable std::map<std::string, std::string> m_done[2];   // converted texts, by code page

};

// An empty table to walk where a table is missing (a reference, so nothing is copied).
const std::vector<CRecord>& NoRecords();

// Splits at every '|'; a line of n bars gives n + 1 fields.
std::vector<std::string> SplitFields(const std::string& strLine);
