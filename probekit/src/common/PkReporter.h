#pragma once
#include "probekit.h"

#include <QByteArray>

// Reports through the program's callback table. Any entry, or the whole
// table, may be missing (flash work passes a partial table); texts go out
// as data behind a "%s" format ("%s\n" for the console's lines, which end
// as a terminal's do) and cut to the program's 256-byte buffers.
class PkReporter
{
public:
    explicit PkReporter(const CoreCallbacks *callbacks) : m_callbacks(callbacks) {}

    void stamped(const QByteArray &text) const;
    void log(const QByteArray &text) const;
    void result(const QByteArray &text) const;
    void cell(int row, int column, int message) const;
    void cellText(int row, int column, const QByteArray &text) const;
    void progress(int value) const;
    // The button code pressed; `fallback` when nobody can be asked.
    int ask(int message, int button0, int button1, int button2, int fallback) const;

    static constexpr int MaxText = 255;

private:
    const CoreCallbacks *m_callbacks;
};
