#pragma once

#include <QString>

#include <exception>
#include <functional>

class Prompts;

// The text the general error display shows for an error message: a full stop is added when the
// message ends in a character whose code is above that of ".".
[[nodiscard]] QString generalErrorText(const QString& message);

// The text the general error display shows for the error.
[[nodiscard]] QString errorText(const std::exception_ptr& error);

// Shows the error in the general error display. Nothing escapes: a failing display is ignored,
// as nothing is left to report it to.
void showGeneralError(Prompts& prompts, const std::exception_ptr& error) noexcept;

// Runs one entry point of the event loop (menu command, timer tick, dialog button, start-up) and
// hands any error it raises to the general error display. Qt must never see an exception leave
// a slot, so every such entry point goes through here.
void guarded(Prompts& prompts, const std::function<void()>& body) noexcept;
