// Message box that closes itself after one second, for failure messages a
// user need not acknowledge. UI thread only.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class CMsgBox {
public:
    static constexpr int kAutoCloseMs = 1000;

    // Remembers the parent of later boxes; only the first call counts.
    bool Create(QWidget* pParent);

    // Modal; returns when the user presses OK or after kAutoCloseMs,
    // whichever comes first.
    void Show(const QString& strText);

private:
    QPointer<QWidget> m_pParent;
    bool m_bCreated = false;
};
