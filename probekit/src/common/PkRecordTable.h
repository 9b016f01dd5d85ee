#pragma once
#include "probekit.h"
#include "PkAdapterModel.h"

#include <QString>

#include <vector>

// The adapter table AdapterEnumerate hands out. Each table stays valid
// until the enumeration after next, for a caller still reading the one
// before.
class PkRecordTable
{
public:
    // Starts the next table.
    void begin();
    // Adds the adapter when the filter lists it, with its in-use flag from
    // its lock file in lockDir.
    void add(const PkAdapterModel &model, const uint32_t *filter, const QString &lockDir);
    // Ends the table with the all-zero record and hands it out.
    AdapterRecord *finish();
    void clear();

    // (vendor, device) pairs ended by (0, 0); device 0 is every device of
    // the vendor; a null filter lists everything.
    static bool matches(const PkAdapterModel &model, const uint32_t *filter);

private:
    std::vector<AdapterRecord> m_tables[2];
    int m_current = 0;
};
