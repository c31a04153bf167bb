#include "QtPrompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace {

QWidget* owner()
{
    return QApplication::activeWindow();
}

QMessageBox::StandardButton showBox(QMessageBox::Icon icon, const QString& title,
                                    const QString& text, QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, title, text, buttons, owner());
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

std::optional<QString> runFileDialog(const FileDialogRequest& request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(owner());
    dialog.setAcceptMode(mode);
    // An open dialog that accepts a name that does not exist yet: opening a new job file.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!request.initialDir.isEmpty())
        dialog.setDirectory(request.initialDir);
    if (!request.filter.isEmpty())
        dialog.setNameFilter(request.filter);
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    // The current folder stays where it was at start-up: the log and the programs of the list
    // are found there, whatever folder the user chose a file in.
    return dialog.selectedFiles().constFirst();
}

} // namespace

void QtPrompts::information(const QString& text)
{
    showBox(QMessageBox::Information, QStringLiteral("Information"), text, QMessageBox::Ok);
}

void QtPrompts::error(const QString& text)
{
    showBox(QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok);
}

bool QtPrompts::confirm(const QString& text)
{
    return showBox(QMessageBox::Question, QStringLiteral("Confirm"), text,
                   QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::optional<QString> QtPrompts::openFile(const FileDialogRequest& request)
{
    return runFileDialog(request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtPrompts::saveFile(const FileDialogRequest& request)
{
    return runFileDialog(request, QFileDialog::AcceptSave);
}

std::optional<QString> QtPrompts::inputText(const QString& caption, const QString& prompt,
                                            int maxLength)
{
    QInputDialog dialog(owner());
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Cancel"));
    if (auto* edit = dialog.findChild<QLineEdit*>())
        edit->setMaxLength(maxLength);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

void QtPrompts::beep()
{
    QApplication::beep();
}

void QtPrompts::generalError(const QString& text)
{
    showBox(QMessageBox::Critical, QApplication::applicationDisplayName(), text, QMessageBox::Ok);
}
