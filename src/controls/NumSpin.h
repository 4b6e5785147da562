// Spin button bound to a CNumEdit (its buddy): owns the range, steps the
// buddy's index, and tells the owner about changes, at most once per 400 ms
// while an arrow is held and once more at release. About 16 px wide; the
// owner places it beside the field.
//
// Step requests: a press on the upper or lower half (repeating while held),
// Up/Down keys in the buddy, the mouse wheel over the buddy or the spin.
//
// UI thread only.
#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

class CNumEdit;

class CNumSpin : public QWidget {
    Q_OBJECT

public:
    // Shows a warning to the user; tests replace it to capture the text.
    using MessageHook = std::function<void(QWidget* pParent, const QString& strText)>;

    static constexpr int kWidth = 16;
    static constexpr int kNotifyPeriodMs = 400;
    static constexpr int kRepeatDelayMs = 300;
    static constexpr int kRepeatPeriodMs = 100;

    CNumSpin(int nId, QWidget* pParent);

    int Id() const { return m_nId; }

    virtual void SetBuddy(CNumEdit* pBuddy);
    // Gives the range to the buddy (its value becomes nMin).
    virtual void SetRange(int nMin, int nMax);
    // The buddy's GetPos: typed text is committed first.
    virtual int GetPos();
    // Outside the range: "<buddy id>ID:Set Pos Error!" and nothing changes.
    virtual void SetPos(int nPos);
    virtual bool IsModified() const;

    // One step request as the arrows make it (+1 up, −1 down).
    void Step(int nDelta);
    bool IsHeld() const { return m_bHeld; }

    void SetMessageHook(MessageHook hook) { m_messageHook = std::move(hook); }

    QSize sizeHint() const override;

signals:
    // The position changed (command notification code 0).
    void Notify(int nId);

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void wheelEvent(QWheelEvent* pEvent) override;
    void hideEvent(QHideEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;

private:
    int NextPosition(int nDelta) const;
    int FrequencyStep(int nPos) const;
    void HandleWheel(QWheelEvent* pEvent);
    void OnRepeatTimer();
    void Release();
    void NotifyIfChanged();
    void ShowMessage(const QString& strText);
    QRect HalfRect(int nDelta) const;

    const int m_nId;
    QPointer<CNumEdit> m_pBuddy;
    int m_nPos = 0;
    int m_nMin = 0;
    int m_nMax = 0;
    bool m_bHeld = false;
    bool m_bChanged = false;
    int m_nHeldDelta = 0;   // +1 upper arrow, −1 lower arrow, 0 none
    int m_nWheelRemainder = 0;
    QTimer m_notifyTimer;
    QTimer m_repeatTimer;
    MessageHook m_messageHook;
};
