#include "PkBehaviour.h"

#include <QJsonArray>

PkBehaviour PkBehaviour::fromJson(const QJsonObject &json)
{
    PkBehaviour behaviour;
    for (const QJsonValue &step : json.value(QStringLiteral("steps")).toArray())
        behaviour.steps.append(stepFromJson(step.toObject()));
    behaviour.status = json.value(QStringLiteral("status")).toInt(0);
    behaviour.failRate = json.value(QStringLiteral("failRate")).toDouble(0.0);
    behaviour.seed = static_cast<quint32>(json.value(QStringLiteral("seed")).toDouble(1));
    behaviour.failStatus = json.value(QStringLiteral("failStatus")).toInt(1);
    behaviour.failText = json.value(QStringLiteral("failText")).toString().toUtf8();
    return behaviour;
}

PkBehaviour::Step PkBehaviour::stepFromJson(const QJsonObject &json)
{
    Step step;
    step.log = json.value(QStringLiteral("log")).toString().toUtf8();
    step.stamped = json.value(QStringLiteral("stamped")).toString().toUtf8();
    step.result = json.value(QStringLiteral("result")).toString().toUtf8();
    step.ms = json.value(QStringLiteral("ms")).toInt(0);
    step.progress = json.value(QStringLiteral("progress")).toInt(-1);
    const QJsonValue cells = json.value(QStringLiteral("cell"));
    if (cells.isObject())
        step.cells.append(cellFromJson(cells.toObject()));
    for (const QJsonValue &cell : cells.toArray())
        step.cells.append(cellFromJson(cell.toObject()));
    const QJsonObject ask = json.value(QStringLiteral("ask")).toObject();
    if (!ask.isEmpty())
        step.question = questionFromJson(ask);
    return step;
}

PkBehaviour::Question PkBehaviour::questionFromJson(const QJsonObject &json)
{
    Question question;
    question.message = json.value(QStringLiteral("message")).toInt(-1);
    const QJsonArray buttons = json.value(QStringLiteral("buttons")).toArray();
    for (int i = 0; i < 3 && i < buttons.size(); ++i)
        question.buttons[i] = buttons.at(i).toInt();
    question.expect = json.value(QStringLiteral("expect")).toInt(question.buttons[0]);
    return question;
}

PkBehaviour::Cell PkBehaviour::cellFromJson(const QJsonObject &json)
{
    Cell cell;
    cell.row = json.value(QStringLiteral("row")).toInt();
    cell.column = json.value(QStringLiteral("column")).toInt();
    cell.message = json.value(QStringLiteral("message")).toInt(-1);
    cell.text = json.value(QStringLiteral("text")).toString().toUtf8();
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
