// Frame of the main form in which the editor page lies: a tab control
// without tabs whose border is drawn in 3-D shades of its background
// colour. UI thread only.
#pragma once

#include <QColor>
#include <QRect>
#include <QWidget>

class CEnTabCtrl : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDrawNone = 0;  // the style's own tab-widget frame
    static constexpr int kDrawTabs = 1;  // tabs only (there are none): as kDrawNone
    static constexpr int kDrawAll = 2;   // owner-drawn border in the background colour

    CEnTabCtrl(int nId, QWidget* pParent);

    int Id() const { return m_nId; }

    void SetBkgndColor(QColor crBkgnd);
    void SetDrawStyle(int nStyle);

    // Where the owner places its page, in this widget's coordinates: inside
    // the one-pixel border.
    QRect PageRect() const;
    // Border colours derived from the background colour.
    QColor TopLeftColor() const;
    QColor BottomRightColor() const;

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void DrawBorder(QPainter& painter) const;

    int m_nId;
    QColor m_crBkgnd;
    int m_nDrawStyle = kDrawNone;
};
