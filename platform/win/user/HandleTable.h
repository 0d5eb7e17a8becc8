#pragma once
// Handles for the layer's objects (windows, DCs, GDI objects). A handle is a slot index, the
// table's kind above it and the slot's generation above that: a handle of a freed object never
// finds the slot's next tenant, and a handle of one table is never a live handle of another
// (a bitmap is never taken for a DC, a menu never for a window).
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

// One kind per table, so the tables' handle values never meet.
enum TbHandleKind : uint32_t {
    TB_HANDLE_WINDOW = 1,
    TB_HANDLE_MENU = 2,
    TB_HANDLE_ACCEL = 3,
    TB_HANDLE_DC = 4,
    TB_HANDLE_GDI = 5,
};

template <class T>
class CTbHandleTable
{
public:
    explicit CTbHandleTable(TbHandleKind nKind) : m_nKind(nKind) {}
    // Takes the object and answers its handle value (never 0).
    uintptr_t Add(std::shared_ptr<T> pObject)
    {
        uint32_t nIndex;
        // Free slots are reused oldest first, so a slot's generation grows slowly.
        if (m_free.size() > MIN_FREE) {
            nIndex = m_free.front();
            m_free.pop_front();
        } else {
            nIndex = static_cast<uint32_t>(m_slots.size());
            if (nIndex > INDEX_MASK)
                return 0;
            m_slots.push_back(Slot());
        }
        Slot& slot = m_slots[nIndex];
        ++slot.nGeneration;
        slot.pObject = std::move(pObject);
        return (static_cast<uintptr_t>(slot.nGeneration) << GENERATION_SHIFT) | (uintptr_t(m_nKind) << INDEX_BITS) | nIndex;
    }
    T* Find(uintptr_t h) const
    {
        const Slot* pSlot = SlotOf(h);
        return pSlot ? pSlot->pObject.get() : nullptr;
    }
    std::shared_ptr<T> FindShared(uintptr_t h) const
    {
        const Slot* pSlot = SlotOf(h);
        return pSlot ? pSlot->pObject : nullptr;
    }
    // Drops the table's reference; the handle is invalid from here on.
    std::shared_ptr<T> Remove(uintptr_t h)
    {
        Slot* pSlot = const_cast<Slot*>(SlotOf(h));
        if (!pSlot)
            return nullptr;
        std::shared_ptr<T> pObject = std::move(pSlot->pObject);
        pSlot->pObject.reset();
        m_free.push_back(static_cast<uint32_t>(h & INDEX_MASK));
        return pObject;
    }
    template <class F> void ForEach(F f) const
    {
        for (const Slot& slot : m_slots)
            if (slot.pObject)
                f(slot.pObject.get());
    }

private:
    static constexpr int INDEX_BITS = 17;
    static constexpr int KIND_BITS = 3;
    static constexpr int GENERATION_SHIFT = INDEX_BITS + KIND_BITS;
    static constexpr uintptr_t INDEX_MASK = (uintptr_t(1) << INDEX_BITS) - 1;
    static constexpr uintptr_t KIND_MASK = (uintptr_t(1) << KIND_BITS) - 1;
    static constexpr size_t MIN_FREE = 64;
    struct Slot {
        std::shared_ptr<T> pObject;
        uint64_t nGeneration = 0;
    };
    const Slot* SlotOf(uintptr_t h) const
    {
        size_t nIndex = h & INDEX_MASK;
        uint64_t nGeneration = static_cast<uint64_t>(h >> GENERATION_SHIFT);
        if (h == 0 || ((h >> INDEX_BITS) & KIND_MASK) != m_nKind || nIndex >= m_slots.size())
            return nullptr;
        const Slot& slot = m_slots[nIndex];
        return (slot.pObject && slot.nGeneration == nGeneration) ? &slot : nullptr;
    }
    TbHandleKind m_nKind;
    std::vector<Slot> m_slots = std::vector<Slot>(1);   // slot 0 stays empty
    std::deque<uint32_t> m_free;
};
