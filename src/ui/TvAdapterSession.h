#pragma once
#include <QObject>
#include <QString>

struct AdapterRecord;
class TvAsk;
class TvLogBook;

// The one owner of "which adapter": the adapter table of the last
// enumeration and the adapter that is open in the core (its index in the
// table, bus and device number, key and the name the window shows for it).
// Pages are handed the session and read it; only the window's adapter
// selection changes it. GUI thread only.
class TvAdapterSession : public QObject
{
    Q_OBJECT
public:
    TvAdapterSession(TvAsk *ask, TvLogBook *log, QObject *parent = nullptr);

    // Asks the core for the installed adapters of the configured vendors;
    // the answer replaces the table. False when the core returned none.
    bool enumerate();
    const AdapterRecord *table() const { return adapters; }
    // Records up to the table's end record.
    int count() const;
    // A record of the table; index below count().
    const AdapterRecord &record(int index) const;

    int currentIndex() const { return current; }
    int currentBus() const { return bus; }
    int currentDevice() const { return device; }
    // "VVVV:DDDD:SVSV:SSSS" of the current adapter; empty without one.
    QString currentKey() const { return key; }
    // The adapter's name from its vital product data, else from its
    // description; empty without a current adapter.
    QString cardName() const { return name; }
    // The adapter as a log line names it: its name, bus and device.
    QString logName() const;
    // The status text of the last pick that the core refused; empty after
    // a pick that succeeded.
    QString selectFailure() const { return failure; }

    // Leaves no adapter current.
    void clear();
    // Opens the adapter at `index` of the table in the core and makes it
    // current. A failure is shown and leaves no adapter current.
    bool select(int index);
    // Set around the picks that the adapter refresh makes by itself: a
    // failure that persists is shown once; the log has each (selectFailure).
    void setAutomaticPick(bool on) { automaticPick = on; }
    // Whether the last automatic pick failed only because another instance
    // took the adapter after the table was read (two windows starting
    // together); no box was shown, and the table has been read again and
    // shows it in use. Asking clears it.
    bool takeLostPick();

signals:
    void selected(int index);
    void cleared();

private:
    void reportSelectFailure(int status);
    bool takenElsewhere(const AdapterRecord &picked);
    QString readCardName() const;

    TvAsk *ask;
    TvLogBook *log;
    AdapterRecord *adapters = nullptr;
    int current = -1;
    int bus = -1;
    int device = -1;
    QString key;
    QString name;
    QString failure;
    bool automaticPick = false;
    bool selectFailureShown = false;
    bool lostPick = false;
};
