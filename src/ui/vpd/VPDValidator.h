#pragma once
#include <QValidator>

// Checks a VPD keyword as the user types it into the edit dialog: upper
// case, a first character V or Y, a second character 0 to 9 or A to Z. A
// refused character is explained in a box.
class VPDValidator : public QValidator
{
    Q_OBJECT
public:
    explicit VPDValidator(QObject *parent = nullptr);

    State validate(QString &input, int &position) const override;

private:
    State refuse(const char *key, QChar character) const;
};
