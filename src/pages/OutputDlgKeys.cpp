// Keyboard of the output page, seen before the controls get the keys:
// left and right walk the faders (with wrap-around), Enter walks down a band
// column, Enter and Esc elsewhere hand the focus to the form.
#include <QKeyEvent>

#include "NumEdit.h"
#include "OutputDlg.h"
#include "SkinFader.h"

bool COutputDlg::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    switch (pEvent->type()) {
    case QEvent::FocusIn:
        NoteFocusIn(pWatched);
        break;
    case QEvent::KeyPress:
        if (HandleKey(pWatched, static_cast<QKeyEvent*>(pEvent)))
            return true;
        break;
    default:
        break;
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

void COutputDlg::keyPressEvent(QKeyEvent* pEvent)
{
    if (!HandleKey(this, pEvent))
        QWidget::keyPressEvent(pEvent);
}

bool COutputDlg::HandleKey(QObject* pWatched, QKeyEvent* pEvent)
{
    const int nFader = FaderIndexOf(pWatched);
    switch (pEvent->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (nFader < 0)
            return false;
        FocusFader((nFader + (pEvent->key() == Qt::Key_Left ? kBands - 1 : 1)) % kBands);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!MoveDownColumn(pWatched))
            GiveFocusToForm();
        return true;
    case Qt::Key_Escape:
        GiveFocusToForm();
        return true;
    default:
        return false;
    }
}

// Moving the focus commits the text typed into the field that loses it.
bool COutputDlg::MoveDownColumn(QObject* pWatched)
{
    for (int i = 0; i < kBands; ++i) {
        const BandControls& band = m_band[static_cast<size_t>(i)];
        for (int row = 0; row < kRows; ++row) {
            if (band.pField[row] != pWatched)
                continue;
            if (row + 1 < kRows)
                band.pField[row + 1]->setFocus(Qt::TabFocusReason);
            else
                FocusFader(i);
            return true;
        }
    }
    return false;
}

int COutputDlg::FaderIndexOf(QObject* pWatched) const
{
    for (int i = 0; i < kBands; ++i)
        if (m_band[static_cast<size_t>(i)].pFader == pWatched)
            return i;
    return -1;
}

void COutputDlg::FocusFader(int i)
{
    m_band[static_cast<size_t>(i)].pFader->FocusMessage();
}

// The page takes the focus first, so an edited field commits, then the form.
void COutputDlg::GiveFocusToForm()
{
    setFocus(Qt::OtherFocusReason);
    if (parentWidget())
        parentWidget()->setFocus(Qt::OtherFocusReason);
}

void COutputDlg::NoteFocusIn(QObject* pWatched)
{
    const int i = FaderIndexOf(pWatched);
    if (i < 0)
        return;
    m_nFocusFader = i;
    m_nFocusPos = m_band[static_cast<size_t>(i)].pFader->GetPos();
}
