#include "PkBehaviour.h"

#include <QJsonArray>

namespace {

constexpr qint64 IntMin = PkFieldReader::IntMin;
constexpr qint64 IntMax = PkFieldReader::IntMax;
constexpr qint64 MaxStepMs = 24 * 3600 * 1000; // a day

} // namespace

PkBehaviour PkBehaviour::fromJson(const QJsonObject &json)
{
    // Checked when the machine file was read: nothing is out of range here.
    QByteArray unused;
    return fromJson(PkFieldReader(json, QString(), &unused));
}

PkBehaviour PkBehaviour::fromJson(const PkFieldReader &json)
{
    PkBehaviour behaviour;
    const QJsonArray steps = json.object().value(QStringLiteral("steps")).toArray();
    for (int i = 0; i < steps.size(); ++i)
        behaviour.steps.append(
            stepFromJson(json.element(QStringLiteral("steps"), i, steps.at(i).toObject())));
    behaviour.status = int(json.integer("status", IntMin, IntMax, 0));
    behaviour.failRate = json.real("failRate", 0.0, 1.0, 0.0);
    behaviour.seed = quint32(json.integer("seed", 0, PkFieldReader::Word, 1));
    behaviour.failStatus = int(json.integer("failStatus", IntMin, IntMax, 1));
    behaviour.failText = json.object().value(QStringLiteral("failText")).toString().toUtf8();
    return behaviour;
}

void PkBehaviour::check(const PkFieldReader &tests)
{
    const QJsonObject table = tests.object();
    for (auto it = table.begin(); it != table.end() && !tests.failed(); ++it)
        fromJson(tests.child(it.key()));
}

PkBehaviour::Step PkBehaviour::stepFromJson(const PkFieldReader &json)
{
    Step step;
    const QJsonObject &object = json.object();
    step.log = object.value(QStringLiteral("log")).toString().toUtf8();
    step.stamped = object.value(QStringLiteral("stamped")).toString().toUtf8();
    step.result = object.value(QStringLiteral("result")).toString().toUtf8();
    step.ms = int(json.integer("ms", 0, MaxStepMs, 0));
    step.progress = int(json.integer("progress", IntMin, IntMax, -1));
    const QJsonValue cells = object.value(QStringLiteral("cell"));
    if (cells.isObject())
        step.cells.append(cellFromJson(json.child(QStringLiteral("cell"))));
    const QJsonArray list = cells.toArray();
    for (int i = 0; i < list.size(); ++i)
        step.cells.append(cellFromJson(json.element(QStringLiteral("cell"), i, list.at(i).toObject())));
    if (!object.value(QStringLiteral("ask")).toObject().isEmpty())
        step.question = questionFromJson(json.child(QStringLiteral("ask")));
    return step;
}

PkBehaviour::Question PkBehaviour::questionFromJson(const PkFieldReader &json)
{
    Question question;
    question.message = int(json.integer("message", IntMin, IntMax, -1));
    const QJsonArray buttons = json.object().value(QStringLiteral("buttons")).toArray();
    for (int i = 0; i < 3 && i < buttons.size(); ++i)
        question.buttons[i] = int(json.integerValue(
            buttons.at(i), json.pathOf(QStringLiteral("buttons")) + QStringLiteral("[%1]").arg(i),
            IntMin, IntMax, 0));
    question.expect = int(json.integer("expect", IntMin, IntMax, question.buttons[0]));
    return question;
}

PkBehaviour::Cell PkBehaviour::cellFromJson(const PkFieldReader &json)
{
    Cell cell;
    cell.row = int(json.integer("row", IntMin, IntMax, 0));
    cell.column = int(json.integer("column", IntMin, IntMax, 0));
    cell.message = int(json.integer("message", IntMin, IntMax, -1));
    cell.text = json.object().value(QStringLiteral("text")).toString().toUtf8();
    return cell;
}

PkBehaviour PkBehaviour::generic()
{
    PkBehaviour behaviour;
    for (int value = 0; value <= 100; value += 25) {
        Step step;
        step.progress = value;
        step.ms = value == 0 ? 0 : 100;
        behaviour.steps.append(step);
    }
    return behaviour;
}
