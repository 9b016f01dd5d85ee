#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// What one adapter's headless run came to: the line of the summary table
// and the samples of the metrics file. A child process hands it to its
// parent as JSON; the parent takes only a report that reads back whole.
class TvBatchResult
{
public:
    // The values are the exit statuses of a run on this adapter alone.
    enum Status { Passed = 0, Failed = 1, NotRun = 3 };

    struct SubTest {
        QString test;
        QString subTest;
        // passed, failed or cancelled (TvRunRecord::resultName)
        QString result;
    };
    struct Sensor {
        QString name;
        int type = 0; // 0 voltage, 1 temperature, 2 fan
        double value = 0;
        bool inBand = true;
    };
    struct Port {
        bool up = false;
        double bitsPerSecond = 0;
    };

    int bus = -1;
    int device = -1;
    QString name;
    QString serial;
    Status status = NotRun;
    bool cancelled = false;
    // Why the adapter failed or did not run; empty when it passed.
    QString message;
    QDateTime start;
    double seconds = 0;
    QList<SubTest> subTests;
    QList<Sensor> sensors;
    QList<Port> ports;

    QString adapterText() const { return QStringLiteral("%1:%2").arg(bus).arg(device); }

    QByteArray toJson() const;
    // False, with nothing changed, for anything but a report of this form.
    bool readJson(const QByteArray &json);

    // The report's mark and version: a file of any other kind is refused.
    static constexpr int FormatVersion = 1;
};
