#pragma once
#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <limits>

// Reads the numbers of the machine file, each against the range it must
// lie in (probekit/README.md lists them). A number outside its range, or
// something else in its place, is not bent into shape: the first such field
// is remembered with its path ("adapters[0].flashSize") and the file is
// refused. Readers for nested objects share that one problem.
class PkFieldReader
{
public:
    static constexpr qint64 IntMin = std::numeric_limits<qint32>::min();
    static constexpr qint64 IntMax = std::numeric_limits<qint32>::max();
    static constexpr qint64 Word = 0xFFFFFFFFLL;

    PkFieldReader(const QJsonObject &object, const QString &path, QByteArray *problem)
        : m_object(object), m_path(path), m_problem(problem) {}

    // The object under `name` (empty when absent), read under its own path.
    PkFieldReader child(const QString &name) const;
    PkFieldReader element(const QString &arrayName, int index, const QJsonObject &object) const;
    const QJsonObject &object() const { return m_object; }
    bool failed() const { return !m_problem->isEmpty(); }

    // A whole JSON number in [min, max]; `fallback` when absent or null.
    qint64 integer(const char *name, qint64 min, qint64 max, qint64 fallback) const;
    // The same for a value that is not a named field (an array element).
    qint64 integerValue(const QJsonValue &value, const QString &label, qint64 min, qint64 max,
                        qint64 fallback) const;
    // A JSON number or a hexadecimal string ("1A5E", "0xF7E00000") in [min, max].
    qint64 hex(const char *name, qint64 max, qint64 fallback, qint64 min = 0) const;
    // A real number in [min, max], as JSON or as text; `special` admits
    // "nan", "inf" and "-inf" as well.
    double real(const char *name, double min, double max, double fallback, bool special = false) const;

    // "adapters[0].faults.VpdReadKeyword" for a name read here.
    QString pathOf(const QString &name) const;

private:
    void refuse(const QString &label, const QJsonValue &value, const QByteArray &what) const;

    QJsonObject m_object;
    QString m_path;
    QByteArray *m_problem;
};
