// The look and keyboard rules the program manager, report, Help and firmware
// update dialogs share: the dialog background, Arial lettering, push buttons
// that Enter never presses, and Enter and Esc that only move the focus to
// the dialog (CCommitKeys, as in the system and delay dialogs and on the
// main form).
//
// User-interface thread only.
#pragma once

#include <QDialog>

#include "CommitKeys.h"
#include "DialogUnits.h"
#include "Strings.h"

class QPushButton;

// The frame of every fixed-size dialog: a title and a close box only, so no
// platform adds a maximise or minimise button of its own.
inline constexpr Qt::WindowFlags kFixedDialogFrame =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

class CFormDialog : public QDialog {
    Q_OBJECT
public:
    // A unit-scaled template of nWidth × nHeight pixels.
    CFormDialog(QWidget* pParent, const QString& strName, int nWidth, int nHeight,
                CCommitKeys::Escape escape = CCommitKeys::Escape::kCommits);

protected:
    QPushButton* AddButton(int nId, TextId caption, const QRect& rect);
};
