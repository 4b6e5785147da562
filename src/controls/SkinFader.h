// Vertical fader drawn from skin images: a channel (the slot) and a thumb
// (the knob). Handles mouse, keys and wheel itself and reports to its owner
// with Moving while the thumb travels and Moved when a move is finished.
// The pages show the inverted position (top = highest value). UI thread only.
#pragma once

#include <QPixmap>
#include <QRgb>
#include <QTimer>
#include <QWidget>

class CSkinFader : public QWidget {
    Q_OBJECT
public:
    // Window message numbers the owner's handlers stand for.
    static constexpr int kMsgFaderMoving = 10449;
    static constexpr int kMsgFaderMoved = 10450;
    static constexpr int kMsgFaderFocus = 1225;   // WM_USER + 201
    // Mask colour that means "take the colour of pixel (x, y)".
    static constexpr QRgb kMaskFromPixel = 0xFF000000;
    static constexpr int kMovingPeriodMs = 50;
    static constexpr int kWheelNotch = 120;

    CSkinFader(int nId, QWidget* pParent);

    int Id() const { return m_nId; }

    // nActive 0: no active image. nNormal 0 drops the pair. False (and
    // nothing changed) when an image is unknown or the sizes differ.
    bool SetBitmapChannel(int nNormal, int nActive, bool bTransparent,
                          QRgb crMask = kMaskFromPixel, int x = 0, int y = 0);
    bool SetBitmapThumb(int nNormal, int nActive, bool bTransparent,
                        QRgb crMask = kMaskFromPixel, int x = 0, int y = 0);

    void SetRange(int nMin, int nMax, bool bRedraw = true);

    void SetPos(int nPos);
    int GetPos() const { return m_nPos; }
    void SetPosInverted(int nValue);
    int GetPosInverted() const { return m_nMax - m_nPos; }

    void SetMargin(int nLeft, int nTop, int nRight, int nBottom);
    // Shows the images painted at this scale (1: as designed), margins
    // scaled with them, and takes the channel's size.
    void SetScale(double dScale);

    // Message 1225: take the keyboard focus without reporting Moving.
    void FocusMessage();

    // Pixel rules of the thumb track (y of the thumb centre).
    int PixelFromPos(int nPos) const;
    int PosFromPixel(int y) const;
    int ThumbCentre() const { return PixelFromPos(m_nPos); }
    int TrackTop() const;
    int TrackBottom() const;
    int ThumbHeight() const { return m_thumb.pixNormal.height(); }
    bool IsDragging() const { return m_bDragging; }
    bool HasFocusFlag() const { return m_bHasFocus; }

    QSize sizeHint() const override;

signals:
    void Moving(int nId, int nPos);   // 10449
    void Moved(int nId, int nPos);    // 10450

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void wheelEvent(QWheelEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;
    void focusOutEvent(QFocusEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;

private:
    struct Source {
        int nNormal = 0;
        int nActive = 0;
        bool bTransparent = false;
        QRgb crMask = kMaskFromPixel;
        int x = 0;
        int y = 0;
    };
    struct Pair {
        QPixmap pixNormal;
        QPixmap pixActive;
        bool bTransparent = false;
    };
    bool LoadPair(Pair& pair, const Source& source) const;
    bool LoadChannel(const Source& source);
    bool LoadThumb(const Source& source);
    void ScaleMargins();
    void OnMovingTimer();
    void EndMouse();
    void MoveBy(int nDelta);
    int ClampPos(int nPos) const;
    int ClampToTrack(int y) const;
    void UpdateOpaque();
    void PaintChannel(QPainter& painter) const;
    void PaintThumb(QPainter& painter) const;
    void PaintFocusRect(QPainter& painter) const;

    int m_nId;
    int m_nMin = 0;
    int m_nMax = 100;
    int m_nPos = 0;
    static constexpr int kPageStep = 20;  // Page Up / Page Down
    int m_nMarginLeft = 0;
    int m_nMarginTop = 0;
    int m_nMarginRight = 0;
    int m_nMarginBottom = 0;
    int m_nBaseMargin[4] = {0, 0, 0, 0};
    double m_dScale = 1.0;
    Source m_channelSource;
    Source m_thumbSource;
    int m_nDragOffset = 0;
    bool m_bMoved = false;
    bool m_bDragging = false;
    bool m_bPressed = false;
    bool m_bHasFocus = false;
    bool m_bQuietFocus = false;
    Pair m_channel;
    Pair m_thumb;
    QTimer m_timerMoving;
};
