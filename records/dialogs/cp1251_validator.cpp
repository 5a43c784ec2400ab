#include "records/dialogs/cp1251_validator.h"

#include <string>

#include "records/name_codec.h"

namespace zonky {

bool HasCp1251Form(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    const std::string typed(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    // The codec writes "?" for a character it cannot store, so only a faithful text
    // survives the round trip unchanged.
    return Cp1251ToUtf8(Utf8ToCp1251(typed)) == typed;
}

QValidator::State Cp1251Validator::validate(QString& input, int&) const {
    return HasCp1251Form(input) ? Acceptable : Invalid;
}

}  // namespace zonky
