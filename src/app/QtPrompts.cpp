#include "QtPrompts.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The input box has room for this many average characters at least: a typical option string
// shows whole.
constexpr int MinVisibleChars = 80;

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
    dialog.setWindowTitle(request.title);
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
    // are found there, whatever folder the user chose a file in. The path is written the way the
    // platform writes paths, as the user sees it in the list and in messages.
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

void describeButton(QPushButton& button, const QString& name, const QString& text,
                    const QString& description)
{
    button.setObjectName(name);
    button.setText(text);
    button.setAccessibleDescription(description);
}

// The input box: the prompt over one line and OK and Cancel under it. The prompt is the line's
// label, so a screen reader names the line by it. Enter presses OK and Escape Cancel.
QLineEdit& buildInputBox(QDialog& box, const QString& caption, const QString& prompt)
{
    box.setObjectName(QStringLiteral("InputBox"));
    box.setWindowTitle(caption);
    auto* label = new QLabel(prompt, &box);
    label->setObjectName(QStringLiteral("InputPrompt"));
    auto* edit = new QLineEdit(&box);
    edit->setObjectName(QStringLiteral("InputEdit"));
    edit->setAccessibleDescription(QCoreApplication::translate(
        "QtPrompts", "The text offered is selected: typing replaces it, OK alone keeps it"));
    label->setBuddy(edit);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &box);
    buttons->setObjectName(QStringLiteral("InputButtons"));
    describeButton(*buttons->button(QDialogButtonBox::Ok), QStringLiteral("InputOk"),
                   QCoreApplication::translate("QtPrompts", "OK"),
                   QCoreApplication::translate("QtPrompts", "Uses the text in the field"));
    describeButton(*buttons->button(QDialogButtonBox::Cancel), QStringLiteral("InputCancel"),
                   QCoreApplication::translate("QtPrompts", "Cancel"),
                   QCoreApplication::translate("QtPrompts", "Leaves everything as it was"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);

    auto* layout = new QVBoxLayout(&box);
    layout->addWidget(label);
    layout->addWidget(edit);
    layout->addWidget(buttons);
    return *edit;
}

// As wide as the text offered needs, and never narrower than a typical option string, but no
// wider than the screen: a longer text scrolls in the field.
void fitInputBoxWidth(QDialog& box, const QLineEdit& edit, const QString& text)
{
    const QFontMetrics metrics = edit.fontMetrics();
    const int wanted = std::max(metrics.averageCharWidth() * MinVisibleChars,
                                metrics.horizontalAdvance(text) + metrics.averageCharWidth() * 2);
    const QMargins margins = box.layout()->contentsMargins();
    int width = wanted + margins.left() + margins.right();
    if (const QScreen* shown = box.screen())
        width = std::min(width, shown->availableGeometry().width() * 9 / 10);
    box.resize(std::max(width, box.minimumSizeHint().width()), box.sizeHint().height());
}

} // namespace

void QtPrompts::information(const QString& text)
{
    showBox(QMessageBox::Information, QCoreApplication::translate("QtPrompts", "Information"), text,
            QMessageBox::Ok);
}

void QtPrompts::error(const QString& text)
{
    showBox(QMessageBox::Critical, QCoreApplication::translate("QtPrompts", "Error"), text,
            QMessageBox::Ok);
}

bool QtPrompts::confirm(const QString& text)
{
    return showBox(QMessageBox::Question, QCoreApplication::translate("QtPrompts", "Confirm"), text,
                   QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

Prompts::Answer QtPrompts::confirmOrCancel(const QString& text)
{
    // A box with a Cancel button gives Escape and the close box to it.
    switch (showBox(QMessageBox::Question, QCoreApplication::translate("QtPrompts", "Confirm"),
                    text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
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
                                            const QString& initial, int maxLength)
{
    QDialog box(owner());
    QLineEdit& edit = buildInputBox(box, caption, prompt);
    // A text longer than anyone may type, such as parameters from a hand-edited job file, is
    // offered whole rather than cut, so that OK alone never loses its end.
    edit.setMaxLength(std::max<int>(maxLength, static_cast<int>(initial.size())));
    edit.setText(initial);
    // Not left to the focus the line gets as the box shows, which selects it only when that
    // focus counts as coming by Tab.
    edit.selectAll();
    edit.setFocus();
    fitInputBoxWidth(box, edit, initial);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return edit.text();
}

void QtPrompts::beep()
{
    QApplication::beep();
}

void QtPrompts::generalError(const QString& text)
{
    showBox(QMessageBox::Critical, QApplication::applicationDisplayName(), text, QMessageBox::Ok);
}

void QtPrompts::generalErrorLater(const QString& text)
{
    if (m_laterBox) {
        m_laterBox->setText(text);
        m_laterBox->raise();
        return;
    }
    m_laterBox = new QMessageBox(QMessageBox::Critical, QApplication::applicationDisplayName(),
                                 text, QMessageBox::Ok);
    m_laterBox->setAttribute(Qt::WA_DeleteOnClose);
    m_laterBox->setModal(false);
    m_laterBox->show();
}
