#include "TvRunRecorder.h"

#include "ui/TvAdapterSession.h"
#include "ui/TvAsk.h"
#include "ui/TvContextText.h"
#include "ui/log/TvLogBook.h"
#include "ui/sensors/TvSensorPage.h"
#include "ui/testpage/TvTestPage.h"
#include "ui/testpage/TvTestProgress.h"
#include "ui/testpage/TvTestRun.h"

#include "description/CAdapterInfo.h"
#include "engine/TvLogModel.h"
#include "text/TvProgram.h"

#include <probekit.h>

#include <QCheckBox>
#include <QDir>
#include <QSysInfo>

#include <algorithm>

namespace {

constexpr TvContextText msg{"TvRunRecorder"};

// A VPD keyword's value as text; null when the adapter has none. A value
// holds at most 255 bytes: 256 take it with its terminating zero.
QString readVpdText(const char *keyword)
{
    char buffer[256] = {};
    uint32_t size = sizeof buffer;
    if (VpdReadKeyword(keyword, buffer, &size) != 0)
        return QString();
    const uint32_t length = std::min<uint32_t>(size, sizeof buffer);
    return QString::fromUtf8(buffer, int(qstrnlen(buffer, length)));
}

TvRunRecord::Result resultOf(int outcome)
{
    switch (outcome) {
    case TvTestRun::Passed:
        return TvRunRecord::Passed;
    case TvTestRun::Failed:
        return TvRunRecord::Failed;
    default:
        return TvRunRecord::Cancelled;
    }
}

} // namespace

TvRunRecorder::TvRunRecorder(TvTestRun *run, TvTestPage *page, TvAdapterSession *session,
                             TvLogBook *log, TvAsk *ask, TvSensorPage *sensors, QObject *parent)
    : QObject(parent), run(run), page(page), session(session), log(log), ask(ask),
      sensors(sensors)
{
    connect(run, &TvTestRun::runStarting, this, &TvRunRecorder::runStarting);
    connect(run, &TvTestRun::subTestStarted, this, &TvRunRecorder::subTestStarted);
    connect(run, &TvTestRun::subTestEnded, this, &TvRunRecorder::subTestEnded);
    connect(run, &TvTestRun::coreResultText, this, &TvRunRecorder::coreResultText);
    connect(run, &TvTestRun::runFinished, this, &TvRunRecorder::runFinished);
    connect(&recordWriter, &TvRunRecordWriter::written, this, [this] { failureShown = false; });
    connect(&recordWriter, &TvRunRecordWriter::failed, this, &TvRunRecorder::writeFailed);
}

QString TvRunRecorder::directory()
{
    const CAdapterInfo &info = CAdapterInfo::instance();
    return QDir(info.basePathOf(info.logpath)).filePath(QStringLiteral("runs"));
}

void TvRunRecorder::runStarting()
{
    if (state != Idle || CAdapterInfo::instance().run_records == 0)
        return;
    state = Armed;
    // The run's own lines begin with the ones its start writes.
    logMark = log->model()->count();
}

void TvRunRecorder::beginRecord()
{
    state = Active;
    record = TvRunRecord();
    record.programName = CAdapterInfo::instance().name;
    record.programVersion =
        QStringLiteral("%1.%2").arg(TvProgram::VersionMajor).arg(TvProgram::VersionMinor);
    record.host = QSysInfo::machineHostName();
    record.start = QDateTime::currentDateTimeUtc();
    const int number = page->currentNumber();
    record.kind = run->isAllTests()                            ? QStringLiteral("allTests")
                  : number == TvTestPage::ConnectivityNumber ? QStringLiteral("connectivity")
                                                               : QStringLiteral("testCase");
    record.looped = page->loopBox()->isChecked();
    readAdapter();
    lastRow = -1;
    openRow = -1;
    sampleSensors();
}

void TvRunRecorder::readAdapter()
{
    TvRunRecord::Adapter &a = record.adapter;
    const int index = session->currentIndex();
    if (index < 0 || index >= session->count())
        return;
    const AdapterRecord &r = session->record(index);
    a.bus = r.busNumber;
    a.device = r.deviceNumber;
    a.slot = r.slotNumber;
    a.vendorId = r.vendorId;
    a.deviceId = r.deviceId;
    a.subsystemVendorId = r.subsystemVendorId;
    a.subsystemId = r.subsystemId;
    a.name = session->cardName();
    // Read while no job is queued: the core is idle.
    a.serialNumber = readVpdText("SN");
    a.partNumber = readVpdText("PN");
}

bool TvRunRecorder::startsNewTestCase(int row) const
{
    // Within one pass of one test case the rows only go forward.
    return record.testCases.isEmpty() || record.testCases.last().number != page->currentNumber()
           || row <= lastRow;
}

void TvRunRecorder::openTestCase()
{
    TvRunRecord::TestCase t;
    t.number = page->currentNumber();
    t.name = page->currentEntryText();
    for (const TvRunRecord::TestCase &before : qAsConst(record.testCases))
        t.pass += before.number == t.number ? 1 : 0;
    for (int k = 0; k < TvTestPage::RowCount && !page->row(k)->isHidden(); ++k) {
        TvRunRecord::SubTest s;
        s.number = page->row(k)->testCase();
        s.label = page->row(k)->testName();
        s.selected = page->row(k)->isChecked();
        t.subTests.append(s);
    }
    record.testCases.append(t);
}

TvRunRecord::SubTest *TvRunRecorder::subTestOfRow(int row)
{
    if (record.testCases.isEmpty() || row < 0 || row >= record.testCases.last().subTests.size())
        return nullptr;
    return &record.testCases.last().subTests[row];
}

void TvRunRecorder::subTestStarted(int row)
{
    if (state == Idle)
        return;
    if (state == Armed)
        beginRecord();
    if (startsNewTestCase(row))
        openTestCase();
    lastRow = row;
    TvRunRecord::SubTest *s = subTestOfRow(row);
    if (!s)
        return;
    openRow = row;
    s->start = QDateTime::currentDateTimeUtc();
    subTestClock.start();
}

void TvRunRecorder::subTestEnded(int row, int outcome)
{
    TvRunRecord::SubTest *s = state == Active && row == openRow ? subTestOfRow(row) : nullptr;
    if (!s)
        return;
    openRow = -1;
    s->result = resultOf(outcome);
    s->resultText = page->row(row)->resultText();
    s->progress = page->row(row)->progress();
    s->seconds = subTestClock.elapsed() / 1000.0;
    sampleSensors();
}

void TvRunRecorder::coreResultText(const QString &text)
{
    if (TvRunRecord::SubTest *s = state == Active ? subTestOfRow(openRow) : nullptr)
        s->coreText = text;
}

void TvRunRecorder::questionAnswered(const QString &text, int answer)
{
    if (state == Active)
        record.questions.append({QDateTime::currentDateTimeUtc(), text, answer});
}

void TvRunRecorder::sampleSensors()
{
    if (!sensors)
        return;
    const QVector<TvSensorPage::Sample> samples = sensors->readSamples();
    for (int i = 0; i < samples.size(); ++i)
        record.addSensorReading(i, samples.at(i).name, samples.at(i).type, samples.at(i).value);
}

void TvRunRecorder::runFinished(bool cancelled)
{
    if (state != Active) {
        state = Idle;
        return;
    }
    // A row that never came back: the window went away, or its start failed.
    if (TvRunRecord::SubTest *s = subTestOfRow(openRow)) {
        s->result = cancelled ? TvRunRecord::Cancelled : TvRunRecord::Failed;
        s->resultText = cancelled ? page->row(openRow)->resultText() : msg("RUN_RECORD_NOT_STARTED");
        s->seconds = subTestClock.elapsed() / 1000.0;
    }
    record.end = QDateTime::currentDateTimeUtc();
    record.cancelled = cancelled;
    TvLogModel *lines = log->model();
    record.log = lines->linesFrom(logMark <= lines->count() ? logMark : 0);
    recordWriter.write(record, directory());
    record = TvRunRecord();
    state = Idle;
    openRow = -1;
}

void TvRunRecorder::writeFailed(const QString &path, const QString &errorText)
{
    const QString text = msg("RUN_RECORD_WRITE_FAILED %1 %2").arg(path, errorText);
    log->addForcedLine(text);
    // A full disk would fail every run's record: one box says it.
    if (failureShown)
        return;
    failureShown = true;
    ask->message(TvDialogSeam::Warning, text, TvDialogSeam::Ok);
}

void TvRunRecorder::closeForExit()
{
    runFinished(true);
    recordWriter.waitForDone();
}
