#pragma once

#include <QDir>
#include <QString>

#include <optional>

// What a file dialog is asked to show.
struct FileDialogRequest {
    QString initialDir;    // empty: no preset folder
    QString filter;        // Qt filter text such as "Ini File (*.ini)"; empty: no filter
    QString defaultSuffix; // added when the user types a name without one; empty: none
    QString title;         // the dialog's caption, saying what the file is chosen for

    // The folder of the file at path, for a dialog to start beside it: the path up to and with
    // its last separator, empty when the path names no folder. Plain text work: a path that
    // starts with ":" is no Qt resource here either.
    [[nodiscard]] static QString folderOf(const QString& path)
    {
        return path.left(QDir::fromNativeSeparators(path).lastIndexOf(u'/') + 1);
    }
};

// Every message box, file dialog, input box and beep of the program goes through this interface:
// the real one shows dialogs, the tests answer from a script.
class Prompts {
public:
    // The answer to a question that may also be cancelled.
    enum class Answer { Yes, No, Cancel };

    virtual ~Prompts() = default;

    // Box titled "Information" with OK.
    virtual void information(const QString& text) = 0;
    // Box titled "Error" with OK.
    virtual void error(const QString& text) = 0;
    // Box titled "Confirm" with Yes and No; true for Yes.
    [[nodiscard]] virtual bool confirm(const QString& text) = 0;
    // Box titled "Confirm" with Yes, No and Cancel; Escape and the close box answer Cancel.
    [[nodiscard]] virtual Answer confirmOrCancel(const QString& text) = 0;
    // The open dialog accepts a name that does not exist; nullopt when cancelled.
    [[nodiscard]] virtual std::optional<QString> openFile(const FileDialogRequest& request) = 0;
    // The save dialog asks no overwrite confirmation; nullopt when cancelled.
    [[nodiscard]] virtual std::optional<QString> saveFile(const FileDialogRequest& request) = 0;
    // Input box with OK and Cancel, offering initial selected, so that typing replaces it and OK
    // alone keeps it. The field takes at most maxLength characters, but a longer initial is
    // offered whole rather than cut. nullopt when cancelled.
    [[nodiscard]] virtual std::optional<QString> inputText(const QString& caption,
                                                           const QString& prompt,
                                                           const QString& initial,
                                                           int maxLength) = 0;
    virtual void beep() = 0;
    // The general error display: box titled "Runlatch", stop icon, OK. The text is shown as given.
    virtual void generalError(const QString& text) = 0;
    // The same box, shown without waiting for OK: the program goes on while it is open, and a
    // later error replaces the text of a box still open rather than adding another.
    virtual void generalErrorLater(const QString& text) = 0;
};
