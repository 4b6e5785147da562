#include "HistoryStep.h"

#include "EditHistory.h"

namespace {
constexpr int kMergeId = 470;
constexpr auto kMergeWindow = std::chrono::milliseconds(1000);
}  // namespace

CHistoryStep::CHistoryStep(CEditHistory& history, CLiveSnapshot before, CLiveSnapshot after, const QString& strName,
                           const StepSubject& subject, Kind kind, int nSerial)
    : m_history(history),
      m_before(std::move(before)),
      m_after(std::move(after)),
      m_subject(subject),
      m_kind(kind),
      m_nSerial(nSerial),
      m_time(std::chrono::steady_clock::now())
{
    setText(strName);
}

void CHistoryStep::undo()
{
    m_history.Apply(m_before, m_kind.bWhole);
}

void CHistoryStep::redo()
{
    if (m_bDone) {
        m_bDone = false;
        return;
    }
    m_history.Apply(m_after, m_kind.bWhole);
}

int CHistoryStep::id() const
{
    return m_kind.bMergeable && !m_kind.bWhole ? kMergeId : -1;
}

bool CHistoryStep::mergeWith(const QUndoCommand* pOther)
{
    const auto* pStep = static_cast<const CHistoryStep*>(pOther);
    if (!(pStep->m_subject == m_subject) || pStep->m_time - m_time > kMergeWindow)
        return false;
    m_after = pStep->m_after;
    m_time = pStep->m_time;
    return true;
}
