/*
 * probekit_testing.h - seams of the Linux backend for tests without
 * hardware. Not part of the interface the program uses.
 */
#ifndef PROBEKIT_TESTING_H
#define PROBEKIT_TESTING_H

#include "probekit.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Answers an ethtool request (a struct ethtool_* whose first word is the
 * command) for the named interface in place of the kernel: 0 on success,
 * else an errno value (EPERM, EOPNOTSUPP, ...). */
typedef int (*PkEthtoolHook)(const char *interfaceName, void *request);

/* A null hook gives the kernel back its requests. */
PROBEKIT_API void PkSetEthtoolHook(PkEthtoolHook hook);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* PROBEKIT_TESTING_H */
