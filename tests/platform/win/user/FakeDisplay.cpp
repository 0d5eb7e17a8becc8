#include "FakeDisplay.h"
#include "platform/win/user/Message.h"

static CFakeDisplay* s_pFake = nullptr;

CFakeDisplay* TheFakeDisplay()
{
    return s_pFake;
}

void CFakeQuestion::Answer()
{
    m_bDone = TRUE;
    PostThreadMessageA(0, WM_NULL, 0, 0);
}

CFakeQuestion::~CFakeQuestion()
{
    if (s_pFake && s_pFake->m_pOpen == this)
        s_pFake->m_pOpen = nullptr;
}

CFakeDisplay::CFakeDisplay() : m_pInner(TbGetDisplay())
{
    s_pFake = this;
    TbSetDisplay(this);
}

CFakeDisplay::~CFakeDisplay()
{
    TbSetDisplay(nullptr);
    s_pFake = nullptr;
}

ITbQuestion* CFakeDisplay::Ask()
{
    ++m_nAsked;
    m_pOpen = new CFakeQuestion;
    return m_pOpen;
}
