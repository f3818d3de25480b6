// Paints every skin picture at its exact size and writes them as PNG files:
//   vf_skinpaint OUTPUT_FOLDER
// All pictures are opaque 24-bit colour except the icon, which keeps a
// one-bit transparency mask.

#include "button_pictures.h"
#include "scenes.h"

#include "ui/skin_catalog.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <functional>
#include <map>

namespace {

QImage paintPicture(const QString& name, int width, int height)
{
    if (auto button = skinpaint::buttonPicture(name, width, height))
        return *button;
    static const std::map<QString, std::function<QImage(int, int)>> scenes{
        {QStringLiteral("panel_background"), skinpaint::panelBackground},
        {QStringLiteral("playlist_background"), skinpaint::playlistBackground},
        {QStringLiteral("logo"), skinpaint::logoPicture},
        {QStringLiteral("icon"), skinpaint::iconPicture},
        {QStringLiteral("jin1"), skinpaint::progressTrack},
        {QStringLiteral("jin2"), skinpaint::progressMarker},
    };
    const auto scene = scenes.find(name);
    return scene == scenes.end() ? QImage() : scene->second(width, height);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vf_skinpaint OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir output(QString::fromLocal8Bit(argv[1]));
    if (!output.exists() && !QDir().mkpath(output.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    for (const auto& entry : vf::ui::kSkinPictures) {
        const QString name = QString::fromUtf8(entry.name.data(), static_cast<qsizetype>(entry.name.size()));
        QImage picture = paintPicture(name, entry.width, entry.height);
        if (picture.size() != QSize(entry.width, entry.height)) {
            std::fprintf(stderr, "%s: painted at the wrong size\n", qPrintable(name));
            return 1;
        }
        const bool masked = entry.name == vf::ui::kIconPicture;
        picture = picture.convertToFormat(masked ? QImage::Format_ARGB32 : QImage::Format_RGB888);
        if (!picture.save(output.filePath(name + QStringLiteral(".png")), "PNG")) {
            std::fprintf(stderr, "%s: cannot write\n", qPrintable(name));
            return 1;
        }
    }
    return 0;
}
