#include "UserFile.h"

#include <QCoreApplication>

NotRegularFileError::NotRegularFileError(const QString& name)
    : IoError(
          QCoreApplication::translate("NotRegularFileError", "%1 is not a regular file.").arg(name))
{}
