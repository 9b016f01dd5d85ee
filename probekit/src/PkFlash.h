#pragma once
#include "PkPacer.h"
#include "PkReporter.h"

#include <QByteArray>

#include <cstdint>

// The flash PROM's operations as the hardware paces them: chunk by chunk,
// with progress and a few messages. They work on copies; the caller stores
// the result.
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

private:
    // Reports progress from `from` to `to` over `chunks` paced chunks.
    static void chunks(int from, int to, int chunks, int chunkMs, const PkReporter &reporter,
                       const PkPacer &pacer);

    static constexpr int Chunks = 8;
    static constexpr int ChunkMs = 30;
};
