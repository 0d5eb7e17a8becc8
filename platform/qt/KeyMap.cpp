// Qt keys as the original's virtual keys and key flags; one table, no switch per key.
#include "platform/qt/QtInternal.h"
#include "platform/win/user/Messages.h"
#include "platform/win/user/VirtualKeys.h"

namespace {
struct KeyEntry {
    int  nQtKey;
    BYTE vk;
    bool bExtended;
};
const KeyEntry s_keys[] = {
    {Qt::Key_Escape, VK_ESCAPE, false}, {Qt::Key_Tab, VK_TAB, false}, {Qt::Key_Backtab, VK_TAB, false},
    {Qt::Key_Backspace, VK_BACK, false}, {Qt::Key_Return, VK_RETURN, false}, {Qt::Key_Enter, VK_RETURN, true},
    {Qt::Key_Insert, VK_INSERT, true}, {Qt::Key_Delete, VK_DELETE, true}, {Qt::Key_Pause, VK_PAUSE, false},
    {Qt::Key_Print, VK_SNAPSHOT, true}, {Qt::Key_Clear, VK_CLEAR, false}, {Qt::Key_Home, VK_HOME, true},
    {Qt::Key_End, VK_END, true}, {Qt::Key_Left, VK_LEFT, true}, {Qt::Key_Up, VK_UP, true},
    {Qt::Key_Right, VK_RIGHT, true}, {Qt::Key_Down, VK_DOWN, true}, {Qt::Key_PageUp, VK_PRIOR, true},
    {Qt::Key_PageDown, VK_NEXT, true}, {Qt::Key_Shift, VK_SHIFT, false}, {Qt::Key_Control, VK_CONTROL, false},
    {Qt::Key_Meta, VK_LWIN, true}, {Qt::Key_Alt, VK_MENU, false}, {Qt::Key_AltGr, VK_RMENU, true},
    {Qt::Key_CapsLock, VK_CAPITAL, false}, {Qt::Key_NumLock, VK_NUMLOCK, true}, {Qt::Key_ScrollLock, VK_SCROLL, false},
    {Qt::Key_Menu, VK_APPS, true}, {Qt::Key_Help, VK_HELP, false}, {Qt::Key_Space, VK_SPACE, false},
    {Qt::Key_Semicolon, VK_OEM_1, false}, {Qt::Key_Colon, VK_OEM_1, false}, {Qt::Key_Equal, VK_OEM_PLUS, false},
    {Qt::Key_Plus, VK_OEM_PLUS, false}, {Qt::Key_Comma, VK_OEM_COMMA, false}, {Qt::Key_Less, VK_OEM_COMMA, false},
    {Qt::Key_Minus, VK_OEM_MINUS, false}, {Qt::Key_Underscore, VK_OEM_MINUS, false},
    {Qt::Key_Period, VK_OEM_PERIOD, false}, {Qt::Key_Greater, VK_OEM_PERIOD, false}, {Qt::Key_Slash, VK_OEM_2, false},
    {Qt::Key_Question, VK_OEM_2, false}, {Qt::Key_QuoteLeft, VK_OEM_3, false}, {Qt::Key_AsciiTilde, VK_OEM_3, false},
    {Qt::Key_BracketLeft, VK_OEM_4, false}, {Qt::Key_BraceLeft, VK_OEM_4, false}, {Qt::Key_Backslash, VK_OEM_5, false},
    {Qt::Key_Bar, VK_OEM_5, false}, {Qt::Key_BracketRight, VK_OEM_6, false}, {Qt::Key_BraceRight, VK_OEM_6, false},
    {Qt::Key_Apostrophe, VK_OEM_7, false}, {Qt::Key_QuoteDbl, VK_OEM_7, false},
    // Shifted digits are their digit keys.
    {Qt::Key_Exclam, '1', false}, {Qt::Key_At, '2', false}, {Qt::Key_NumberSign, '3', false},
    {Qt::Key_Dollar, '4', false}, {Qt::Key_Percent, '5', false}, {Qt::Key_AsciiCircum, '6', false},
    {Qt::Key_Ampersand, '7', false}, {Qt::Key_Asterisk, '8', false}, {Qt::Key_ParenLeft, '9', false},
    {Qt::Key_ParenRight, '0', false},
};
// Keys of the numeric keypad (Qt marks them with KeypadModifier).
const KeyEntry s_keypad[] = {
    {Qt::Key_Asterisk, VK_MULTIPLY, false}, {Qt::Key_Plus, VK_ADD, false}, {Qt::Key_Minus, VK_SUBTRACT, false},
    {Qt::Key_Period, VK_DECIMAL, false}, {Qt::Key_Comma, VK_DECIMAL, false}, {Qt::Key_Slash, VK_DIVIDE, true},
    {Qt::Key_Enter, VK_RETURN, true},
};
// Keys whose character has no key of its own in Qt (another layout, Arabic): by their X11 keycode,
// which stands for the physical key the original names.
const struct { quint32 nScan; BYTE vk; } s_physical[] = {
    {10, '1'}, {11, '2'}, {12, '3'}, {13, '4'}, {14, '5'}, {15, '6'}, {16, '7'}, {17, '8'}, {18, '9'}, {19, '0'},
    {24, 'Q'}, {25, 'W'}, {26, 'E'}, {27, 'R'}, {28, 'T'}, {29, 'Y'}, {30, 'U'}, {31, 'I'}, {32, 'O'}, {33, 'P'},
    {34, VK_OEM_4}, {35, VK_OEM_6}, {38, 'A'}, {39, 'S'}, {40, 'D'}, {41, 'F'}, {42, 'G'}, {43, 'H'}, {44, 'J'},
    {45, 'K'}, {46, 'L'}, {47, VK_OEM_1}, {48, VK_OEM_7}, {49, VK_OEM_3}, {51, VK_OEM_5}, {52, 'Z'}, {53, 'X'},
    {54, 'C'}, {55, 'V'}, {56, 'B'}, {57, 'N'}, {58, 'M'}, {59, VK_OEM_COMMA}, {60, VK_OEM_PERIOD}, {61, VK_OEM_2},
};

const KeyEntry* Find(const QKeyEvent* pEvent)
{
    int nKey = pEvent->key();
    if (pEvent->modifiers() & Qt::KeypadModifier)
        for (const KeyEntry& k : s_keypad)
            if (k.nQtKey == nKey)
                return &k;
    for (const KeyEntry& k : s_keys)
        if (k.nQtKey == nKey)
            return &k;
    return nullptr;
}
}

UINT TbQtVirtualKey(const QKeyEvent* pEvent)
{
    int nKey = pEvent->key();
    if (nKey >= Qt::Key_F1 && nKey <= Qt::Key_F24)
        return VK_F1 + static_cast<UINT>(nKey - Qt::Key_F1);
    if (nKey >= Qt::Key_0 && nKey <= Qt::Key_9)
        return (pEvent->modifiers() & Qt::KeypadModifier) ? VK_NUMPAD0 + static_cast<UINT>(nKey - Qt::Key_0)
                                                           : static_cast<UINT>(nKey);
    if (nKey >= Qt::Key_A && nKey <= Qt::Key_Z)
        return static_cast<UINT>(nKey);
    if (const KeyEntry* pEntry = Find(pEvent))
        return pEntry->vk;
    for (const auto& p : s_physical)
        if (p.nScan == pEvent->nativeScanCode())
            return p.vk;
    // A character with no key of its own here: another layout's key, or a key the window system
    // made up for it (Qt names it by the character). The character still counts, as the
    // original's VK_PACKET carries it.
    if ((nKey > 0 && nKey < Qt::Key_Escape) || !pEvent->text().isEmpty())
        return VK_PACKET;
    return 0;
}

int TbQtKeyOfVirtualKey(UINT uVk)
{
    if (uVk >= VK_F1 && uVk <= VK_F24)
        return Qt::Key_F1 + static_cast<int>(uVk - VK_F1);
    if ((uVk >= '0' && uVk <= '9') || (uVk >= 'A' && uVk <= 'Z'))
        return static_cast<int>(uVk);
    for (const KeyEntry& k : s_keys)
        if (k.vk == uVk)
            return k.nQtKey;
    return 0;
}

LPARAM TbQtKeyFlags(const QKeyEvent* pEvent, BOOL bRelease)
{
    WORD wFlags = 0;
    quint32 nScan = pEvent->nativeScanCode();
    if (nScan >= 8)
        wFlags = static_cast<WORD>((nScan - 8) & 0xFF);      // X11 keycodes are the PC scan codes plus 8
    const KeyEntry* pEntry = Find(pEvent);
    if (pEntry && pEntry->bExtended)
        wFlags |= KF_EXTENDED;
    Qt::KeyboardModifiers mods = pEvent->modifiers();
    // Alt with Ctrl is AltGr on these layouts: not a system key.
    if ((mods & Qt::AltModifier) && !(mods & Qt::ControlModifier))
        wFlags |= KF_ALTDOWN;
    if (pEvent->isAutoRepeat() || bRelease)
        wFlags |= KF_REPEAT;
    if (bRelease)
        wFlags |= KF_UP;
    return MAKELPARAM(1, wFlags);
}
