#pragma once
// The account forms (performance, cash conversion) register their makers with the form factory
// and the international conversion's opener with the application (one call at start-up).
#define IDD_FORM_PERFORMANCE_US       7117
#define IDD_FORM_CURRENCY_CONVERSION  7269
#define IDD_FORM_PERFORMANCE_KSE      7270
#define IDD_FORM_INTL_CONVERSION      7307
#define IDD_FORM_PERFORMANCE_COMBINED 7328

// The order forms' text for a request the link could not take (the same string).
#define IDS_ACCOUNT_NOT_SENT          40360
#define IDS_ACCOUNT_BAD_REPLY         40395     // a reply whose result is no number
#define IDS_ACCOUNT_NO_AMOUNT         40396     // a conversion of no amount
#define IDS_CONVERSION_DONE           56707

void RegisterAccountForms();
