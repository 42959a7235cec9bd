#pragma once

#include <QString>
#include <QTemporaryDir>

class TemporaryConfig;

/// While it lives (inside a `TemporaryConfig`), the user's documents location is an empty
/// temporary folder, as the desktop's user-dirs.dirs names it.
class TemporaryDocuments
{
public:
    explicit TemporaryDocuments(const TemporaryConfig &config);

    QString Path() const { return folder.path(); }
    /// `Path()` + "/" + name.
    QString PathOf(const QString &name) const { return folder.filePath(name); }

private:
    QTemporaryDir folder;
};
