#include "TvText.h"

#include <QCoreApplication>

QString TvText::translate(const char *context, const QString &key)
{
    const QByteArray utf8 = key.toUtf8();
    return QCoreApplication::translate(context, utf8.constData());
}

QString TvText::translate(const char *context, const char *key)
{
    return QCoreApplication::translate(context, key);
}
