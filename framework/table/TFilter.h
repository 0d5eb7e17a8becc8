#pragma once
#include <vector>
#include "framework/base/TBString.h"
#include "framework/table/TreeNode.h"

class CIni;
class CCriteriaParser;
class CViewTable;

// Filter kinds answered by GetKind.
#define FILTER_RANGE        0
#define FILTER_MASK         1
#define FILTER_OPERATOR     2
#define FILTER_COMPARISON   3
#define FILTER_BASE         4

// One criterion of a column. The flag is kept and saved but not read by matching; the group
// says whether the criterion belongs to the column's any-of group (1) or all-of group (0).
class ITFilter
{
public:
    virtual ~ITFilter() = default;
    // Parses the text and takes the tokens; FALSE builds nothing usable.
    virtual BOOL SetFromText(int nCol, const CTableColumn* pColumn, const char* pszText, CViewTable* pView, BOOL bFlag,
                             int nGroup);
    virtual BOOL SetFromTokens(int nCol, const CTableColumn* pColumn, const CCriteriaParser& parser, int nShape,
                               CViewTable* pView) = 0;
    virtual int  GetKind() const { return FILTER_BASE; }
    virtual BOOL Match(const CTableTreeNode* pNode, int nCol, const CTableColumn* pColumn, CViewTable* pView) = 0;
    virtual void Save(CIni* pSettings, const CTBString& strKey, int nCol, const CTableColumn* pColumn);
    virtual void GetText(CTBString& strText, int nCol, const CTableColumn* pColumn) = 0;
    virtual BOOL GetFlag() const { return m_bFlag; }
    virtual void SetFlag(BOOL bFlag) { m_bFlag = bFlag; }
    virtual int  GetGroup() const { return m_nGroup; }
    virtual void SetGroup(int nGroup) { m_nGroup = nGroup; }
    // Order inside a column (comparisons first, masks by pattern, values by value): -1, 0, 1.
    virtual int  CompareTo(const ITFilter& other, const CTableColumn* pColumn) const = 0;

protected:
    BOOL m_bFlag = FALSE;
    int  m_nGroup = 0;
};

// low <= cell <= high.
class CRangeFilter : public ITFilter
{
public:
    ~CRangeFilter() override;
    BOOL SetFromTokens(int nCol, const CTableColumn* pColumn, const CCriteriaParser& parser, int nShape,
                       CViewTable* pView) override;
    int  GetKind() const override { return FILTER_RANGE; }
    BOOL Match(const CTableTreeNode* pNode, int nCol, const CTableColumn* pColumn, CViewTable* pView) override;
    void GetText(CTBString& strText, int nCol, const CTableColumn* pColumn) override;
    int  CompareTo(const ITFilter& other, const CTableColumn* pColumn) const override;
    // Low not below high: the caller turns it into "=" on the low value.
    BOOL IsEmptyRange(const CTableColumn* pColumn) const;
    const TBCellSlot* GetLow() const { return m_pLow; }
    TBCellSlot* DetachLow();
    const TBCellSlot* GetHigh() const { return m_pHigh; }

private:
    TBCellSlot* m_pLow = nullptr;       // one-cell values of the column's type, owned
    TBCellSlot* m_pHigh = nullptr;
    int m_nDecimals = 0;
};

// A wildcard pattern over the cell's text.
class CMaskFilter : public ITFilter
{
public:
    BOOL SetFromText(int nCol, const CTableColumn* pColumn, const char* pszText, CViewTable* pView, BOOL bFlag,
                     int nGroup) override;
    BOOL SetFromTokens(int nCol, const CTableColumn* pColumn, const CCriteriaParser& parser, int nShape,
                       CViewTable* pView) override;
    int  GetKind() const override { return FILTER_MASK; }
    BOOL Match(const CTableTreeNode* pNode, int nCol, const CTableColumn* pColumn, CViewTable* pView) override;
    void GetText(CTBString& strText, int nCol, const CTableColumn* pColumn) override;
    int  CompareTo(const ITFilter& other, const CTableColumn* pColumn) const override;

private:
    void SetPattern(const char* pszPattern);
    CTBString m_strPattern;
    CTBString m_strMatch;               // the pattern without its quotes, as matched
};

// An operator and a value: =, >, >=, <, <=.
class COperatorFilter : public ITFilter
{
public:
    ~COperatorFilter() override;
    BOOL SetFromTokens(int nCol, const CTableColumn* pColumn, const CCriteriaParser& parser, int nShape,
                       CViewTable* pView) override;
    int  GetKind() const override { return FILTER_OPERATOR; }
    BOOL Match(const CTableTreeNode* pNode, int nCol, const CTableColumn* pColumn, CViewTable* pView) override;
    void GetText(CTBString& strText, int nCol, const CTableColumn* pColumn) override;
    int  CompareTo(const ITFilter& other, const CTableColumn* pColumn) const override;
    // Makes an "=" filter on a one-cell value of the column, which it takes over.
    void SetEqual(TBCellSlot* pValue, const CTableColumn* pColumn);
    int  GetOperator() const { return m_nOperator; }

private:
    void PrepareTextValue(const CTableColumn* pColumn);
    int m_nOperator = 0;
    TBCellSlot* m_pValue = nullptr;     // one-cell value of the column's type, owned
    TBCellSlot* m_pTextValue = nullptr; // text columns: the value as the matching compares it
    int m_nDecimals = 0;
};

// An operator against another column of the same row.
class CComparisonFilter : public ITFilter
{
public:
    BOOL SetFromTokens(int nCol, const CTableColumn* pColumn, const CCriteriaParser& parser, int nShape,
                       CViewTable* pView) override;
    int  GetKind() const override { return FILTER_COMPARISON; }
    BOOL Match(const CTableTreeNode* pNode, int nCol, const CTableColumn* pColumn, CViewTable* pView) override;
    void Save(CIni* pSettings, const CTBString& strKey, int nCol, const CTableColumn* pColumn) override;
    void GetText(CTBString& strText, int nCol, const CTableColumn* pColumn) override;
    int  CompareTo(const ITFilter& other, const CTableColumn* pColumn) const override;
    // Against a column found by title or name in the text.
    BOOL SetAgainst(int nOtherCol, int nOperator, CViewTable* pView);

private:
    int m_nOperator = 0;
    int m_nOtherCol = -1;
    const CTableColumn* m_pOther = nullptr;
};
