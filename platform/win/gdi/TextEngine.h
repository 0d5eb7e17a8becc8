#pragma once
// Fonts and text rendering, implemented by the display (Qt's font engine shapes Arabic and lays
// right-to-left text out). Text reaches the engine as UTF-8. Without a display a fixed-cell
// stand-in measures text (every character half as wide as the font is high) and draws nothing.
#include <memory>
#include <vector>
#include "platform/win/Records.h"
#include "platform/win/gdi/GdiDefs.h"

class CTbPixelBuffer;

struct ITbTextEngine {
    virtual ~ITbTextEngine() = default;
    // A face for the font with lfHeight already in device pixels.
    virtual std::shared_ptr<void> CreateFace(const LOGFONTA& lf) = 0;
    virtual void GetMetrics(void* pFace, TEXTMETRICA* pMetrics) = 0;
    virtual int  MeasureWidth(void* pFace, const char* pszUtf8, int cbUtf8) = 0;
    // Draws one line whose cell starts at x (left) and yTop, clipped to the rectangles.
    virtual void Draw(void* pFace, CTbPixelBuffer& target, const std::vector<RECT>& clip, int x, int yTop,
                      const char* pszUtf8, int cbUtf8, uint32_t pxColor, BOOL bRtl) = 0;
    // An engine may keep its drawing open on the last target between calls (a window DC's paint
    // draws hundreds of strings). Called before that target is freed or resized and when a DC
    // that drew into it goes away.
    virtual void EndDrawing() {}
    // Whether the machine has the face, by its own name or a substitute's (UTF-8). An engine
    // that cannot tell answers TRUE.
    virtual BOOL HasFace(const char*) { return TRUE; }
};
void TbSetTextEngine(ITbTextEngine* pEngine);
ITbTextEngine* TbGetTextEngine();
