// The edit history on the form: its keys and window, the graph's menu
// entries, and the form following an undo or redo.
#include <QFileInfo>
#include <QLineEdit>

#include "CFStatic.h"
#include "EditHistory.h"
#include "Processor.h"
#include "QM7100View.h"

void CQM7100View::CreateHistory()
{
    m_pHistory = new CEditHistory(m_data, *m_pSession, this);
    m_pHistory->m_onApplied = [this] { ShowModel(); };
    QUndoStack& stack = m_pHistory->Stack();
    auto showTexts = [this, &stack] { m_pGraph->SetHistoryTexts(stack.undoText(), stack.redoText()); };
    connect(&stack, &QUndoStack::undoTextChanged, this, showTexts);
    connect(&stack, &QUndoStack::redoTextChanged, this, showTexts);
    connect(m_pGraph, &CFStatic::UndoRequested, m_pHistory, &CEditHistory::Undo);
    connect(m_pGraph, &CFStatic::RedoRequested, m_pHistory, &CEditHistory::Redo);
    connect(m_pGraph, &CFStatic::HistoryRequested, this, &CQM7100View::OnHistory);
}

void CQM7100View::OnHistory()
{
    QWidget* pWindow = m_pHistory->HistoryWindow();
    if (!pWindow->parentWidget())
        pWindow->setParent(window(), pWindow->windowFlags());
    pWindow->show();
    pWindow->raise();
}

void CQM7100View::ShowModel()
{
    RefreshStrip(true);
    ShowDelays();
    m_pSceneName->setText(QString::fromStdString(m_processor.SceneName()));
}

void CQM7100View::NameLoadStep(const QString& strPath)
{
    m_pHistory->NameNextStep(Tr(kTxtStepLoad).arg(QFileInfo(strPath).fileName()), true);
    m_pHistory->Settle();
}
