// Accepts only text whose every character has a Windows-1251 form, so a name stored in the
// best-players file reads back exactly as it was typed.
#pragma once

#include <QValidator>

namespace zonky {

bool HasCp1251Form(const QString& text);

class Cp1251Validator : public QValidator {
    Q_OBJECT
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

}  // namespace zonky
