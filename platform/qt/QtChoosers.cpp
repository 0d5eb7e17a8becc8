// File, font and colour choosers on Qt, shown without exec().
#include "platform/qt/QtInternal.h"
#include "platform/qt/QtQuestion.h"

ITbQuestion* TbQtAskFile(HWND, TBFILEQUESTION*) { return nullptr; }
ITbQuestion* TbQtAskFont(HWND, TBFONTQUESTION*) { return nullptr; }
ITbQuestion* TbQtAskColor(HWND, TBCOLORQUESTION*) { return nullptr; }
