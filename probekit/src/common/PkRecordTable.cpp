#include "PkRecordTable.h"
#include "PkAdapterLock.h"

#include <cstring>

bool PkRecordTable::matches(const PkAdapterModel &model, const uint32_t *filter)
{
    if (!filter)
        return true;
    for (const uint32_t *pair = filter; pair[0] != 0 || pair[1] != 0; pair += 2) {
        if (pair[0] == model.vendorId && (pair[1] == 0 || pair[1] == model.deviceId))
            return true;
    }
    return false;
}

void PkRecordTable::begin()
{
    m_current ^= 1;
    m_tables[m_current].clear();
}

void PkRecordTable::add(const PkAdapterModel &model, const uint32_t *filter, const QString &lockDir)
{
    if (!matches(model, filter))
        return;
    AdapterRecord record = model.record();
    record.inUse = PkAdapterLock::isFree(PkAdapterLock::pathFor(lockDir, model.key())) ? 0 : 1;
    m_tables[m_current].push_back(record);
}

AdapterRecord *PkRecordTable::finish()
{
    AdapterRecord end;
    std::memset(&end, 0, sizeof end);
    m_tables[m_current].push_back(end);
    return m_tables[m_current].data();
}

void PkRecordTable::clear()
{
    m_tables[0].clear();
    m_tables[1].clear();
}
