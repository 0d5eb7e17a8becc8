#pragma once
// Questions put to the person: a message box or a file, font or colour chooser. The display shows
// one without waiting (ITbDisplay::Ask...), the layer waits for it in its own modal loop, so
// timers, posted messages and sockets go on meanwhile, then reads the answer from the request and
// deletes the question, which takes it off the screen. Texts here are UTF-8.
#include <string>
#include <vector>
#include "platform/win/WinTypes.h"

struct TBTESTANSWER;

struct ITbQuestion {
    virtual ~ITbQuestion() = default;
    // The person answered; the answer is in the request. The display also posts a message then,
    // so that the waiting loop wakes.
    virtual BOOL IsDone() = 0;
};

struct TBMESSAGEBOXQUESTION {
    std::string strText;
    std::string strCaption;
    std::vector<int> buttons;       // button ids (IDOK...) in order
    int nDefault = 0;               // the id Enter answers
    int nEscape = 0;                // the id Escape and closing answer; 0: neither closes it
    UINT uIcon = 0;                 // MB_ICONHAND, MB_ICONQUESTION, MB_ICONEXCLAMATION, MB_ICONASTERISK or 0
    BOOL bRight = FALSE;            // text aligned right
    BOOL bRtl = FALSE;              // right-to-left reading, the box mirrored
    BOOL bAppModal = FALSE;         // every window of the program waits, not only the owner's
    int nAnswer = 0;                // out: the button id
};

struct TBFILEQUESTION {
    BOOL bSave = FALSE;
    std::string strTitle;                                   // empty: the display's own
    std::vector<std::pair<std::string, std::string>> filters;   // name, patterns ("*.txt;*.log")
    int nFilter = 0;                                        // in and out: index into filters
    std::string strFolder;                                  // where it opens
    std::string strFile;                                    // the name it offers
    std::string strDefExt;                                  // added to a name without one
    BOOL bMustExist = FALSE;                                // the file (open) must exist
    BOOL bConfirmOverwrite = FALSE;                         // save: ask before replacing a file
    BOOL bOk = FALSE;                                       // out
    std::string strPath;                                    // out: the full path chosen
};

// A font as the chooser shows it: the face, the size in tenths of a point, the style and colour.
struct TBFONTCHOICE {
    std::string strFace;
    int nPointSize10 = 100;
    int nWeight = 400;
    BOOL bItalic = FALSE;
    BOOL bUnderline = FALSE;
    BOOL bStrikeOut = FALSE;
    COLORREF crColor = 0;
};

struct TBFONTQUESTION {
    TBFONTCHOICE font;              // in and out
    BOOL bEffects = FALSE;          // underline, strike-out and colour can be chosen
    BOOL bScalableOnly = FALSE;
    BOOL bFixedPitchOnly = FALSE;
    int nMinPoints = 0;             // with nMaxPoints > 0: the sizes the chooser accepts
    int nMaxPoints = 0;
    BOOL bOk = FALSE;               // out
};

struct TBCOLORQUESTION {
    COLORREF crColor = 0;           // in and out
    COLORREF custom[16] = {};       // in and out: the caller's custom colours
    BOOL bOk = FALSE;               // out
};

// A printer's document properties: the paper (one of the printer's, named), orientation,
// copies, collation and colour.
struct TBPRINTERPROPSQUESTION {
    std::string strPrinter;
    std::vector<std::pair<short, std::string>> papers;     // DMPAPER id, name
    short nPaper = 0;               // in and out
    BOOL bLandscape = FALSE;        // in and out
    int nCopies = 1;                // in and out
    BOOL bCollate = FALSE;          // in and out
    BOOL bColorDevice = TRUE;       // colour can be chosen
    BOOL bColor = TRUE;             // in and out
    BOOL bOk = FALSE;               // out
};

// The print-setup chooser: a printer (with what the spooler says of it), one of its papers,
// the paper source and the orientation.
struct TBPRINTSETUPPRINTER {
    std::string strName;
    std::string strDriver;
    std::string strPort;
    std::string strComment;
    std::vector<std::pair<short, std::string>> papers;     // DMPAPER id, name
};
struct TBPRINTSETUPQUESTION {
    std::vector<TBPRINTSETUPPRINTER> printers;
    int nPrinter = 0;               // in and out: index into printers
    short nPaper = 0;               // in and out
    BOOL bLandscape = FALSE;        // in and out
    BOOL bOk = FALSE;               // out
};

// Shows nothing when pQuestion is null (no display: TB_ASKED_NOBODY). Otherwise waits in the
// modal loop over hOwner until the person answers (TB_ASKED_DISPLAY), a test queues an answer
// of kind nKind (TB_ASKED_TEST, taken into pAnswer) or WM_QUIT ends the loop (TB_ASKED_QUIT);
// deletes the question.
#define TB_ASKED_NOBODY  0
#define TB_ASKED_DISPLAY 1
#define TB_ASKED_TEST    2
#define TB_ASKED_QUIT    3
int TbWaitForAnswer(HWND hOwner, ITbQuestion* pQuestion, int nKind, TBTESTANSWER* pAnswer);
