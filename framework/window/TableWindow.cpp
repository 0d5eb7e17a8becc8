// Placeholder bodies of the grid window until they land.
#include "framework/window/TableWindow.h"

CTableWindow::CTableWindow() {}
CTableWindow::~CTableWindow() {}
BOOL CTableWindow::Create(CViewTable*, DWORD, DWORD, CTBWnd*) { return FALSE; }
BOOL CTableWindow::CreateEx(CViewTable*, DWORD, LPCSTR, DWORD, int, int, int, int, HWND, UINT, LPVOID) { return FALSE; }
BOOL CTableWindow::AttachView(CViewTable*) { return FALSE; }
BOOL CTableWindow::AddEventSink(CTableWindowEventSink*) { return FALSE; }
BOOL CTableWindow::RemoveEventSink(CTableWindowEventSink*) { return FALSE; }
void CTableWindow::SetContextMenu(HMENU) {}
BOOL CTableWindow::SetFontFace(const CTBString&, int) { return FALSE; }
void CTableWindow::CopyAppearance(CTableWindow*) {}
void CTableWindow::SetFont(HFONT h) { CTableWindowProperties::SetFont(h); }
void CTableWindow::SetBoldFont(HFONT h) { CTableWindowProperties::SetBoldFont(h); }
void CTableWindow::SetFlag5(BOOL b) { CTableWindowProperties::SetFlag5(b); }
void CTableWindow::SetHighlightSeconds(int n) { CTableWindowProperties::SetHighlightSeconds(n); }
void CTableWindow::SetFocusFrame(BOOL b) { CTableWindowProperties::SetFocusFrame(b); }
void CTableWindow::SetBackgroundColor(COLORREF cr) { CTableWindowProperties::SetBackgroundColor(cr); }
void CTableWindow::SetWindowBackColor(COLORREF cr) { CTableWindowProperties::SetWindowBackColor(cr); }
void CTableWindow::SetCellTextColor(COLORREF cr, int n) { CTableWindowProperties::SetCellTextColor(cr, n); }
void CTableWindow::SetCellBackColor(COLORREF cr, int n) { CTableWindowProperties::SetCellBackColor(cr, n); }
void CTableWindow::SetFaceColor(COLORREF cr) { CTableWindowProperties::SetFaceColor(cr); }
void CTableWindow::SetShadowColor(COLORREF cr) { CTableWindowProperties::SetShadowColor(cr); }
void CTableWindow::Load(CIni* p, CIni* f) { CTableWindowProperties::Load(p, f); }
void CTableWindow::Save(CIni* p, CIni* f) { CTableWindowProperties::Save(p, f); }
void CTableWindow::SetHighlightSecondsIndex(int) {}
void CTableWindow::Paint(HDC, const RECT&) {}
void CTableWindow::DrawColumnTitle(HDC, int, const RECT&) {}
void CTableWindow::DrawFrame(HDC, const RECT&, int, const CTB3DFrame*) {}
void CTableWindow::DrawArrow(HDC, const RECT&, int) {}
void CTableWindow::PrepareDC(HDC) {}
void CTableWindow::UpdateNow() {}
void CTableWindow::CreateDrawingObjects() {}
void CTableWindow::DeleteDrawingObjects() {}
void CTableWindow::Beep() {}
void CTableWindow::AgeChangeHighlights() {}
void CTableWindow::SetRowHeaderHotLine(int) {}
BOOL CTableWindow::OnCmdMsg(UINT nId, int nCode) { return CTBWnd::OnCmdMsg(nId, nCode); }
void CTableWindow::FireCommand(UINT) {}
void CTableWindow::ShowSortDialog() {}
void CTableWindow::ShowFilterDialog(int) {}
void CTableWindow::ShowFastFindDialog(int) {}
void CTableWindow::SelectAllRows(BOOL) {}
int  CTableWindow::ChooseBackgroundColor() { return 1; }
int  CTableWindow::ChooseWindowBackColor() { return 1; }
int  CTableWindow::ChooseCellBackColor(int) { return 1; }
int  CTableWindow::ChooseFaceColor() { return 1; }
int  CTableWindow::ChooseShadowColor() { return 1; }
int  CTableWindow::ChooseCellTextColor(int) { return 1; }
CTableWindowArea* CTableWindow::PaneOfColumn(int) { return nullptr; }
BOOL CTableWindow::IsRedrawLocked() const { return m_nRedrawLock > 0; }
BOOL CTableWindow::IsMirrored() const { return FALSE; }
BOOL CTableWindow::IsRightToLeft() const { return FALSE; }
BOOL CTableWindow::HasFocusOrEditor() const { return FALSE; }
int  CTableWindow::OnCreate(LPCREATESTRUCTA p) { return CTBWnd::OnCreate(p); }
void CTableWindow::OnDestroy() { CTBWnd::OnDestroy(); }
void CTableWindow::OnClose() { CTBWnd::OnClose(); }
void CTableWindow::OnSysCommand(UINT n, LPARAM l) { CTBWnd::OnSysCommand(n, l); }
BOOL CTableWindow::OnEraseBkgnd(HDC) { return TRUE; }
void CTableWindow::OnPaint() { CTBWnd::OnPaint(); }
void CTableWindow::OnSetFocus(CTBWnd* p) { CTBWnd::OnSetFocus(p); }
void CTableWindow::OnKillFocus(CTBWnd* p) { CTBWnd::OnKillFocus(p); }
void CTableWindow::OnCancelMode() { CTBWnd::OnCancelMode(); }
BOOL CTableWindow::OnSetCursor(CTBWnd* p, UINT n, UINT u) { return CTBWnd::OnSetCursor(p, n, u); }
void CTableWindow::OnSysKeyDown(UINT k, UINT r, UINT f) { CTBWnd::OnSysKeyDown(k, r, f); }
void CTableWindow::OnKeyUp(UINT k, UINT r, UINT f) { CTBWnd::OnKeyUp(k, r, f); }
void CTableWindow::OnLButtonDown(UINT n, int x, int y) { CTBWnd::OnLButtonDown(n, x, y); }
void CTableWindow::OnTimer(UINT_PTR n) { CTBWnd::OnTimer(n); }
void CTableWindow::OnInitMenuPopup(HMENU h, UINT n, BOOL b) { CTBWnd::OnInitMenuPopup(h, n, b); }
LRESULT CTableWindow::WindowProc(UINT u, WPARAM w, LPARAM l) { return CTBWnd::WindowProc(u, w, l); }
void CTableWindow::OnMouseDown(UINT, int, int, BOOL) {}
UINT CTableWindowCtl::OnGetDlgCode() { return 0x2006; }
void CTableWindowCtl::PostNcDestroy() { delete this; }
BOOL RegisterTableWindowCtlClass() { return FALSE; }
