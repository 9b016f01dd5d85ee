#pragma once
#include <QByteArray>
#include <QString>
#include <QVector>
#include <probekit.h>

// The console listing of the installed supported adapters (option -l).
class TvAdapterListing
{
public:
    // A listing that could not be written whole (a full disk, the file
    // size limit) is told on standard error, and so is an empty one, with
    // what to pass (emptyListingHint).
    static void listAdapters();
    // Why a listing can be empty, for the configuration file read: the
    // vendor IDs looked for, and the description files and backend that
    // go together.
    static QString emptyListingHint(const QString &configuration);

    // "VVVV:DDDD:SVSV:SSSS" of a record, as the adapter information file keys it.
    static QString adapterKey(const AdapterRecord &record);
    // The vendor filter of the configuration, always ended by (0, 0): a
    // configuration without vendors passes the end pair alone and lists no
    // adapter, where a null filter would list every vendor's devices.
    static QVector<uint32_t> vendorFilter();
    // AdapterEnumerate with that filter: the adapter table, null on failure.
    static AdapterRecord *enumerateAdapters();
    // True for the record that ends an adapter table.
    static bool isEndRecord(const AdapterRecord &record);
    // One printed line: the name as one line in a column of NameWidth
    // characters (cut or padded), then slot, bus and device number.
    static QByteArray adapterLine(const AdapterRecord &record, const QString &name);

    static constexpr int NameWidth = 63;

private:
    static void reportWriteFailure(int flushError);
    static void explainEmptyListing();
};
