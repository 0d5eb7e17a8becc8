#pragma once
// Message types: every server line and request names its type by a two-letter mnemonic; inside
// the program a type is an integer. The codes, the sinks' handler slots and the fan-out of each
// type come from the one list in MessageTypeList.h.
#include "platform/win/WinTypes.h"

// Values of a message type that no mnemonic of the table carries.
#define MESSAGE_TYPE_UNKNOWN (-1)       // a mnemonic that the table lacks
#define MESSAGE_TYPE_DATA_ROW (-2)      // a line without a mnemonic: one row of a reply
#define MESSAGE_TYPE_COUNT 262          // distinct pairs of the table, "EN" included

// The codes by name: MSG_UL is 177, MSG_EN is -3.
enum MESSAGE_CODE
{
    MSG_EN = -3,
#define TB_MESSAGE(mn, code, kind, field, role) MSG_##mn = code,
#define TB_MESSAGE_GAP(slot)
#define TB_MESSAGE_NOSINK(mn, code) MSG_##mn = code,
#include "link/MessageTypeList.h"
};

// The handler slots of CZorvatMessageSink, numbered from 1 in the order of the list.
enum MESSAGE_SLOT
{
    MESSAGE_SLOT_NONE = 0,              // types that reach no sink
#define TB_MESSAGE(mn, code, kind, field, role) MESSAGE_SLOT_##mn,
#define TB_MESSAGE_GAP(slot) MESSAGE_SLOT_GAP_##slot,
#define TB_MESSAGE_NOSINK(mn, code)
#include "link/MessageTypeList.h"
    MESSAGE_SLOT_TICK,                  // 255, once a second
    MESSAGE_SLOT_UNUSED,                // 256, never called
    MESSAGE_SLOT_RECORD,                // 257, a data row of a reply
    MESSAGE_SLOT_END,                   // 258, "EN"
};
static_assert(MESSAGE_SLOT_TICK == 255, "the list must fill the slots 1 to 254");

enum MESSAGE_FANOUT
{
    FANOUT_NONE,        // no sink handler
    FANOUT_PLAIN,       // every sink's handler
    FANOUT_REPLY,       // error check, handlers, then the reply stream is open
    FANOUT_CHECKED,     // error check and handlers only
    FANOUT_STREAM,      // handlers, then the reply stream is open
};

struct MESSAGE_TYPE_INFO
{
    int nCode;
    char szMnemonic[3];
    int nSlot;                  // MESSAGE_SLOT_NONE for types without a handler
    int nFanOut;                // MESSAGE_FANOUT
    int nErrorField;            // REPLY and CHECKED: the data field of the error, -1 the last
    BOOL bRoleFiltered;         // dropped for a user of a restricted role
};

// What the table says of a code ("EN" included); null for any other value.
const MESSAGE_TYPE_INFO* GetMessageTypeInfo(int nCode);

// The static type table as {code, mnemonic} pairs, ending with {0, nullptr}.
struct MESSAGE_CODE_PAIR
{
    int nCode;
    const char* pszMnemonic;
};
extern const MESSAGE_CODE_PAIR g_messageCodePairs[];

// Loads the two lookups from a table of pairs; does nothing when they already hold entries.
// The application calls it once at start-up, before any line can arrive; until then no code
// has a mnemonic and no mnemonic a code.
void RegisterMessageCodes(const MESSAGE_CODE_PAIR* pTable);
int GetRegisteredCodeCount();       // entries of the code-to-mnemonic lookup
int GetRegisteredMnemonicCount();   // entries of the mnemonic-to-code lookup

// The mnemonic of a code, or null when it has none.
LPCSTR GetMessageMnemonic(int nCode);
// The code of a mnemonic, or MESSAGE_TYPE_UNKNOWN. The two-character form is the parser's.
int GetMessageCode(char ch1, char ch2);
int GetMessageCode(LPCSTR pszMnemonic);
