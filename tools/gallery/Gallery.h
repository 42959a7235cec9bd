#pragma once

#include <functional>
#include <memory>

#include <QString>
#include <QWidget>

/// One picture of the gallery: a window made ready to be rendered, named after the window
/// (and its state where one window gives several pictures).
struct GalleryScene
{
    QString name;
    std::function<std::unique_ptr<QWidget>()> make;
};

/// Puts the program in demo mode on the default image, as a user sees it after "Demo".
void GalleryDemo();

/// Adds a scene; used through GALLERY_SCENE at namespace scope in the scene files.
bool AddGalleryScene(const QString &name, std::function<std::unique_ptr<QWidget>()> make);

#define GALLERY_CONCAT_INNER(a, b) a##b
#define GALLERY_CONCAT(a, b) GALLERY_CONCAT_INNER(a, b)
#define GALLERY_SCENE(name, make)                                                                  \
    [[maybe_unused]] static const bool GALLERY_CONCAT(galleryScene, __LINE__) =                    \
        AddGalleryScene(name, make)
