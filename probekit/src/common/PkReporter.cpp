#include "PkReporter.h"
#include "PkText.h"

void PkReporter::stamped(const QByteArray &text) const
{
    if (m_callbacks && m_callbacks->stampedText)
        m_callbacks->stampedText("%s", PkText::cut(text, MaxText).constData());
}

// A console line ends with its line break, as on a terminal; the cut
// leaves room for it.
void PkReporter::log(const QByteArray &text) const
{
    if (m_callbacks && m_callbacks->logText)
        m_callbacks->logText("%s\n", PkText::cut(text, MaxText - 1).constData());
}

void PkReporter::result(const QByteArray &text) const
{
    if (m_callbacks && m_callbacks->resultText)
        m_callbacks->resultText("%s", PkText::cut(text, MaxText).constData());
}

void PkReporter::cell(int row, int column, int message) const
{
    if (m_callbacks && m_callbacks->catalogMessage)
        m_callbacks->catalogMessage(row, column, message);
}

void PkReporter::cellText(int row, int column, const QByteArray &text) const
{
    if (m_callbacks && m_callbacks->formattedMessage)
        m_callbacks->formattedMessage(row, column, "%s", PkText::cut(text, MaxText).constData());
}

void PkReporter::progress(int value) const
{
    if (m_callbacks && m_callbacks->progress)
        m_callbacks->progress(value);
}

int PkReporter::ask(int message, int button0, int button1, int button2, int fallback) const
{
    if (m_callbacks && m_callbacks->askUser)
        return m_callbacks->askUser(message, button0, button1, button2);
    return fallback;
}
