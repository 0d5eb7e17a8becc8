#pragma once
// The order requests: where each one keeps the order's values, what the market model is asked
// to do with them, and the record its reply is written from (the shape of each reply is in
// data/shapes.txt). One table lists every request, so a new one is a line, not a function.
#include <string>
#include <vector>
#include "tools/testserver/Records.h"
#include "tools/testserver/model/Simulator.h"

enum { ORDER_CHECK, ORDER_SEND, ORDER_CHECK_MODIFY, ORDER_MODIFY, ORDER_CANCEL, ORDER_CHECK_FORWARD, ORDER_SEND_FORWARD,
       ORDER_CHECK_CONTRACT, ORDER_CONTRACT, ORDER_EXERCISE, ORDER_INSTRUCT };

// The request field of each value; -1 where the request has none.
struct COrderForm
{
    const char* pszMnemonic;
    int nAction;
    bool bKse;
    int nBoard, nSide, nSymbol, nQty, nType, nPrice, nStop, nDuration, nGoodTill, nOrder, nPassword;
    int nMonths = -1;               // forward orders: the series' months
    int nMode = -1;                 // exercise and instructions: "1" makes or records, else terms only
    int nWhenEmpty = -1;            // the row answers only when this request field is empty, or
                                    // ORDER_AFTER_CONTRACT_CHECK
    int nRight = -1;                // US orders: an option's right (1 call, 2 put); its quantity
                                    // counts contracts of 100 shares of the series on the options board
    int nUnderlying = -1, nStrike = -1, nExpiry = -1;   // and the rest of its series
    int nMarket = -1;               // US orders: the market the order is for (empty: the symbol's
                                    // own); a symbol is booked only where it is listed, an option
                                    // only on the options board
};
#define ORDER_AFTER_CONTRACT_CHECK (-2)    // the session's last "KJ" was a contract order's

// The first row of the mnemonic that answers these fields; nullptr for other requests.
// bAfterContractCheck: the session's last "KJ" took a row with nWhenEmpty set.
const COrderForm* FindOrderForm(const std::string& strMnemonic, const std::vector<std::string>& fields,
                                bool bAfterContractCheck);

// A request whose field does not read as the protocol gives it (a code outside its table, a
// number with other characters, a date not in the server's form of the year less 2000) is
// refused with this code, the field's number its insert.
#define ORDER_ERR_FIELD 901
int CheckOrderFields(const COrderForm& form, const std::vector<std::string>& fields, std::string* pstrInsert);

// Acts for the user: the refusal code (0 when done), and in rec the reply's values: the
// review or the order as the model gives it, with "insert" (the refusal's insert), "account"
// and "board" (1, the KSE regular board). A contract's action takes its code from the type's
// field, the contract from the order's, and closes at the limit's price; an option's exercise
// and instruction take the contracts from the quantity's field, and an instruction its least
// amount in the money and its limit from the limit's and the stop's.
int ActOnOrder(CSimulator& sim, const COrderForm& form, const std::vector<std::string>& fields, const CRecord& user,
               CRecord& rec);
// The cash conversions: where each takes the amount, the currencies (a field, else fixed) and
// whether it is made or only quoted. "PB" has a row per direction, told by the amount's field.
struct CConversionForm
{
    const char* pszMnemonic;
    int nAmount, nFrom, nTo, nExecute;      // nExecute -1: always made
    const char *pszFrom, *pszTo;            // fixed currencies, where nFrom / nTo are -1
};

// The form of the request: the first row of its mnemonic whose amount field is not empty, else
// its last row (whose empty amount the model refuses); nullptr for other requests.
const CConversionForm* FindConversionForm(const std::string& strMnemonic, const std::vector<std::string>& fields);
// The refusal code, and the model's conversion record with "insert" in rec.
int ActOnConversion(CSimulator& sim, const CConversionForm& form, const std::vector<std::string>& fields, const CRecord& user,
                    CRecord& rec);
