// The code tables of CZorvatTypes, one entry each, in the order CZorvatTypes::CreateTables makes
// them. The classes, their constructors and the holder's making and deleting are all generated
// from this list, so that no table can be left out of one of them.
//
// TB_CODE_TABLE(name, readers, code given for an unknown text, stand-in code, codes...)
//   readers: CT_TEXT, CT_CODE, CT_COLUMN (CodeTable.h), 0 for a table only the holder keeps;
//   stand-in: the code whose text shows for a missing code, CODE_NONE to show the number.
//   codes: {code, string id}, {code, 0, "literal"} ("" is an empty text),
//          {code, string id, nullptr, BRANDED} for a text the branding module may override.
// TB_CODE_TABLE_SINK(name, codes...)   keyed by its enumeration, with an idle message-sink part
// TB_NAME_TABLE_SINK(name, codes...)   keyed by a plain int, {code, name}, idle sink part
// TB_SERVER_TABLE(name)                a table the server fills: made with its sink elsewhere
//
// The includer defines the four macros; this file undefines them at its end.
TB_CODE_TABLE(PaymentMode, CT_TEXT, -1, CODE_NONE,
    {0, 0, ""}, {1, 55183}, {2, 55184}, {3, 55185})
TB_SERVER_TABLE(CountryName)
TB_SERVER_TABLE(RoleName)
TB_CODE_TABLE(AccountType, CT_TEXT, -1, CODE_NONE,
    {1, 55035}, {2, 55036}, {3, 55037}, {4, 55038})
TB_NAME_TABLE_SINK(BusinessType,
    {0, 0, "Private"}, {1, 0, "Government"}, {2, 0, "Semi-Government"}, {3, 0, "Establishment"},
    {4, 0, "Corporate"}, {5, 0, "Financial"}, {6, 0, "Other"})
TB_CODE_TABLE_SINK(EmpStatus,
    {1, 55210}, {2, 55213}, {3, 55214}, {4, 55211}, {5, 55216}, {6, 55215})
TB_CODE_TABLE(TransactionType, CT_TEXT | CT_CODE | CT_COLUMN, -1, CODE_NONE,
    {-1, 55044}, {0, 57790}, {1, 55045}, {2, 55046}, {3, 55065}, {4, 55066}, {5, 55067}, {6, 55068},
    {7, 55069}, {8, 55070}, {9, 55071}, {10, 55072}, {11, 55073}, {12, 55074}, {13, 55116},
    {14, 55117}, {15, 55098}, {17, 55099}, {18, 55100}, {19, 55075}, {21, 55434}, {22, 55435},
    {23, 55436}, {24, 55437}, {25, 55442}, {26, 57021}, {27, 57032}, {28, 57033}, {29, 57143},
    {30, 57144}, {31, 57145}, {32, 57146}, {33, 57147}, {34, 57148}, {35, 57149}, {36, 57150},
    {37, 55485}, {38, 55486}, {40, 57151}, {41, 57152}, {42, 57153}, {43, 57154}, {44, 57155},
    {45, 57156}, {46, 57157})
TB_CODE_TABLE(OrderDur, CT_TEXT | CT_CODE | CT_COLUMN, -1, CODE_NONE,
    {-1, 55052}, {0, 55053}, {1, 55054}, {2, 55055}, {3, 55391})
TB_CODE_TABLE(OrderType, CT_TEXT | CT_CODE | CT_COLUMN, -1, CODE_NONE,
    {-1, 55047}, {0, 55048}, {1, 55049}, {2, 55050}, {3, 55051}, {4, 57350}, {5, 57553})
TB_CODE_TABLE(OrderStatus, CT_TEXT | CT_COLUMN, -1, CODE_NONE,
    {-1, 55056}, {1, 55057}, {2, 55058}, {3, 55059}, {4, 55060}, {5, 55061}, {6, 55062}, {7, 55063},
    {8, 55064})
TB_CODE_TABLE(RoutingStatus, CT_TEXT | CT_COLUMN, -1, CODE_NONE,
    {-1, 0, ""}, {0, 55057}, {1, 57024}, {2, 57025}, {3, 57026}, {4, 57726}, {5, 57727}, {6, 57728},
    {7, 57729}, {8, 57730}, {9, 57731})
TB_CODE_TABLE(RoutingResult, CT_TEXT | CT_COLUMN, -1, 99,
    {-100, 57704}, {-12, 57721}, {-10, 57720}, {-9, 57719}, {-8, 57718}, {-7, 57717}, {-6, 57716},
    {-5, 57715}, {-4, 57714}, {-3, 57713}, {-1, 57711}, {0, 57705}, {1, 57706}, {10, 57707},
    {11, 57735}, {12, 57708}, {13, 57709}, {14, 57710}, {15, 57736}, {16, 57742}, {21, 57722},
    {22, 57723}, {23, 57712}, {24, 57732}, {25, 57733}, {99, 57725})
TB_CODE_TABLE(TradeStatus, CT_TEXT | CT_COLUMN, -1, CODE_NONE,
    {-1, 55400}, {1, 55401}, {2, 55402}, {3, 55404}, {4, 55403})
TB_CODE_TABLE(GainerLooser, CT_TEXT | CT_COLUMN, -1, CODE_NONE,
    {-1, 0, "-1"}, {0, 55299}, {1, 55300}, {2, 55301})
TB_CODE_TABLE(AlertDir, CT_TEXT | CT_COLUMN, -1, CODE_NONE,
    {-1, 0, "-1"}, {0, 0, ""}, {1, 55297}, {2, 55298})
TB_CODE_TABLE(MarketUS, CT_TEXT | CT_COLUMN, -1, CODE_NONE,
    {0, 57027}, {1, 57028})
TB_CODE_TABLE(MarketKSE, CT_TEXT | CT_COLUMN, -1, CODE_NONE,
    {0, 0, ""}, {1, 56253}, {2, 56254}, {3, 56255})
TB_CODE_TABLE(HoldingKSE, CT_TEXT | CT_COLUMN, -1, CODE_NONE,
    {-1, 0, ""}, {0, 56267}, {1, 56268}, {2, 56269}, {3, 56270}, {4, 56271})
TB_CODE_TABLE(ForwardContractStatus, CT_TEXT | CT_COLUMN, -1, CODE_NONE,
    {-1, 56804}, {0, 56815}, {1, 56805}, {2, 56806}, {3, 56807}, {4, 56808}, {5, 56809}, {6, 56821},
    {7, 56820}, {10, 56810}, {11, 56811}, {12, 56812}, {13, 56813}, {14, 56814})
TB_CODE_TABLE(MarginCallStatus, CT_TEXT | CT_COLUMN, -1, CODE_NONE,
    {-1, 57067}, {0, 57068}, {1, 57069})
TB_CODE_TABLE(OptionRight, CT_TEXT | CT_CODE | CT_COLUMN, 0, CODE_NONE,
    {0, 57170}, {1, 57172}, {2, 57171})
TB_CODE_TABLE(InterestType, CT_TEXT | CT_COLUMN, -1, CODE_NONE,
    {1, 57251}, {2, 57252})
TB_CODE_TABLE(LangOpt, CT_TEXT | CT_COLUMN, -1, CODE_NONE,
    {0, 57543}, {1, 57544})
TB_CODE_TABLE(KSEMktType, CT_TEXT | CT_CODE, -1, CODE_NONE,
    {1, 57549}, {3, 57551}, {4, 57552})
TB_CODE_TABLE(FillRest, CT_CODE, -1, CODE_NONE,
    {2, 57555}, {3, 57554})
TB_CODE_TABLE(SubsType, CT_TEXT | CT_COLUMN, -1, CODE_NONE,
    {1, 41027}, {2, 41013}, {3, 41014})
#undef TB_CODE_TABLE
#undef TB_CODE_TABLE_SINK
#undef TB_NAME_TABLE_SINK
#undef TB_SERVER_TABLE
