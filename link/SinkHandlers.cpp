#include "link/SinkHandlers.h"

#include <cstdint>
#include "link/MessageTypes.h"

namespace {

// The handler of each slot, generated from the same list as the slots themselves.
const SinkHandler s_handlers[] = {
    nullptr,
#define TB_MESSAGE(mn, code, kind, field, role) &CZorvatMessageSink::On##mn,
#define TB_MESSAGE_GAP(slot) nullptr,
#define TB_MESSAGE_NOSINK(mn, code)
#include "link/MessageTypeList.h"
};
static_assert(sizeof(s_handlers) / sizeof(s_handlers[0]) == MESSAGE_SLOT_TICK, "one handler per slot");

// The defaults of every slot, read once from a sink that overrides nothing. A virtual member
// pointer holds the handler's byte offset in the table: plus one on most targets, with the
// flag moved to the adjustment on ARM. Other compilers leave every entry unknown.
class CDefaultHandlers
{
public:
    CDefaultHandlers()
    {
#if defined(__GNUC__)
        const CZorvatMessageSink base;
        const void* const* pTable = CDefaultHandler::VirtualTable(&base);
        for (size_t nSlot = 1; nSlot < MESSAGE_SLOT_TICK; ++nSlot) {
            if (s_handlers[nSlot] == nullptr)
                continue;
            struct {
                uintptr_t nPtr;
                ptrdiff_t nAdj;
            } pmf;
            static_assert(sizeof pmf == sizeof(SinkHandler), "a member pointer is two words");
            memcpy(&pmf, &s_handlers[nSlot], sizeof pmf);
#if defined(__arm__) || defined(__aarch64__)
            const bool bVirtual = (pmf.nAdj & 1) != 0;
            const uintptr_t nOffset = pmf.nPtr;
#else
            const bool bVirtual = (pmf.nPtr & 1) != 0;
            const uintptr_t nOffset = pmf.nPtr - 1;
#endif
            if (!bVirtual || nOffset % sizeof(void*) != 0)
                continue;
            m_defaults[nSlot].nIndex = nOffset / sizeof(void*);
            m_defaults[nSlot].pEntry = pTable[m_defaults[nSlot].nIndex];
        }
#endif
    }
    const CDefaultHandler& Get(int nSlot) const
    {
        return nSlot > 0 && nSlot < MESSAGE_SLOT_TICK ? m_defaults[nSlot] : m_defaults[0];
    }

private:
    CDefaultHandler m_defaults[MESSAGE_SLOT_TICK];  // [0] stays unknown
};

const CDefaultHandlers& Defaults()
{
    static const CDefaultHandlers s_defaults;
    return s_defaults;
}

}  // namespace

SinkHandler GetSinkHandler(int nSlot)
{
    return nSlot > 0 && nSlot < MESSAGE_SLOT_TICK ? s_handlers[nSlot] : nullptr;
}

const CDefaultHandler& GetDefaultHandler(int nSlot)
{
    return Defaults().Get(nSlot);
}
