#include "TestJob.h"

TestJob::TestJob(int number, int row, const QString &text)
    : number(number), row(row), text(text)
{
}

QStringList TestJob::addresses() const
{
    QStringList parts = text.split(QLatin1Char('-'));
    while (parts.size() < 2)
        parts.append(QString());
    return parts.mid(0, 2);
}
