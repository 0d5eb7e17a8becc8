#pragma once
// The document-less view: a child window that paints through OnDraw, hears once from its frame
// when it is ready (OnInitialUpdate) and lives as long as its window. Views can be made from
// their run-time class, so a frame or a restore needs no knowledge of the view's own class.
#include "platform/mfc/Wnd.h"

class CDC;

// The frame's word to its views that they are made and placed.
#define WM_INITIALUPDATE 0x0364

// What a class that declares DECLARE_DYNCREATE gives for its creation by name.
struct CRuntimeClass
{
    LPCSTR m_lpszClassName;
    CObject* (*m_pfnCreateObject)();
    // A new object of the class on the heap; null for a class without a maker.
    CObject* CreateObject() const { return m_pfnCreateObject != nullptr ? m_pfnCreateObject() : nullptr; }
};

#define DECLARE_DYNCREATE(theClass)                    \
public:                                                \
    static CObject* CreateObject();                    \
    static const CRuntimeClass class##theClass;

#define IMPLEMENT_DYNCREATE(theClass, baseClass)                               \
    CObject* theClass::CreateObject() { return new theClass; }                 \
    const CRuntimeClass theClass::class##theClass = {#theClass, &theClass::CreateObject};

#define RUNTIME_CLASS(theClass) (&theClass::class##theClass)

class CView : public CWnd
{
public:
    // Draws the whole view on the DC given: the paint handler's, or any other the owner holds.
    virtual void OnDraw(CDC* pDC) = 0;
    // Once the frame has made and placed the view: the class library's part repaints it all.
    virtual void OnInitialUpdate();

protected:
    // The view goes with its window.
    void PostNcDestroy() override;

    afx_msg void OnPaint();
    afx_msg LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};
