// nicdiag-report [--csv] <record.json | directory>...
//
// A table of test runs from their run records (the JSON files that the
// program writes below its log directory, in "runs"): date, adapter, serial
// number and the counts of passed, failed and cancelled sub-tests, one line
// per record, oldest first. --csv prints the same as comma-separated values.
// A directory stands for every record in it.
// The texts come in the user's language from the program's catalogues.
#include "app/TvStartup.h"
#include "records/TvRunReport.h"
#include "platform/TvPlatform.h"
#include "platform/TvProcessSignals.h"
#include "text/TvText.h"

#include <QCoreApplication>
#include <QTextStream>
#include <QTranslator>

#include <cerrno>
#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTranslator catalogue;
    if (catalogue.load(TvStartup::translationFileName(QStringLiteral("diag_")),
                       TvPlatform::dataDirectory())
        || catalogue.load(QStringLiteral("diag_en"), TvPlatform::dataDirectory()))
        QCoreApplication::installTranslator(&catalogue);
    // A report redirected into a file past the size limit is cut short:
    // told, and the status says so, rather than ended by SIGXFSZ.
    TvProcessSignals::ignoreFileSizeLimit();
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const int status = TvRunReport::run(arguments, out, err);
    out.flush();
    if (out.status() == QTextStream::Ok)
        return status;
    err << TvText::translate("TvRunReport", "RUN_REPORT_WRITE_FAILED %1").arg(QString::fromLocal8Bit(std::strerror(errno)))
        << '\n';
    return 1;
}
