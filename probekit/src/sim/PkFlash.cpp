#include "PkFlash.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int ReadMs = 2000;
constexpr int EraseMs = 1000;
// Programming: erase a quarter of the time, write, then verify.
constexpr int ProgramEraseMs = 500;
constexpr int ProgramWriteMs = 1300;
constexpr int ProgramVerifyMs = 200;

} // namespace

int PkFlash::duration(int msPer128K, quint64 bytes)
{
    return static_cast<int>((static_cast<quint64>(msPer128K) * bytes + 65536) / 131072);
}

void PkFlash::steps(int from, int to, int steps, int totalMs, const PkReporter &reporter,
                    const PkPacer &pacer)
{
    for (int i = 1; i <= steps; ++i) {
        // Each step its share of the whole, so the rounding does not add up.
        pacer.wait(totalMs * i / steps - totalMs * (i - 1) / steps);
        reporter.progress(from + (to - from) * i / steps);
    }
}

void PkFlash::read(const QByteArray &contents, uint8_t *buffer, uint32_t *size,
                   const PkReporter &reporter, const PkPacer &pacer)
{
    const uint32_t count = std::min<uint32_t>(*size, static_cast<uint32_t>(contents.size()));
    reporter.stamped(QByteArrayLiteral("Flash PROM: reading ") + QByteArray::number(count)
                     + QByteArrayLiteral(" bytes"));
    reporter.progress(0);
    steps(0, 100, Steps, duration(ReadMs, count), reporter, pacer);
    std::memcpy(buffer, contents.constData(), count);
    *size = count;
    reporter.stamped(QByteArrayLiteral("Flash PROM: ") + QByteArray::number(count)
                     + QByteArrayLiteral(" bytes read"));
}

QByteArray PkFlash::program(int flashSize, const uint8_t *image, uint32_t length,
                            const PkReporter &reporter, const PkPacer &pacer)
{
    QByteArray contents(flashSize, '\xFF');
    reporter.stamped(QByteArrayLiteral("Flash PROM: programming ") + QByteArray::number(length)
                     + QByteArrayLiteral(" bytes"));
    reporter.progress(0);
    steps(0, 25, Steps / 4, duration(ProgramEraseMs, static_cast<quint64>(flashSize)), reporter, pacer);
    std::memcpy(contents.data(), image, length);
    steps(25, 90, Steps * 13 / 20, duration(ProgramWriteMs, length), reporter, pacer);
    steps(90, 100, Steps / 10, duration(ProgramVerifyMs, length), reporter, pacer);
    reporter.stamped(QByteArrayLiteral("Flash PROM: ") + QByteArray::number(length)
                     + QByteArrayLiteral(" bytes programmed and verified"));
    return contents;
}

QByteArray PkFlash::erase(int flashSize, const PkReporter &reporter, const PkPacer &pacer)
{
    reporter.stamped(QByteArrayLiteral("Flash PROM: erasing ") + QByteArray::number(flashSize)
                     + QByteArrayLiteral(" bytes"));
    reporter.progress(0);
    steps(0, 100, Steps, duration(EraseMs, static_cast<quint64>(flashSize)), reporter, pacer);
    reporter.stamped(QByteArrayLiteral("Flash PROM: erased"));
    return QByteArray(flashSize, '\xFF');
}
