#include "platform/MessageAnswerer.h"

MessageAnswerer::MessageAnswerer(bool installNow)
{
    if (installNow)
        MessageService::install(this);
}

MessageAnswerer::~MessageAnswerer()
{
    MessageService::uninstall(this);
}

void MessageAnswerer::showMessage(const QString &text)
{
    showTitledMessage(QString(), text);
}

void MessageAnswerer::showTitledMessage(const QString &title, const QString &text)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_messages.append(text);
    m_titles.append(title);
}

bool MessageAnswerer::askYesNo(const QString &text)
{
    std::function<bool(const QString &)> fn;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_questions.append(text);
        if (!m_queued.isEmpty())
            return m_queued.takeFirst();
        if (!m_answerFn)
            return m_default;
        fn = m_answerFn;
    }
    return fn(text); // outside the lock: the function may look at the recorded texts
}

int MessageAnswerer::askChoice(const QString &text, const QStringList &, int, int)
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_queuedChoices.isEmpty()) {
            m_questions.append(text);
            return m_queuedChoices.takeFirst();
        }
    }
    return askYesNo(text) ? 0 : 1;
}

void MessageAnswerer::queueChoices(const QList<int> &choices)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_queuedChoices.append(choices);
}

void MessageAnswerer::queueAnswers(const QList<bool> &answers)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_queued.append(answers);
}

void MessageAnswerer::setAnswerFunction(std::function<bool(const QString &)> fn)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_answerFn = std::move(fn);
}

void MessageAnswerer::setDefaultAnswer(bool yes)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_default = yes;
}

QStringList MessageAnswerer::messages() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_messages;
}

QStringList MessageAnswerer::titles() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_titles;
}

QStringList MessageAnswerer::questions() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_questions;
}

void MessageAnswerer::clear()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_messages.clear();
    m_titles.clear();
    m_questions.clear();
    m_queued.clear();
    m_queuedChoices.clear();
}
