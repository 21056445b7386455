// A MessageService for tests and scripted runs: records every message and question and answers
// questions from a queue, a function or a default, without showing anything.
#pragma once

#include "platform/MessageService.h"

#include <QList>
#include <QStringList>
#include <mutex>

#include <functional>

class MessageAnswerer : public MessageService
{
public:
    // Installs itself when asked; uninstalls itself on destruction if still installed.
    explicit MessageAnswerer(bool installNow = true);
    ~MessageAnswerer() override;

    void showMessage(const QString &text) override;
    // Recorded with the messages; its title with the titles.
    void showTitledMessage(const QString &title, const QString &text) override;
    bool askYesNo(const QString &text) override;
    // Recorded with the questions. Answered from the queued choices first, then from the Yes/No
    // answers (Yes is button 0, No button 1).
    int askChoice(const QString &text, const QStringList &buttons, int defaultIndex,
                  int escapeIndex) override;

    void queueAnswers(const QList<bool> &answers); // used first, in order
    void queueChoices(const QList<int> &choices);  // button indexes for askChoice, in order
    void setAnswerFunction(std::function<bool(const QString &question)> fn);
    void setDefaultAnswer(bool yes);

    QStringList messages() const;
    // The title of each message, in the same order ("" for a message without one).
    QStringList titles() const;
    QStringList questions() const;
    void clear();

private:
    mutable std::mutex m_mutex;
    QStringList m_messages;
    QStringList m_titles;
    QStringList m_questions;
    QList<bool> m_queued;
    QList<int> m_queuedChoices;
    std::function<bool(const QString &)> m_answerFn;
    bool m_default = false;
};
