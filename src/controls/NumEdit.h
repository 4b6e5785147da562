// Number field: keeps a value as an integer index into [minimum, maximum] and
// shows it in the unit of its display kind (see CNumKinds). Typed text is
// committed when the field loses the focus, or read back by GetPos.
//
// UI thread only.
#pragma once

#include <QColor>
#include <QLineEdit>
#include <QPalette>

#include "NumKinds.h"

class CNumEdit : public QLineEdit {
    Q_OBJECT

public:
    CNumEdit(int nId, QWidget* pParent);

    int Id() const { return m_nId; }

    // Sets the display kind (CNumKinds::Kind values) and the suffix kind 13
    // appends, then redisplays.
    void SetKind(int nKind, const QString& strSuffix = {});
    int GetKind() const { return m_kinds.nKind; }

    void SetStep(double dStep) { m_kinds.dStep = dStep; }
    void SetOffset(double dOffset) { m_kinds.dOffset = dOffset; }

    // Normally called by the spin; the value becomes nMin.
    void SetRange(int nMin, int nMax);
    int GetMax() const { return m_kinds.nMax; }

    // Out-of-range indexes are ignored without a message.
    void SetPos(int nIndex);
    // Reads typed text back first (no redisplay, no notification) and clears
    // the modified flag.
    int GetPos();
    // The index as it stands, without reading typed text.
    int GetValue() const { return m_nValue; }

    bool IsModified() const { return m_bModified; }

    // Background in RGB(137, 173, 209) while on.
    void EnableColor(bool bEnable);
    bool IsColorEnabled() const { return m_bColor; }

    const CNumKinds& Kinds() const { return m_kinds; }

    // Formats the value by the kind and shows it.
    virtual void Redisplay();

signals:
    // The value was committed from typed text (command notification code 0).
    void Notify(int nId);

protected:
    void focusOutEvent(QFocusEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    void CommitOnFocusLoss();
    bool CommitsAlways() const;

    const int m_nId;
    CNumKinds m_kinds;
    int m_nValue = 0;
    bool m_bModified = false;
    const QColor m_color{137, 173, 209};
    bool m_bColor = false;
    QPalette m_paletteBeforeColor;
};
