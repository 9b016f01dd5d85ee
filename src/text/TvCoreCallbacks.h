#pragma once
#include <probekit.h>

class QObject;

// The table of seven callbacks through which the core reports. The callbacks
// only format text and post TvCoreEvents to the receiver (the main window)
// through its TvEventChannel, the one the worker thread's completion events
// take too, so a test's texts arrive before its end. They never touch a
// widget, so any thread may call them.
class TvCoreCallbacks
{
public:
    // The main window while it exists; null before and after. Set on the
    // receiver's thread. Clearing the receiver releases every question still
    // waiting (answered Cancel).
    static void setReceiver(QObject *receiver);
    static bool hasReceiver();

    // All seven entries: tests and commands.
    static const CoreCallbacks *table();
    // Flash PROM work: stamped, log and result text, progress and question.
    static const CoreCallbacks *flashTable();

    // Posts an event to the receiver's channel under the receiver lock;
    // deletes the event and returns false when there is none.
    static bool post(class TvCoreEvent *event);

    // Asks a question through event 1060 and blocks until it is answered.
    // Returns 1 at once when there is no receiver.
    static int ask(const class QString &text, int button0, int button1, int button2);

    // Longest text a callback passes on (the 256-byte buffer less its zero).
    static constexpr int MaxText = 255;
};
