#include "TvPrometheusFile.h"

#include "records/TvRunRecordWriter.h"

#include <QFileInfo>
#include <QTextStream>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

QString adapterLabels(const TvBatchResult &r)
{
    return QStringLiteral("bus=\"%1\",device=\"%2\",name=\"%3\",serial=\"%4\"")
        .arg(r.bus)
        .arg(r.device)
        .arg(TvPrometheusFile::escaped(r.name), TvPrometheusFile::escaped(r.serial));
}

QString number(double value)
{
    return QString::number(value, 'g', 15);
}

struct Family {
    const char *name;
    const char *help;
};

void header(QTextStream &out, const Family &family)
{
    out << "# HELP " << family.name << ' ' << family.help << '\n';
    out << "# TYPE " << family.name << " gauge\n";
}

void runFamilies(QTextStream &out, const QList<TvBatchResult> &results)
{
    const Family passed{"nicdiag_last_run_passed", "1 when every sub-test of the adapter's last run passed, else 0."};
    const Family status{"nicdiag_last_run_status", "Exit status of the adapter's last run: 0 passed, 1 failed or cancelled, 3 could not run."};
    const Family time{"nicdiag_last_run_timestamp_seconds", "Start of the adapter's last run, in seconds since the epoch."};
    const Family duration{"nicdiag_last_run_duration_seconds", "Duration of the adapter's last run."};
    header(out, passed);
    for (const TvBatchResult &r : results)
        out << passed.name << '{' << adapterLabels(r) << "} " << (r.status == TvBatchResult::Passed ? 1 : 0) << '\n';
    header(out, status);
    for (const TvBatchResult &r : results)
        out << status.name << '{' << adapterLabels(r) << "} " << int(r.status) << '\n';
    header(out, time);
    for (const TvBatchResult &r : results)
        out << time.name << '{' << adapterLabels(r) << "} " << number(r.start.toMSecsSinceEpoch() / 1000.0) << '\n';
    header(out, duration);
    for (const TvBatchResult &r : results)
        out << duration.name << '{' << adapterLabels(r) << "} " << number(r.seconds) << '\n';
}

void subTestFamily(QTextStream &out, const QList<TvBatchResult> &results)
{
    const Family family{"nicdiag_subtest_passed", "1 when the sub-test passed in the adapter's last run, 0 when it failed or was cancelled."};
    header(out, family);
    for (const TvBatchResult &r : results) {
        for (const TvBatchResult::SubTest &s : r.subTests)
            out << family.name << '{' << adapterLabels(r) << ",test=\"" << TvPrometheusFile::escaped(s.test)
                << "\",subtest=\"" << TvPrometheusFile::escaped(s.subTest) << "\"} "
                << (s.result == QLatin1String("passed") ? 1 : 0) << '\n';
    }
}

void sensorFamilies(QTextStream &out, const QList<TvBatchResult> &results)
{
    // Sensor types 0, 1 and 2 in base units: volts, degrees Celsius, and
    // fan revolutions per minute as hardware monitors report them.
    const Family families[] = {
        {"nicdiag_sensor_volts", "Voltage sensor reading after the adapter's last run."},
        {"nicdiag_sensor_celsius", "Temperature sensor reading after the adapter's last run."},
        {"nicdiag_sensor_fan_rpm", "Fan speed sensor reading after the adapter's last run."}};
    for (int type = 0; type < 3; ++type) {
        header(out, families[type]);
        for (const TvBatchResult &r : results) {
            for (const TvBatchResult::Sensor &s : r.sensors) {
                if (s.type == type)
                    out << families[type].name << '{' << adapterLabels(r) << ",sensor=\""
                        << TvPrometheusFile::escaped(s.name) << "\"} " << number(s.value) << '\n';
            }
        }
    }
    const Family inBand{"nicdiag_sensor_in_band", "1 when the sensor's reading lies between its alarm limits, else 0."};
    header(out, inBand);
    for (const TvBatchResult &r : results) {
        for (const TvBatchResult::Sensor &s : r.sensors)
            out << inBand.name << '{' << adapterLabels(r) << ",sensor=\"" << TvPrometheusFile::escaped(s.name)
                << "\"} " << (s.inBand ? 1 : 0) << '\n';
    }
}

void linkFamilies(QTextStream &out, const QList<TvBatchResult> &results)
{
    const Family up{"nicdiag_link_up", "1 when the port's link is up, else 0."};
    // Prometheus's base unit for data is the byte: the link's bit rate / 8.
    const Family speed{"nicdiag_link_speed_bytes_per_second", "Speed of the port's link in bytes per second; 0 while it is down."};
    header(out, up);
    for (const TvBatchResult &r : results) {
        for (int port = 0; port < r.ports.size(); ++port)
            out << up.name << '{' << adapterLabels(r) << ",port=\"" << port << "\"} " << (r.ports.at(port).up ? 1 : 0) << '\n';
    }
    header(out, speed);
    for (const TvBatchResult &r : results) {
        for (int port = 0; port < r.ports.size(); ++port)
            out << speed.name << '{' << adapterLabels(r) << ",port=\"" << port << "\"} "
                << number(r.ports.at(port).bitsPerSecond / 8) << '\n';
    }
}

} // namespace

QString TvPrometheusFile::escaped(const QString &value)
{
    QString out;
    for (const QChar c : value) {
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c == QLatin1Char('"'))
            out += QLatin1String("\\\"");
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else
            out += c;
    }
    return out;
}

QString TvPrometheusFile::text(const QList<TvBatchResult> &results)
{
    QString text;
    QTextStream out(&text);
    runFamilies(out, results);
    subTestFamily(out, results);
    sensorFamilies(out, results);
    linkFamilies(out, results);
    out.flush();
    return text;
}

bool TvPrometheusFile::write(const QString &path, const QList<TvBatchResult> &results, QString *errorText)
{
    return TvRunRecordWriter::writeAtomically(path, text(results).toUtf8(), errorText);
}

bool TvPrometheusFile::directoryWritable(const QString &path, QString *errorText)
{
    const QString directory = QFileInfo(path).absolutePath();
    if (::access(QFile::encodeName(directory).constData(), W_OK | X_OK) == 0)
        return true;
    *errorText = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}
