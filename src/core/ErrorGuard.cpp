#include "ErrorGuard.h"

#include "Errors.h"
#include "Prompts.h"

#include <QCoreApplication>

#include <exception>
#include <new>

QString generalErrorText(const QString& message)
{
    if (!message.isEmpty() && message.back() > u'.')
        return message + u'.';
    return message;
}

namespace {

QString messageOf(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const RunlatchError& e) {
        return e.message();
    } catch (const std::bad_alloc&) {
        return QCoreApplication::translate("ErrorGuard", "Out of memory");
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QCoreApplication::translate("ErrorGuard", "Unknown error");
    }
}

} // namespace

QString errorText(const std::exception_ptr& error)
{
    return generalErrorText(messageOf(error));
}

void showGeneralError(Prompts& prompts, const std::exception_ptr& error) noexcept
{
    try {
        prompts.generalError(errorText(error));
    } catch (...) {
        // Nothing is left to report a failing error display to; the program goes on.
    }
}

void guarded(Prompts& prompts, const std::function<void()>& body) noexcept
{
    try {
        body();
    } catch (...) {
        showGeneralError(prompts, std::current_exception());
    }
}
