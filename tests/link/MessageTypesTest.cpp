// The type table against the protocol's published lists: codes, handler order, fan-out kinds,
// error fields and the role filter; the lookups and the handler each fan-out reaches.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>
#include "LinkDoubles.h"

namespace {

// The sinks' handler order, slot 1 first ("--": no type), then the types without a handler.
const char* const s_pszSlots =
    "AA AB AD AH AI AM AN AP AV BF CA CB CD CE CH CR CT RO DL DR EC EM ET GL GN GS HB HC HD HH HI HM "
    "HO HR HT IH IR LT MC MV MM MS MT NC NH NM NN NO NR NT OC OM OR OS OV OW PC PF PP PR RP RW SA SE "
    "TB TC TH TI TL TP TR TS TT UA UB UC UI UL UM UO UP UR US UT VC VT -- CC CF -- EF EK -- HS HW IK "
    "KA KB KC KD KE KI KJ KL KM KN KQ KR NU KS KU KV KW -- PB PK RI RK RL RR RS TK UK -- XH XR TU SL "
    "KT PT TW HK NS IU LL QQ TM OU OO SQ TE OB OD RU HJ DK NK NX HE DE CN EE HN CK TD LC -- HF LX IX "
    "FM FE FQ FW NF FR OI RF GG GM CU DQ DX SF SI NW CM ES ND NI NY SB KH NZ MF LF FX LV DV MD LM EG "
    "MP ML MN GT GP GH GQ GO XO IN LI CL HX RC VX EX ST XC DS XI RN SX L2 VS LB BD BM L3 OA AY FP CZ "
    "KY A1 IY RV LY MO WF WY PX MI EW LW WP WM BW SV ZM NV VV VY VZ F1 F2 F3 QR BX BL TY TZ DA";
const char* const s_pszWithoutHandler = "BP X9 IC NE PW CV GU LP VM VE FC FO FT";
// The codes 100 to 361 in order (190 unused), "EN" apart.
const char* const s_pszByCode =
    "AA AB AD AH AI AM AN AP AV BF BP CA CB CE CH CD CR CT DL DR EC EM ET GL GN GS HB HC HD HH HI HM HO "
    "HR HT IC IH IR MC MV MM MS MT NC NE NH NM NN NO NR NT OC OM OR OS OV OW PC PF PP PR PW RP RW SA SE "
    "TB TC TH TL TP TR TT UA UB UC UI UL UM UO UP UR US UT VC VT X9 TI TS LT -- CC CF CV EF EK GU HS HW "
    "IK KA KB KC KD KE KI KJ KL KM KN KQ KR KS KU KV KW LP PB PK RK RS TK UK VM XH XR RL RR TU SL KT PT "
    "TW HK NS IU LL QQ TM OU OO SQ TE OB OD RU HJ DK NK NX HE DE CN EE HN CK TD LC VE HF IX LX FC FO FM "
    "FE FQ FW NF FR OI RF FT GG GM CU DQ DX SF SI NW CM ES ND NI NY SB KH NZ MF LF FX LV DV MD LM EG MP "
    "ML MN GT GP GH GQ GO XO IN LI CL HX RC VX EX ST XC DS XI RN SX L2 VS LB BD BM KY A1 L3 OA AY FP CZ "
    "IY RV LY MO WF WY PX NU RI MI LW EW WP WM BW SV ZM VV NV F1 F2 F3 QR BL BX TY TZ VY VZ RO DA";
const std::map<int, const char*> s_errorFields = {
    {-1, "AH AM AN AV CA CD CR CT RO EM GL HB HC HD HI HR HT LT NN TL TP TT UT"},
    {0, "PC CF EF EK HS HW IK KB KN KS RK RL TK UK XH SL PT TW HK SQ TE OB OD HJ HE CN HN CK LC HF LX FE FQ "
        "FR OI DQ DX SF SI ND NY KH NZ LF LV MD LM ML GP GH XC DS SX VS LB AY KY A1 IY LY WY LW WP ZM NV VY F2 "
        "F3 BL TY"},
    {1, "BF UL US VT"}, {2, "CE"}, {3, "CH IH PP PR TB UP"}, {5, "ET HH HM"}, {6, "HO RW"}, {8, "OS"},
    {9, "RP"}, {12, "TH"}};
const char* const s_pszNoStream = "BF RW UL US";
const char* const s_pszStreams = "GO LI CL HX VX ST";
const char* const s_pszRoleFiltered =
    "NC NH NM NN NO NT IK RR NS IU LL QQ TM OU OO RU NX IX FM FW NF OI RF CU NW NI NY NZ FX";

std::vector<std::string> Words(const char* psz)
{
    std::istringstream in(psz);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

bool Has(const char* pszList, const std::string& word)
{
    const auto words = Words(pszList);
    return std::find(words.begin(), words.end(), word) != words.end();
}

std::map<std::string, int> Codes()
{
    std::map<std::string, int> codes{{"EN", -3}};
    int nCode = 100;
    for (const std::string& mnemonic : Words(s_pszByCode)) {
        if (mnemonic != "--")
            codes[mnemonic] = nCode;
        ++nCode;
    }
    return codes;
}

}  // namespace

TEST(MessageTypes, TableMatchesThePublishedLists)
{
    const auto codes = Codes();
    ASSERT_EQ(262u, codes.size());
    int nPairs = 0;
    for (const MESSAGE_CODE_PAIR* p = g_messageCodePairs; p->nCode != 0; ++p, ++nPairs)
        EXPECT_EQ(codes.at(p->pszMnemonic), p->nCode) << p->pszMnemonic;
    EXPECT_EQ(262, nPairs);

    std::map<std::string, int> slots, errorField;
    const auto order = Words(s_pszSlots);
    ASSERT_EQ(254u, order.size());
    for (size_t i = 0; i < order.size(); ++i)
        slots[order[i]] = static_cast<int>(i) + 1;
    for (const auto& [nField, pszTypes] : s_errorFields)
        for (const std::string& mnemonic : Words(pszTypes))
            errorField[mnemonic] = nField;
    ASSERT_EQ(112u, errorField.size());

    std::map<int, int> kinds;
    int nRoleFiltered = 0;
    for (const auto& [mnemonic, nCode] : codes) {
        SCOPED_TRACE(mnemonic);
        const MESSAGE_TYPE_INFO* pInfo = GetMessageTypeInfo(nCode);
        ASSERT_NE(nullptr, pInfo);
        EXPECT_EQ(mnemonic, pInfo->szMnemonic);
        EXPECT_EQ(Has(s_pszRoleFiltered, mnemonic), pInfo->bRoleFiltered != FALSE);
        nRoleFiltered += pInfo->bRoleFiltered;
        ++kinds[pInfo->nFanOut];
        if (!slots.count(mnemonic)) {
            EXPECT_TRUE(mnemonic == "EN" || Has(s_pszWithoutHandler, mnemonic));
            EXPECT_EQ(MESSAGE_SLOT_NONE, pInfo->nSlot);
            EXPECT_EQ(FANOUT_NONE, pInfo->nFanOut);
            continue;
        }
        EXPECT_EQ(slots[mnemonic], pInfo->nSlot);
        if (Has(s_pszStreams, mnemonic)) {
            EXPECT_EQ(FANOUT_STREAM, pInfo->nFanOut);
        } else if (errorField.count(mnemonic)) {
            EXPECT_EQ(Has(s_pszNoStream, mnemonic) ? FANOUT_CHECKED : FANOUT_REPLY, pInfo->nFanOut);
            EXPECT_EQ(errorField[mnemonic], pInfo->nErrorField);
        } else {
            EXPECT_EQ(FANOUT_PLAIN, pInfo->nFanOut);
        }
    }
    EXPECT_EQ(130, kinds[FANOUT_PLAIN]);
    EXPECT_EQ(108, kinds[FANOUT_REPLY]);
    EXPECT_EQ(4, kinds[FANOUT_CHECKED]);
    EXPECT_EQ(6, kinds[FANOUT_STREAM]);
    EXPECT_EQ(29, nRoleFiltered);
    EXPECT_EQ(nullptr, GetMessageTypeInfo(190));
}

TEST(MessageTypes, LookupsAndTheHandlerOfEachFanOut)
{
    RegisterCodesForTest();
    RegisterMessageCodes(g_messageCodePairs);          // a second registration changes nothing
    EXPECT_EQ(262, GetRegisteredCodeCount());
    EXPECT_EQ(262, GetRegisteredMnemonicCount());
    EXPECT_STREQ("EN", GetMessageMnemonic(MSG_EN));     // so "EN" lines can be formatted too
    for (int nCode : {190, 362, 99, -1, -2, 100000})
        EXPECT_EQ(nullptr, GetMessageMnemonic(nCode)) << nCode;
    for (LPCSTR psz : std::initializer_list<LPCSTR>{"ZZ", "ul", "U", "ULX", "", nullptr})
        EXPECT_EQ(MESSAGE_TYPE_UNKNOWN, GetMessageCode(psz)) << (psz ? psz : "null");

    // The source's handler table is built apart from the sink's functions: a slot off by one
    // would send "OB" to OnOD.
    CEventLog log;
    CZorvatMessageSource source;
    CRecordingSink sink("s", &log);
    source.AddSink(sink.GetSinkRecord());
    for (const auto& [mnemonic, nCode] : Codes()) {
        EXPECT_EQ(nCode, GetMessageCode(mnemonic.c_str())) << mnemonic;
        EXPECT_STREQ(mnemonic.c_str(), GetMessageMnemonic(nCode));
        CServerMessage msg(("$" + mnemonic + "|1|XC||0").c_str(), 1);
        const BOOL bHandled = source.FireType(nCode, &msg, -1);
        const bool bHasSlot = GetMessageTypeInfo(nCode)->nSlot != MESSAGE_SLOT_NONE;
        EXPECT_EQ(bHasSlot, bHandled != FALSE) << mnemonic;
        EXPECT_EQ(bHasSlot ? "s On" + mnemonic + " 0" : "", Take(log)) << mnemonic;
        source.FireEN(&msg, -1);    // closes any stream the type opened
        log.clear();
    }
}
