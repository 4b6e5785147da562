// Chinese texts for the standard buttons of Qt's message boxes (OK,
// Cancel, Yes, No …), chosen by the language flag at the moment a box is
// shown, so a Chinese form never asks its question with English buttons.
#pragma once

#include <QTranslator>

class CButtonTexts : public QTranslator {
public:
    QString translate(const char* szContext, const char* szSource, const char* szDisambiguation,
                      int n) const override;
    bool isEmpty() const override { return false; }

    // Installs the one instance on the application (once per process).
    static void Install();
};
