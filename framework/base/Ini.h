#pragma once
#include "framework/base/TBString.h"
#include "platform/win/Records.h"
#include "platform/win/WinTypes.h"

// Typed access to one section of a keyed settings store. The base class keeps the values in
// an INI file through the private-profile functions; CSettingsFile keeps a whole file in
// memory. Keys are texts, or string ids whose text (from the resource module) is the key.
class CIni
{
public:
    CIni() = default;
    CIni(const char* pszFile, const char* pszSection);
    virtual ~CIni() = default;

    void SetFileName(const char* pszFile) { m_strFile = pszFile; }
    void SetSection(const char* pszSection) { m_strSection = pszSection; }
    const CTBString& GetFileName() const { return m_strFile; }
    const CTBString& GetSection() const { return m_strSection; }

    // The store. Reads answer the default for what is missing; a write is FALSE when the store
    // did not take the value.
    virtual DWORD ReadProfileString(LPCSTR pszSection, LPCSTR pszKey, LPCSTR pszDefault, LPSTR pszOut,
                                    DWORD cchOut, LPCSTR pszFile);
    virtual int   ReadProfileInt(LPCSTR pszSection, LPCSTR pszKey, int nDefault, LPCSTR pszFile);
    virtual BOOL  WriteProfileString(LPCSTR pszSection, LPCSTR pszKey, LPCSTR pszValue, LPCSTR pszFile);

    // Numbers: "%d". GetLong answers the default for a text that is not all digits and signs.
    int  GetInt(const CTBString& strKey, int nDefault);
    int  GetInt(UINT uKeyId, int nDefault) { return GetInt(KeyText(uKeyId), nDefault); }
    BOOL WriteInt(const CTBString& strKey, int nValue);
    BOOL WriteInt(UINT uKeyId, int nValue) { return WriteInt(KeyText(uKeyId), nValue); }
    LONG GetLong(const CTBString& strKey, LONG nDefault);
    BOOL WriteLong(const CTBString& strKey, LONG nValue);

    // Texts of at most 255 characters; a line break is stored as backslash and 'n'.
    CTBString GetString(const CTBString& strKey, const char* pszDefault = "");
    CTBString GetString(UINT uKeyId, const char* pszDefault = "") { return GetString(KeyText(uKeyId), pszDefault); }
    BOOL WriteString(const CTBString& strKey, const char* pszText);
    BOOL WriteString(UINT uKeyId, const char* pszText) { return WriteString(KeyText(uKeyId), pszText); }

    // Flags: "Yes" / "No"; a text starting with '1', 'J' or 'Y' in either case reads TRUE.
    BOOL GetBool(const CTBString& strKey, BOOL bDefault);
    BOOL GetBool(UINT uKeyId, BOOL bDefault) { return GetBool(KeyText(uKeyId), bDefault); }
    BOOL WriteBool(const CTBString& strKey, BOOL bValue);
    BOOL WriteBool(UINT uKeyId, BOOL bValue) { return WriteBool(KeyText(uKeyId), bValue); }

    // Colours: "r,g,b". A stored colour comes back palette-relative; a malformed one is the
    // default unchanged.
    COLORREF GetColor(const CTBString& strKey, COLORREF crDefault);
    COLORREF GetColor(UINT uKeyId, COLORREF crDefault) { return GetColor(KeyText(uKeyId), crDefault); }
    BOOL WriteColor(const CTBString& strKey, COLORREF crValue);
    BOOL WriteColor(UINT uKeyId, COLORREF crValue) { return WriteColor(KeyText(uKeyId), crValue); }

    // Logical font records in the font text "face,height,width,...". ReadFontRecord is FALSE
    // and leaves the record alone for a blank or incomplete text. The font-handle accessors
    // are built on these.
    BOOL ReadFontRecord(const CTBString& strKey, LOGFONTA* pLogFont);
    BOOL WriteFontRecord(const CTBString& strKey, const LOGFONTA& logFont);
    // Live fonts. GetFont makes a font from the stored text, owned by the caller, and answers the
    // default handle for a blank or incomplete text or a font that cannot be made. WriteFont of
    // null stores the empty text (TRUE); a handle that is no font stores it too, and is FALSE.
    HFONT GetFont(const CTBString& strKey, HFONT hDefault);
    HFONT GetFont(UINT uKeyId, HFONT hDefault) { return GetFont(KeyText(uKeyId), hDefault); }
    BOOL WriteFont(const CTBString& strKey, HFONT hFont);
    BOOL WriteFont(UINT uKeyId, HFONT hFont) { return WriteFont(KeyText(uKeyId), hFont); }

    // Device modes as hex pairs under "<key>.<n>" (public part) and "<key>.x<n>" (driver
    // bytes), 40 bytes a key. The caller's dmSize and dmDriverExtra say how large its buffer
    // is; nothing stored can make a read go past them. Writing null blanks the old keys.
    BOOL GetDevMode(const CTBString& strKey, DEVMODEA* pDevMode);
    BOOL GetDevMode(UINT uKeyId, DEVMODEA* pDevMode) { return GetDevMode(KeyText(uKeyId), pDevMode); }
    BOOL WriteDevMode(const CTBString& strKey, const DEVMODEA* pDevMode);
    BOOL WriteDevMode(UINT uKeyId, const DEVMODEA* pDevMode) { return WriteDevMode(KeyText(uKeyId), pDevMode); }

protected:
    // The key text of a string id; an id without a string gives the empty key.
    static CTBString KeyText(UINT uKeyId);
    BOOL WriteValue(const CTBString& strKey, const char* pszValue);

    CTBString m_strFile;
    CTBString m_strSection;

private:
    void BlankChunks(const CTBString& strKey, const char* pszForm);
    BOOL WriteChunks(const CTBString& strKey, const char* pszForm, const BYTE* pBytes, int cbBytes);
    int  ReadChunks(const CTBString& strKey, const char* pszForm, BYTE* pBytes, int cbMax);
};

// The byte of two hexadecimal digits of either case; a character that is no hex digit counts as 0.
BYTE HexPairToByte(const char* pszPair);

// Reads up to nMax comma-separated decimal numbers as "%d,%d,..." would: blanks before a
// number are skipped, a number out of the int range is clamped. Returns how many were read.
int ScanIntList(const char* pszText, int* pnValues, int nMax);
