#include "AppError.h"

AppError::AppError(int number, QString source, QString description)
    : number(number), source(std::move(source)), description(std::move(description)) {
    whatText = (this->source + QStringLiteral(": ") + this->description).toUtf8();
}

const char* AppError::what() const noexcept { return whatText.constData(); }

void raiseError(int offset, const QString& source, const QString& description) {
    throw AppError(errorNumber(offset), source, description);
}
