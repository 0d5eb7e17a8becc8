#pragma once
// The KSE forward market's rules, numbered texts in the language of the request ("FR"). A click
// on a rule's number shows that rule's lines only.
#include "market/DataTable.h"

#define IDS_TABLE_RULES_FWD_KSE 52171
#define IDS_TITLE_RULES_FWD_KSE 52172

extern const TABLE_DESC g_rulesFwdKSETable;

class CRulesFwdKSETable : public CDataTable
{
public:
    explicit CRulesFwdKSETable(CZorvatMessageSource* pSource) : CDataTable(g_rulesFwdKSETable, pSource) {}
    void OnFR(CServerMessage* pMsg) override { TableOnReplyBegin(pMsg); }
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override;
};
