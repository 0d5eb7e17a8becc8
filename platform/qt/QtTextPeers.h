#pragma once
// Qt alone drawing a page of strings into an image: the peers the text benchmark measures the
// layer's DrawText and ExtTextOut against. No Qt type here.
#include <memory>
#include <string>
#include <vector>
#include "platform/win/WinTypes.h"

struct TBTEXTPEERCELL {
    std::string strUtf8;
    RECT rc;            // the string is drawn right-aligned and centred in it
};

class CTbQtTextPeers
{
public:
    CTbQtTextPeers(int cx, int cy, const char* pszFace, int nPixelHeight, const std::vector<TBTEXTPEERCELL>& cells);
    ~CTbQtTextPeers();
    // One painter for the page, each string through drawText.
    void DrawWithPainter();
    // One painter, each string laid out anew as static text.
    void DrawStaticTextAnew();
    // One painter, every string's static text laid out once before (the first call).
    void DrawStaticTextKept();

private:
    struct Page;
    std::unique_ptr<Page> m_pPage;
};
