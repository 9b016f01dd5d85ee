#pragma once
#include "PkAdapterModel.h"

#include <QByteArray>
#include <QMap>
#include <QString>

// What the adapter keeps across power cycles: its VPD and its flash PROM.
// Starts from the machine file and is kept in one JSON file per adapter in
// the state directory once anything has been written.
class PkAdapterState
{
public:
    void load(const QString &stateDir, const PkAdapterModel &model);
    bool save() const;

    QMap<QString, QByteArray> vpd() const;
    // Core status codes: 0, 15 (not writable), 18 (value too long),
    // 19 (no such keyword), 22 (could not be stored).
    int writeKeyword(const QString &keyword, const QByteArray &value);
    int deleteKeyword(const QString &keyword);

    const QByteArray &flash() const { return m_flash; }
    // False when the new contents could not be stored.
    bool setFlash(const QByteArray &contents);

    // What an adapter's flash holds before anyone programmed it.
    static QByteArray factoryImage(quint32 size, const QString &adapterKey);

private:
    QString m_file;
    QMap<QString, QByteArray> m_readOnly;
    QMap<QString, QByteArray> m_writable;
    bool m_vpdStored = false;
    QByteArray m_flash;
    bool m_flashStored = false;
};
