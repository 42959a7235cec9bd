#include "TemporaryDocuments.h"

#include <QFile>

#include "TemporaryConfig.h"

TemporaryDocuments::TemporaryDocuments(const TemporaryConfig &config)
{
    QFile dirs(config.Path() + QStringLiteral("/user-dirs.dirs"));
    if (dirs.open(QIODevice::WriteOnly))
        dirs.write("XDG_DOCUMENTS_DIR=\"" + folder.path().toUtf8() + "\"\n");
}
