// The form's connection: the Connect button, the progress bar under it, the
// progress window shown over a batch, and the device the form opens.
//
// User-interface thread only; it reads the link's state, never its frames.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class CDisplayDlg;
class CGradientProgressCtrl;
class CLinkSession;
class CProcessor;
class CXPButton;
class QWidget;

class CConnectionPanel : public QObject {
public:
    // pForm holds the controls; progressOwner names the window the progress
    // window disables while it is shown.
    CConnectionPanel(CProcessor& processor, QWidget* pForm, std::function<QWidget*()> progressOwner);

    void SetDevice(const QString& strDevice) { m_strDevice = strDevice; }
    const QString& Device() const { return m_strDevice; }
    // The button and the bar, placed at nX, nY on the form; the progress
    // window on the form's window.
    void CreateControls(int nX, int nY);
    CXPButton* Button() const { return m_pConnect; }
    CDisplayDlg* ProgressDialog() const { return m_pDisplay; }

    bool IsConnected() const;
    // The Connect button: connects (the full read follows) or disconnects;
    // the form then calls AfterLinkEvent.
    void Toggle();
    // Whether the button last showed a link: a link that is gone then ends
    // what the form showed of it.
    bool ShownConnected() const;
    // After every link event: a closed link resets the progress and hides
    // its window; a batch that just started shows it.
    void AfterLinkEvent();

private:
    void Connect();
    void UpdateProgress();

    CProcessor& m_processor;
    CLinkSession& m_session;
    QWidget* m_pForm;
    std::function<QWidget*()> m_progressOwner;
    QString m_strDevice;
    QTimer m_progressTimer;
    CXPButton* m_pConnect = nullptr;                // 1413
    CGradientProgressCtrl* m_pProgress = nullptr;  // 1414
    CDisplayDlg* m_pDisplay = nullptr;              // 104
};
