#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>

// A fresh temporary folder that is the current folder while the object lives; the previous
// current folder comes back and the folder is removed afterwards.
class ScratchDir {
public:
    ScratchDir()
        : m_previous(QDir::currentPath())
    {
        QDir::setCurrent(m_dir.path());
    }
    ~ScratchDir() { QDir::setCurrent(m_previous); }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    [[nodiscard]] bool isValid() const { return m_dir.isValid(); }
    [[nodiscard]] QString path() const { return m_dir.path(); }
    [[nodiscard]] QString filePath(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};
