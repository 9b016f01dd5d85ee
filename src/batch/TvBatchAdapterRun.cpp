#include "TvBatchAdapterRun.h"
#include "TvBatchConsole.h"

#include "core/TvAdapterListing.h"
#include "core/TvDriverSession.h"
#include "core/TvStatusCodes.h"
#include "description/CAdapterInfo.h"
#include "engine/TestJob.h"
#include "engine/TvLogFile.h"
#include "engine/TvLogModel.h"
#include "engine/TvWorkerThread.h"
#include "records/TvRunRecordWriter.h"
#include "text/TvCoreCallbacks.h"
#include "text/TvCoreEvent.h"
#include "text/TvAnswerGate.h"
#include "text/TvProgram.h"
#include "text/TvText.h"

#include <QDir>
#include <QSysInfo>

#include <vector>

namespace {

QString batchText(const char *key)
{
    return TvText::translate("TvBatch", key);
}

// The window's own log texts, so that a saved log reads the same.
QString windowText(const char *key)
{
    return TvText::translate("TvDiagMainWindow", key);
}

QString vpdText(const char *keyword)
{
    std::vector<char> buffer(256);
    uint32_t size = uint32_t(buffer.size());
    if (VpdReadKeyword(keyword, buffer.data(), &size) != 0)
        return QString();
    const uint32_t length = std::min<uint32_t>(size, uint32_t(buffer.size()));
    return QString::fromUtf8(buffer.data(), int(qstrnlen(buffer.data(), length)));
}

double bitsPerSecond(uchar code, quint32 megabits)
{
    switch (code) {
    case 2: return 10e6;
    case 3: return 100e6;
    case 4: return 1e9;
    default: return megabits * 1e6;
    }
}

} // namespace

TvBatchAdapterRun::TvBatchAdapterRun(const TvBatchSettings &settings, TvBatchConsole *console, QObject *parent)
    : QObject(parent), settings(settings), console(console), worker(new TvWorkerThread()),
      log(new TvLogModel())
{
}

TvBatchAdapterRun::~TvBatchAdapterRun()
{
    TvCoreCallbacks::setReceiver(nullptr);
    worker->setReceiver(nullptr);
    worker->stop();
}

QString TvBatchAdapterRun::recordsDirectory() const
{
    if (!settings.recordsDir.isEmpty())
        return settings.recordsDir;
    const CAdapterInfo &info = CAdapterInfo::instance();
    return QDir(info.basePathOf(info.logpath)).filePath(QStringLiteral("runs"));
}

TvBatchResult TvBatchAdapterRun::run(const AdapterRecord &adapter, const QList<int> &testCases, bool allTests)
{
    series = allTests;
    result = TvBatchResult();
    result.bus = adapter.busNumber;
    result.device = adapter.deviceNumber;
    result.name = CAdapterInfo::instance().adapterName(TvAdapterListing::adapterKey(adapter));
    result.start = QDateTime::currentDateTimeUtc();
    clock.start();
    if (!selectAdapter(adapter))
        return result;
    result.serial = vpdText("SN");
    // The adapter's third value is its number of ports.
    portCount = qstrncmp(adapter.miscText[2], "2", PK_MISC_TEXT_SIZE) == 0 ? 2 : 1;
    beginRecord(adapter, testCases);
    TvCoreCallbacks::setReceiver(this);
    worker->start(this);
    if (series)
        TestSeriesBegin();
    sampleSensors();
    finished = false;
    startStep();
    // A run with nothing to start has finished already.
    if (!finished)
        loop.exec();
    TvCoreCallbacks::setReceiver(nullptr);
    worker->setReceiver(nullptr);
    worker->stop();
    if (series)
        TestSeriesEnd();
    sampleSensors();
    readLinks();
    fileRecord();
    result.seconds = clock.elapsed() / 1000.0;
    return result;
}

bool TvBatchAdapterRun::selectAdapter(const AdapterRecord &adapter)
{
    const int status = adapter.inUse ? AdapterLockFailed : AdapterSelect(&adapter);
    if (status == 0)
        return true;
    result.status = TvBatchResult::NotRun;
    result.message = status == AdapterLockFailed ? batchText("BATCH_ADAPTER_IN_USE")
                                                 : TvStatusCodes::statusText(status);
    return false;
}

void TvBatchAdapterRun::beginRecord(const AdapterRecord &adapter, const QList<int> &testCases)
{
    const CAdapterInfo &info = CAdapterInfo::instance();
    record = TvRunRecord();
    record.programName = info.name;
    record.programVersion = QStringLiteral("%1.%2").arg(TvProgram::VersionMajor).arg(TvProgram::VersionMinor);
    record.host = QSysInfo::machineHostName();
    record.start = result.start;
    record.kind = series ? QStringLiteral("allTests") : QStringLiteral("testCase");
    record.looped = settings.loops > 1;
    TvRunRecord::Adapter &a = record.adapter;
    a = {adapter.busNumber, adapter.deviceNumber, adapter.slotNumber, adapter.vendorId, adapter.deviceId,
         adapter.subsystemVendorId, adapter.subsystemId, result.name, result.serial, vpdText("PN")};
    steps.clear();
    for (int pass = 1; pass <= settings.loops; ++pass) {
        for (const int number : testCases) {
            const CTestCase *t = info.testCase(number);
            for (int k = 0; t && k < t->subtests.size(); ++k)
                steps.append({number, k, pass});
        }
    }
    stepIndex = 0;
    ended = 0;
    cancelRequested = false;
    result.status = TvBatchResult::Passed;
    if (series)
        logLine(windowText("START_ALL_TESTS_FOR %1").arg(result.name));
}

TvRunRecord::SubTest &TvBatchAdapterRun::currentSubTest()
{
    return record.testCases.last().subTests[steps.at(stepIndex).subTest];
}

void TvBatchAdapterRun::startStep()
{
    if (cancelRequested || stepIndex >= steps.size()) {
        finishRun(cancelRequested);
        return;
    }
    const Step &step = steps.at(stepIndex);
    const CTestCase &t = *CAdapterInfo::instance().testCase(step.testCase);
    if (step.subTest == 0) {
        TvRunRecord::TestCase opened;
        opened.number = step.testCase;
        opened.name = t.testname;
        opened.pass = step.pass;
        for (const CSubTestCase &sub : t.subtests) {
            TvRunRecord::SubTest s;
            s.number = sub.id;
            s.label = sub.label;
            s.selected = true;
            opened.subTests.append(s);
        }
        record.testCases.append(opened);
        logLine(windowText("TEST_SLOT_STARTED %1").arg(t.testname));
    }
    TvRunRecord::SubTest &s = currentSubTest();
    s.start = QDateTime::currentDateTimeUtc();
    subTestClock.start();
    pendingAnswerText.clear();
    logLine(windowText("TEST_CASE_STARTED %1").arg(s.label));
    worker->appendJob(new TestJob(s.number, stepIndex));
}

void TvBatchAdapterRun::customEvent(QEvent *event)
{
    auto *coreEvent = static_cast<TvCoreEvent *>(event);
    switch (int(event->type())) {
    case TvCoreEvent::TestDone: subTestDone(coreEvent->value); break;
    case TvCoreEvent::TestCancelled: subTestCancelled(); break;
    case TvCoreEvent::LogText: logLine(coreEvent->text); break;
    case TvCoreEvent::ResultText:
        if (stepIndex < steps.size() && !coreEvent->text.isEmpty())
            currentSubTest().coreText = coreEvent->text;
        break;
    case TvCoreEvent::Progress:
        if (stepIndex < steps.size())
            currentSubTest().progress = coreEvent->value;
        break;
    case TvCoreEvent::Question: answerQuestion(*coreEvent); break;
    default: QObject::customEvent(event); break;
    }
}

void TvBatchAdapterRun::answerQuestion(TvCoreEvent &event)
{
    const QString text = windowText(event.text.toLatin1().constData());
    int answer = 0;
    if (settings.answer == TvBatchSettings::AnswerAsk)
        answer = console->ask(QStringLiteral("%1 %2: %3").arg(result.adapterText(), result.name, text), event.buttons);
    else
        answer = TvBatchConsole::policyAnswer(event.buttons, settings.answer == TvBatchSettings::AnswerYes);
    record.questions.append({QDateTime::currentDateTimeUtc(), text, answer});
    // Should the answer fail the sub-test, its record says which question did.
    pendingAnswerText = batchText("BATCH_QUESTION_ANSWERED %1 %2").arg(text, TvBatchConsole::buttonName(answer));
    logLine(pendingAnswerText);
    if (event.gate)
        event.gate->post(answer);
}

void TvBatchAdapterRun::subTestDone(int status)
{
    if (stepIndex >= steps.size())
        return;
    if (status == 0) {
        endSubTest(TvRunRecord::Passed, QString());
        ++stepIndex;
        sampleSensors();
        startStep();
        return;
    }
    QString why = !pendingAnswerText.isEmpty() ? pendingAnswerText
                  : !currentSubTest().coreText.isEmpty() ? currentSubTest().coreText
                                                         : TvStatusCodes::statusText(status);
    if (status == NoSuchDevice)
        why = batchText("BATCH_ADAPTER_GONE");
    endSubTest(TvRunRecord::Failed, why);
    result.status = TvBatchResult::Failed;
    result.message = why;
    finishRun(false);
}

void TvBatchAdapterRun::subTestCancelled()
{
    if (stepIndex < steps.size())
        endSubTest(TvRunRecord::Cancelled, windowText("TEST_CASE_CANCELLED"));
    finishRun(true);
}

void TvBatchAdapterRun::endSubTest(TvRunRecord::Result outcome, const QString &text)
{
    TvRunRecord::SubTest &s = currentSubTest();
    const char *verdict = outcome == TvRunRecord::Passed   ? "TEST_CASE_PASSED"
                          : outcome == TvRunRecord::Failed ? "TEST_CASE_FAILED"
                                                           : "TEST_CASE_CANCELLED";
    s.result = outcome;
    s.resultText = text.isEmpty() ? (s.coreText.isEmpty() ? windowText(verdict) : s.coreText) : text;
    s.seconds = subTestClock.elapsed() / 1000.0;
    logLine(windowText("TEST_CASE %1 %2").arg(s.label, windowText(verdict)));
    const QString testName = record.testCases.last().name;
    result.subTests.append({testName, s.label, TvRunRecord::resultName(outcome)});
    QString line = batchText("BATCH_SUBTEST_LINE %1 %2 %3 %4")
                       .arg(result.adapterText(), testName, s.label, windowText(verdict));
    if (outcome != TvRunRecord::Passed && s.resultText != windowText(verdict))
        line += QStringLiteral(" (%1)").arg(s.resultText);
    console->line(line);
    console->progress(++ended, steps.size());
}

void TvBatchAdapterRun::finishRun(bool cancelled)
{
    if (finished)
        return;
    finished = true;
    worker->clearJobs();
    const QString name = record.testCases.isEmpty() ? QString() : record.testCases.last().name;
    if (!name.isEmpty())
        logLine(windowText(cancelled ? "TEST_SLOT_CANCELLED %1" : "TEST_SLOT_FINISHED %1").arg(name));
    if (cancelled) {
        result.cancelled = true;
        if (result.status == TvBatchResult::Passed)
            result.status = TvBatchResult::Failed;
        result.message = windowText("TEST_CASE_CANCELLED");
    } else if (record.kind == QLatin1String("allTests") && result.status == TvBatchResult::Passed) {
        logLine(windowText("ALL_TESTS_FINISHED %1").arg(result.name));
    }
    record.cancelled = cancelled;
    loop.quit();
}

void TvBatchAdapterRun::cancel()
{
    cancelRequested = true;
    worker->requestCancel();
}

void TvBatchAdapterRun::logLine(const QString &text)
{
    log->appendLine(TvLogFile::stampedLine(text));
}

void TvBatchAdapterRun::sampleSensors()
{
    SensorInfo *list = nullptr;
    uint8_t listed = 0;
    SensorReading *readings = nullptr;
    uint8_t count = 0;
    if (SensorGetList(&list, &listed) != 0 || !list || SensorReadValues(&readings, &count) != 0 || !readings)
        return;
    result.sensors.clear();
    for (int i = 0; i < std::min(int(listed), int(count)); ++i) {
        const SensorInfo &info = list[i];
        const double value = readings[i].value;
        const QString name = QString::fromUtf8(info.name ? info.name : "");
        record.addSensorReading(i, name, info.type, value);
        result.sensors.append({name, info.type, value, value >= info.lowerAlarm && value <= info.upperAlarm});
    }
}

void TvBatchAdapterRun::readLinks()
{
    const TvDriverSession driver;
    uchar states[2] = {0, 0};
    uchar codes[2] = {0, 0};
    quint32 megabits[2] = {0, 0};
    if (!driver.portBytes(TvDriverSession::LinkState, states) || !driver.speeds(codes, megabits))
        return;
    for (int port = 0; port < portCount; ++port) {
        const bool up = states[port] == TvDriverSession::LinkUp;
        result.ports.append({up, up ? bitsPerSecond(codes[port], megabits[port]) : 0.0});
    }
}

void TvBatchAdapterRun::fileRecord()
{
    record.end = QDateTime::currentDateTimeUtc();
    record.log = log->linesFrom(0);
    const QString directory = recordsDirectory();
    QString path;
    QString errorText;
    if (!TvRunRecordWriter::writeFiles(record, directory, &path, &errorText)) {
        console->error(batchText("BATCH_RECORD_FAILED %1 %2").arg(path.isEmpty() ? directory : path, errorText));
        return;
    }
    // The log goes beside its record, under the record's name, in the
    // block form the window's saves append.
    const CAdapterInfo &info = CAdapterInfo::instance();
    const QString logName = TvLogFile::withExtension(path.left(path.size() - 5), info.log_ext);
    if (TvLogFile::appendBlock(logName, *log, 0, &errorText) != TvLogFile::Saved)
        console->error(windowText("OPEN_LOGFILE_FAILED %1 %2").arg(logName, errorText));
}
