#pragma once
// The map from a system handle to the library object over it, one per kind of object (windows,
// menus). A permanent object is the caller's (attached by it); a temporary one is made on demand
// for a live handle without an object and owned here until DeleteTemporary, so that FromHandle
// always has something to answer. TObject names the map a friend: the map sets its handle
// (pHandle) and its m_bTemporary flag.
#include <memory>
#include <unordered_map>
#include "platform/win/WinTypes.h"

template <class THandle, class TObject, THandle TObject::*pHandle>
class CTbHandleMap
{
public:
    // IsLive tells a live handle from a dead one (IsWindow, IsMenu).
    explicit CTbHandleMap(BOOL (*pfnIsLive)(THandle)) : m_pfnIsLive(pfnIsLive) {}

    TObject* FindPermanent(THandle h) const
    {
        auto it = m_permanent.find(h);
        return it == m_permanent.end() ? nullptr : it->second;
    }

    // The permanent object, else the temporary one (made now); null for a dead or null handle.
    TObject* FromHandle(THandle h)
    {
        if (h == nullptr || !m_pfnIsLive(h))
            return nullptr;
        if (TObject* pObject = FindPermanent(h))
            return pObject;
        auto it = m_temporary.find(h);
        if (it != m_temporary.end())
            return it->second.get();
        if (m_temporary.size() >= TEMP_PRUNE_SIZE)
            PruneTemporary();
        auto pObject = std::make_unique<TObject>();
        (*pObject).*pHandle = h;
        pObject->m_bTemporary = TRUE;
        TObject* pResult = pObject.get();
        m_temporary.emplace(h, std::move(pObject));
        return pResult;
    }

    // FALSE when the handle has a permanent object already; a temporary one of it is dropped,
    // since it would outlive its meaning.
    BOOL Attach(THandle h, TObject* pObject)
    {
        if (FindPermanent(h) != nullptr)
            return FALSE;
        auto it = m_temporary.find(h);
        if (it != m_temporary.end()) {
            (*it->second).*pHandle = nullptr;
            m_temporary.erase(it);
        }
        m_permanent[h] = pObject;
        return TRUE;
    }

    void Detach(THandle h, const TObject* pObject)
    {
        auto it = m_permanent.find(h);
        if (it != m_permanent.end() && it->second == pObject)
            m_permanent.erase(it);
    }

    // The temporary objects let go of their handles first: their destructors must not touch them.
    void DeleteTemporary()
    {
        for (auto& entry : m_temporary)
            (*entry.second).*pHandle = nullptr;
        m_temporary.clear();
    }

private:
    // Temporary objects of dead handles are dropped once there are more than this.
    static constexpr size_t TEMP_PRUNE_SIZE = 64;

    void PruneTemporary()
    {
        for (auto it = m_temporary.begin(); it != m_temporary.end();) {
            if (m_pfnIsLive(it->first)) {
                ++it;
                continue;
            }
            (*it->second).*pHandle = nullptr;
            it = m_temporary.erase(it);
        }
    }

    BOOL (*m_pfnIsLive)(THandle);
    std::unordered_map<THandle, TObject*> m_permanent;
    std::unordered_map<THandle, std::unique_ptr<TObject>> m_temporary;
};
