#pragma once
// The form in which the model hands every entity to the server: field name to its text in wire
// form. Doubles always carry a '.', whatever the locale; dates and times are in the server's
// compact forms (SimClock.h); texts are UTF-8.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

using CSimRecord = std::map<std::string, std::string>;

// A fixed-point amount (nUnits / 10^nDecimals) as text with exactly nDecimals digits after the
// '.'; no double on the way, so a price on a tick prints as that tick.
std::string FormatUnits(int64_t nUnits, int nDecimals);
// A double with nDecimals digits (at least 1, so the '.' is always there).
std::string FormatDouble(double dValue, int nDecimals);
// Writes into an existing field: a record reused from event to event keeps its nodes and the
// strings' buffers, so an update allocates nothing.
void SetField(CSimRecord& rec, const char* pszName, const std::string& strValue);
void SetField(CSimRecord& rec, const char* pszName, int64_t nValue);
// The text of a field, "" when the record lacks it.
const std::string& GetField(const CSimRecord& rec, const std::string& strName);
// A field as a number, whatever the process's locale; 0 when it does not start with one.
double GetDouble(const CSimRecord& rec, const std::string& strName);

// The fields of a record that is rewritten event after event, bound once by name: writes go
// straight into the map's nodes, with no search and, once the texts have room, no allocation.
// Map nodes stay put when the map moves, but a copy of the record is not bound.
class CSimRecordSlots
{
public:
    void Bind(CSimRecord& rec, const char* const* ppszNames, size_t nCount);
    std::string& operator[](size_t i) { return *m_slots[i]; }
private:
    std::vector<std::string*> m_slots;
};
// FormatUnits and the integer form of SetField, written into an existing string.
void AssignUnits(std::string& str, int64_t nUnits, int nDecimals);
void AssignInt(std::string& str, int64_t nValue);
