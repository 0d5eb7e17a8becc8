#pragma once
// Inside the resource reader: one token of a resource file.
#include <string>
#include "platform/win/kernel/ResourceScript.h"

enum TokenKind { TK_NUMBER, TK_STRING, TK_WORD, TK_BEGIN, TK_END, TK_PUNCT };

struct CResourceScript::Token {
    TokenKind kind;
    int nLine;
    std::string text;       // the decoded text of a string, the spelling of anything else
    unsigned long long ullValue = 0;
};
