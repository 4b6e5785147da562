// Progress bar filled with a red-to-blue gradient in bands of one colour
// step each. UI thread only.
#pragma once

#include <QColor>
#include <QWidget>

class CGradientProgressCtrl : public QWidget {
    Q_OBJECT
public:
    CGradientProgressCtrl(int nId, QWidget* pParent);

    int Id() const { return m_nId; }

    // Also moves the position to nLower.
    void SetRange(int nLower, int nUpper);
    // Limited to at most the upper bound; returns the previous position.
    int SetPos(int nPos);
    int GetPos() const { return m_nPos; }
    int GetUpper() const { return m_nUpper; }

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void DrawBands(QPainter& painter, int nBarLength) const;

    int m_nId;
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nPos = 0;
    QColor m_crStart{255, 0, 0};
    QColor m_crEnd{0, 0, 255};
};
