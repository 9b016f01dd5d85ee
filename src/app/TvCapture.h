#pragma once
#include <QString>

// `nicdiag --capture <directory>`: the core writes what it reads of every
// adapter present into the directory, in the form PROBEKIT_REPLAY replays,
// and the program ends. Console work: no display, no description files.
class TvCapture
{
public:
    // The core is initialised already. The core's texts go to standard
    // output as they come; returns the exit status: 0 when the capture is
    // whole, 1 when the core refused it or wrote it only in part.
    static int run(const QString &directory);
};
