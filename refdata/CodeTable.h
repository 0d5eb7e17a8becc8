#pragma once
// The shape every code table of CZorvatTypes shares: a hash map from a server code to its record
// {code, text}, filled once by its constructor from its line of CodeTableList.h. The texts come
// from the resource module current at that moment; a later language change does not reload them.
//
// Readers never hold a table: they call the class's static operations, which reach the one table
// CZorvatTypes made and answer as for a missing code while it does not exist, so that a grid
// painted before the tables are built, or after they are gone, shows numbers instead of failing.
#include <climits>
#include <cstdio>
#include <cstring>
#include "framework/base/ColumnDataType.h"
#include "framework/table/CodeFormats.h"
#include "platform/mfc/Map.h"
#include "platform/mfc/String.h"

// Who reads a table besides its holder; an operation a table's readers do not need is not there.
#define CT_TEXT     1               // GetText
#define CT_CODE     2               // GetCodeByText
#define CT_COLUMN   4               // FormatCodeColumn, a computed grid column's callback
#define CODE_NONE   INT_MIN         // no stand-in code: a missing code shows as its number
#define BRANDED     TRUE            // the text comes from the branding module first

// One code of a table: a string id, or a literal text ("" for an empty one).
struct CCodeEntry
{
    int nCode;
    UINT nId;
    LPCSTR pszText = nullptr;       // null: load nId
    BOOL bBranding = FALSE;         // nId from the branding module, the language library if it lacks it
};

// The entry's text: its literal, else its string id loaded now.
CString LoadCodeText(const CCodeEntry& entry);

// Writes pszText into a column callback's buffer, cut to nSize - 1 bytes and terminated.
void CopyCodeText(char* pszBuf, int nSize, LPCSTR pszText);

// The record's text field: "text" for most tables, "name" for the tables of names.
template<class TRecord>
inline auto& CodeRecordText(TRecord& rec)
{
    if constexpr (requires { rec.name; })
        return rec.name;
    else
        return rec.text;
}

template<class TTable, class EKey, class TRecord, int READERS, int ABSENT, int STAND_IN>
class CCodeTable : public CMap<EKey, EKey, TRecord, TRecord&>
{
public:
    // The table CZorvatTypes made; null before CZorvatTypes::CreateTables and after the holder.
    static TTable* Get() { return s_pTable; }

    // The code's text; a missing code (or no table) gives its "%d" text, or the text of the
    // stand-in code where the table has one.
    static CString GetText(int nCode) requires ((READERS & CT_TEXT) != 0)
    {
        TRecord rec;
        if (Find(nCode, rec))
            return CodeRecordText(rec);
        CString str;
        str.Format("%d", nCode);
        return str;
    }

    // The code whose text is pszText exactly, the first met in the map's walk; ABSENT when no
    // record holds it, no table exists or pszText is null.
    static int GetCodeByText(LPCSTR pszText) requires ((READERS & CT_CODE) != 0)
    {
        if (s_pTable == nullptr || pszText == nullptr)
            return ABSENT;
        POSITION pos = s_pTable->GetStartPosition();
        while (pos != nullptr) {
            EKey key = EKey();
            TRecord rec;
            s_pTable->GetNextAssoc(pos, key, rec);
            if (strcmp(CodeRecordText(rec), pszText) == 0)
                return static_cast<int>(key);
        }
        return ABSENT;
    }

    // A computed grid column's callback: the text of the code in slot nCol of the row. FALSE,
    // and the buffer untouched, while the table does not exist or when the arguments are unusable.
    static BOOL FormatCodeColumn(char* pszBuf, int nSize, const TBCellSlot* pRow, int nCol)
        requires ((READERS & CT_COLUMN) != 0)
    {
        if (s_pTable == nullptr || pszBuf == nullptr || nSize <= 0 || pRow == nullptr || nCol < 0)
            return FALSE;
        const int nCode = pRow[nCol].nValue;
        // Read in place: a grid formats a code for every row it paints or fits.
        if (const TRecord* pRec = FindInPlace(nCode))
            CopyCodeText(pszBuf, nSize, CodeRecordText(*pRec));
        else
            snprintf(pszBuf, static_cast<size_t>(nSize), "%d", nCode);
        return TRUE;
    }

protected:
    // A grid may keep a code's text by its code while the table stands: it hears of each table
    // that comes or goes, and of the texts filled.
    CCodeTable() : CMap<EKey, EKey, TRecord, TRecord&>(10)
    {
        if constexpr ((READERS & CT_COLUMN) != 0)
            RegisterCodeFormat(&FormatCodeColumn);
        TouchCodeFormats();
    }
    ~CCodeTable() override { TouchCodeFormats(); }
    void Fill(const CCodeEntry* pEntries, int nEntries)
    {
        TouchCodeFormats();
        for (int i = 0; i < nEntries; ++i) {
            TRecord rec;
            rec.code = pEntries[i].nCode;
            CodeRecordText(rec) = LoadCodeText(pEntries[i]);
            this->SetAt(static_cast<EKey>(pEntries[i].nCode), rec);
        }
    }

private:
    friend class CZorvatTypes;

    static BOOL Find(int nCode, TRecord& rec)
    {
        const TRecord* pRec = FindInPlace(nCode);
        if (pRec != nullptr)
            rec = *pRec;
        return pRec != nullptr;
    }

    // One hash lookup, then the stand-in code's; the fallback number is formed by the caller.
    static const TRecord* FindInPlace(int nCode)
    {
        if (s_pTable == nullptr)
            return nullptr;
        if (const TRecord* pRec = s_pTable->PLookupValue(static_cast<EKey>(nCode)))
            return pRec;
        return STAND_IN != CODE_NONE ? s_pTable->PLookupValue(static_cast<EKey>(STAND_IN)) : nullptr;
    }

    static inline TTable* s_pTable = nullptr;   // owned by CZorvatTypes
};
