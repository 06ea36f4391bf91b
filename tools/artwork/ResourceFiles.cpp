#include "ResourceFiles.h"

#include <QSaveFile>
#include <algorithm>
#include <span>

#include "storage/Bitmap.h"
#include "storage/JpegWriter.h"

namespace oplix::artwork {
namespace {

Result<Bitmap> ToBitmap(const QImage& image) {
    Result<Bitmap> bitmap = Bitmap::Create(image.width(), image.height(), PixelFormat::Rgb24);
    if (!bitmap) {
        return bitmap.error();
    }
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    for (int y = 0; y < rgb.height(); ++y) {
        const std::uint8_t* row = rgb.constScanLine(y);
        const std::span<std::uint8_t> target = bitmap->Row(y);
        std::copy(row, row + target.size(), target.begin());
    }
    return bitmap;
}

QString ResourceEntries(const QString& prefix, const QString& folder, const QStringList& names,
                        const QString& extension) {
    QString entries = QStringLiteral("    <qresource prefix=\"/%1\">\n").arg(prefix);
    for (const QString& name : names) {
        entries += QStringLiteral("        <file alias=\"%1\">%2/%1.%3</file>\n")
                       .arg(name, folder, extension);
    }
    return entries + QStringLiteral("    </qresource>\n");
}

}  // namespace

Status WriteBytes(const QString& path, const Bytes& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return Error{0, "cannot create " + path.toStdString()};
    }
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size || !file.commit()) {
        return Error{0, "cannot write " + path.toStdString()};
    }
    return Success();
}

Status WriteSkinPicture(const QString& folder, const SkinPicture& picture) {
    const Result<Bitmap> bitmap = ToBitmap(picture.image);
    if (!bitmap) {
        return Error{0, picture.Name().toStdString() + ": " + bitmap.error().message};
    }
    const Result<Bytes> jpeg = WriteJpeg(*bitmap, kJpegQuality);
    if (!jpeg) {
        return Error{0, picture.Name().toStdString() + ": " + jpeg.error().message};
    }
    return WriteBytes(QStringLiteral("%1/%2/%3.jpg")
                          .arg(folder, QString::fromLatin1(kSkinFolder), picture.Name()),
                      *jpeg);
}

Status WriteResourceList(const QString& folder, const QStringList& pictures,
                         const QStringList& sounds) {
    const QString text =
        QStringLiteral(
            "<!DOCTYPE RCC>\n<!-- Made by oplix-artwork. -->\n"
            "<RCC version=\"1.0\">\n") +
        ResourceEntries(QString::fromLatin1(kSkinFolder), QString::fromLatin1(kSkinFolder),
                        pictures, QStringLiteral("jpg")) +
        ResourceEntries(QString::fromLatin1(kSoundFolder), QString::fromLatin1(kSoundFolder),
                        sounds, QStringLiteral("wav")) +
        QStringLiteral("</RCC>\n");
    const QByteArray utf8 = text.toUtf8();
    return WriteBytes(folder + QStringLiteral("/oplix.qrc"), Bytes(utf8.begin(), utf8.end()));
}

}  // namespace oplix::artwork
