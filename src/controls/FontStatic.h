// Dialog label drawn in Arial of a chosen pixel height and colour,
// optionally on a coloured field. UI thread only.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

class CFontStatic : public QWidget {
    Q_OBJECT
public:
    // Style flags of SetFontStyle, tested in this order.
    static constexpr int kAlignCentre = 0x20;
    static constexpr int kAlignRight = 0x80;
    static constexpr int kAlignLeft = 0x40;
    static constexpr int kDefaultHeight = 14;

    CFontStatic(int nId, QWidget* pParent);
    CFontStatic(int nId, const QString& strText, QWidget* pParent);

    int Id() const { return m_nId; }

    void SetText(const QString& strText);
    QString GetText() const { return m_strText; }
    QString text() const { return m_strText; }

    void SetTextColor(QColor crText);
    void SetFontStyle(int nHeight, QColor crText, int nFlags);

    QColor TextColor() const { return m_crText; }
    // Letters at this scale of the height set (1: as set).
    void SetScale(double dScale);

signals:
    // A left click on the label; the owner handles it like a command.
    void clicked(int nId);
    void Notify(int nId);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;

private:
    void InvalidateUnder();
    Qt::Alignment HorizontalAlignment() const;

    int m_nId;
    QString m_strText;
    int m_nHeight = kDefaultHeight;
    double m_dScale = 1.0;
    QColor m_crText = Qt::black;
    bool m_bLeft = false;
    bool m_bRight = false;
};
