#include "PkFlash.h"

#include <algorithm>
#include <cstring>

void PkFlash::chunks(int from, int to, int chunks, int chunkMs, const PkReporter &reporter,
                     const PkPacer &pacer)
{
    for (int i = 1; i <= chunks; ++i) {
        pacer.wait(chunkMs);
        reporter.progress(from + (to - from) * i / chunks);
    }
}

void PkFlash::read(const QByteArray &contents, uint8_t *buffer, uint32_t *size,
                   const PkReporter &reporter, const PkPacer &pacer)
{
    const uint32_t count = std::min<uint32_t>(*size, static_cast<uint32_t>(contents.size()));
    reporter.stamped(QByteArrayLiteral("Flash PROM: reading ") + QByteArray::number(count)
                     + QByteArrayLiteral(" bytes"));
    reporter.progress(0);
    chunks(0, 100, Chunks, ChunkMs, reporter, pacer);
    std::memcpy(buffer, contents.constData(), count);
    *size = count;
    reporter.stamped(QByteArrayLiteral("Flash PROM: ") + QByteArray::number(count)
                     + QByteArrayLiteral(" bytes read"));
}

QByteArray PkFlash::program(int flashSize, const uint8_t *image, uint32_t length,
                            const PkReporter &reporter, const PkPacer &pacer)
{
    QByteArray contents(flashSize, '\xFF');
    reporter.stamped(QByteArrayLiteral("Flash PROM: erasing"));
    reporter.progress(0);
    chunks(0, 30, Chunks / 2, ChunkMs, reporter, pacer);
    reporter.stamped(QByteArrayLiteral("Flash PROM: programming ") + QByteArray::number(length)
                     + QByteArrayLiteral(" bytes"));
    chunks(30, 90, Chunks, ChunkMs, reporter, pacer);
    std::memcpy(contents.data(), image, length);
    chunks(90, 100, 1, ChunkMs, reporter, pacer);
    reporter.stamped(QByteArrayLiteral("Flash PROM: ") + QByteArray::number(length)
                     + QByteArrayLiteral(" bytes programmed and verified"));
    return contents;
}

QByteArray PkFlash::erase(int flashSize, const PkReporter &reporter, const PkPacer &pacer)
{
    reporter.stamped(QByteArrayLiteral("Flash PROM: erasing"));
    reporter.progress(0);
    chunks(0, 100, Chunks, ChunkMs, reporter, pacer);
    reporter.stamped(QByteArrayLiteral("Flash PROM: erased"));
    return QByteArray(flashSize, '\xFF');
}
