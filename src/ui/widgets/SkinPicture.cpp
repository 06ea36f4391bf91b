#include "ui/widgets/SkinPicture.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include "storage/JpegDecoder.h"

namespace oplix::ui {
namespace {

constexpr const char* kSkinFolder = ":/skin";
constexpr const char* kSoundFolder = ":/sounds";

// Resource names in upper case mapped to their paths, read once per folder.
QString FindResource(const QString& folder, const QString& name) {
    static QHash<QString, QHash<QString, QString>> byFolder;
    auto found = byFolder.find(folder);
    if (found == byFolder.end()) {
        QHash<QString, QString> paths;
        const QDir dir(folder);
        for (const QString& entry : dir.entryList(QDir::Files)) {
            const QString base = entry.section('.', 0, 0).toUpper();
            paths.insert(base, dir.filePath(entry));
        }
        found = byFolder.insert(folder, paths);
    }
    return found->value(name.toUpper());
}

}  // namespace

QImage LoadSkinPicture(SkinPictureId picture) {
    const std::string_view name = SkinPictureOf(picture).name;
    const QString path = FindResource(
        kSkinFolder, QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    const Result<Bitmap> decoded = DecodeJpeg(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                      static_cast<std::size_t>(bytes.size())));
    return decoded ? BitmapToImage(*decoded) : QImage();
}

QImage BitmapToImage(const Bitmap& picture) {
    QImage image(picture.Width(), picture.Height(), QImage::Format_RGB32);
    const bool rgb = picture.Format() == PixelFormat::Rgb24;
    for (int y = 0; y < picture.Height(); ++y) {
        const std::span<const std::uint8_t> row = picture.Row(y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < picture.Width(); ++x) {
            if (rgb) {
                const std::size_t at = static_cast<std::size_t>(x) * 3;
                out[x] = qRgb(row[at], row[at + 1], row[at + 2]);
            } else {
                const Rgb colour = picture.PixelRgb(x, y);
                out[x] = qRgb(colour.r, colour.g, colour.b);
            }
        }
    }
    return image;
}

QString SoundResourcePath(const QString& name) {
    return FindResource(kSoundFolder, name);
}

}  // namespace oplix::ui
