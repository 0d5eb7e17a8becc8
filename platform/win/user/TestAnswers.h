#pragma once
// Answers for the questions the layer asks a person (a message box, a file, font or colour
// chooser, a popup menu), queued by a test before the question comes. Each answer is taken
// once, by the next question of its kind; a question with no queued answer asks the display as
// usual (headless, it takes its first button or cancels).
#include <string>
#include "platform/win/WinTypes.h"

//
// A chooser's answer is what the person would type and click, in UTF-8 as on the display. An
// answer that breaks the chooser's rules (a file that must exist and does not, a replaced file
// the overwrite question does not confirm, a size outside the limits, a text that does not read)
// is refused as the chooser would refuse it, and the chooser takes the next answer.
// An answer queued while its question is open closes it.
#define TB_ASK_MESSAGEBOX   1   // nValue: the button id
#define TB_ASK_OPENFILE     2   // nValue: IDOK or IDCANCEL; strText: the path, a relative one
                                // in the folder the chooser opens in
#define TB_ASK_SAVEFILE     3   // as TB_ASK_OPENFILE
#define TB_ASK_FONT         4   // nValue: IDOK or IDCANCEL; strText: "face;points" then any of
                                // ";weight" (100..1000), ";italic", ";underline", ";strikeout",
                                // ";r,g,b": "DejaVu Sans;10.5;700;italic;255,0,0"
#define TB_ASK_COLOR        5   // nValue: IDOK or IDCANCEL; strText: the colour as "r,g,b"
#define TB_ASK_POPUPMENU    6   // nValue: the command id chosen, 0 for none
#define TB_ASK_PRINTERPROPS 7   // nValue: IDOK or IDCANCEL; strText: any of "paper=9",
                                // "orientation=2", "copies=3", "collate=1", "color=1" joined by ';'
#define TB_ASK_PRINTSETUP   8   // nValue: IDOK or IDCANCEL; strText: any of "printer=<name>",
                                // "paper=9", "orientation=2" joined by ';' (a printer first)

struct TBTESTANSWER {
    int nKind = 0;
    INT_PTR nValue = 0;
    std::string strText;
};

void TbQueueTestAnswer(const TBTESTANSWER& answer);
// Takes the oldest queued answer of the kind into pAnswer; FALSE when there is none.
BOOL TbTakeTestAnswer(int nKind, TBTESTANSWER* pAnswer);
// How many answers wait (all kinds); a test checks 0 to know each question came.
int  TbPendingTestAnswers();
void TbClearTestAnswers();
// The text and title of the last message box a test's answer took (in the active code page), so
// that a test reads what the person would have been asked; the box notes them.
void TbNoteAnsweredText(const char* pszText, const std::string& strCaption = std::string());
std::string TbLastAnsweredText();
std::string TbLastAnsweredCaption();
