// One step of the edit history: the live states before and after it.
// Steps of the same value made by wheel, arrow key or spin within a second
// of each other merge into one.
#pragma once

#include <QUndoCommand>
#include <chrono>

#include "LiveSnapshot.h"
#include "StepSubject.h"

class CEditHistory;

class CHistoryStep : public QUndoCommand {
public:
    struct Kind {
        bool bWhole = false;      // undone by writing the state whole
        bool bMergeable = false;  // a wheel, arrow or spin step
    };
    CHistoryStep(CEditHistory& history, CLiveSnapshot before, CLiveSnapshot after, const QString& strName,
                 const StepSubject& subject, Kind kind, int nSerial);

    // Steps are numbered in the order they were made, from 1.
    int Serial() const { return m_nSerial; }

    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand* pOther) override;

private:
    CEditHistory& m_history;
    CLiveSnapshot m_before;
    CLiveSnapshot m_after;
    StepSubject m_subject;
    Kind m_kind;
    int m_nSerial;
    std::chrono::steady_clock::time_point m_time;
    bool m_bDone = true;  // pushed after the change was made: the first redo is not one
};
