#pragma once
#include <QString>

// What the script runner needs of the window it runs for. Every call
// touches widgets: the runner makes them on the GUI thread and waits for
// their result.
class TvScriptHost
{
public:
    virtual ~TvScriptHost() = default;

    // Runs one command line: -1 the program is to end, 0 handled and
    // nothing queued, 1 a core command was queued.
    virtual int executeCommand(const QString &line) = 0;
    // Queues the line for the core as it stands, whatever its first
    // character (the rest of a long script line): 0 or 1 as above.
    virtual int executeCoreCommand(const QString &line) = 0;
    virtual void setControlsEnabled(bool enabled) = 0;
    virtual void setScriptRunning(bool on) = 0;
    // An OK-only message.
    virtual void showMessage(const QString &text) = 0;
};
