#include "TvBatchResult.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QLatin1String Mark("nicdiag-batch-result");

QJsonArray subTestsJson(const QList<TvBatchResult::SubTest> &subTests)
{
    QJsonArray out;
    for (const TvBatchResult::SubTest &s : subTests)
        out.append(QJsonObject{{QStringLiteral("test"), s.test},
                               {QStringLiteral("subTest"), s.subTest},
                               {QStringLiteral("result"), s.result}});
    return out;
}

QJsonArray sensorsJson(const QList<TvBatchResult::Sensor> &sensors)
{
    QJsonArray out;
    for (const TvBatchResult::Sensor &s : sensors)
        out.append(QJsonObject{{QStringLiteral("name"), s.name},
                               {QStringLiteral("type"), s.type},
                               {QStringLiteral("value"), s.value},
                               {QStringLiteral("inBand"), s.inBand}});
    return out;
}

QJsonArray portsJson(const QList<TvBatchResult::Port> &ports)
{
    QJsonArray out;
    for (const TvBatchResult::Port &p : ports)
        out.append(QJsonObject{{QStringLiteral("up"), p.up}, {QStringLiteral("bitsPerSecond"), p.bitsPerSecond}});
    return out;
}

bool isStatus(const QJsonValue &value)
{
    const int status = value.toInt(-1);
    return value.isDouble()
           && (status == TvBatchResult::Passed || status == TvBatchResult::Failed || status == TvBatchResult::NotRun);
}

} // namespace

QByteArray TvBatchResult::toJson() const
{
    const QJsonObject json{{QStringLiteral("format"), Mark},
                           {QStringLiteral("version"), FormatVersion},
                           {QStringLiteral("bus"), bus},
                           {QStringLiteral("device"), device},
                           {QStringLiteral("name"), name},
                           {QStringLiteral("serial"), serial},
                           {QStringLiteral("status"), int(status)},
                           {QStringLiteral("cancelled"), cancelled},
                           {QStringLiteral("message"), message},
                           {QStringLiteral("start"), start.toMSecsSinceEpoch()},
                           {QStringLiteral("seconds"), seconds},
                           {QStringLiteral("subTests"), subTestsJson(subTests)},
                           {QStringLiteral("sensors"), sensorsJson(sensors)},
                           {QStringLiteral("ports"), portsJson(ports)}};
    return QJsonDocument(json).toJson(QJsonDocument::Compact);
}

bool TvBatchResult::readJson(const QByteArray &bytes)
{
    const QJsonObject json = QJsonDocument::fromJson(bytes).object();
    if (json.value(QStringLiteral("format")).toString() != Mark
        || json.value(QStringLiteral("version")).toInt() != FormatVersion
        || !isStatus(json.value(QStringLiteral("status")))
        || !json.value(QStringLiteral("bus")).isDouble() || !json.value(QStringLiteral("device")).isDouble())
        return false;
    TvBatchResult read;
    read.bus = json.value(QStringLiteral("bus")).toInt();
    read.device = json.value(QStringLiteral("device")).toInt();
    read.name = json.value(QStringLiteral("name")).toString();
    read.serial = json.value(QStringLiteral("serial")).toString();
    read.status = Status(json.value(QStringLiteral("status")).toInt());
    read.cancelled = json.value(QStringLiteral("cancelled")).toBool();
    read.message = json.value(QStringLiteral("message")).toString();
    read.start = QDateTime::fromMSecsSinceEpoch(qint64(json.value(QStringLiteral("start")).toDouble()), Qt::UTC);
    read.seconds = json.value(QStringLiteral("seconds")).toDouble();
    for (const QJsonValue v : json.value(QStringLiteral("subTests")).toArray()) {
        const QJsonObject o = v.toObject();
        read.subTests.append({o.value(QStringLiteral("test")).toString(), o.value(QStringLiteral("subTest")).toString(),
                              o.value(QStringLiteral("result")).toString()});
    }
    for (const QJsonValue v : json.value(QStringLiteral("sensors")).toArray()) {
        const QJsonObject o = v.toObject();
        read.sensors.append({o.value(QStringLiteral("name")).toString(), o.value(QStringLiteral("type")).toInt(),
                             o.value(QStringLiteral("value")).toDouble(), o.value(QStringLiteral("inBand")).toBool()});
    }
    for (const QJsonValue v : json.value(QStringLiteral("ports")).toArray()) {
        const QJsonObject o = v.toObject();
        read.ports.append({o.value(QStringLiteral("up")).toBool(), o.value(QStringLiteral("bitsPerSecond")).toDouble()});
    }
    *this = read;
    return true;
}
