// Etched group frame with a bold caption in a gap of its top line. A plain
// parent widget: controls may be placed inside it, or laid over it as
// siblings (it stays beneath its siblings so they keep their clicks).
// UI thread only.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

class CSxGroupBox : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCaptionOffset = 8;
    static constexpr int kLineWidth = 1;
    static constexpr double kCaptionPoints = 10.0;

    CSxGroupBox(int nId, QWidget* pParent);
    CSxGroupBox(int nId, const QString& strCaption, QWidget* pParent);

    int Id() const { return m_nId; }

    void SetText(const QString& strCaption, bool bRedraw = true);
    QString GetText() const { return m_strCaption; }
    QString text() const { return m_strCaption; }

    // y of the top line and the caption gap [left, right) in widget pixels;
    // the caption sits kCaptionOffset from the left edge.
    int TopLineY() const;
    int GapLeft() const;
    int GapRight() const;
    // Caption at this scale of its size (1: as designed).
    void SetScale(double dScale);

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void DrawFrame(QPainter& painter, QColor crLine, int nShift) const;
    void DrawCaption(QPainter& painter) const;
    int CaptionWidth() const;

    int m_nId;
    QString m_strCaption;
    QFont m_fontCaption;
};
