// Skinned push button: draws one of six skin images chosen by the pressed
// state its owner sets and by where the mouse is; the lettering is part of
// the images. clicked() (and Notify) report a click; the button never
// changes its own pressed state. UI thread only.
#pragma once

#include <QAbstractButton>
#include <array>

class CXPButton : public QAbstractButton {
    Q_OBJECT
public:
    // Index into the six image numbers, in SetImages argument order.
    enum ImageSlot : int {
        kPressedNormal, kPressedHover, kPressedHeld,
        kReleasedNormal, kReleasedHover, kReleasedHeld,
        kImageSlots
    };

    CXPButton(int nId, QWidget* pParent);

    int Id() const { return m_nId; }

    void SetImages(int nPressedNormal, int nPressedHover, int nPressedHeld,
                   int nReleasedNormal, int nReleasedHover, int nReleasedHeld);
    void SetImages(const std::array<int, kImageSlots>& images);
    // The six images of a skin button base in the language of the moment;
    // ApplyLanguage picks them again after the language has changed.
    void SetSkin(int nBase);
    void ApplyLanguage();
    int SkinBase() const { return m_nSkinBase; }
    // Shows its images painted at this scale (1: as designed), and takes
    // their size.
    void SetScale(double dScale);
    double Scale() const { return m_dScale; }

    // Redraws even when the state does not change.
    void SetPressed(bool bPressed);
    bool IsPressed() const { return m_bPressed; }

    // The image number the button shows now (0: nothing drawn).
    int CurrentImage() const;
    ImageSlot CurrentSlot() const;
    bool IsHover() const { return m_bHover; }
    bool IsHeld() const { return m_bHeld; }

    QSize sizeHint() const override;

signals:
    void Notify(int nId);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void enterEvent(QEnterEvent* pEvent) override;
    void leaveEvent(QEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;

private:
    void Redraw();
    void SetHover(bool bHover);

    int m_nId;
    std::array<int, kImageSlots> m_images {};
    int m_nSkinBase = 0;
    double m_dScale = 1.0;
    bool m_bPressed = true;
    bool m_bHover = false;
    bool m_bHeld = false;
};
