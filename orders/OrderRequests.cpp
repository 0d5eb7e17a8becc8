// The order bodies, roads and acknowledgements as data, and the one builder and checker that
// read them.
#include "orders/OrderRequests.h"

#include <climits>
#include <cstdlib>
#include <string>

#include "app/SessionHooks.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "market/TableLinks.h"
#include "orders/ReviewOrderKSEDlg.h"
#include "refdata/PriceText.h"
#include "refdata/ServerDateFields.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"

namespace {
#define BODY(type, fields) {type, fields, static_cast<int>(sizeof fields / sizeof fields[0])}

const ORDER_FIELD OV_FIELDS[] = {
    {0, OS_USER, OW_ALWAYS},          {1, OS_ACCOUNT, OW_ALWAYS},         {2, OS_SIDE, OW_ALWAYS},
    {3, OS_SYMBOL_US, OW_ALWAYS},     {4, OS_QUANTITY, OW_ALWAYS},        {5, OS_ORDER_TYPE, OW_ALWAYS},
    {6, OS_LIMIT, OW_LIMIT_TYPE},     {7, OS_STOP, OW_STOP_TYPE},         {8, OS_VALIDITY, OW_ALWAYS},
    {9, OS_DAYS, OW_DATED},           {10, OS_GOOD_TILL, OW_DATED},       {12, OS_MARKET_CODE, OW_ALWAYS},
    {14, OS_ONE, OW_PRE_MARKET},      {15, OS_UNDERLYING, OW_OPTION},     {16, OS_RIGHT, OW_OPTION},
    {17, OS_STRIKE, OW_OPTION},       {18, OS_EXPIRY, OW_OPTION},         {19, OS_EXTRA, OW_ALWAYS},
    {20, OS_TICKET_FLAG, OW_BUY_SIDE},
};
const ORDER_FIELD OR_FIELDS[] = {
    {0, OS_USER, OW_ALWAYS},          {1, OS_ACCOUNT, OW_ALWAYS},         {2, OS_SIDE, OW_ALWAYS},
    {3, OS_SYMBOL_US, OW_ALWAYS},     {4, OS_QUANTITY, OW_ALWAYS},        {5, OS_ORDER_TYPE, OW_ALWAYS},
    {6, OS_LIMIT, OW_LIMIT_TYPE},     {7, OS_STOP, OW_STOP_TYPE},         {8, OS_VALIDITY, OW_ALWAYS},
    {9, OS_DAYS, OW_DATED},           {10, OS_GOOD_TILL, OW_DATED},       {11, OS_PASSWORD, OW_ALWAYS},
    {16, OS_MARKET_CODE, OW_ALWAYS},  {18, OS_ONE, OW_PRE_MARKET},        {19, OS_UNDERLYING, OW_OPTION},
    {20, OS_RIGHT, OW_OPTION},        {21, OS_STRIKE, OW_OPTION},         {22, OS_EXPIRY, OW_OPTION},
    {23, OS_EXTRA, OW_ALWAYS},        {24, OS_TICKET_FLAG, OW_BUY_SIDE},
};
// "KR" is "KV" to field 13 with the market type in field 4, then the password and the kept flag.
const ORDER_FIELD KV_FIELDS[] = {
    {2, OS_USER, OW_ALWAYS},          {3, OS_ACCOUNT, OW_ALWAYS},         {4, OS_ONE, OW_ALWAYS},
    {5, OS_SIDE, OW_ALWAYS},          {6, OS_SYMBOL, OW_ALWAYS},          {7, OS_QUANTITY, OW_ALWAYS},
    {8, OS_ORDER_TYPE, OW_ALWAYS},    {9, OS_LIMIT, OW_LIMIT_TYPE},       {10, OS_STOP, OW_STOP_TYPE},
    {11, OS_VALIDITY, OW_ALWAYS},     {12, OS_DAYS, OW_DATED},            {13, OS_GOOD_TILL, OW_DATED},
    {15, OS_TICKET_FLAG, OW_ALWAYS},
};
const ORDER_FIELD KR_FIELDS[] = {
    {2, OS_USER, OW_ALWAYS},          {3, OS_ACCOUNT, OW_ALWAYS},         {4, OS_KSE_TYPE, OW_ALWAYS},
    {5, OS_SIDE, OW_ALWAYS},          {6, OS_SYMBOL, OW_ALWAYS},          {7, OS_QUANTITY, OW_ALWAYS},
    {8, OS_ORDER_TYPE, OW_ALWAYS},    {9, OS_LIMIT, OW_LIMIT_TYPE},       {10, OS_STOP, OW_STOP_TYPE},
    {11, OS_VALIDITY, OW_ALWAYS},     {12, OS_DAYS, OW_DATED},            {13, OS_GOOD_TILL, OW_DATED},
    {14, OS_PASSWORD, OW_ALWAYS},     {19, OS_KEPT_FLAG, OW_ALWAYS},
};
const ORDER_FIELD KU_FIELDS[] = {
    {2, OS_USER, OW_ALWAYS},          {3, OS_ACCOUNT, OW_ALWAYS},         {4, OS_SIDE, OW_ALWAYS},
    {5, OS_SYMBOL, OW_ALWAYS},        {6, OS_QUANTITY, OW_ALWAYS},        {7, OS_MARKET_MAKER, OW_ALWAYS},
    {8, OS_FILL_RULE, OW_ALWAYS},     {9, OS_TENOR, OW_ALWAYS},           {10, OS_LIMIT, OW_ALWAYS},
    {12, OS_TICKET_FLAG, OW_ALWAYS},
};
const ORDER_FIELD KA_FIELDS[] = {
    {2, OS_USER, OW_ALWAYS},          {3, OS_ACCOUNT, OW_ALWAYS},         {4, OS_SIDE, OW_ALWAYS},
    {5, OS_SYMBOL, OW_ALWAYS},        {6, OS_QUANTITY, OW_ALWAYS},        {7, OS_MARKET_MAKER, OW_ALWAYS},
    {8, OS_FILL_RULE, OW_ALWAYS},     {9, OS_TENOR, OW_ALWAYS},           {10, OS_LIMIT, OW_ALWAYS},
    {11, OS_PASSWORD, OW_ALWAYS},
};
const ORDER_FIELD KJ_FIELDS[] = {
    {2, OS_USER, OW_ALWAYS},          {3, OS_ACCOUNT, OW_ALWAYS},         {4, OS_CONTRACT_DATE, OW_ALWAYS},
    {5, OS_CONTRACT_NUMBER, OW_ALWAYS}, {7, OS_SIDE, OW_ALWAYS},          {8, OS_SYMBOL, OW_ALWAYS},
    {9, OS_QUANTITY, OW_ALWAYS},      {10, OS_ORDER_TYPE, OW_ALWAYS},     {11, OS_LIMIT, OW_LIMIT_TYPE},
    {12, OS_STOP, OW_STOP_TYPE},      {13, OS_VALIDITY, OW_ALWAYS},       {14, OS_DAYS, OW_ALWAYS},
    {15, OS_GOOD_TILL, OW_DATED},
};
const ORDER_FIELD KQ_FIELDS[] = {
    {2, OS_USER, OW_ALWAYS},          {3, OS_ACCOUNT, OW_ALWAYS},         {4, OS_CONTRACT_DATE, OW_ALWAYS},
    {5, OS_CONTRACT_NUMBER, OW_ALWAYS}, {6, OS_MARKET_MAKER, OW_ALWAYS},  {7, OS_SIDE, OW_ALWAYS},
    {8, OS_SYMBOL, OW_ALWAYS},        {9, OS_QUANTITY, OW_ALWAYS},        {10, OS_ORDER_TYPE, OW_ALWAYS},
    {11, OS_LIMIT, OW_LIMIT_TYPE},    {12, OS_STOP, OW_STOP_TYPE},        {13, OS_VALIDITY, OW_ALWAYS},
    {14, OS_DAYS, OW_DATED},          {15, OS_GOOD_TILL, OW_DATED},       {16, OS_PASSWORD, OW_ALWAYS},
};
// The combined modify form's bodies. A cancel's preview, reviewed but never sent, always
// carries the days and the date.
#define OW_HEAD(dated)                                                                                      \
    {0, OS_USER, OW_ALWAYS},          {1, OS_ACCOUNT, OW_ALWAYS},         {2, OS_SIDE, OW_ALWAYS},          \
    {3, OS_SYMBOL, OW_ALWAYS},        {4, OS_QUANTITY, OW_ALWAYS},        {5, OS_ORDER_TYPE, OW_ALWAYS},    \
    {6, OS_LIMIT_TEXT, OW_PRICED},    {7, OS_STOP_TEXT, OW_PRICED},       {8, OS_VALIDITY, OW_ALWAYS},      \
    {9, OS_DAYS, dated},              {10, OS_GOOD_TILL, dated},          {11, OS_ORDER_NUMBER, OW_ALWAYS}, \
    {13, OS_TICKET_FLAG, OW_BUY_SIDE}
const ORDER_FIELD OW_FIELDS[] = {OW_HEAD(OW_DATED)};
const ORDER_FIELD OW_CANCEL_FIELDS[] = {OW_HEAD(OW_ALWAYS)};
const ORDER_FIELD OM_FIELDS[] = {
    {0, OS_USER, OW_ALWAYS},          {1, OS_ACCOUNT, OW_ALWAYS},         {2, OS_SIDE, OW_ALWAYS},
    {3, OS_SYMBOL, OW_ALWAYS},        {4, OS_QUANTITY, OW_ALWAYS},        {5, OS_ORDER_TYPE, OW_ALWAYS},
    {6, OS_LIMIT_TEXT, OW_ALWAYS},    {7, OS_STOP_TEXT, OW_ALWAYS},       {8, OS_VALIDITY, OW_ALWAYS},
    {9, OS_DAYS, OW_DATED},           {10, OS_GOOD_TILL, OW_DATED},       {11, OS_ORDER_NUMBER, OW_ALWAYS},
    {12, OS_PASSWORD, OW_ALWAYS},     {17, OS_TICKET_FLAG, OW_BUY_SIDE},
};
const ORDER_FIELD OC_FIELDS[] = {
    {0, OS_USER, OW_ALWAYS}, {1, OS_ACCOUNT, OW_ALWAYS}, {2, OS_ORDER_NUMBER, OW_ALWAYS}, {3, OS_PASSWORD, OW_ALWAYS}};
#define KW_HEAD(dated)                                                                                      \
    {2, OS_USER, OW_ALWAYS},          {3, OS_ACCOUNT, OW_ALWAYS},         {4, OS_SIDE, OW_ALWAYS},          \
    {5, OS_SYMBOL, OW_ALWAYS},        {6, OS_QUANTITY, OW_ALWAYS},        {7, OS_ORDER_TYPE, OW_ALWAYS},    \
    {8, OS_LIMIT_TEXT, OW_PRICED},    {9, OS_STOP_TEXT, OW_PRICED},       {10, OS_VALIDITY, OW_ALWAYS},     \
    {11, OS_DAYS, dated},             {12, OS_GOOD_TILL, dated},          {13, OS_ORDER_NUMBER, OW_ALWAYS}, \
    {15, OS_TICKET_FLAG, OW_BUY_SIDE}
const ORDER_FIELD KW_FIELDS[] = {KW_HEAD(OW_DATED)};
const ORDER_FIELD KW_CANCEL_FIELDS[] = {KW_HEAD(OW_ALWAYS)};
const ORDER_FIELD KM_FIELDS[] = {
    {2, OS_USER, OW_ALWAYS},          {3, OS_ACCOUNT, OW_ALWAYS},         {4, OS_SIDE, OW_ALWAYS},
    {5, OS_SYMBOL, OW_ALWAYS},        {6, OS_QUANTITY, OW_ALWAYS},        {7, OS_ORDER_TYPE, OW_ALWAYS},
    {8, OS_LIMIT, OW_LIMIT_TYPE},     {9, OS_STOP, OW_STOP_TYPE},         {10, OS_VALIDITY, OW_ALWAYS},
    {11, OS_DAYS, OW_DATED},          {12, OS_GOOD_TILL, OW_DATED},       {13, OS_ORDER_NUMBER, OW_ALWAYS},
    {14, OS_PASSWORD, OW_ALWAYS},     {19, OS_TICKET_FLAG, OW_BUY_SIDE},
};
const ORDER_FIELD KC_FIELDS[] = {
    {2, OS_USER, OW_ALWAYS}, {3, OS_ACCOUNT, OW_ALWAYS}, {4, OS_ORDER_NUMBER, OW_ALWAYS}, {24, OS_PASSWORD, OW_ALWAYS}};
// The KSE tickets send the stock's id as the symbol and their flags for purchases only; the
// odd-lot board names itself in field 4 and takes one price.
const ORDER_FIELD KSE_KV_FIELDS[] = {
    {2, OS_USER, OW_ALWAYS},          {3, OS_ACCOUNT, OW_ALWAYS},         {4, OS_ONE, OW_ALWAYS},
    {5, OS_SIDE, OW_ALWAYS},          {6, OS_SYMBOL, OW_ALWAYS},          {7, OS_QUANTITY, OW_ALWAYS},
    {8, OS_ORDER_TYPE, OW_ALWAYS},    {9, OS_LIMIT, OW_LIMIT_TYPE},       {10, OS_STOP, OW_STOP_TYPE},
    {11, OS_VALIDITY, OW_ALWAYS},     {12, OS_DAYS, OW_DATED},            {13, OS_GOOD_TILL, OW_DATED},
    {15, OS_TICKET_FLAG, OW_BUY_SIDE},
};
const ORDER_FIELD KSE_KR_FIELDS[] = {
    {2, OS_USER, OW_ALWAYS},          {3, OS_ACCOUNT, OW_ALWAYS},         {4, OS_ONE, OW_ALWAYS},
    {5, OS_SIDE, OW_ALWAYS},          {6, OS_SYMBOL, OW_ALWAYS},          {7, OS_QUANTITY, OW_ALWAYS},
    {8, OS_ORDER_TYPE, OW_ALWAYS},    {9, OS_LIMIT, OW_LIMIT_TYPE},       {10, OS_STOP, OW_STOP_TYPE},
    {11, OS_VALIDITY, OW_ALWAYS},     {12, OS_DAYS, OW_DATED},            {13, OS_GOOD_TILL, OW_DATED},
    {14, OS_PASSWORD, OW_ALWAYS},     {19, OS_KEPT_FLAG, OW_BUY_SIDE},
};
const ORDER_FIELD ODD_LOT_KV_FIELDS[] = {
    {2, OS_USER, OW_ALWAYS},          {3, OS_ACCOUNT, OW_ALWAYS},         {4, OS_ODD_LOT_BOARD, OW_ALWAYS},
    {5, OS_SIDE, OW_ALWAYS},          {6, OS_SYMBOL, OW_ALWAYS},          {7, OS_QUANTITY, OW_ALWAYS},
    {8, OS_ORDER_TYPE, OW_ALWAYS},    {9, OS_LIMIT, OW_LIMIT_TYPE},       {15, OS_TICKET_FLAG, OW_BUY_SIDE},
};
const ORDER_FIELD ODD_LOT_KR_FIELDS[] = {
    {2, OS_USER, OW_ALWAYS},          {3, OS_ACCOUNT, OW_ALWAYS},         {4, OS_ODD_LOT_BOARD, OW_ALWAYS},
    {5, OS_SIDE, OW_ALWAYS},          {6, OS_SYMBOL, OW_ALWAYS},          {7, OS_QUANTITY, OW_ALWAYS},
    {8, OS_ORDER_TYPE, OW_ALWAYS},    {9, OS_LIMIT, OW_LIMIT_TYPE},       {14, OS_PASSWORD, OW_ALWAYS},
    {19, OS_KEPT_FLAG, OW_BUY_SIDE},
};
const ORDER_FIELD RN_FIELDS[] = {{2, OS_SYMBOL, OW_ALWAYS}, {3, OS_MARKET_CODE, OW_ALWAYS}};
// The option series of an underlying, both rights.
const ORDER_FIELD GO_FIELDS[] = {{2, OS_UNDERLYING, OW_ALWAYS}};
// The forward contract's details, and its action: "KL" previews with two zero prices, "KI" takes
// the same values with the password in their place.
const ORDER_FIELD KD_FIELDS[] = {
    {2, OS_USER, OW_ALWAYS},          {3, OS_ACCOUNT, OW_ALWAYS},         {4, OS_CONTRACT_DATE, OW_ALWAYS},
    {5, OS_CONTRACT_ID, OW_ALWAYS},
};
const ORDER_FIELD KL_FIELDS[] = {
    {2, OS_USER, OW_ALWAYS},          {3, OS_ACCOUNT, OW_ALWAYS},         {4, OS_ACTION, OW_ALWAYS},
    {5, OS_CONTRACT_DATE, OW_ALWAYS}, {6, OS_CONTRACT_ID, OW_ALWAYS},     {7, OS_MARKET_MAKER, OW_ALWAYS},
    {8, OS_SIDE, OW_ALWAYS},          {9, OS_STOCK_NUMBER, OW_ALWAYS},    {10, OS_SERIES, OW_ALWAYS},
    {11, OS_QUANTITY, OW_ALWAYS},     {12, OS_ZERO_PRICE, OW_ALWAYS},     {13, OS_ZERO_PRICE, OW_ALWAYS},
    {18, OS_LIMIT, OW_ALWAYS},
};
const ORDER_FIELD KI_FIELDS[] = {
    {2, OS_USER, OW_ALWAYS},          {3, OS_ACCOUNT, OW_ALWAYS},         {4, OS_ACTION, OW_ALWAYS},
    {5, OS_CONTRACT_DATE, OW_ALWAYS}, {6, OS_CONTRACT_ID, OW_ALWAYS},     {7, OS_MARKET_MAKER, OW_ALWAYS},
    {8, OS_SIDE, OW_ALWAYS},          {9, OS_STOCK_NUMBER, OW_ALWAYS},    {10, OS_SERIES, OW_ALWAYS},
    {11, OS_QUANTITY, OW_ALWAYS},     {14, OS_PASSWORD, OW_ALWAYS},       {18, OS_LIMIT, OW_ALWAYS},
};
// An option exercise: the contracts of the position; the instruction: the contracts to exercise
// at expiration, the least amount in the money (the limit) and the price limit (the stop).
const ORDER_FIELD XO_FIELDS[] = {
    {2, OS_USER, OW_ALWAYS},          {3, OS_MODE, OW_ALWAYS},            {4, OS_ACCOUNT, OW_ALWAYS},
    {5, OS_SYMBOL, OW_ALWAYS},        {6, OS_MARKET_CODE, OW_ALWAYS},     {7, OS_QUANTITY, OW_ALWAYS},
};
const ORDER_FIELD XI_FIELDS[] = {
    {2, OS_USER, OW_ALWAYS},          {3, OS_ACCOUNT, OW_ALWAYS},         {4, OS_SYMBOL, OW_ALWAYS},
    {5, OS_MARKET_CODE, OW_ALWAYS},   {6, OS_MODE, OW_ALWAYS},            {7, OS_QUANTITY, OW_ALWAYS},
    {8, OS_LIMIT, OW_ALWAYS},         {9, OS_STOP, OW_ALWAYS},
};
// The per-market forms. The US form names its market in "OV" field 12 and sends its series
// text in "OV" 19 and "OR" 23; the fields of the flag nothing sets ("OV" 13 and 14, "OR" 17 and
// 18) stay empty.
const ORDER_FIELD OV_US_FIELDS[] = {
    {0, OS_USER, OW_ALWAYS},          {1, OS_ACCOUNT, OW_ALWAYS},         {2, OS_SIDE, OW_ALWAYS},
    {3, OS_SYMBOL, OW_ALWAYS},        {4, OS_QUANTITY, OW_ALWAYS},        {5, OS_ORDER_TYPE, OW_ALWAYS},
    {6, OS_LIMIT, OW_LIMIT_TYPE},     {7, OS_STOP, OW_STOP_TYPE},         {8, OS_VALIDITY, OW_ALWAYS},
    {9, OS_DAYS, OW_DATED},           {10, OS_GOOD_TILL, OW_DATED},       {12, OS_MARKET_NAME, OW_ALWAYS},
    {15, OS_UNDERLYING, OW_OPTION},   {16, OS_RIGHT, OW_OPTION},          {17, OS_STRIKE, OW_OPTION},
    {18, OS_EXPIRY, OW_OPTION},       {19, OS_EXTRA, OW_ALWAYS},
};
const ORDER_FIELD OR_US_FIELDS[] = {
    {0, OS_USER, OW_ALWAYS},          {1, OS_ACCOUNT, OW_ALWAYS},         {2, OS_SIDE, OW_ALWAYS},
    {3, OS_SYMBOL, OW_ALWAYS},        {4, OS_QUANTITY, OW_ALWAYS},        {5, OS_ORDER_TYPE, OW_ALWAYS},
    {6, OS_LIMIT, OW_LIMIT_TYPE},     {7, OS_STOP, OW_STOP_TYPE},         {8, OS_VALIDITY, OW_ALWAYS},
    {9, OS_DAYS, OW_DATED},           {10, OS_GOOD_TILL, OW_DATED},       {11, OS_PASSWORD, OW_ALWAYS},
    {19, OS_UNDERLYING, OW_OPTION},   {20, OS_RIGHT, OW_OPTION},          {21, OS_STRIKE, OW_OPTION},
    {22, OS_EXPIRY, OW_OPTION},       {23, OS_EXTRA, OW_ALWAYS},
};
// The forward form may send without a market maker; its order carries the kept flag on a buy.
const ORDER_FIELD KU_FORM_FIELDS[] = {
    {2, OS_USER, OW_ALWAYS},          {3, OS_ACCOUNT, OW_ALWAYS},         {4, OS_SIDE, OW_ALWAYS},
    {5, OS_SYMBOL, OW_ALWAYS},        {6, OS_QUANTITY, OW_ALWAYS},        {7, OS_MARKET_MAKER, OW_MAKER_CHOSEN},
    {8, OS_FILL_RULE, OW_ALWAYS},     {9, OS_TENOR, OW_ALWAYS},           {10, OS_LIMIT, OW_ALWAYS},
    {12, OS_TICKET_FLAG, OW_ALWAYS},
};
const ORDER_FIELD KA_FORM_FIELDS[] = {
    {2, OS_USER, OW_ALWAYS},          {3, OS_ACCOUNT, OW_ALWAYS},         {4, OS_SIDE, OW_ALWAYS},
    {5, OS_SYMBOL, OW_ALWAYS},        {6, OS_QUANTITY, OW_ALWAYS},        {7, OS_MARKET_MAKER, OW_MAKER_CHOSEN},
    {8, OS_FILL_RULE, OW_ALWAYS},     {9, OS_TENOR, OW_ALWAYS},           {10, OS_LIMIT, OW_ALWAYS},
    {11, OS_PASSWORD, OW_ALWAYS},     {16, OS_KEPT_FLAG, OW_BUY_SIDE},
};
const ORDER_FIELD RN_SYMBOL_FIELDS[] = {{2, OS_SYMBOL, OW_ALWAYS}};

const ORDER_BODY OV_BODY = BODY(MSG_OV, OV_FIELDS), OR_BODY = BODY(MSG_OR, OR_FIELDS);
const ORDER_BODY KV_BODY = BODY(MSG_KV, KV_FIELDS), KR_BODY = BODY(MSG_KR, KR_FIELDS);
const ORDER_BODY KU_BODY = BODY(MSG_KU, KU_FIELDS), KA_BODY = BODY(MSG_KA, KA_FIELDS);
const ORDER_BODY KJ_BODY = BODY(MSG_KJ, KJ_FIELDS), KQ_BODY = BODY(MSG_KQ, KQ_FIELDS);
const ORDER_BODY OW_BODY = BODY(MSG_OW, OW_FIELDS), OW_CANCEL_BODY = BODY(MSG_OW, OW_CANCEL_FIELDS);
const ORDER_BODY OM_BODY = BODY(MSG_OM, OM_FIELDS), OC_BODY = BODY(MSG_OC, OC_FIELDS);
const ORDER_BODY KW_BODY = BODY(MSG_KW, KW_FIELDS), KW_CANCEL_BODY = BODY(MSG_KW, KW_CANCEL_FIELDS);
const ORDER_BODY KM_BODY = BODY(MSG_KM, KM_FIELDS), KC_BODY = BODY(MSG_KC, KC_FIELDS);
const ORDER_BODY KSE_KV_BODY = BODY(MSG_KV, KSE_KV_FIELDS), KSE_KR_BODY = BODY(MSG_KR, KSE_KR_FIELDS);
const ORDER_BODY ODD_LOT_KV_BODY = BODY(MSG_KV, ODD_LOT_KV_FIELDS), ODD_LOT_KR_BODY = BODY(MSG_KR, ODD_LOT_KR_FIELDS);
const ORDER_BODY OV_US_BODY = BODY(MSG_OV, OV_US_FIELDS), OR_US_BODY = BODY(MSG_OR, OR_US_FIELDS);
const ORDER_BODY KU_FORM_BODY = BODY(MSG_KU, KU_FORM_FIELDS), KA_FORM_BODY = BODY(MSG_KA, KA_FORM_FIELDS);

//                                 kind         err ref acct side qty stock type price stop valid till
const ORDER_ACK OR_ACK = {ACK_ORDER, 12, 16, 1, 2, 4, 3, 5, 6, 7, 8, 10, US_PRICE_DECIMALS, 11};
const ORDER_ACK KR_ACK = {ACK_ORDER, 0, 16, 3, 5, 7, 6, 8, 9, 10, 11, 13, KSE_PRICE_DECIMALS, 17};
const ORDER_ACK KQ_ACK = {ACK_ORDER, 0, 17, 3, 6, 8, 7, 9, 10, 11, 12, 14, KSE_PRICE_DECIMALS};
// The forward text: order 13, account 3, side 4, quantity 6, stock 5, price 10.
// The odd-lot board quotes its prices to two decimals.
const int ODD_LOT_ACK_DECIMALS = 2;
const ORDER_ACK ODD_LOT_KR_ACK = {ACK_ORDER, 0, 16, 3, 5, 7, 6, 8, 9, -1, -1, -1, ODD_LOT_ACK_DECIMALS, 17};
const ORDER_ACK KA_ACK = {ACK_FORWARD, 0, 13, 3, 4, 6, 5, -1, 10, -1, -1, -1, KSE_PRICE_DECIMALS};

const ORDER_BODY KL_BODY = BODY(MSG_KL, KL_FIELDS), KI_BODY = BODY(MSG_KI, KI_FIELDS);
const ORDER_BODY XO_BODY = BODY(MSG_XO, XO_FIELDS), XI_BODY = BODY(MSG_XI, XI_FIELDS);
const ORDER_ACK OM_ACK = {ACK_MODIFIED, 12, 16, 1, 2, 4, 3, 5, 6, 7, 8, 10, US_PRICE_DECIMALS, 11};
// A KSE price shows as the board quotes it, to one decimal, whichever form changed the order.
const ORDER_ACK KM_ACK = {ACK_MODIFIED, 0, 16, 3, 4, 6, 5, 7, 8, 9, 10, 12, KSE_PRICE_DECIMALS, 13};
// The cancel text: the order and the account.
const ORDER_ACK OC_ACK = {ACK_CANCELLED, 3, 2, 1, -1, -1, -1, -1, -1, -1, -1, -1, 0};
const ORDER_ACK KC_ACK = {ACK_CANCELLED, 0, 4, 3, -1, -1, -1, -1, -1, -1, -1, -1, 0};

const MODIFY_ROAD COMBINED_MODIFY_ROADS[] = {
    {FALSE, {-1, &OW_BODY, 12, OR_US, 0, &OM_BODY, &OM_ACK}, {-1, &OW_CANCEL_BODY, 12, OR_US, 0, &OC_BODY, &OC_ACK}},
    {TRUE, {1, &KW_BODY, 0, OR_KSE, IDS_REVIEW_TITLE_MODIFY_FORM, &KM_BODY, &KM_ACK},
     {1, &KW_CANCEL_BODY, 0, OR_KSE, IDS_REVIEW_TITLE_MODIFY_FORM, &KC_BODY, &KC_ACK}},
};

// The separate modify forms' bodies: the US ones carry no side option; the prices go with every
// type but the market order; the odd-lot board takes one price and no validity.
#define SEPARATE_OW_HEAD(dated)                                                                             \
    {0, OS_USER, OW_ALWAYS},          {1, OS_ACCOUNT, OW_ALWAYS},         {2, OS_SIDE, OW_ALWAYS},          \
    {3, OS_SYMBOL, OW_ALWAYS},        {4, OS_QUANTITY, OW_ALWAYS},        {5, OS_ORDER_TYPE, OW_ALWAYS},    \
    {6, OS_LIMIT_TEXT, OW_PRICED},    {7, OS_STOP_TEXT, OW_PRICED},       {8, OS_VALIDITY, OW_ALWAYS},      \
    {9, OS_DAYS, dated},              {10, OS_GOOD_TILL, dated},          {11, OS_ORDER_NUMBER, OW_ALWAYS}
const ORDER_FIELD SEPARATE_OW_FIELDS[] = {SEPARATE_OW_HEAD(OW_DATED)};
const ORDER_FIELD SEPARATE_OW_CANCEL_FIELDS[] = {SEPARATE_OW_HEAD(OW_ALWAYS)};
const ORDER_FIELD SEPARATE_OM_FIELDS[] = {SEPARATE_OW_HEAD(OW_DATED), {12, OS_PASSWORD, OW_ALWAYS}};
const ORDER_FIELD SEPARATE_KM_FIELDS[] = {
    {2, OS_USER, OW_ALWAYS},          {3, OS_ACCOUNT, OW_ALWAYS},         {4, OS_SIDE, OW_ALWAYS},
    {5, OS_SYMBOL, OW_ALWAYS},        {6, OS_QUANTITY, OW_ALWAYS},        {7, OS_ORDER_TYPE, OW_ALWAYS},
    {8, OS_LIMIT_TEXT, OW_PRICED},    {9, OS_STOP_TEXT, OW_PRICED},       {10, OS_VALIDITY, OW_ALWAYS},
    {11, OS_DAYS, OW_DATED},          {12, OS_GOOD_TILL, OW_DATED},       {13, OS_ORDER_NUMBER, OW_ALWAYS},
    {14, OS_PASSWORD, OW_ALWAYS},     {19, OS_TICKET_FLAG, OW_BUY_SIDE},
};
#define ODD_LOT_KW_HEAD                                                                                     \
    {2, OS_USER, OW_ALWAYS},          {3, OS_ACCOUNT, OW_ALWAYS},         {4, OS_SIDE, OW_ALWAYS},          \
    {5, OS_SYMBOL, OW_ALWAYS},        {6, OS_QUANTITY, OW_ALWAYS},        {7, OS_ORDER_TYPE, OW_ALWAYS},    \
    {8, OS_LIMIT_TEXT, OW_PRICED},    {13, OS_ORDER_NUMBER, OW_ALWAYS}
const ORDER_FIELD ODD_LOT_KW_FIELDS[] = {ODD_LOT_KW_HEAD, {15, OS_TICKET_FLAG, OW_BUY_SIDE}};
const ORDER_FIELD ODD_LOT_KM_FIELDS[] = {ODD_LOT_KW_HEAD, {14, OS_PASSWORD, OW_ALWAYS}, {19, OS_TICKET_FLAG, OW_BUY_SIDE}};
const ORDER_BODY SEPARATE_OW_BODY = BODY(MSG_OW, SEPARATE_OW_FIELDS);
const ORDER_BODY SEPARATE_OW_CANCEL_BODY = BODY(MSG_OW, SEPARATE_OW_CANCEL_FIELDS);
const ORDER_BODY SEPARATE_OM_BODY = BODY(MSG_OM, SEPARATE_OM_FIELDS), SEPARATE_KM_BODY = BODY(MSG_KM, SEPARATE_KM_FIELDS);
const ORDER_BODY ODD_LOT_KW_BODY = BODY(MSG_KW, ODD_LOT_KW_FIELDS), ODD_LOT_KM_BODY = BODY(MSG_KM, ODD_LOT_KM_FIELDS);
// The regular board's change quotes the board's one decimal; the odd lot's names no stop price,
// so a stop order's shows no price.
const ORDER_ACK SEPARATE_KM_ACK = {ACK_MODIFIED, 0, 16, 3, 4, 6, 5, 7, 8, 9, 10, 12, KSE_PRICE_DECIMALS, 13};
const ORDER_ACK ODD_LOT_KM_ACK = {ACK_MODIFIED, 0, 16, 3, 4, 6, 5, 7, 8, -1, -1, -1, ODD_LOT_ACK_DECIMALS, 13};

const ORDER_ROAD TICKET_ROADS[] = {
    {-1, &OV_BODY, 12, OR_US, 0, &OR_BODY, &OR_ACK},
    {1, &KV_BODY, 0, OR_KSE, IDS_REVIEW_TITLE_NEW, &KR_BODY, &KR_ACK},
    {3, &KU_BODY, 0, OR_FORWARD, 0, &KA_BODY, &KA_ACK},
    {4, &KJ_BODY, 0, OR_CONTRACT, IDS_REVIEW_TITLE_MODIFY_CHECK, &KQ_BODY, &KQ_ACK},
};

}  // namespace

const MODIFY_ROAD US_MODIFY_ROAD = {
    FALSE, {-1, &SEPARATE_OW_BODY, 12, OR_US, 0, &SEPARATE_OM_BODY, &OM_ACK},
    {-1, &SEPARATE_OW_CANCEL_BODY, 12, OR_US, 0, &OC_BODY, &OC_ACK}};
const MODIFY_ROAD KSE_MODIFY_ROAD = {
    TRUE, {1, &KW_BODY, 0, OR_KSE, IDS_REVIEW_TITLE_MODIFY_FORM, &SEPARATE_KM_BODY, &SEPARATE_KM_ACK},
    {1, &KW_CANCEL_BODY, 0, OR_KSE, IDS_REVIEW_TITLE_MODIFY_FORM, &KC_BODY, &KC_ACK}};
const MODIFY_ROAD ODD_LOT_MODIFY_ROAD = {
    TRUE, {1, &ODD_LOT_KW_BODY, 0, OR_ODD_LOT, 0, &ODD_LOT_KM_BODY, &ODD_LOT_KM_ACK},
    {1, &ODD_LOT_KW_BODY, 0, OR_ODD_LOT, 0, &KC_BODY, &KC_ACK}};

namespace {
BOOL s_bKeptTicketFlag = FALSE;

bool IsWhen(int nWhen, const ORDER_TICKET_SNAPSHOT& shot)
{
    switch (nWhen) {
    case OW_LIMIT_TYPE: return IsLimitType(shot.nOrderType);
    case OW_STOP_TYPE: return IsStopType(shot.nOrderType);
    case OW_DATED: return shot.nValidity == 1 && shot.nOrderType != 3;
    case OW_PRE_MARKET: return shot.bPreMarket != FALSE;
    case OW_OPTION: return shot.nRight == 1 || shot.nRight == 2;
    case OW_BUY_SIDE: return shot.nSide == 1 || shot.nSide == 27;
    case OW_PRICED: return shot.nOrderType != 3;
    case OW_MAKER_CHOSEN: return !shot.strMarketMaker.IsEmpty();
    default: return true;
    }
}

CString Trimmed(const CString& strText)
{
    CString strTrimmed = strText;
    strTrimmed.Trim();
    return strTrimmed;
}

CString SymbolOf(const CString& strTicker)
{
    const int nSlash = strTicker.Find('/');
    return Trimmed(nSlash < 0 ? strTicker : strTicker.Left(nSlash));
}

// A whole number of digits only, at most INT_MAX.
bool ReadWhole(const CString& strText, long long* pnValue)
{
    const CString strDigits = Trimmed(strText);
    if (strDigits.IsEmpty() || strDigits.GetLength() > 18)
        return false;
    for (int i = 0; i < strDigits.GetLength(); ++i)
        if (strDigits[i] < '0' || strDigits[i] > '9')
            return false;
    *pnValue = atoll(strDigits);
    return *pnValue <= INT_MAX;
}

// Digits with at most one '.', as the price fields give them.
bool IsPriceText(const CString& strText)
{
    const CString strPrice = Trimmed(strText);
    int nDigits = 0, nPoints = 0;
    for (int i = 0; i < strPrice.GetLength(); ++i) {
        if (strPrice[i] == '.')
            ++nPoints;
        else if (strPrice[i] >= '0' && strPrice[i] <= '9')
            ++nDigits;
        else
            return false;
    }
    return nDigits > 0 && nPoints <= 1;
}

CString ServerDate(const COleDateTime& date)
{
    if (date.GetStatus() != COleDateTime::valid)
        return "";
    return ConvertDisplayDateField(date.Format("%Y%m%d"), 24);
}

CString Number(long long nValue)
{
    CString strText;
    strText.Format("%lld", nValue);
    return strText;
}

// The value of one field; 0, or the id of the text that refuses it.
UINT FieldText(int nSource, const ORDER_VALUES& values, CString* pText)
{
    const ORDER_TICKET_SNAPSHOT& shot = *values.pShot;
    long long nWhole = 0;
    switch (nSource) {
    case OS_USER: *pText = values.strUser; break;
    case OS_ACCOUNT: *pText = values.strAccount; break;
    case OS_ONE: *pText = "1"; break;
    case OS_KSE_TYPE: *pText = Number(shot.nKseMarketType); break;
    case OS_SIDE: *pText = Number(shot.nSide); break;
    case OS_ORDER_TYPE: *pText = Number(shot.nOrderType); break;
    case OS_VALIDITY: *pText = Number(shot.nValidity); break;
    case OS_FILL_RULE: *pText = Number(shot.nFillRule); break;
    case OS_SYMBOL: *pText = SymbolOf(shot.strTicker); break;
    case OS_SYMBOL_US:
        *pText = shot.nMarketCode == 1 && shot.strTicker.Find('/') >= 0 ? Trimmed(shot.strTicker) : SymbolOf(shot.strTicker);
        break;
    case OS_QUANTITY:
        if (!ReadWhole(shot.strQuantity, &nWhole))
            return IDS_ORDER_NO_QUANTITY;
        *pText = Number(nWhole);
        break;
    case OS_LIMIT:
    case OS_STOP:
        *pText = Trimmed(nSource == OS_LIMIT ? shot.strLimitPrice : shot.strStopPrice);
        if (!IsPriceText(*pText))
            return IDS_ORDER_NO_PRICE;
        // Never cut: a price the request cannot carry whole is not sent.
        if (PriceTextDecimals(*pText) > REQUEST_PRICE_DECIMALS)
            return IDS_ORDER_PRICE_DECIMALS;
        break;
    case OS_LIMIT_TEXT:
    case OS_STOP_TEXT:
        *pText = Trimmed(nSource == OS_LIMIT_TEXT ? shot.strLimitPrice : shot.strStopPrice);
        if (!pText->IsEmpty() && !IsPriceText(*pText))
            return IDS_ORDER_NO_PRICE;
        if (PriceTextDecimals(*pText) > REQUEST_PRICE_DECIMALS)
            return IDS_ORDER_PRICE_DECIMALS;
        break;
    case OS_DAYS:
        // Sent even where no days are typed ("KJ"): empty stays empty.
        if (Trimmed(shot.strDays).IsEmpty())
            break;
        if (!ReadWhole(shot.strDays, &nWhole))
            return IDS_ORDER_BAD_TEXT;
        *pText = Number(nWhole);
        break;
    case OS_GOOD_TILL: *pText = ServerDate(shot.goodTill); break;
    case OS_MARKET_CODE: *pText = Number(shot.nMarketCode); break;
    case OS_UNDERLYING: *pText = Trimmed(shot.strUnderlying); break;
    case OS_RIGHT: *pText = Number(shot.nRight); break;
    case OS_STRIKE: *pText = Trimmed(shot.strStrike); break;
    case OS_EXPIRY: {
        // The store's "%Y/%m/%d".
        const CString& strKey = shot.strExpiryKey;
        if (strKey.GetLength() < 10)
            return IDS_ORDER_BAD_TEXT;
        const COleDateTime expiry(atoi(strKey.Mid(0, 4)), atoi(strKey.Mid(5, 2)), atoi(strKey.Mid(8, 2)), 0, 0, 0);
        *pText = ServerDate(expiry);
        break;
    }
    case OS_EXTRA: *pText = shot.strExtra; break;
    case OS_TICKET_FLAG: *pText = shot.bTicketFlag ? "0" : "1"; break;
    case OS_KEPT_FLAG: *pText = values.bKeptFlag ? "0" : "1"; break;
    case OS_MARKET_MAKER: *pText = Number(atol(Trimmed(shot.strMarketMaker))); break;
    case OS_TENOR: *pText = Trimmed(shot.strTenor); break;
    case OS_CONTRACT_DATE: *pText = ServerDate(shot.contractDate); break;
    case OS_CONTRACT_NUMBER:
        if (!ReadWhole(shot.strContractNumber, &nWhole))
            return IDS_ORDER_BAD_TEXT;
        *pText = Number(nWhole);
        break;
    case OS_PASSWORD: *pText = values.strPassword; break;
    case OS_ACTION: *pText = Number(shot.nAction); break;
    case OS_MODE: *pText = Number(shot.nMode); break;
    case OS_CONTRACT_ID: *pText = Trimmed(shot.strContractId); break;
    case OS_STOCK_NUMBER: *pText = Number(shot.nStock); break;
    case OS_SERIES: *pText = Number(shot.nSeries); break;
    case OS_ZERO_PRICE: pText->Format("%lf", 0.0); break;
    case OS_ORDER_NUMBER: *pText = Number(shot.nOrderNumber); break;
    case OS_ODD_LOT_BOARD: *pText = "2"; break;
    case OS_MARKET_NAME: *pText = shot.strMarketName; break;
    default: pText->Empty(); break;
    }
    return IsRequestFieldText(*pText) ? 0 : IDS_ORDER_BAD_TEXT;
}

// The price as the price rule shows it, with the text of the order type.
CString PriceWithType(int nLeastDecimals, double dPrice, int nType)
{
    CString strText;
    strText.Format("%s %s", static_cast<LPCSTR>(FormatPrice(dPrice, nLeastDecimals)),
                   static_cast<LPCSTR>(COrderType::GetText(nType)));
    return strText;
}
}  // namespace

const ORDER_BODY RN_BODY = BODY(MSG_RN, RN_FIELDS);
const ORDER_BODY GO_BODY = BODY(MSG_GO, GO_FIELDS);
const ORDER_BODY KD_BODY = BODY(MSG_KD, KD_FIELDS);
const ORDER_ROAD CONTRACT_ACTION_ROAD = {-1, &KL_BODY, 0, OR_NONE, 0, &KI_BODY, nullptr};
const ORDER_ROAD EXERCISE_ROAD = {-1, &XO_BODY, 0, OR_NONE, 0, &XO_BODY, nullptr};
const ORDER_ROAD INSTRUCTION_ROAD = {-1, &XI_BODY, 0, OR_NONE, 0, &XI_BODY, nullptr};
const ORDER_ROAD KSE_TICKET_ROAD = {1, &KSE_KV_BODY, 0, OR_KSE, IDS_REVIEW_TITLE_NEW, &KSE_KR_BODY, &KR_ACK};
const ORDER_ROAD ODD_LOT_TICKET_ROAD = {1, &ODD_LOT_KV_BODY, 0, OR_ODD_LOT, 0, &ODD_LOT_KR_BODY, &ODD_LOT_KR_ACK};
const ORDER_BODY RN_SYMBOL_BODY = BODY(MSG_RN, RN_SYMBOL_FIELDS);
const ORDER_ROAD US_TICKET_ROAD = {-1, &OV_US_BODY, 12, OR_US, 0, &OR_US_BODY, &OR_ACK};
const ORDER_ROAD FORWARD_TICKET_ROAD = {3, &KU_FORM_BODY, 0, OR_FORWARD, 0, &KA_FORM_BODY, &KA_ACK};

namespace {
// The body's fields into the message; 0, or the refusal's text id.
UINT FillBody(const ORDER_BODY& body, const ORDER_VALUES& values, CServerMessage* pRequest)
{
    for (int i = 0; i < body.nFields; ++i) {
        const ORDER_FIELD& field = body.pFields[i];
        // A field whose condition fails is not set: the body ends at its highest field set.
        if (!IsWhen(field.nWhen, *values.pShot))
            continue;
        CString strText;
        if (const UINT nRefusal = FieldText(field.nSource, values, &strText))
            return nRefusal;
        pRequest->SetAtGrow(field.nField, strText);
    }
    return 0;
}
}  // namespace

UINT BuildOrderRequest(const ORDER_BODY& body, const ORDER_VALUES& values, CString* pLine)
{
    pLine->Empty();
    CServerMessage request(1);
    if (const UINT nRefusal = FillBody(body, values, &request))
        return nRefusal;
    if (request.FormatRequest(pLine, body.nType, 1, FALSE, FALSE, nullptr, FALSE) != REQUEST_OK) {
        pLine->Empty();
        return IDS_ORDER_BAD_TEXT;
    }
    return 0;
}

BOOL BuildLocalPreview(const ORDER_BODY& body, const ORDER_VALUES& values, CServerMessage* pPreview, UINT* pnRefusal)
{
    CServerMessage request(1);
    *pnRefusal = FillBody(body, values, &request);
    if (*pnRefusal != 0)
        return FALSE;
    // The raw line form: no frame, so field 0 stays field 0 when parsed back.
    std::string strBody;
    for (int i = 0; i < request.GetSize(); ++i)
        (strBody += static_cast<LPCSTR>(request.GetField(i))) += '|';
    CString strLine;
    if (FormatRequestLine(&strLine, body.nType, strBody, 1, FALSE, /*bRaw=*/TRUE, nullptr, FALSE) != REQUEST_OK) {
        *pnRefusal = IDS_ORDER_BAD_TEXT;
        return FALSE;
    }
    *pPreview = CServerMessage(strLine, 1);
    return TRUE;
}

UINT CheckOrderTicket(const ORDER_TICKET_SNAPSHOT& shot, int* pnFocus)
{
    *pnFocus = 0;
    if (shot.nSide == -1)
        return IDS_ORDER_NO_SIDE;
    if (Trimmed(shot.strTicker).IsEmpty()) {
        *pnFocus = 5722;
        return IDS_ORDER_NO_TICKER;
    }
    if (atof(shot.strQuantity) == 0.0) {
        *pnFocus = 5723;
        return IDS_ORDER_NO_QUANTITY;
    }
    const bool bLimitNeeded = IsLimitType(shot.nOrderType) || shot.nOrderType == 5;
    if ((bLimitNeeded && atof(shot.strLimitPrice) == 0.0) || (IsStopType(shot.nOrderType) && atof(shot.strStopPrice) == 0.0))
        return IDS_ORDER_NO_PRICE;
    return 0;
}

CString OptionSeriesText(const ORDER_TICKET_SNAPSHOT& shot)
{
    if (shot.nRight != 1 && shot.nRight != 2)
        return CString();
    const CString& strKey = shot.strExpiryKey;      // "%Y/%m/%d"
    const long nExpiry = strKey.GetLength() >= 10 ? atol(strKey.Left(4)) * 10000 + atol(strKey.Mid(5, 2)) * 100 + atol(strKey.Mid(8, 2)) : 0;
    return OptionSeriesName(shot.strUnderlying, shot.nRight, atof(shot.strStrike), nExpiry);
}

namespace {
void ForgetOrderNames()
{
    GetGlobals()->ForgetOrderNames();
}
}  // namespace

BOOL BuildAcknowledgement(const ORDER_ACK& ack, const CServerMessage& reply, LPCSTR pszStockName, CString* pText)
{
    const long nError = reply.GetLong(ack.nError);
    if (nError != 0) {
        pText->Empty();
        return FALSE;
    }
    if (ack.nKind == ACK_CANCELLED) {
        pText->FormatMessage(IDS_ORDER_CANCELLED, reply.GetField(ack.nReference), reply.GetField(ack.nAccount));
        return TRUE;
    }
    const CString strSide = CTransactionType::GetText(reply.GetLong(ack.nSide));
    if (ack.nKind == ACK_FORWARD) {
        const CString strPrice = FormatPrice(reply.GetDouble(ack.nPrice, 0), ack.nPriceDecimals);
        pText->FormatMessage(IDS_ORDER_FORWARD_ACK, reply.GetField(ack.nReference), reply.GetField(ack.nAccount),
                             strSide, reply.GetField(ack.nQuantity),
                             CString(pszStockName != nullptr ? pszStockName : ""), reply.GetField(ack.nStock), strPrice);
        return TRUE;
    }
    const int nType = reply.GetLong(ack.nOrderType);
    CString strPrices;
    // A reply with no stop price field gives a stop order no price at all.
    const bool bPriced = !(IsStopType(nType) && ack.nStop < 0);
    if (IsStopType(nType) && bPriced)
        strPrices = PriceWithType(ack.nPriceDecimals, reply.GetDouble(ack.nStop, 0), 1);
    if (IsLimitType(nType) && bPriced) {
        if (!strPrices.IsEmpty())
            strPrices += " ";
        strPrices += PriceWithType(ack.nPriceDecimals, reply.GetDouble(ack.nPrice, 0), 0);
    }
    if (nType == 3)
        strPrices = COrderType::GetText(3);
    if (reply.GetLong(ack.nValidity) == 1) {
        const CString strDate = ConvertServerDateField(reply.GetFieldText(ack.nGoodTill), 24);
        const COleDateTime till(atoi(strDate.Mid(0, 4)), atoi(strDate.Mid(4, 2)), atoi(strDate.Mid(6, 2)), 0, 0, 0);
        if (strDate.GetLength() >= 8 && till.GetStatus() == COleDateTime::valid)
            strPrices.AppendFormat(" %s %s", static_cast<LPCSTR>(COrderDur::GetText(1)),
                                   static_cast<LPCSTR>(till.Format("%d/%m/%Y")));
    }
    // One name for one order: its number where the reply carries it, as its status lines give it.
    const CString strOrder = ack.nOrder >= 0 ? reply.GetField(ack.nOrder) : CString();
    const BOOL bNamed = pszStockName != nullptr && *pszStockName != '\0';
    pText->FormatMessage(ack.nKind == ACK_MODIFIED ? IDS_ORDER_MODIFIED : IDS_ORDER_ACKNOWLEDGED,
                         strOrder.IsEmpty() ? reply.GetField(ack.nReference) : strOrder, reply.GetField(ack.nAccount), strSide,
                         reply.GetField(ack.nQuantity), bNamed ? CString(pszStockName) : reply.GetField(ack.nStock), strPrices);
    // The server's own notice of the order (a restricted user's only word of it) names it alike.
    if (bNamed) {
        RegisterLogoffHook(&ForgetOrderNames);
        GetGlobals()->NoteOrderName(strOrder, reply.GetFieldText(ack.nStock), pszStockName);
    }
    return TRUE;
}

const ORDER_ROAD* FindTicketRoad(int nKseType)
{
    for (const ORDER_ROAD& road : TICKET_ROADS)
        if (road.nKseType == nKseType)
            return &road;
    return nullptr;
}

const ORDER_ROAD* FindRoadOfCheck(int nType)
{
    for (const ORDER_ROAD& road : TICKET_ROADS)
        if (road.pCheck->nType == nType)
            return &road;
    return nullptr;
}

const ORDER_ROAD* FindRoadOfOrder(int nType)
{
    for (const ORDER_ROAD& road : TICKET_ROADS)
        if (road.pOrder->nType == nType)
            return &road;
    return nullptr;
}

const MODIFY_ROAD& GetCombinedModifyRoad(BOOL bKse)
{
    return COMBINED_MODIFY_ROADS[bKse ? 1 : 0];
}

std::vector<const ORDER_ROAD*> GetAllOrderRoads()
{
    std::vector<const ORDER_ROAD*> roads;
    for (const ORDER_ROAD& road : TICKET_ROADS)
        roads.push_back(&road);
    for (const MODIFY_ROAD* pModify : {&COMBINED_MODIFY_ROADS[0], &COMBINED_MODIFY_ROADS[1], &US_MODIFY_ROAD,
                                       &KSE_MODIFY_ROAD, &ODD_LOT_MODIFY_ROAD}) {
        roads.push_back(&pModify->modify);
        roads.push_back(&pModify->cancel);
    }
    for (const ORDER_ROAD* pRoad : {&CONTRACT_ACTION_ROAD, &EXERCISE_ROAD, &INSTRUCTION_ROAD, &KSE_TICKET_ROAD,
                                    &ODD_LOT_TICKET_ROAD, &US_TICKET_ROAD, &FORWARD_TICKET_ROAD})
        roads.push_back(pRoad);
    return roads;
}

BOOL GetKeptTicketFlag()
{
    return s_bKeptTicketFlag;
}

void SetKeptTicketFlag(BOOL bSet)
{
    s_bKeptTicketFlag = bSet;
}

void ForgetKeptTicketFlag()
{
    s_bKeptTicketFlag = FALSE;
}
