#pragma once
// The small regular-expression engine of the dictionaries: an expression is compiled into a byte
// program of nodes, matched by backtracking in time bounded by program size times text length, and
// the groups of a match are substituted into a template. Kept in its own namespace because its
// names are those of the C library's POSIX functions, which must never be the ones called.
//
// Syntax: branches separated by '|' or a line feed; pieces are atoms optionally followed by '*',
// '+' or '?'. Atoms: '^' and '$' (start and end of the text), '.', '[set]' with ranges and a
// leading '^' to negate, '(' ')' groups 1 to 9, '\<' and '\>' (start and end of a word: a letter
// of the active code page, a digit or '_'), '\' with any other character for that character.
// Sets and words work on unsigned bytes.
#include <cstddef>

namespace tbre {

const int NSUBEXP = 10;                 // group 0 is the whole match
const unsigned char REGEXP_MAGIC = 0234;
const long REGEXP_MAX_PROGRAM = 32767;  // a program of this size or more is refused
// Nodes one regexec may follow before it gives up ("regexp too complex"). The matcher works on
// each pair of node and text position at most once, so no expression comes near this on a text of
// megabytes; it is a last guard that a dictionary line never freezes the window it translates.
const long REGEXP_MAX_STEPS = 2000000000;

// A compiled expression, from regcomp; the caller frees it with free(). The group pointers point
// into the text of the last successful regexec (null: the group took no part).
struct regexp
{
    const char* startp[NSUBEXP];
    const char* endp[NSUBEXP];
    char regstart;                      // every match starts with this character (0: not known)
    char reganch;                       // matches only at the start of the text
    const char* regmust;                // a literal every match contains (null: none), in program
    int regmlen;
    // The bytes a match can start with, one bit each, when regfirstknown: no match is empty, so
    // regexec tries only the positions holding one of them.
    char regfirstknown;
    unsigned char regfirst[32];
    char program[1];                    // REGEXP_MAGIC, then the nodes
};

// Every failure reports its message through regerror and returns null, 0 or nothing.
regexp* regcomp(const char* pszExpression);
// 1 when the expression matches somewhere in the text, the groups marking the first match found.
int regexec(regexp* pProg, const char* pszText);
// Writes the template into pszDest (cbDest bytes, the terminator included), '&' and '\0'..'\9'
// replaced by the groups of the last match; '\\' and '\&' give '\' and '&'. Longer output is cut
// at cbDest - 1 and terminated.
void regsub(const regexp* pProg, const char* pszSource, char* pszDest, size_t cbDest);
// The error hook: receives the message and does nothing else.
void regerror(const char* pszMessage);
// The last message regerror received on this thread (null: none yet), for diagnostics.
const char* RegLastError();

}  // namespace tbre
