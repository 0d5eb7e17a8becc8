#include "link/MessageTypes.h"

#include <array>
#include <cstring>

namespace {

const int FIRST_CODE = MSG_EN;
const int LAST_CODE = 361;
const int CODE_SLOTS = LAST_CODE - FIRST_CODE + 1;

// Every gap of the list must stand where its number says, or the slots after it are off.
#define TB_MESSAGE(mn, code, kind, field, role)
#define TB_MESSAGE_GAP(slot) static_assert(MESSAGE_SLOT_GAP_##slot == (slot), "gap out of place");
#define TB_MESSAGE_NOSINK(mn, code)
#include "link/MessageTypeList.h"

constexpr MESSAGE_TYPE_INFO s_types[] = {
    {MSG_EN, "EN", MESSAGE_SLOT_NONE, FANOUT_NONE, 0, FALSE},
#define TB_MESSAGE(mn, code, kind, field, role) {code, #mn, MESSAGE_SLOT_##mn, FANOUT_##kind, field, role},
#define TB_MESSAGE_GAP(slot)
#define TB_MESSAGE_NOSINK(mn, code) {code, #mn, MESSAGE_SLOT_NONE, FANOUT_NONE, 0, FALSE},
#include "link/MessageTypeList.h"
};
static_assert(sizeof(s_types) / sizeof(s_types[0]) == MESSAGE_TYPE_COUNT, "one entry per type");

// The table by code, built by the compiler: a code out of range or unused maps to -1.
constexpr std::array<short, CODE_SLOTS> MakeCodeIndex()
{
    std::array<short, CODE_SLOTS> index{};
    for (short& n : index)
        n = -1;
    for (size_t i = 0; i < sizeof(s_types) / sizeof(s_types[0]); ++i)
        index[s_types[i].nCode - FIRST_CODE] = static_cast<short>(i);
    return index;
}
constexpr std::array<short, CODE_SLOTS> s_codeIndex = MakeCodeIndex();

// The two lookups the application registers. The mnemonic side is indexed by the two bytes,
// which keeps the parser's lookup to one load per line.
LPCSTR s_mnemonicOfCode[CODE_SLOTS];
short s_codeOfMnemonic[256 * 256];          // 0 = no entry; no table code is 0
int s_nCodes = 0;
int s_nMnemonics = 0;

int MnemonicIndex(char ch1, char ch2)
{
    return static_cast<unsigned char>(ch1) << 8 | static_cast<unsigned char>(ch2);
}

}  // namespace

const MESSAGE_CODE_PAIR g_messageCodePairs[] = {
    {MSG_EN, "EN"},
#define TB_MESSAGE(mn, code, kind, field, role) {code, #mn},
#define TB_MESSAGE_GAP(slot)
#define TB_MESSAGE_NOSINK(mn, code) {code, #mn},
#include "link/MessageTypeList.h"
    {0, nullptr},
};

const MESSAGE_TYPE_INFO* GetMessageTypeInfo(int nCode)
{
    if (nCode < FIRST_CODE || nCode > LAST_CODE)
        return nullptr;
    const int nIndex = s_codeIndex[nCode - FIRST_CODE];
    return nIndex < 0 ? nullptr : &s_types[nIndex];
}

void RegisterMessageCodes(const MESSAGE_CODE_PAIR* pTable)
{
    if (pTable == nullptr || (s_nCodes > 0 && s_nMnemonics > 0))
        return;
    for (const MESSAGE_CODE_PAIR* p = pTable; p->nCode != 0; ++p) {
        // Only what the lookups can hold: a code of the table's range and two characters.
        if (p->pszMnemonic == nullptr || strlen(p->pszMnemonic) != 2 || p->nCode < FIRST_CODE ||
            p->nCode > LAST_CODE)
            continue;
        LPCSTR& rMnemonic = s_mnemonicOfCode[p->nCode - FIRST_CODE];
        if (rMnemonic == nullptr)
            ++s_nCodes;
        rMnemonic = p->pszMnemonic;
        short& rCode = s_codeOfMnemonic[MnemonicIndex(p->pszMnemonic[0], p->pszMnemonic[1])];
        if (rCode == 0)
            ++s_nMnemonics;
        rCode = static_cast<short>(p->nCode);
    }
}

int GetRegisteredCodeCount()
{
    return s_nCodes;
}

int GetRegisteredMnemonicCount()
{
    return s_nMnemonics;
}

LPCSTR GetMessageMnemonic(int nCode)
{
    if (nCode < FIRST_CODE || nCode > LAST_CODE)
        return nullptr;
    return s_mnemonicOfCode[nCode - FIRST_CODE];
}

int GetMessageCode(char ch1, char ch2)
{
    const short nCode = s_codeOfMnemonic[MnemonicIndex(ch1, ch2)];
    return nCode == 0 ? MESSAGE_TYPE_UNKNOWN : nCode;
}

int GetMessageCode(LPCSTR pszMnemonic)
{
    if (pszMnemonic == nullptr || pszMnemonic[0] == '\0' || pszMnemonic[1] == '\0' || pszMnemonic[2] != '\0')
        return MESSAGE_TYPE_UNKNOWN;
    return GetMessageCode(pszMnemonic[0], pszMnemonic[1]);
}
