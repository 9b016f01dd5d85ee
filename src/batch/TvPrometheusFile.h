#pragma once
#include "TvBatchResult.h"

#include <QList>
#include <QString>

// The metrics of a headless run in Prometheus's text exposition format,
// for node_exporter's textfile collector: one family after the other,
// each with its HELP and TYPE, labelled by adapter (bus, device, name,
// serial). The file is replaced whole or not at all.
class TvPrometheusFile
{
public:
    static QString text(const QList<TvBatchResult> &results);
    // Writes the text atomically; false with *errorText when the old file
    // had to stay.
    static bool write(const QString &path, const QList<TvBatchResult> &results, QString *errorText);
    // Whether a file can be made in the file's directory; *errorText says
    // why not (checked before anything runs).
    static bool directoryWritable(const QString &path, QString *errorText);

    // A label value with backslash, double quote and line feed escaped.
    static QString escaped(const QString &value);
};
