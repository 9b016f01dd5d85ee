#include "PkFieldReader.h"

#include <cmath>
#include <limits>

namespace {

QByteArray shown(const QJsonValue &value)
{
    if (value.isString())
        return '"' + value.toString().toUtf8().left(40) + '"';
    if (value.isDouble())
        return QByteArray::number(value.toDouble(), 'g', 17);
    if (value.isBool())
        return value.toBool() ? "true" : "false";
    if (value.isNull())
        return "null";
    return value.isArray() ? "an array" : "an object";
}

QByteArray span(double min, double max)
{
    return QByteArray::number(min, 'g', 17) + ".." + QByteArray::number(max, 'g', 17);
}

bool whole(double number, qint64 min, qint64 max)
{
    return std::isfinite(number) && std::floor(number) == number && number >= double(min)
        && number <= double(max);
}

} // namespace

QString PkFieldReader::pathOf(const QString &name) const
{
    return m_path.isEmpty() ? name : m_path + QLatin1Char('.') + name;
}

void PkFieldReader::refuse(const QString &label, const QJsonValue &value, const QByteArray &what) const
{
    if (m_problem->isEmpty())
        *m_problem = label.toUtf8() + " " + shown(value) + " is " + what;
}

PkFieldReader PkFieldReader::child(const QString &name) const
{
    return PkFieldReader(m_object.value(name).toObject(), pathOf(name), m_problem);
}

PkFieldReader PkFieldReader::element(const QString &arrayName, int index, const QJsonObject &object) const
{
    return PkFieldReader(object, pathOf(arrayName) + QStringLiteral("[%1]").arg(index), m_problem);
}

qint64 PkFieldReader::integer(const char *name, qint64 min, qint64 max, qint64 fallback) const
{
    return integerValue(m_object.value(QLatin1String(name)), pathOf(QLatin1String(name)), min, max, fallback);
}

qint64 PkFieldReader::integerValue(const QJsonValue &value, const QString &label, qint64 min,
                                   qint64 max, qint64 fallback) const
{
    if (value.isUndefined() || value.isNull())
        return fallback;
    if (!value.isDouble()) {
        refuse(label, value, "not a number");
        return fallback;
    }
    if (!whole(value.toDouble(), min, max)) {
        refuse(label, value, "not a whole number in " + span(double(min), double(max)));
        return fallback;
    }
    return qint64(value.toDouble());
}

qint64 PkFieldReader::hex(const char *name, qint64 max, qint64 fallback, qint64 min) const
{
    const QJsonValue value = m_object.value(QLatin1String(name));
    const QString label = pathOf(QLatin1String(name));
    if (!value.isString())
        return integerValue(value, label, min, max, fallback);
    QString digits = value.toString().trimmed();
    if (digits.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive))
        digits = digits.mid(2);
    bool ok = false;
    const qulonglong parsed = digits.toULongLong(&ok, 16);
    if (!ok || parsed > qulonglong(max) || qint64(parsed) < min) {
        refuse(label, value,
               ok ? "outside " + span(double(min), double(max)) : QByteArray("not a hexadecimal number"));
        return fallback;
    }
    return qint64(parsed);
}

double PkFieldReader::real(const char *name, double min, double max, double fallback, bool special) const
{
    const QJsonValue value = m_object.value(QLatin1String(name));
    const QString label = pathOf(QLatin1String(name));
    if (value.isUndefined() || value.isNull())
        return fallback;
    double number = value.toDouble();
    if (value.isString()) {
        const QString word = value.toString().trimmed().toLower();
        bool ok = false;
        number = word.toDouble(&ok);
        if (special && word == QLatin1String("nan"))
            return std::numeric_limits<double>::quiet_NaN();
        if (special && (word == QLatin1String("inf") || word == QLatin1String("+inf")))
            return std::numeric_limits<double>::infinity();
        if (special && word == QLatin1String("-inf"))
            return -std::numeric_limits<double>::infinity();
        if (!ok) {
            refuse(label, value, "not a number");
            return fallback;
        }
    } else if (!value.isDouble()) {
        refuse(label, value, "not a number");
        return fallback;
    }
    if (!std::isfinite(number) || number < min || number > max) {
        refuse(label, value, "outside " + span(min, max));
        return fallback;
    }
    return number;
}
