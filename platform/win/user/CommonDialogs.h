#pragma once
// The common dialogs: choosing a file to open or save, a font, a colour. Each is shown by the
// display over its owner while the layer's modal loop runs, and takes a queued test answer first
// (TestAnswers.h). With nobody to ask it cancels: FALSE, CommDlgExtendedError 0. Texts are in the
// active code page. Hook procedures and templates are not supported (their fields are ignored).
#include "platform/win/WinTypes.h"
#include "platform/win/Records.h"

typedef UINT_PTR (CALLBACK* LPCCHOOKPROC)(HWND, UINT, WPARAM, LPARAM);

// ---- files ----
// lpstrFilter: pairs of a name and patterns ("*.txt;*.log"), each ending in a zero, the list in
// a second zero. lpstrFile holds the offered name and takes the chosen full path: a path that
// does not fit nMaxFile is refused (FNERR_BUFFERTOOSMALL, the size needed in the first two
// bytes), never cut. A name the active code page cannot spell is refused (FNERR_INVALIDFILENAME).
// A name without an extension gets lpstrDefExt. The current directory never changes.
struct OPENFILENAMEA {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCSTR lpstrFilter;
    LPSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex;         // 1-based, in and out; 0 takes the first
    LPSTR lpstrFile;
    DWORD nMaxFile;
    LPSTR lpstrFileTitle;       // may be null: the name without its folder
    DWORD nMaxFileTitle;
    LPCSTR lpstrInitialDir;     // where it opens when lpstrFile names no folder
    LPCSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;           // out: where the name starts in lpstrFile
    WORD nFileExtension;        // out: where the extension starts, or the terminating zero
    LPCSTR lpstrDefExt;         // without the dot
    LPARAM lCustData;
    LPCCHOOKPROC lpfnHook;
    LPCSTR lpTemplateName;
    void* pvReserved;
    DWORD dwReserved;
    DWORD FlagsEx;
};
typedef OPENFILENAMEA* LPOPENFILENAMEA;

#define OFN_READONLY           0x00000001
#define OFN_OVERWRITEPROMPT    0x00000002   // save: ask before replacing a file
#define OFN_HIDEREADONLY       0x00000004   // no read-only box (there is none here)
#define OFN_NOCHANGEDIR        0x00000008   // always so here
#define OFN_EXTENSIONDIFFERENT 0x00000400   // out: the extension is not lpstrDefExt
#define OFN_PATHMUSTEXIST      0x00000800   // the folder must exist
#define OFN_FILEMUSTEXIST      0x00001000   // the file must exist
#define OFN_NOTESTFILECREATE   0x00010000
#define OFN_EXPLORER           0x00080000
#define OFN_LONGNAMES          0x00200000

BOOL GetOpenFileNameA(LPOPENFILENAMEA pOfn);
BOOL GetSaveFileNameA(LPOPENFILENAMEA pOfn);

// ---- fonts ----
// The chosen font goes into *lpLogFont (height for the screen's LOGPIXELSY), its size in tenths
// of a point into iPointSize; with CF_EFFECTS underline, strike-out and rgbColors too (the
// chooser on the display has no colour of its own: the colour stays).
struct CHOOSEFONTA {
    DWORD lStructSize;
    HWND hwndOwner;
    HDC hDC;
    LPLOGFONTA lpLogFont;
    INT iPointSize;
    DWORD Flags;
    COLORREF rgbColors;
    LPARAM lCustData;
    LPCCHOOKPROC lpfnHook;
    LPCSTR lpTemplateName;
    HINSTANCE hInstance;
    LPSTR lpszStyle;
    WORD nFontType;
    WORD ___MISSING_ALIGNMENT__;
    INT nSizeMin;
    INT nSizeMax;
};
typedef CHOOSEFONTA* LPCHOOSEFONTA;

#define CF_SCREENFONTS         0x00000001   // the screen's faces (every face here is one)
#define CF_PRINTERFONTS        0x00000002
#define CF_BOTH                (CF_SCREENFONTS | CF_PRINTERFONTS)
#define CF_INITTOLOGFONTSTRUCT 0x00000040   // start from *lpLogFont
#define CF_EFFECTS             0x00000100
#define CF_LIMITSIZE           0x00002000   // only sizes from nSizeMin to nSizeMax points
#define CF_FIXEDPITCHONLY      0x00004000
#define CF_FORCEFONTEXIST      0x00010000   // only a face the machine has closes the chooser
#define CF_SCALABLEONLY        0x00020000
#define CF_NOVERTFONTS         0x01000000

#define BOLD_FONTTYPE    0x0100
#define ITALIC_FONTTYPE  0x0200
#define REGULAR_FONTTYPE 0x0400
#define SCREEN_FONTTYPE  0x2000

BOOL ChooseFontA(LPCHOOSEFONTA pCf);

// ---- colours ----
// lpCustColors is the caller's array of 16 custom colours: the chooser shows them and writes
// back what the person changed, so each caller keeps its own across calls.
struct CHOOSECOLORA {
    DWORD lStructSize;
    HWND hwndOwner;
    HWND hInstance;
    COLORREF rgbResult;         // in with CC_RGBINIT, out
    COLORREF* lpCustColors;
    DWORD Flags;
    LPARAM lCustData;
    LPCCHOOKPROC lpfnHook;
    LPCSTR lpTemplateName;
};
typedef CHOOSECOLORA* LPCHOOSECOLORA;

#define CC_RGBINIT         0x00000001
#define CC_FULLOPEN        0x00000002   // the display always shows the custom colours
#define CC_PREVENTFULLOPEN 0x00000004
#define CC_SOLIDCOLOR      0x00000080   // the display only has solid colours
#define CC_ANYCOLOR        0x00000100

BOOL ChooseColorA(LPCHOOSECOLORA pCc);

// ---- print setup ----
// The printer, paper and orientation of a program's default printer. hDevNames and hDevMode are
// movable memory (GlobalAlloc) naming the printer to start on, or null for the machine's default
// printer; on OK both are replaced by new blocks (the old ones freed) for the caller to free.
// Only the setup chooser is here: without PD_PRINTSETUP it fails.
struct DEVNAMES {
    WORD wDriverOffset;         // offsets in characters from the record's start
    WORD wDeviceOffset;
    WORD wOutputOffset;
    WORD wDefault;              // DN_DEFAULTPRN: the machine's default printer
};
typedef DEVNAMES* LPDEVNAMES;
#define DN_DEFAULTPRN 0x0001

struct PRINTDLGA {
    DWORD lStructSize;
    HWND hwndOwner;
    HGLOBAL hDevMode;
    HGLOBAL hDevNames;
    HDC hDC;
    DWORD Flags;
    WORD nFromPage;
    WORD nToPage;
    WORD nMinPage;
    WORD nMaxPage;
    WORD nCopies;
    HINSTANCE hInstance;
    LPARAM lCustData;
    LPCCHOOKPROC lpfnPrintHook;
    LPCCHOOKPROC lpfnSetupHook;
    LPCSTR lpPrintTemplateName;
    LPCSTR lpSetupTemplateName;
    HGLOBAL hPrintTemplate;
    HGLOBAL hSetupTemplate;
};
typedef PRINTDLGA* LPPRINTDLGA;

#define PD_PRINTSETUP     0x00000040
#define PDERR_NODEFAULTPRN  0x1008
#define PDERR_PRINTERNOTFOUND 0x100B

BOOL PrintDlgA(LPPRINTDLGA pPd);

// ---- errors ----
// Why the last common dialog failed; 0 after a cancel or a success.
#define CDERR_STRUCTSIZE      0x0001
#define CDERR_INITIALIZATION  0x0002
#define CFERR_MAXLESSTHANMIN  0x2002
#define FNERR_INVALIDFILENAME 0x3002
#define FNERR_BUFFERTOOSMALL  0x3003
DWORD CommDlgExtendedError();
