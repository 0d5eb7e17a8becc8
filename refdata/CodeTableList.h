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
// TB_SERVER_TABLE(name)                a table the server fills, declared in ServerCodeTables.h
//
// The includer defines the four macros; this file undefines them at its end.
TB_CODE_TABLE(CheckDeliveryMode, 0, -1, CODE_NONE,
    {0, 0, ""}, {1, 55180}, {2, 55181}, {3, 55182})
TB_CODE_TABLE(PaymentMode, CT_TEXT, -1, CODE_NONE,
    {0, 0, ""}, {1, 55183}, {2, 55184}, {3, 55185})
TB_CODE_TABLE(UserStatus, 0, -1, CODE_NONE,
    {0, 57494}, {1, 55112}, {2, 55113}, {3, 55114}, {4, 55115})
TB_CODE_TABLE(UserType, 0, -1, CODE_NONE,
    {-1, 55001}, {1, 55002}, {2, 55003}, {3, 55004}, {4, 55005}, {5, 55006}, {6, 55007}, {7, 55008},
    {11, 55009})
TB_CODE_TABLE(UserPriv, 0, -1, CODE_NONE,
    {-1, 55001}, {0, 55010}, {1, 55002}, {2, 55011}, {3, 55012}, {4, 55013}, {5, 55014},
    {10, 55015}, {11, 55016}, {12, 55017}, {13, 55018}, {14, 55019}, {15, 55020}, {16, 55000},
    {17, 55022})
TB_CODE_TABLE(Sex, 0, -1, CODE_NONE,
    {0, 0, ""}, {1, 56194}, {2, 56195})
TB_CODE_TABLE(PasswordStatus, 0, -1, CODE_NONE,
    {-1, 55130}, {0, 55131}, {1, 55132}, {5, 55133}, {6, 55134}, {7, 55135})
TB_SERVER_TABLE(CountryName)
TB_SERVER_TABLE(RoleName)
TB_CODE_TABLE(AccountEntryStatus, 0, -1, CODE_NONE,
    {-1, 55030}, {0, 55031}, {1, 55032}, {2, 55033}, {3, 55029})
TB_CODE_TABLE(AccountType, CT_TEXT, -1, CODE_NONE,
    {1, 55035}, {2, 55036}, {3, 55037}, {4, 55038})
TB_CODE_TABLE(AccountInvestType, 0, -1, CODE_NONE,
    {-1, 55170}, {1, 55171}, {2, 55172}, {3, 55173}, {4, 55174})
TB_CODE_TABLE(AccountStatus, 0, -1, CODE_NONE,
    {-1, 55150}, {0, 55151}, {1, 55152}, {2, 55153}, {3, 55154}, {4, 55155}, {5, 55162},
    {10, 55156}, {11, 55157}, {12, 55158}, {13, 55159}, {14, 55161}, {16, 55165}, {19, 55166},
    {20, 55167}, {21, 55163}, {22, 55160}, {23, 55164})
TB_CODE_TABLE(MarginStatus, 0, -1, CODE_NONE,
    {-1, 55175}, {0, 55176}, {1, 55177}, {2, 55178})
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
TB_CODE_TABLE(EventStatus, 0, -1, CODE_NONE,
    {-1, 55076}, {0, 55077}, {1, 55078}, {2, 55079}, {3, 55080}, {5, 55080})
TB_CODE_TABLE(NetWorth, 0, -1, CODE_NONE,
    {1, 55082}, {2, 55083}, {3, 55084}, {4, 55101})
TB_CODE_TABLE(Source, 0, -1, CODE_NONE,
    {1, 55085}, {2, 55086}, {3, 55087}, {4, 55104}, {5, 55105}, {6, 55106}, {7, 55107})
TB_CODE_TABLE(Liquid, 0, -1, CODE_NONE,
    {1, 55088}, {2, 55089}, {3, 55090}, {4, 55102})
TB_CODE_TABLE(Annual, 0, -1, CODE_NONE,
    {1, 55091}, {2, 55092}, {3, 55093}, {4, 55103})
TB_CODE_TABLE(Experience, 0, -1, CODE_NONE,
    {1, 55094}, {2, 55095}, {3, 55096}, {4, 55108})
TB_CODE_TABLE(InvObjective, 0, -1, CODE_NONE,
    {-1, 55260}, {1, 55261}, {2, 55262}, {3, 55263}, {4, 55264})
TB_CODE_TABLE(TickerType, 0, -1, CODE_NONE,
    {-1, 55232}, {0, 55233}, {1, 55234})
TB_CODE_TABLE(GainerLooser, CT_TEXT | CT_COLUMN, -1, CODE_NONE,
    {-1, 0, "-1"}, {0, 55299}, {1, 55300}, {2, 55301})
TB_CODE_TABLE(AlertDir, CT_TEXT | CT_COLUMN, -1, CODE_NONE,
    {-1, 0, "-1"}, {0, 0, ""}, {1, 55297}, {2, 55298})
TB_CODE_TABLE(Market, 0, -1, CODE_NONE,
    {1, 56250}, {2, 56251}, {3, 56252})
TB_CODE_TABLE(MarketUS, CT_TEXT | CT_COLUMN, -1, CODE_NONE,
    {0, 57027}, {1, 57028})
TB_CODE_TABLE(MarketKSE, CT_TEXT | CT_COLUMN, -1, CODE_NONE,
    {0, 0, ""}, {1, 56253}, {2, 56254}, {3, 56255})
TB_CODE_TABLE(HoldingKSE, CT_TEXT | CT_COLUMN, -1, CODE_NONE,
    {-1, 0, ""}, {0, 56267}, {1, 56268}, {2, 56269}, {3, 56270}, {4, 56271})
TB_CODE_TABLE(ResultKSE, 0, -1, CODE_NONE,
    {-999, 0, ""}, {-12, 56331}, {-10, 56330}, {-9, 57022}, {-8, 56329}, {-4, 56328}, {-3, 56327},
    {-2, 56326}, {-1, 56325}, {0, 56324}, {21, 56332}, {22, 56333}, {31, 56334}, {99, 56335},
    {108, 57457}, {116, 57458}, {118, 57459}, {166, 57460})
TB_CODE_TABLE(AccountStatusKSE, 0, -1, CODE_NONE,
    {-1, 55150}, {0, 55151}, {1, 55152}, {2, 55153}, {3, 55154}, {4, 55155}, {5, 55162},
    {10, 55156}, {11, 55157}, {12, 55158}, {13, 55159}, {14, 55161}, {16, 55165}, {19, 55166},
    {20, 55167}, {21, 55163}, {22, 55160})
TB_CODE_TABLE(ForwardContractStatus, CT_TEXT | CT_COLUMN, -1, CODE_NONE,
    {-1, 56804}, {0, 56815}, {1, 56805}, {2, 56806}, {3, 56807}, {4, 56808}, {5, 56809}, {6, 56821},
    {7, 56820}, {10, 56810}, {11, 56811}, {12, 56812}, {13, 56813}, {14, 56814})
TB_CODE_TABLE(MarginCallStatus, CT_TEXT | CT_COLUMN, -1, CODE_NONE,
    {-1, 57067}, {0, 57068}, {1, 57069})
TB_CODE_TABLE(CommissionType, 0, -1, CODE_NONE,
    {-1, 55438}, {0, 55439}, {1, 55440}, {2, 55441}, {3, 41070}, {4, 41071}, {5, 41226}, {6, 41319})
TB_CODE_TABLE(TickerMatcherMethod, 0, -1, CODE_NONE,
    {0, 55472}, {1, 55473}, {2, 55474})
TB_CODE_TABLE(StockListUsage, 0, -1, CODE_NONE,
    {1, 55475}, {2, 55476}, {3, 55484})
TB_CODE_TABLE(DepositoryFeesMode, 0, -1, CODE_NONE,
    {1, 55479}, {2, 55480})
TB_CODE_TABLE(SubscriptionStatus, 0, -1, CODE_NONE,
    {-1, 56924}, {0, 56925}, {1, 56926}, {2, 56927}, {3, 56928}, {8, 56929}, {9, 56930},
    {10, 56931}, {11, 56932})
TB_CODE_TABLE(CorrectionType, 0, -1, CODE_NONE,
    {-1, 57015}, {1, 57016}, {2, 57017}, {3, 57018}, {4, 40971})
TB_CODE_TABLE(TransferType, 0, -1, CODE_NONE,
    {-1, 57102}, {1, 57085}, {2, 57086}, {3, 57087})
TB_CODE_TABLE(OptionRight, CT_TEXT | CT_CODE | CT_COLUMN, 0, CODE_NONE,
    {0, 57170}, {1, 57172}, {2, 57171})
TB_CODE_TABLE(OptionAccountStatus, 0, -1, CODE_NONE,
    {0, 57246}, {1, 57245})
TB_CODE_TABLE(SaudiMarketStatus, 0, -1, CODE_NONE,
    {0, 57249}, {1, 57248})
TB_CODE_TABLE(DubaiMarketStatus, 0, -1, CODE_NONE,
    {0, 57386}, {1, 57385})
TB_CODE_TABLE(ADhabiMarketStatus, 0, -1, CODE_NONE,
    {0, 57462}, {1, 57461})
TB_CODE_TABLE(ArabexMarketStatus, 0, -1, CODE_NONE,
    {0, 57464}, {1, 57463})
TB_CODE_TABLE(MarketTradingStatus, 0, -1, CODE_NONE,
    {0, 57469}, {1, 57468})
TB_CODE_TABLE(InterestType, CT_TEXT | CT_COLUMN, -1, CODE_NONE,
    {1, 57251}, {2, 57252})
TB_CODE_TABLE(InterestAction, 0, -1, CODE_NONE,
    {1, 57737}, {2, 57251})
TB_CODE_TABLE(ResetDormantCashPayableAction, 0, -1, CODE_NONE,
    {1, 42284}, {2, 42285})
TB_CODE_TABLE(DeliveryType, 0, -1, CODE_NONE,
    {0, 57319}, {1, 57321}, {2, 57320})
TB_CODE_TABLE(SubscriptionType, 0, -1, CODE_NONE,
    {0, 57360}, {1, 57361}, {2, 57362}, {3, 57363}, {8, 57364}, {9, 57365}, {10, 57366},
    {11, 57367})
TB_CODE_TABLE(SubscriptionModType, 0, -1, CODE_NONE,
    {-1, 57368}, {0, 57369}, {1, 57370})
TB_CODE_TABLE(RequestType, 0, -1, CODE_NONE,
    {1, 57440}, {2, 57441}, {3, 57442})
TB_CODE_TABLE(UserSex, 0, -1, CODE_NONE,
    {1, 57504}, {2, 57505})
TB_CODE_TABLE(DocumentType, 0, -1, CODE_NONE,
    {1, 57506}, {2, 57507}, {3, 57508})
TB_CODE_TABLE(YesNo, CT_COLUMN, -1, CODE_NONE,
    {0, 57510}, {1, 57509})
TB_CODE_TABLE(AccStatus, 0, -1, CODE_NONE,
    {-3, 57816}, {-2, 57791}, {-1, 57511}, {0, 57512}, {1, 57513, nullptr, BRANDED},
    {2, 57514, nullptr, BRANDED}, {3, 57515}, {4, 57516, nullptr, BRANDED}, {5, 57517}, {10, 57518},
    {11, 57519}, {12, 57520}, {13, 57521}, {14, 57522}, {15, 57523}, {16, 55165}, {19, 55166},
    {20, 55167}, {21, 57524}, {22, 57525}, {23, 57526})
TB_CODE_TABLE(InterestFlag, 0, -1, CODE_NONE,
    {0, 57527}, {1, 57528})
TB_CODE_TABLE(MarginType, 0, -1, CODE_NONE,
    {0, 57529}, {1, 57530}, {2, 57531})
TB_CODE_TABLE(TradingStat, 0, -1, CODE_NONE,
    {1, 57532}, {2, 57533}, {3, 57534}, {4, 57535}, {5, 57536})
TB_CODE_TABLE(AccClearingType, 0, -1, CODE_NONE,
    {0, 57537}, {1, 57538}, {2, 57539}, {3, 57545})
TB_CODE_TABLE(NewUserType, 0, -1, CODE_NONE,
    {0, 55002}, {1, 55004}, {2, 55005})
TB_CODE_TABLE(LangOpt, CT_TEXT | CT_COLUMN, -1, CODE_NONE,
    {0, 57543}, {1, 57544})
TB_CODE_TABLE(USSubsType, 0, -1, CODE_NONE,
    {0, 57739}, {1, 57740}, {2, 57741}, {3, 57800})
TB_CODE_TABLE(SubsReq, 0, -1, CODE_NONE,
    {0, 57546}, {1, 57547}, {2, 57548})
TB_CODE_TABLE(KSEMktType, CT_TEXT | CT_CODE, -1, CODE_NONE,
    {1, 57549}, {3, 57551}, {4, 57552})
TB_CODE_TABLE(FillRest, CT_TEXT | CT_CODE, -1, CODE_NONE,
    {2, 57555}, {3, 57554})
TB_CODE_TABLE(AcctInfoType, 0, -1, CODE_NONE,
    {1, 40920}, {2, 40921}, {3, 40922}, {4, 40923}, {5, 40924}, {6, 40925}, {7, 40926})
TB_CODE_TABLE(CurrConv, 0, -1, CODE_NONE,
    {0, 40983}, {1, 40984})
TB_CODE_TABLE(DecisionType, 0, -1, CODE_NONE,
    {0, 41011}, {1, 41012})
TB_CODE_TABLE(SubsType, CT_TEXT | CT_COLUMN, -1, CODE_NONE,
    {1, 41027}, {2, 41013}, {3, 41014})
TB_CODE_TABLE(PropSubs, 0, -1, CODE_NONE,
    {0, 41020}, {1, 41019})
TB_CODE_TABLE(MinComm, 0, -1, CODE_NONE,
    {0, 41089}, {1, 41090})
TB_CODE_TABLE(MaxWithdrawal, 0, -1, CODE_NONE,
    {-2, 41218}, {-1, 41217})
TB_CODE_TABLE(AccCateg, 0, -1, CODE_NONE,
    {0, 42278}, {1, 42279}, {2, 42286}, {3, 42287}, {4, 42288}, {5, 42289})
TB_CODE_TABLE(CreditCardType, 0, -1, CODE_NONE,
    {0, 55456}, {1, 55457}, {2, 55458}, {3, 55459}, {4, 55460}, {5, 55461}, {6, 55462}, {7, 55487})
TB_CODE_TABLE(ExchangeCode, 0, -1, CODE_NONE,
    {-1, 42261}, {0, 42250}, {1, 42251}, {2, 42252}, {3, 42253}, {4, 42254}, {5, 42255}, {6, 42256},
    {7, 42257}, {8, 42258}, {9, 42259}, {10, 42260})
TB_CODE_TABLE(TickerTradingStatus, 0, -1, CODE_NONE,
    {1, 42262}, {2, 42263}, {3, 42264}, {4, 42265}, {6, 42270}, {7, 42272}, {8, 42275})
TB_CODE_TABLE(IslamicFilter, 0, -1, CODE_NONE,
    {0, 42266}, {1, 42267})

#undef TB_CODE_TABLE
#undef TB_CODE_TABLE_SINK
#undef TB_NAME_TABLE_SINK
#undef TB_SERVER_TABLE
