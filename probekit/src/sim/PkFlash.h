#pragma once
#include "PkPacer.h"
#include "PkReporter.h"

#include <QByteArray>

#include <cstdint>

// The flash PROM's operations as the hardware paces them: step by step,
// with progress from 0 to 100 in twenty steps and a stamped text at start
// and end. At time scale 1 a 128 KiB PROM reads in about 2 s, erases in
// about 1 s and programs (erase, write, verify) in about 2 s; other sizes
// take their share. They work on copies; the caller stores the result.
class PkFlash
{
public:
    // Copies the PROM into buffer; *size: the buffer's size in, the bytes
    // copied out (a smaller buffer gets the start of the PROM).
    static void read(const QByteArray &contents, uint8_t *buffer, uint32_t *size,
                     const PkReporter &reporter, const PkPacer &pacer);
    // The PROM after erasing it and programming `length` bytes from its start.
    static QByteArray program(int flashSize, const uint8_t *image, uint32_t length,
                              const PkReporter &reporter, const PkPacer &pacer);
    static QByteArray erase(int flashSize, const PkReporter &reporter, const PkPacer &pacer);

    static constexpr int Steps = 20;

private:
    // Reports progress from `from` to `to` over `steps` paced steps that
    // take `totalMs` together.
    static void steps(int from, int to, int steps, int totalMs, const PkReporter &reporter,
                      const PkPacer &pacer);
    // The time `msPer128K` milliseconds per 128 KiB give `bytes`.
    static int duration(int msPer128K, quint64 bytes);
};
