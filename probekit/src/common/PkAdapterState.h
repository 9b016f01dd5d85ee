#pragma once
#include "PkAdapterModel.h"

#include <QByteArray>
#include <QJsonValue>
#include <QMap>
#include <QString>

#include <functional>

// What the adapter keeps across power cycles: its VPD and its flash PROM.
// Starts from the machine file and is kept in one JSON file per adapter in
// the state directory once anything has been written. A state file that
// cannot be taken (damaged, cut short, not ours, not a file) is moved
// aside, never overwritten, and the adapter starts from its factory
// contents with a line saying so.
class PkAdapterState
{
public:
    void load(const QString &stateDir, const PkAdapterModel &model);
    // False, with a line on standard error, when the file was not replaced
    // with every byte; the file on disk then is the one before.
    bool save() const;
    // Why the last save failed.
    QByteArray saveFailure() const { return m_saveFailure; }
    // What load() had to say about a refused state file, once.
    QByteArray takeNotice();
    // The largest state file an adapter with this flash size writes.
    static qint64 fileLimit(quint32 flashSize);

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
    int changeWritable(const std::function<void()> &change);
    bool takeStored(const QByteArray &text, QByteArray *why);
    bool takeVpd(const QJsonValue &value, QByteArray *why);
    bool takeFlash(const QJsonValue &value, QByteArray *why);
    void setAside(const QByteArray &why);

    QString m_file;
    bool m_keepOff = false; // a refused file that could not be moved aside
    mutable QByteArray m_saveFailure;
    QByteArray m_notice;
    QMap<QString, QByteArray> m_readOnly;
    QMap<QString, QByteArray> m_writable;
    bool m_vpdStored = false;
    QByteArray m_flash;
    bool m_flashStored = false;
};
