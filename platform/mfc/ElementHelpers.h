#pragma once
// The helpers the collection templates call on their elements: equality for Find and Lookup,
// and the hash that picks a map bucket. A key type of the system's own (a pair of texts)
// specialises HashKey for its ARG_KEY, as with the original library.
#include <type_traits>
#include "platform/mfc/String.h"

// The original compiler let a temporary bind to a non-const reference, and code written for
// it passes temporaries as ARG_TYPE& arguments; the collections take them as const references.
template<class ARG_TYPE>
using TbArgIn = const std::remove_reference_t<ARG_TYPE>&;

template<class TYPE, class ARG_TYPE>
inline BOOL CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2)
{
    return *pElement1 == *pElement2;
}

// Numbers, enumerations, characters and pointers: the key shifted right by four bits, taken
// as 32 bits first as the 32-bit original did, so maps walk their keys in the original order.
template<class ARG_KEY>
inline UINT HashKey(ARG_KEY key)
{
    using KeyType = std::remove_cv_t<std::remove_reference_t<ARG_KEY>>;
    if constexpr (std::is_pointer_v<KeyType>) {
        return static_cast<UINT>(reinterpret_cast<UINT_PTR>(key) >> 4);
    } else {
        static_assert(std::is_integral_v<KeyType> || std::is_enum_v<KeyType>,
                      "a key of this type needs its own HashKey specialisation");
        return static_cast<UINT>(static_cast<DWORD>(key) >> 4);
    }
}

// Texts: hash * 33 + byte, the bytes taken as signed chars as the original compiler had them.
inline UINT HashText(LPCSTR psz)
{
    UINT nHash = 0;
    for (; psz != nullptr && *psz != '\0'; ++psz)
        nHash = (nHash << 5) + nHash + static_cast<UINT>(static_cast<int>(static_cast<signed char>(*psz)));
    return nHash;
}
template<> inline UINT HashKey<LPCSTR>(LPCSTR key) { return HashText(key); }
template<> inline UINT HashKey<LPSTR>(LPSTR key) { return HashText(key); }
template<> inline UINT HashKey<CString>(CString key) { return HashText(key); }
template<> inline UINT HashKey<const CString&>(const CString& key) { return HashText(key); }
template<> inline UINT HashKey<CString&>(CString& key) { return HashText(key); }
