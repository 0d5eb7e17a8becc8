// The framework's code tables, one entry each: the global tables first (built before the
// application runs), then those CNorvFormat makes, in the order it makes them. The classes,
// their constructors and the holder's making and deleting are generated from this list.
// Spanish texts are code page 1252 bytes.
//
// Global tables, keyed by a character unless said otherwise:
// TB_DIRECTION_TABLE(name, {code, index, English, English past, Spanish, Spanish past, id}...)
// TB_LOAN_DIRECTION_TABLE(name, base, records...)   the base's records first, then these
// TB_INDEXED_PAIR_TABLE(name, {code, index, English, Spanish}...)
// TB_PAIR_TABLE(name, key, {code, English, Spanish}...)     key: char, or ENUM for E<name>
// TB_CLEARING_TABLE(name, {code, index, text}...)
// Tables CNorvFormat makes, with a text and its dictionary text:
// TB_LOAN_TYPE_TABLE(name, {code, index, string id (0: empty)}...)   keyed by a character
// TB_LANGUAGE_TABLE(name, {code, string id} or {code, 0, "literal"}...)   keyed by E<name>
//
// The includer defines the seven macros; this file undefines them at its end.
TB_INDEXED_PAIR_TABLE(Duration,
    {'D', 0, "DAY", "HOY"}, {'G', 4, "GTC", "PERM"}, {'I', 1, "IOC", "IOC"}, {'F', 2, "FOK", "TON"},
    {'T', 3, "GTD", "FPT"}, {'A', 5, "AUC", "SUB"}, {'0', 0, "DAY", "HOY"}, {'1', 1, "IOC", "IOC"},
    {'2', 2, "FOK", "TON"}, {'3', 4, "GTC", "PERM"}, {'4', 3, "GTD", "FPT"}, {'5', 5, "AUC", "SUB"},
    {0, 0, "DAY", "HOY"}, {1, 1, "IOC", "IOC"}, {2, 2, "FOK", "FOK"})
TB_DIRECTION_TABLE(Direction,
    {'B', 0, "BUY", "Bought", "COMPRA", "Compr\xF3", 7},
    {'S', 1, "SELL", "Sold", "VENTA", "Vendi\xF3", 8},
    {'0', 0, "BUY", "Bought", "COMPRA", "Compr\xF3", 7},
    {'1', 1, "SELL", "Sold", "VENTA", "Vendi\xF3", 8},
    {0, 0, "BUY", "Bought", "COMPRA", "Compr\xF3", 7},
    {1, 1, "SELL", "Sold", "VENTA", "Vendi\xF3", 8})
TB_PAIR_TABLE(MoneyMktType, char,
    {'0', "Letter", "Letras"}, {'1', "Promissory note", "Pagares"},
    {'2', "Secondary Margin Loan", "Repos"}, {'3', "Short Term Instruments", "MIENM"},
    {'4', "Commerical Paper", "Papel Comercial"}, {'5', "Debt Instruments", "MD"})
TB_PAIR_TABLE(PrimaryAuctionType, char,
    {'1', "Variable Yield", "TRE Variable"}, {'2', "Fixed Yield", "TRE Fija"},
    {'3', "Variable Price", "Precio Variable"}, {'4', "Fixed Price", "Precio Fijo"})
TB_PAIR_TABLE(PrimaryAuctionStat, char,
    {'1', "Listed", "Listado"}, {'2', "Order Acceptance", "Ing Prop"}, {'3', "Closed", "Cerrado"},
    {'4', "Auction", "Subasta"}, {'5', "Auctioned", "Adjudicado"}, {'6', "Auctioned", "Adjudicado"},
    {'9', "Cancelled", "Cancelado"})
TB_PAIR_TABLE(PrimaryAuctionProrateType, char,
    {'0', "Normal", "Normal"}, {'1', "Lower to Higher", "Menor a Mayor"})
TB_CLEARING_TABLE(ClearingType,
    {0, -1, "Undefined"}, {'0', 1, "BVL"}, {'1', 0, "Dir"})
TB_LOAN_DIRECTION_TABLE(LoanDirection, Direction,
    {'B', 2, "BORROWER", "Borrowed", "REPORTADO", "Tom\xF3", 7},
    {'L', 3, "LENDER", "Lent", "REPORTANTE", "Prest\xF3", 8},
    {'C', 2, "BORROWER", "Borrowed", "PRESTATARIO", "Tom\xF3", 7},
    {'M', 3, "LENDER", "Lent", "PRESTAMISTA", "Prest\xF3", 8},
    {0, -1, "", "", "", "", 0})
TB_INDEXED_PAIR_TABLE(LoanCurrency,
    {'/', -1, "", ""}, {'0', 0, "S/.", "S/."}, {'1', 1, "USD", "USD"}, {'2', 2, "VAC", "VAC"})
TB_INDEXED_PAIR_TABLE(LoanSettDate,
    {'0', 0, "T", "T"}, {'1', 1, "T+1", "T+1"}, {'3', 3, "T+2", "T+2"})
TB_INDEXED_PAIR_TABLE(LoanSettMethod,
    {' ', 0, "CAVALI", "CAVALI"}, {'0', 0, "CAVALI", "CAVALI"}, {'1', 1, "Direct", "Directa"},
    {'3', 3, "CAVALI-Direct", "CAVALI-Directa"}, {'4', 4, "Direct-Direct", "Directa-Directa"})
TB_INDEXED_PAIR_TABLE(LoanVariable,
    {'0', 0, "Fixed", "Fijo"}, {'1', 1, "Variable", "Variable"}, {'2', 2, "Index", "Indice"})
TB_INDEXED_PAIR_TABLE(LoanYesNo,
    {'0', 0, "No", "No"}, {'1', 1, "Yes", "S\xED"}, {0, 0, "No", "No"}, {1, 1, "Yes", "S\xED"})
TB_PAIR_TABLE(SpecialSituationType, ENUM,
    {0, "Undefined", "Undefined"}, {1, "DIV", "DIV"}, {2, "LIB", "LIB"}, {3, "CVN", "CVN"},
    {4, "CSP", "CSP"}, {5, "OPA", "OPA"}, {6, "OPC", "OPC"}, {7, "OPI", "OPI"}, {8, "DIS", "DIS"},
    {9, "FUS", "FUS"}, {10, "ESC", "ESC"})
TB_LOAN_TYPE_TABLE(LoanType,
    {-1, -1, 0}, {0, 2, 15070}, {1, 13, 15072}, {2, 2, 15070}, {3, 3, 15076}, {7, 7, 15071},
    {13, 13, 15072}, {14, 14, 15073}, {15, 15, 15074}, {16, 16, 15075})
TB_LANGUAGE_TABLE(LoanSettStatus,
    {1, 15090}, {2, 15091}, {3, 15092}, {4, 15124}, {5, 15095}, {6, 15096}, {7, 15105}, {8, 15107},
    {9, 15108}, {11, 15097}, {12, 15098}, {13, 15099}, {14, 15100}, {15, 15101}, {16, 15103},
    {17, 15102}, {18, 15104}, {19, 15106})
TB_LANGUAGE_TABLE(LoanSettProgress,
    {0, 15132}, {1, 15133}, {2, 15134}, {3, 15135}, {4, 15136}, {5, 15137}, {6, 15138}, {7, 15139},
    {8, 15140}, {9, 15141}, {10, 15142})
TB_LANGUAGE_TABLE(SpecialSituationStatus,
    {0, 15000}, {1, 15001}, {2, 15002}, {3, 15003}, {4, 15004}, {5, 15005}, {6, 15006}, {7, 15007},
    {8, 15008}, {9, 15009}, {10, 15013}, {11, 15000}, {12, 15000}, {13, 15000}, {14, 15000},
    {15, 15010}, {16, 15011}, {17, 15012}, {18, 15014}, {19, 15015}, {20, 15016}, {21, 15017})
TB_LANGUAGE_TABLE(ParticipantType,
    {0, 15025}, {1, 15026}, {2, 15027}, {3, 15028})
TB_LANGUAGE_TABLE(ParticipantStatus,
    {0, 15020}, {1, 15021}, {2, 15022})
TB_LANGUAGE_TABLE(UserPrivilege,
    {0, 15051}, {1, 15057}, {2, 15058}, {3, 15054}, {4, 15053}, {5, 15055}, {6, 15056}, {7, 15052},
    {8, 15059}, {9, 15050})
TB_LANGUAGE_TABLE(AssetType,
    {1, 15060}, {2, 15061}, {3, 15062}, {4, 15063}, {5, 15064}, {6, 15065}, {7, 15066})
TB_LANGUAGE_TABLE(AffHoldStatus,
    {1, 0, "N"}, {2, 0, "PR"}, {3, 0, "PP"}, {4, 0, "GR"}, {5, 0, "GP"}, {6, 0, "CP"}, {7, 0, "C1"},
    {8, 0, "BFE"}, {9, 0, "V1"}, {10, 0, "C2"}, {11, 0, "CR"}, {12, 0, "V2"}, {13, 0, "BR"},
    {14, 0, "BP"}, {15, 0, "VBE"}, {16, 0, "GRL"}, {17, 0, "GPL"}, {18, 0, "SBB"}, {19, 0, "SB"},
    {20, 0, "BF"}, {21, 0, "VB"}, {22, 0, "PER"}, {23, 0, "PED"}, {31, 0, "D"}, {32, 0, "W"},
    {33, 0, "AW"}, {34, 0, "AD"}, {35, 0, "I"}, {36, 0, "T"}, {40, 0, "P"}, {41, 0, "D"})
TB_LANGUAGE_TABLE(BCSettDate,
    {-1, 15109}, {0, 15110}, {1, 15111}, {2, 15112}, {3, 15113})
TB_LANGUAGE_TABLE(BCSettMethod,
    {-1, 15109}, {0, 15115}, {1, 15114})
TB_LANGUAGE_TABLE(BCOrderStatus,
    {-1, 15109}, {0, 15116}, {1, 15117}, {2, 15118})
TB_LANGUAGE_TABLE(FCSettDate,
    {-1, 15109}, {0, 15110}, {1, 15111})
TB_LANGUAGE_TABLE(FCOrderStatus,
    {-1, 15109}, {0, 15125}, {1, 15126}, {2, 15127}, {3, 15128}, {4, 15129})
TB_LANGUAGE_TABLE(FCFillRestriction,
    {-1, 15109}, {0, 15130}, {1, 15131})
TB_LANGUAGE_TABLE(POType,
    {-1, 15109}, {1, 15152}, {2, 15151}, {3, 15150}, {4, 15149})
TB_LANGUAGE_TABLE(POOrderStatus,
    {-1, 15109}, {0, 15146}, {1, 15145}, {2, 15144}, {3, 15143}, {4, 15165})
TB_LANGUAGE_TABLE(POCurrency,
    {-1, 15109}, {0, 15148}, {1, 15147})
TB_LANGUAGE_TABLE(StockScheduleType,
    {-1, 0, "Undefined"}, {0, 0, "Regular"}, {1, 0, "Extended"})
TB_LANGUAGE_TABLE(YieldFormula,
    {-1, 15109}, {0, 15153}, {1, 15154}, {2, 15155}, {3, 15156}, {4, 15163}, {5, 15164})
TB_LANGUAGE_TABLE(CavaliCoupon,
    {-1, 15109}, {0, 15157}, {1, 15158}, {2, 15159})
TB_LANGUAGE_TABLE(IndexAdjustment,
    {-1, 15109}, {0, 15160}, {1, 15161}, {2, 15162})
TB_LANGUAGE_TABLE(TradeChangeStatus,
    {-1, 15166}, {0, 15167}, {1, 15168}, {2, 15169}, {3, 15170}, {4, 15171}, {5, 15172})
TB_LANGUAGE_TABLE(TradeChangeType,
    {-1, 15173}, {0, 15174}, {1, 15175})

#undef TB_DIRECTION_TABLE
#undef TB_LOAN_DIRECTION_TABLE
#undef TB_INDEXED_PAIR_TABLE
#undef TB_PAIR_TABLE
#undef TB_CLEARING_TABLE
#undef TB_LOAN_TYPE_TABLE
#undef TB_LANGUAGE_TABLE
