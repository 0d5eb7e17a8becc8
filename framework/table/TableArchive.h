#pragma once
#include <cstdio>
#include <string>
#include "framework/base/TBString.h"

class CTableColumns;
class CTableFilters;
class CTableRow;
class CViewRow;
class CViewTable;

// Reads and writes the rows of a view as lines of text, one row a line.
class ITableArchive
{
public:
    virtual ~ITableArchive() = default;
    virtual int WriteHeader(const CTableColumns& columns) = 0;
    virtual int WriteRow(CTableRow* pNode) = 0;
    virtual int ReadHeader(const CTableColumns& columns) = 0;
    // 1 a row was read, 0 the end (or no value block to read into), -1 a line that was refused.
    virtual int ReadRow(CViewRow& row) = 0;
    virtual int WriteString(const char* pszText) = 0;
    // One line, cut to nSize - 1 characters; 0 at the end.
    virtual int ReadString(char* pszBuffer, int nSize) = 0;
};

// The table text archive over a C stream: cells separated by the separator ('|' on the
// clipboard, the export separator in files) with '\' escapes, and optionally a row state suffix
// (categories, status, flags, cell attributes). The view must have the writer's columns.
class CTableFileArchive : public ITableArchive
{
public:
    CTableFileArchive(CViewTable* pView, BOOL bRowState);
    ~CTableFileArchive() override;
    CTableFileArchive(const CTableFileArchive&) = delete;
    CTableFileArchive& operator=(const CTableFileArchive&) = delete;

    BOOL Open(const char* pszPath, BOOL bForReading);
    void Close();
    BOOL IsOpen() const { return m_pFile != nullptr; }
    void SetFilters(CTableFilters* pFilters) { m_pFilters = pFilters; }
    // A line as read; null at the end of the file. Lines of any length are read whole.
    const char* ReadLine();
    long GetFileSize() const;
    int  GetRowCount() const { return m_nRows; }
    int  GetBufferSize() const { return m_nBufferSize; }

    int WriteHeader(const CTableColumns& columns) override;
    int WriteRow(CTableRow* pNode) override;
    int ReadHeader(const CTableColumns& columns) override;
    int ReadRow(CViewRow& row) override;
    int WriteString(const char* pszText) override;
    int ReadString(char* pszBuffer, int nSize) override;

    // Escaping: each separator and escape gets an escape before it. UnescapeField turns escaped
    // pairs back, bare separators into chReplace, and returns the length written.
    static std::string EscapeField(const char* pszText, char chSeparator, char chEscape = '\\');
    static int UnescapeField(char* pszText, char chReplace, char chSeparator = '|', char chEscape = '\\');

    char m_chSeparator = '|';
    char m_chEscape = '\\';

private:
    int  ReadOneRow(CViewRow& row);
    void ReadRowState(CViewRow& row, const char* pszSuffix);

    CViewTable* m_pView;
    FILE* m_pFile = nullptr;
    std::string m_line;
    int  m_nBufferSize = 0;
    BOOL m_bRowState;
    CTableFilters* m_pFilters = nullptr;    // not owned
    int  m_nRows = 0;
};
