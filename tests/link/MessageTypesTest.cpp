// The type table against the protocol's published lists: codes, handler order, fan-out kinds,
// error fields, the role filter, and the lookups the parser and the request lines use.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include "LinkDoubles.h"
#include "link/MessageTypes.h"

namespace {

// Every pair of the table, in code order.
const char* const s_pszCodes =
    "EN=-3 AA=100 AB=101 AD=102 AH=103 AI=104 AM=105 AN=106 AP=107 AV=108 BF=109 BP=110 CA=111 CB=112 "
    "CE=113 CH=114 CD=115 CR=116 CT=117 DL=118 DR=119 EC=120 EM=121 ET=122 GL=123 GN=124 GS=125 "
    "HB=126 HC=127 HD=128 HH=129 HI=130 HM=131 HO=132 HR=133 HT=134 IC=135 IH=136 IR=137 MC=138 "
    "MV=139 MM=140 MS=141 MT=142 NC=143 NE=144 NH=145 NM=146 NN=147 NO=148 NR=149 NT=150 OC=151 "
    "OM=152 OR=153 OS=154 OV=155 OW=156 PC=157 PF=158 PP=159 PR=160 PW=161 RP=162 RW=163 SA=164 "
    "SE=165 TB=166 TC=167 TH=168 TL=169 TP=170 TR=171 TT=172 UA=173 UB=174 UC=175 UI=176 UL=177 "
    "UM=178 UO=179 UP=180 UR=181 US=182 UT=183 VC=184 VT=185 X9=186 TI=187 TS=188 LT=189 CC=191 "
    "CF=192 CV=193 EF=194 EK=195 GU=196 HS=197 HW=198 IK=199 KA=200 KB=201 KC=202 KD=203 KE=204 "
    "KI=205 KJ=206 KL=207 KM=208 KN=209 KQ=210 KR=211 KS=212 KU=213 KV=214 KW=215 LP=216 PB=217 "
    "PK=218 RK=219 RS=220 TK=221 UK=222 VM=223 XH=224 XR=225 RL=226 RR=227 TU=228 SL=229 KT=230 "
    "PT=231 TW=232 HK=233 NS=234 IU=235 LL=236 QQ=237 TM=238 OU=239 OO=240 SQ=241 TE=242 OB=243 "
    "OD=244 RU=245 HJ=246 DK=247 NK=248 NX=249 HE=250 DE=251 CN=252 EE=253 HN=254 CK=255 TD=256 "
    "LC=257 VE=258 HF=259 IX=260 LX=261 FC=262 FO=263 FM=264 FE=265 FQ=266 FW=267 NF=268 FR=269 "
    "OI=270 RF=271 FT=272 GG=273 GM=274 CU=275 DQ=276 DX=277 SF=278 SI=279 NW=280 CM=281 ES=282 "
    "ND=283 NI=284 NY=285 SB=286 KH=287 NZ=288 MF=289 LF=290 FX=291 LV=292 DV=293 MD=294 LM=295 "
    "EG=296 MP=297 ML=298 MN=299 GT=300 GP=301 GH=302 GQ=303 GO=304 XO=305 IN=306 LI=307 CL=308 "
    "HX=309 RC=310 VX=311 EX=312 ST=313 XC=314 DS=315 XI=316 RN=317 SX=318 L2=319 VS=320 LB=321 "
    "BD=322 BM=323 KY=324 A1=325 L3=326 OA=327 AY=328 FP=329 CZ=330 IY=331 RV=332 LY=333 MO=334 "
    "WF=335 WY=336 PX=337 NU=338 RI=339 MI=340 LW=341 EW=342 WP=343 WM=344 BW=345 SV=346 ZM=347 "
    "VV=348 NV=349 F1=350 F2=351 F3=352 QR=353 BL=354 BX=355 TY=356 TZ=357 VY=358 VZ=359 RO=360 "
    "DA=361";

// The sinks' handler order, slot 1 first; "--" is a slot without a type.
const char* const s_pszSlots =
    "AA AB AD AH AI AM AN AP AV BF CA CB CD CE CH CR CT RO DL DR EC EM ET GL GN GS HB HC HD HH HI HM "
    "HO HR HT IH IR LT MC MV MM MS MT NC NH NM NN NO NR NT OC OM OR OS OV OW PC PF PP PR RP RW SA SE "
    "TB TC TH TI TL TP TR TS TT UA UB UC UI UL UM UO UP UR US UT VC VT -- CC CF -- EF EK -- HS HW IK "
    "KA KB KC KD KE KI KJ KL KM KN KQ KR NU KS KU KV KW -- PB PK RI RK RL RR RS TK UK -- XH XR TU SL "
    "KT PT TW HK NS IU LL QQ TM OU OO SQ TE OB OD RU HJ DK NK NX HE DE CN EE HN CK TD LC -- HF LX IX "
    "FM FE FQ FW NF FR OI RF GG GM CU DQ DX SF SI NW CM ES ND NI NY SB KH NZ MF LF FX LV DV MD LM EG "
    "MP ML MN GT GP GH GQ GO XO IN LI CL HX RC VX EX ST XC DS XI RN SX L2 VS LB BD BM L3 OA AY FP CZ "
    "KY A1 IY RV LY MO WF WY PX MI EW LW WP WM BW SV ZM NV VV VY VZ F1 F2 F3 QR BX BL TY TZ DA";

// The error-checked types by their error field.
const std::map<int, const char*> s_errorFields = {
    {-1, "AH AM AN AV CA CD CR CT RO EM GL HB HC HD HI HR HT LT NN TL TP TT UT"},
    {0, "PC CF EF EK HS HW IK KB KN KS RK RL TK UK XH SL PT TW HK SQ TE OB OD HJ HE CN HN CK LC HF LX FE FQ "
        "FR OI DQ DX SF SI ND NY KH NZ LF LV MD LM ML GP GH XC DS SX VS LB AY KY A1 IY LY WY LW WP ZM NV VY F2 "
        "F3 BL TY"},
    {1, "BF UL US VT"}, {2, "CE"}, {3, "CH IH PP PR TB UP"}, {5, "ET HH HM"}, {6, "HO RW"}, {8, "OS"},
    {9, "RP"}, {12, "TH"}};
const char* const s_pszCheckedWithoutStream = "BF RW UL US";
const char* const s_pszStreams = "GO LI CL HX VX ST";
const char* const s_pszRoleFiltered =
    "NC NH NM NN NO NT IK RR NS IU LL QQ TM OU OO RU NX IX FM FW NF OI RF CU NW NI NY NZ FX";
const char* const s_pszWithoutHandler = "BP X9 IC NE PW CV GU LP VM VE FC FO FT";

std::vector<std::string> Words(const char* psz)
{
    std::istringstream in(psz);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

std::set<std::string> WordSet(const char* psz)
{
    const auto words = Words(psz);
    return {words.begin(), words.end()};
}

std::map<std::string, int> Codes()
{
    std::map<std::string, int> codes;
    for (const std::string& pair : Words(s_pszCodes))
        codes[pair.substr(0, 2)] = std::stoi(pair.substr(3));
    return codes;
}

class MessageTypes : public ::testing::Test
{
protected:
    void SetUp() override { RegisterCodesForTest(); }
};

}  // namespace

TEST_F(MessageTypes, TableHoldsEveryPublishedPairOnce)
{
    const auto codes = Codes();
    ASSERT_EQ(262u, codes.size());
    std::set<int> seen;
    int nPairs = 0;
    for (const MESSAGE_CODE_PAIR* p = g_messageCodePairs; p->nCode != 0; ++p, ++nPairs) {
        auto it = codes.find(p->pszMnemonic);
        ASSERT_NE(codes.end(), it) << p->pszMnemonic;
        EXPECT_EQ(it->second, p->nCode) << p->pszMnemonic;
        EXPECT_TRUE(seen.insert(p->nCode).second) << "code twice: " << p->nCode;
    }
    EXPECT_EQ(262, nPairs);
    EXPECT_EQ(nullptr, GetMessageTypeInfo(190));    // the one unused code inside the range
}

TEST_F(MessageTypes, LookupsAfterRegistration)
{
    const int nCodes = GetRegisteredCodeCount();
    RegisterMessageCodes(g_messageCodePairs);          // a second registration changes nothing
    EXPECT_EQ(262, nCodes);
    EXPECT_EQ(262, GetRegisteredCodeCount());
    EXPECT_EQ(262, GetRegisteredMnemonicCount());

    for (const auto& [mnemonic, nCode] : Codes()) {
        EXPECT_EQ(nCode, GetMessageCode(mnemonic.c_str())) << mnemonic;
        ASSERT_NE(nullptr, GetMessageMnemonic(nCode)) << nCode;
        EXPECT_EQ(mnemonic, GetMessageMnemonic(nCode));
    }
    EXPECT_STREQ("EN", GetMessageMnemonic(-3));
    EXPECT_EQ(nullptr, GetMessageMnemonic(190));
    EXPECT_EQ(nullptr, GetMessageMnemonic(362));
    EXPECT_EQ(nullptr, GetMessageMnemonic(-1));
    EXPECT_EQ(nullptr, GetMessageMnemonic(-2));
    EXPECT_EQ(nullptr, GetMessageMnemonic(100000));
    EXPECT_EQ(MESSAGE_TYPE_UNKNOWN, GetMessageCode("ZZ"));
    EXPECT_EQ(MESSAGE_TYPE_UNKNOWN, GetMessageCode("ul"));      // mnemonics are upper case
    EXPECT_EQ(MESSAGE_TYPE_UNKNOWN, GetMessageCode("U"));
    EXPECT_EQ(MESSAGE_TYPE_UNKNOWN, GetMessageCode("ULX"));
    EXPECT_EQ(MESSAGE_TYPE_UNKNOWN, GetMessageCode(nullptr));
    EXPECT_EQ(MESSAGE_TYPE_UNKNOWN, GetMessageCode('\xE9', '\xFF'));
}

TEST_F(MessageTypes, HandlerSlotsFollowThePublishedOrder)
{
    const auto codes = Codes();
    const auto slots = Words(s_pszSlots);
    ASSERT_EQ(254u, slots.size());
    std::set<std::string> withHandler;
    for (size_t i = 0; i < slots.size(); ++i) {
        if (slots[i] == "--")
            continue;
        withHandler.insert(slots[i]);
        const MESSAGE_TYPE_INFO* pInfo = GetMessageTypeInfo(codes.at(slots[i]));
        ASSERT_NE(nullptr, pInfo) << slots[i];
        EXPECT_EQ(static_cast<int>(i) + 1, pInfo->nSlot) << slots[i];
    }
    EXPECT_EQ(248u, withHandler.size());
    // The rest of the table reaches no sink.
    for (const std::string& mnemonic : Words(s_pszWithoutHandler)) {
        EXPECT_EQ(0u, withHandler.count(mnemonic));
        EXPECT_EQ(MESSAGE_SLOT_NONE, GetMessageTypeInfo(codes.at(mnemonic))->nSlot) << mnemonic;
    }
    EXPECT_EQ(MESSAGE_SLOT_NONE, GetMessageTypeInfo(MSG_EN)->nSlot);
    EXPECT_EQ(255, MESSAGE_SLOT_TICK);
    EXPECT_EQ(257, MESSAGE_SLOT_RECORD);
    EXPECT_EQ(258, MESSAGE_SLOT_END);
}

TEST_F(MessageTypes, FanOutKindsAndErrorFieldsMatchThePublishedLists)
{
    const auto codes = Codes();
    const auto noStream = WordSet(s_pszCheckedWithoutStream);
    const auto streams = WordSet(s_pszStreams);
    const auto roleFiltered = WordSet(s_pszRoleFiltered);
    std::map<std::string, int> errorField;
    for (const auto& [nField, pszTypes] : s_errorFields) {
        for (const std::string& mnemonic : Words(pszTypes))
            errorField[mnemonic] = nField;
    }
    ASSERT_EQ(112u, errorField.size());

    std::map<int, int> kinds;
    int nRoleFiltered = 0;
    for (const auto& [mnemonic, nCode] : codes) {
        const MESSAGE_TYPE_INFO* pInfo = GetMessageTypeInfo(nCode);
        ASSERT_NE(nullptr, pInfo);
        EXPECT_STREQ(mnemonic.c_str(), pInfo->szMnemonic);
        EXPECT_EQ(roleFiltered.count(mnemonic) ? TRUE : FALSE, pInfo->bRoleFiltered) << mnemonic;
        nRoleFiltered += pInfo->bRoleFiltered;
        if (pInfo->nSlot == MESSAGE_SLOT_NONE) {
            EXPECT_EQ(FANOUT_NONE, pInfo->nFanOut) << mnemonic;
            continue;
        }
        ++kinds[pInfo->nFanOut];
        if (streams.count(mnemonic)) {
            EXPECT_EQ(FANOUT_STREAM, pInfo->nFanOut) << mnemonic;
        } else if (errorField.count(mnemonic)) {
            EXPECT_EQ(noStream.count(mnemonic) ? FANOUT_CHECKED : FANOUT_REPLY, pInfo->nFanOut) << mnemonic;
            EXPECT_EQ(errorField[mnemonic], pInfo->nErrorField) << mnemonic;
        } else {
            EXPECT_EQ(FANOUT_PLAIN, pInfo->nFanOut) << mnemonic;
        }
    }
    EXPECT_EQ(130, kinds[FANOUT_PLAIN]);
    EXPECT_EQ(108, kinds[FANOUT_REPLY]);
    EXPECT_EQ(4, kinds[FANOUT_CHECKED]);
    EXPECT_EQ(6, kinds[FANOUT_STREAM]);
    EXPECT_EQ(29, nRoleFiltered);
}

TEST_F(MessageTypes, EachFanOutCallsTheHandlerOfItsMnemonic)
{
    // The handler table of the source is built apart from the sink's functions: a slot off by
    // one would send "OB" to OnOD.
    CEventLog log;
    CZorvatMessageSource source;
    CRecordingSink sink("s", &log);
    ASSERT_TRUE(source.AddSink(sink.GetSinkRecord()));
    for (const auto& [mnemonic, nCode] : Codes()) {
        CServerMessage msg(("$" + mnemonic + "|1|XC||0").c_str(), 1);     // '$': never an error
        log.clear();
        const BOOL bHandled = source.FireType(nCode, &msg, -1);
        if (GetMessageTypeInfo(nCode)->nSlot == MESSAGE_SLOT_NONE) {
            EXPECT_FALSE(bHandled) << mnemonic;
            EXPECT_TRUE(log.empty()) << mnemonic;
        } else {
            EXPECT_TRUE(bHandled) << mnemonic;
            EXPECT_EQ("s On" + mnemonic + " 0", Joined(log)) << mnemonic;
        }
        source.FireEN(&msg, -1);    // closes any stream the type opened
    }
}
