#pragma once
#include <QString>
#include <probekit.h>

// The console listing of the installed supported adapters (option -l).
class TvAdapterListing
{
public:
    static void listAdapters();

    // "VVVV:DDDD:SVSV:SSSS" of a record, as the adapter information file keys it.
    static QString adapterKey(const AdapterRecord &record);
    // The vendor filter of the configuration, ended by (0, 0); empty when the
    // configuration lists no vendor (the core then gets a null filter).
    static QVector<uint32_t> vendorFilter();
    // True for the record that ends an adapter table.
    static bool isEndRecord(const AdapterRecord &record);
};
