#pragma once
#include <QByteArray>
#include <QString>

// Where the simulated machine lives and how fast it runs, taken from the
// process environment. Read on demand, so a test can change a variable
// between two calls without restarting the library.
class PkEnvironment
{
public:
    // PROBEKIT_MACHINE when set, else the machine file shipped with the
    // library (found from the library's own location), else ./machine.json.
    static QString machinePath();
    static QString stateDir();
    static QString lockDir();
    // Factor on every simulated duration; 0 makes everything instant. A
    // value that is not a number in 0..MaxTimeScale is said on standard
    // error: above it is clamped, anything else gives 1.
    static double timeScale();
    static constexpr double MaxTimeScale = 1000.0;
    // The raw fault switch text, "Func=status,Func2=status".
    static QByteArray faultText();

private:
    static QString fromEnv(const char *name);
};
