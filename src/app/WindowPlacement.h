// Where windows may go: the available area of a widget's screen (without
// the desktop's panels), windows kept inside it, and dialogs placed on the
// screen of the form they open over. UI thread only.
#pragma once

#include <QObject>
#include <QRect>

class QWidget;

// The available area of pWidget's screen, or the area set in its place.
QRect AvailableArea(const QWidget* pWidget);
// An area in place of every screen's (for a window manager the platform
// does not describe, and for tests); an empty one gives the screens' back.
void SetAvailableArea(const QRect& rcArea);

// rc moved, and made smaller where it is larger, so that it lies in rcArea.
QRect KeptWithin(const QRect& rc, const QRect& rcArea);

// Places every dialog as it is shown on the screen of pForm's window and
// inside that screen's available area.
class CDialogPlacer : public QObject {
    Q_OBJECT
public:
    explicit CDialogPlacer(QWidget* pForm);

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    QWidget* m_pForm;
};
