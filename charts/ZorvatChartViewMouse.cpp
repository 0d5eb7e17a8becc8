// The chart view under the mouse: the readout in the frame title while the left button is held
// on a pane, the splitter drag with its marker, and the chooser on a double click.
#include "charts/ZorvatChartView.h"

#include "charts/ChartChooserDlg.h"
#include "charts/ZorvatChart.h"
#include "platform/mfc/DC.h"
#include "platform/win/user/Cursor.h"

namespace {
BOOL IsIn(const RECT& rc, CPoint pt)
{
    return pt.x >= rc.left && pt.x < rc.right && pt.y >= rc.top && pt.y < rc.bottom;
}
}  // namespace

void CZorvatChartView::ShowReadout(CZorvatChart* pChart, CPoint pt)
{
    UpdateReadout(pChart, pt);
    m_bReadout = TRUE;
}

void CZorvatChartView::UpdateReadout(CZorvatChart* pChart, CPoint pt)
{
    const CString strText = pChart->GetReadout(pt);
    CWnd* pFrame = GetParent();
    if (strText.IsEmpty() || pFrame == nullptr)
        return;
    const CString strTitle = m_strTitle + " (" + strText + ")";
    CString strNow;
    pFrame->GetWindowText(strNow);
    if (strNow != strTitle)
        pFrame->SetWindowText(strTitle);
}

void CZorvatChartView::HideReadout()
{
    m_bReadout = FALSE;
    CWnd* pFrame = GetParent();
    if (pFrame == nullptr)
        return;
    CString strNow;
    pFrame->GetWindowText(strNow);
    if (strNow != m_strTitle)
        pFrame->SetWindowText(m_strTitle);
}

void CZorvatChartView::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_bShowVolume && IsIn(GetSplitterRect(), point)) {
        EndDrag();
        m_bDragging = TRUE;
        return;
    }
    if (m_pPriceChart != nullptr && IsIn(m_pPriceChart->GetChartRect(), point))
        ShowReadout(m_pPriceChart, point);
    if (m_pVolumeChart != nullptr && m_bShowVolume && IsIn(m_pVolumeChart->GetChartRect(), point))
        ShowReadout(m_pVolumeChart, point);
    CView::OnLButtonDown(nFlags, point);
}

void CZorvatChartView::RestoreDragStrip(CDC* pDC)
{
    if (m_pDragDC == nullptr || m_ptDragSaved.x < 0)
        return;
    CRect rc;
    GetClientRect(&rc);
    pDC->BitBlt(rc.left, m_ptDragSaved.y, rc.Width(), m_nPaneGap, m_pDragDC, 0, 0, SRCCOPY);
    m_ptDragSaved.x = -1;
}

void CZorvatChartView::EndDrag()
{
    m_bDragging = FALSE;
    if (m_pDragDC != nullptr && m_hWnd != nullptr) {
        CClientDC dc(this);
        RestoreDragStrip(&dc);
    }
    delete m_pDragDC;
    m_pDragDC = nullptr;
    delete m_pDragBitmap;
    m_pDragBitmap = nullptr;
    m_ptDragSaved = POINT{-1, 0};
}

void CZorvatChartView::OnMouseMove(UINT nFlags, CPoint point)
{
    const BOOL bHeld = (nFlags & MK_LBUTTON) != 0;
    if (m_bReadout) {
        if (!bHeld)
            HideReadout();
        else if (m_pPriceChart != nullptr && IsIn(m_pPriceChart->GetChartRect(), point))
            UpdateReadout(m_pPriceChart, point);
        else if (m_pVolumeChart != nullptr && m_bShowVolume && IsIn(m_pVolumeChart->GetChartRect(), point))
            UpdateReadout(m_pVolumeChart, point);
        return;
    }
    if (m_bDragging) {
        if (!bHeld) {
            EndDrag();
            return;
        }
        CClientDC dc(this);
        CRect rc;
        GetClientRect(&rc);
        if (m_pDragDC == nullptr) {
            m_pDragDC = new CDC;
            m_pDragDC->CreateCompatibleDC(&dc);
            m_pDragBitmap = new CBitmap;
            m_pDragBitmap->CreateCompatibleBitmap(&dc, rc.Width(), m_nPaneGap);
            m_pDragDC->SelectObject(m_pDragBitmap);
            m_ptDragSaved = POINT{-1, 0};
        }
        // The marker is an XOR frame over a saved copy of the rows it covers: moving it puts
        // those rows back instead of repainting the chart.
        RestoreDragStrip(&dc);
        const int y = point.y + rc.top;
        m_pDragDC->BitBlt(0, 0, rc.Width(), m_nPaneGap, &dc, rc.left, y, SRCCOPY);
        m_ptDragSaved = POINT{0, y};
        const CRect rcMarker(rc.left, y, rc.right, y + m_nPaneGap);
        dc.DrawFocusRect(&rcMarker);
        return;
    }
    if (m_bShowVolume && IsIn(GetSplitterRect(), point))
        m_hPrevCursor = ::SetCursor(::LoadCursorA(nullptr, IDC_SIZENS));
    CView::OnMouseMove(nFlags, point);
}

BOOL CZorvatChartView::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT uMessage)
{
    if (m_bDragging) {
        ::SetCursor(::LoadCursorA(nullptr, IDC_SIZENS));
        return TRUE;
    }
    return CView::OnSetCursor(pWnd, nHitTest, uMessage);
}

void CZorvatChartView::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (m_bReadout)
        HideReadout();
    if (m_bDragging) {
        EndDrag();
        CRect rc;
        GetClientRect(&rc);
        m_dPriceShare = static_cast<double>(point.y - m_nBottomMargin) / (rc.bottom - m_nBottomMargin - rc.top);
        LayoutPanes();
        InvalidateRect(nullptr, TRUE);
    }
    CView::OnLButtonUp(nFlags, point);
}

void CZorvatChartView::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    CChartChooserDlg dlg(IsIntraday(), m_strTkrSymb, m_nMarket, this);
    FillChooser(dlg);
    if (dlg.DoModal() == IDOK)
        ApplyFromChooser(dlg);
    CView::OnLButtonDblClk(nFlags, point);
}
