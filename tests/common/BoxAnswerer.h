// Answers the message boxes a widget opens, in order, and keeps their texts.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <deque>
#include <vector>

class BoxAnswerer {
public:
    explicit BoxAnswerer(std::deque<QMessageBox::StandardButton> answers)
        : m_answers(std::move(answers))
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Answer(); });
        m_timer.start();
    }

    std::vector<QString> m_asked;
    std::vector<QMessageBox::StandardButtons> m_offered;
    std::vector<QStringList> m_buttonTexts;

private:
    void Answer()
    {
        auto* pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!pBox || !pBox->isVisible())
            return;
        m_asked.push_back(pBox->text());
        m_offered.push_back(pBox->standardButtons());
        QStringList texts;
        for (QAbstractButton* pOffered : pBox->buttons())
            texts << pOffered->text();
        m_buttonTexts.push_back(texts);
        QAbstractButton* pButton = nullptr;
        if (!m_answers.empty()) {
            pButton = pBox->button(m_answers.front());
            m_answers.pop_front();
        }
        if (pButton)
            pButton->click();
        else
            pBox->reject();
    }

    std::deque<QMessageBox::StandardButton> m_answers;
    QTimer m_timer;
};

