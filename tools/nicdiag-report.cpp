// nicdiag-report [--csv] <record.json>...
//
// A table of test runs from their run records (the JSON files that the
// program writes below its log directory, in "runs"): date, adapter, serial
// number and the counts of passed, failed and cancelled sub-tests, one line
// per record, oldest first. --csv prints the same as comma-separated values.
// The texts come in the user's language from the program's catalogues.
#include "app/TvStartup.h"
#include "engine/TvRunReport.h"
#include "platform/TvPlatform.h"

#include <QCoreApplication>
#include <QTextStream>
#include <QTranslator>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTranslator catalogue;
    if (catalogue.load(TvStartup::translationFileName(QStringLiteral("diag_")),
                       TvPlatform::dataDirectory())
        || catalogue.load(QStringLiteral("diag_en"), TvPlatform::dataDirectory()))
        QCoreApplication::installTranslator(&catalogue);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return TvRunReport::run(arguments, out, err);
}
