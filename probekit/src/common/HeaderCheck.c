/* Compiled as C so that the interface header stays usable from C. */
#include "probekit.h"

int probekitHeaderIsC(void);

int probekitHeaderIsC(void)
{
    AdapterRecord record = {0};
    CoreCallbacks callbacks = {0};
    (void)callbacks;
    return (int)sizeof record.miscText[0];
}
