// Label without background: the window font, its own text colour and the
// alignment, wrapping and ellipsis of a platform static. UI thread only.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

class CTransparentStatic : public QWidget {
    Q_OBJECT
public:
    CTransparentStatic(int nId, QWidget* pParent);
    CTransparentStatic(int nId, const QString& strText, QWidget* pParent);

    int Id() const { return m_nId; }

    void SetText(const QString& strText);
    void setText(const QString& strText) { SetText(strText); }
    QString GetText() const { return m_strText; }
    QString text() const { return m_strText; }

    void SetTextColor(QColor crText);
    QColor TextColor() const { return m_crText; }

    // Qt::AlignLeft/AlignRight/AlignHCenter; Qt::AlignVCenter asks for one
    // vertically centred line (no wrapping).
    void SetAlignment(Qt::Alignment nAlign);
    // Ellipsis for text too long for the label; any mode but ElideNone
    // turns wrapping off. ElideMiddle is the path ellipsis.
    void SetElideMode(Qt::TextElideMode nMode);
    // Off for a simple or non-wrapping label.
    // "&x" underlines x and "&&" shows one ampersand.
    void SetWordWrap(bool bWrap);

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void InvalidateUnder();
    int TextFlags() const;
    bool Wraps() const;

    int m_nId;
    QString m_strText;
    QColor m_crText = Qt::black;
    Qt::Alignment m_nAlign = Qt::AlignLeft;
    Qt::TextElideMode m_nElide = Qt::ElideNone;
    bool m_bWordWrap = true;
};
