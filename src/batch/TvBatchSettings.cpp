#include "TvBatchSettings.h"

#include "text/TvText.h"

#include <QRegularExpression>

namespace {

QString batchText(const char *key)
{
    return TvText::translate("TvBatch", key);
}

QString badValueText(const QString &option, const QString &value)
{
    if (option == QLatin1String("--loops"))
        return batchText("BATCH_BAD_LOOPS %1 %2").arg(value).arg(TvBatchSettings::MaxLoops);
    if (option == QLatin1String("--answer"))
        return batchText("BATCH_BAD_ANSWER %1").arg(value);
    return batchText("BATCH_BAD_ADAPTER %1").arg(value);
}

} // namespace

bool TvBatchSettings::requested() const
{
    return !run.isEmpty() || !adapters.isEmpty() || allAdapters || loops != 1 || answer != AnswerNo
           || !recordsDir.isEmpty() || !prometheusFile.isEmpty() || quiet || !childReport.isEmpty()
           || !badValues.isEmpty();
}

QString TvBatchSettings::check() const
{
    if (!badValues.isEmpty())
        return badValueText(badValues.first().first, badValues.first().second);
    if (run.isEmpty())
        return batchText("BATCH_RUN_MISSING");
    if (!conflicts.isEmpty())
        return batchText("BATCH_CONFLICT %1").arg(conflicts.first());
    if (adapters.isEmpty() && !allAdapters)
        return batchText("BATCH_NO_ADAPTER");
    if (!adapters.isEmpty() && allAdapters)
        return batchText("BATCH_CONFLICT %1").arg(QStringLiteral("--adapter --all-adapters"));
    for (int i = 0; i < adapters.size(); ++i) {
        if (adapters.indexOf(adapters.at(i)) != i)
            return batchText("BATCH_ADAPTER_TWICE %1")
                .arg(QStringLiteral("%1:%2").arg(adapters.at(i).first).arg(adapters.at(i).second));
    }
    // One terminal cannot take the questions of several adapters at once.
    if (answer == AnswerAsk && (allAdapters || adapters.size() > 1))
        return batchText("BATCH_CONFLICT %1").arg(QStringLiteral("--answer ask"));
    return QString();
}

bool TvBatchSettings::parseAdapter(const QString &text, Adapter *adapter)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,3}):(\\d{1,2})$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return false;
    *adapter = {match.captured(1).toInt(), match.captured(2).toInt()};
    return adapter->first <= 255 && adapter->second <= 31;
}

bool TvBatchSettings::parseAnswer(const QString &text, Answer *answer)
{
    const QStringList names = {QStringLiteral("no"), QStringLiteral("yes"), QStringLiteral("ask")};
    const int index = names.indexOf(text);
    if (index < 0)
        return false;
    *answer = Answer(index);
    return true;
}

bool TvBatchSettings::parseLoops(const QString &text, int *loops)
{
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    if (!ok || value < 1 || value > MaxLoops)
        return false;
    *loops = int(value);
    return true;
}
