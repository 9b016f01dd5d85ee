#pragma once
#include <QJsonObject>

// The behaviours of the sub-tests that every Orlin adapter offers, in the
// machine file's own format, for machines that do not script them.
class PkDefaultBehaviours
{
public:
    // By sub-test id as text ("101").
    static const QJsonObject &table();

private:
    static QJsonObject parse();
};
