// Renders every window of the program, in demo mode, to one PNG file per window.
#include <cstdio>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QRegularExpression>

#include "Gallery.h"
#include "graph/ModGraph.h"
#include "shell/ui/UnitPicture.h"

namespace {

std::vector<GalleryScene> &Scenes()
{
    static std::vector<GalleryScene> scenes;
    return scenes;
}

bool Render(const GalleryScene &scene, const QDir &folder)
{
    std::unique_ptr<QWidget> window = scene.make();
    window->show();
    QApplication::processEvents();
    const QString path = folder.filePath(scene.name + QStringLiteral(".png"));
    const bool saved = window->grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    window->close();
    return saved;
}

} // namespace

bool AddGalleryScene(const QString &name, std::function<std::unique_ptr<QWidget>()> make)
{
    Scenes().push_back({name, std::move(make)});
    return true;
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2 || args[1] == QLatin1String("--help")) {
        std::printf("usage: mxrf418-gallery FOLDER [NAME-PATTERN]\n"
                    "Renders every window of the program in demo mode to FOLDER/<window>.png.\n");
        return args.size() < 2 ? 2 : 0;
    }
    QDir folder(args[1]);
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(args[1]));
        return 1;
    }
    const QRegularExpression pattern(args.size() > 2 ? args[2] : QStringLiteral("."));
    QApplication::setWindowIcon(ProgramIcon());
    ModGraph::FollowModel();
    int failures = 0;
    for (const GalleryScene &scene : Scenes())
        if (pattern.match(scene.name).hasMatch() && !Render(scene, folder))
            ++failures;
    return failures == 0 ? 0 : 1;
}
