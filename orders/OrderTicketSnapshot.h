#pragma once
// What an order ticket holds at one moment, read once: the requests are built from this and
// never from the controls, so nothing that changes the form afterwards changes what is sent.
// Numbers are the fields' plain texts (no group separators); codes are -1 where the box's text
// is no entry of its code table.
#include "platform/mfc/OleDateTime.h"
#include "platform/mfc/String.h"

struct ORDER_TICKET_SNAPSHOT
{
    int nSide = -1;                 // CTransactionType
    int nOrderType = -1;            // COrderType
    int nValidity = -1;             // COrderDur
    CString strTicker;              // the ticker box's text: "symbol" or "symbol/name"
    CString strDescription;
    CString strQuantity;
    CString strLimitPrice;
    CString strStopPrice;
    CString strDays;
    COleDateTime goodTill;          // midnight
    CString strMarketName;
    long nMarketCode = 0;
    int nKseMarketType = -1;        // -1 for a US-type market, else 1, 3 or 4
    BOOL bPreMarket = FALSE;
    // Options: the right code is 1 or 2 for an option series, 0 for none.
    CString strUnderlying;
    int nRight = 0;
    CString strStrike;
    CString strExpiryMonth;         // the box's "%Y/%m"
    CString strExpiryKey;           // the store's date "%Y/%m/%d" for that month, "" when none
    CString strExtra;               // the market's extra text
    BOOL bTicketFlag = FALSE;       // check box 6872
    // KSE forward market and forward contracts.
    COleDateTime contractDate;
    CString strContractNumber;
    CString strMarketMaker;
    int nFillRule = -1;             // CFillRest
    CString strTenor;
    // The contract and option forms: an action on a forward contract (its identifier, stock and
    // series as the details gave them) and the mode of an exercise or expiration instruction.
    int nAction = 0;
    CString strContractId;
    long nStock = 0;
    long nSeries = 0;
    int nMode = 0;
    long nOrderNumber = 0;          // the order a modify form changes
};
