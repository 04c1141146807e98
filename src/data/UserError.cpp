#include "UserError.h"

#include <QtGlobal>

#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

namespace {

QString typeName(const std::type_info& type) {
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> readable(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), &std::free);
    return QString::fromUtf8(status == 0 && readable ? readable.get() : type.name());
}

} // namespace

UserError::UserError(const QString& sentence)
    : std::runtime_error(sentence.toStdString()), m_sentence(sentence) {}

namespace UserErrors {

QString unexpectedText() {
    return QStringLiteral("Παρουσιάστηκε απρόσμενο σφάλμα.");
}

QString unexpected(const std::exception& e) {
    qCritical("Unexpected error (%s): %s", qUtf8Printable(typeName(typeid(e))), e.what());
    return unexpectedText();
}

QString unexpected() {
    const std::type_info* type = abi::__cxa_current_exception_type();
    qCritical("Unexpected error (%s)",
              qUtf8Printable(type ? typeName(*type) : QStringLiteral("unknown type")));
    return unexpectedText();
}

} // namespace UserErrors
