#include "platform/win/user/TestAnswers.h"
#include <deque>

static std::deque<TBTESTANSWER>& Answers()
{
    static std::deque<TBTESTANSWER> s_answers;
    return s_answers;
}

void TbQueueTestAnswer(const TBTESTANSWER& answer)
{
    Answers().push_back(answer);
}

BOOL TbTakeTestAnswer(int nKind, TBTESTANSWER* pAnswer)
{
    auto& answers = Answers();
    for (auto it = answers.begin(); it != answers.end(); ++it) {
        if (it->nKind != nKind)
            continue;
        if (pAnswer)
            *pAnswer = *it;
        answers.erase(it);
        return TRUE;
    }
    return FALSE;
}

int TbPendingTestAnswers()
{
    return static_cast<int>(Answers().size());
}

void TbClearTestAnswers()
{
    Answers().clear();
}

static std::string& AnsweredText()
{
    static std::string s_strText;
    return s_strText;
}

static std::string& AnsweredCaption()
{
    static std::string s_strCaption;
    return s_strCaption;
}

void TbNoteAnsweredText(const char* pszText, const std::string& strCaption)
{
    AnsweredText() = pszText != nullptr ? pszText : "";
    AnsweredCaption() = strCaption;
}

std::string TbLastAnsweredText()
{
    return AnsweredText();
}

std::string TbLastAnsweredCaption()
{
    return AnsweredCaption();
}
