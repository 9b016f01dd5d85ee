// nicdiag-helper: the privileged operations of the Linux backend, for a
// program that does not run as root. Started through pkexec by the core
// library; speaks on its standard input and output only.
#include "PkEthtoolReplay.h"
#include "PkHelperClient.h"
#include "PkHelperServer.h"

#include <csignal>
#include <cstdlib>

#include <unistd.h>

int main()
{
    // Started by pkexec, the helper runs as root for another user: nothing
    // of that user's may point it at other files than the machine's own.
    if (std::getenv("PKEXEC_UID")) {
        for (const char *name : {"PROBEKIT_REPLAY", "PROBEKIT_SYSFS_ROOT", "PROBEKIT_PCI_IDS", "PROBEKIT_HELPER"})
            ::unsetenv(name);
    }
    PkHelperClient::forbid();
    PkEthtoolReplay::setPrivileged(::geteuid() == 0);
    std::signal(SIGPIPE, SIG_IGN);
    // The signal that ends a blinking locate request early: handled by
    // doing nothing, without restarting the request.
    struct sigaction action {};
    action.sa_handler = [](int) {};
    sigemptyset(&action.sa_mask);
    sigaction(SIGUSR2, &action, nullptr);
    return PkHelperServer(STDIN_FILENO, STDOUT_FILENO).run();
}
