#include "TvProcessSignals.h"

#include <csignal>

void TvProcessSignals::ignoreFileSizeLimit()
{
    std::signal(SIGXFSZ, SIG_IGN);
}
