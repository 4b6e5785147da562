// Radio button whose box and text are drawn on a transparent background,
// so the dialog's skin or colour shows through; the text is black.
// UI thread only.
#pragma once

#include <QColor>
#include <QRadioButton>
#include <QString>

class QAbstractButton;

// Same look for a check box (or any platform button) of a skinned dialog.
void ApplyButtonRadioLook(QAbstractButton* pButton);

class CButtonRadio : public QRadioButton {
    Q_OBJECT
public:
    CButtonRadio(int nId, QWidget* pParent);
    CButtonRadio(int nId, const QString& strText, QWidget* pParent);

    int Id() const { return m_nId; }
    QColor TextColor() const;

signals:
    void Notify(int nId);

private:
    int m_nId;
};
