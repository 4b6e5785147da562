// What both channel-link dialogs are: a question, a group of radio buttons
// naming the channel whose settings the linked channels start from, and
// "OK" / "Cancel". Laid out in dialog units like the dialog templates.
//
// User-interface thread only.
#pragma once

#include <QButtonGroup>
#include <QDialog>
#include <QRect>
#include <vector>

class CButtonRadio;

class CLinkChoiceDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kIdOk = 1;
    static constexpr int kIdCancel = 2;

    // The radio index chosen (0 for the first radio).
    int Choice() const { return m_nChoice; }

    // Pixels of a rectangle given in dialog units.
    static QRect DluRect(int x, int y, int cx, int cy);

protected:
    CLinkChoiceDlg(int nWidthDlu, int nHeightDlu, QWidget* pParent);

    // Radios in order of their index, one a line from nTopDlu down.
    CButtonRadio* AddRadio(int nId, int nTopDlu);
    CButtonRadio* Radio(int nIndex) const { return m_radios[static_cast<size_t>(nIndex)]; }
    // nButtonsY: top of the OK and Cancel buttons, dialog units.
    void AddButtons(int nButtonsY);

    void showEvent(QShowEvent* pEvent) override;

private:
    QButtonGroup m_group;
    std::vector<CButtonRadio*> m_radios;
    int m_nChoice = 0;
    int m_nWidthDlu;
};
