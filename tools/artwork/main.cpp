// oplix-artwork OUTPUT_FOLDER [--preview PNG_FOLDER]
//
// Paints every skin picture and makes the two sounds into OUTPUT_FOLDER (skin/*.jpg,
// sounds/*.wav, oplix.qrc), and the desktop's icons (icons/hicolor/*/*/*.png), which are
// installed beside the program, not compiled into it. With --preview each skin picture is
// also saved as PNG for a look.

#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QGuiApplication>
#include <cstdio>
#include <functional>
#include <vector>

#include "Chimes.h"
#include "IconArt.h"
#include "ResourceFiles.h"
#include "SkinArt.h"
#include "SkinStyle.h"

namespace {

using namespace oplix;
using namespace oplix::artwork;

struct Options {
    QString output;
    QString preview;
};

bool ParseOptions(const QStringList& args, Options& options) {
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--preview") && i + 1 < args.size()) {
            options.preview = args[++i];
        } else if (options.output.isEmpty() && !args[i].startsWith(QLatin1Char('-'))) {
            options.output = args[i];
        } else {
            return false;
        }
    }
    return !options.output.isEmpty();
}

int Fail(const QString& message) {
    std::fprintf(stderr, "oplix-artwork: %s\n", qPrintable(message));
    return 1;
}

// Another font would change every text's width, so the pictures are made with this one only.
bool SkinFontInstalled() {
    return QFontInfo(SkinFont(12)).family() == QString::fromLatin1(kFontFamily);
}

SkinPictures PaintEverything() {
    const std::function<SkinPictures()> painters[] = {
        PaintMainWindow,  PaintTestPanel,     PaintMessageBox, PaintSmallWindows,
        PaintListWindows, PaintFramedWindows, PaintWidgets,
    };
    SkinPictures all;
    for (const auto& paint : painters) {
        for (SkinPicture& picture : paint()) {
            all.push_back(std::move(picture));
        }
    }
    return all;
}

// Every picture of the catalogue is painted once, at the catalogue's size; an error message or
// empty.
QString CheckAgainstTheCatalogue(const SkinPictures& pictures) {
    std::vector<int> painted(ui::kSkinPictureCount, 0);
    for (const SkinPicture& picture : pictures) {
        const ui::SkinPictureEntry& entry = ui::SkinPictureOf(picture.id);
        if (++painted[static_cast<std::size_t>(picture.id)] > 1) {
            return QStringLiteral("%1 is painted twice").arg(picture.Name());
        }
        if (picture.image.width() != entry.width || picture.image.height() != entry.height) {
            return QStringLiteral("%1 is painted %2 x %3, the catalogue says %4 x %5")
                .arg(picture.Name())
                .arg(picture.image.width())
                .arg(picture.image.height())
                .arg(entry.width)
                .arg(entry.height);
        }
    }
    for (const ui::SkinPictureEntry& entry : ui::kSkinPictures) {
        if (painted[static_cast<std::size_t>(entry.id)] == 0) {
            return QStringLiteral("%1 is not painted")
                .arg(QString::fromLatin1(entry.name.data(),
                                         static_cast<qsizetype>(entry.name.size())));
        }
    }
    return {};
}

// Writes the pictures (and their previews) and appends their names; an error message or empty.
QString WritePictures(const Options& options, QStringList& names) {
    const SkinPictures pictures = PaintEverything();
    if (const QString wrong = CheckAgainstTheCatalogue(pictures); !wrong.isEmpty()) {
        return wrong;
    }
    for (const SkinPicture& picture : pictures) {
        names.append(picture.Name());
        if (const Status written = WriteSkinPicture(options.output, picture); !written) {
            return QString::fromStdString(written.error().message);
        }
        if (!options.preview.isEmpty() &&
            !picture.image.save(QStringLiteral("%1/%2.png").arg(options.preview, picture.Name()))) {
            return QStringLiteral("cannot save the preview of %1").arg(picture.Name());
        }
    }
    return {};
}

QString WriteSounds(const Options& options, QStringList& names) {
    const struct {
        const char* name;
        std::vector<std::int16_t> samples;
    } sounds[] = {{"Final", TimeUpChime()}, {"Ruch", MinuteWarningChime()}};
    for (const auto& sound : sounds) {
        const QString name = QString::fromLatin1(sound.name);
        names.append(name);
        const QString path = QStringLiteral("%1/%2/%3.wav")
                                 .arg(options.output, QString::fromLatin1(kSoundFolder), name);
        if (const Status written = WriteBytes(path, EncodeWave(sound.samples)); !written) {
            return QString::fromStdString(written.error().message);
        }
    }
    return {};
}

QString WriteIcons(const Options& options, int& count) {
    const QDir icons(options.output + QStringLiteral("/icons"));
    for (const IconPicture& icon : PaintIcons()) {
        const QString path = icons.filePath(icon.path);
        if (!QDir().mkpath(QFileInfo(path).path())) {
            return QStringLiteral("cannot create the folder of %1").arg(path);
        }
        if (!icon.image.save(path, "PNG")) {
            return QStringLiteral("cannot write %1").arg(path);
        }
        ++count;
    }
    return {};
}

int WriteEverything(const Options& options) {
    QStringList pictures;
    QStringList sounds;
    if (const QString failure = WritePictures(options, pictures); !failure.isEmpty()) {
        return Fail(failure);
    }
    if (const QString failure = WriteSounds(options, sounds); !failure.isEmpty()) {
        return Fail(failure);
    }
    if (const Status listed = WriteResourceList(options.output, pictures, sounds); !listed) {
        return Fail(QString::fromStdString(listed.error().message));
    }
    int icons = 0;
    if (const QString failure = WriteIcons(options, icons); !failure.isEmpty()) {
        return Fail(failure);
    }
    std::printf("%lld pictures, %lld sounds and %d icons written to %s\n",
                static_cast<long long>(pictures.size()), static_cast<long long>(sounds.size()),
                icons, qPrintable(options.output));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // Painting needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    Options options;
    if (!ParseOptions(QCoreApplication::arguments(), options)) {
        std::fputs("usage: oplix-artwork OUTPUT_FOLDER [--preview PNG_FOLDER]\n", stderr);
        return 2;
    }
    if (!SkinFontInstalled()) {
        return Fail(QStringLiteral("the font %1 is missing (Debian package fonts-dejavu-core)")
                        .arg(QString::fromLatin1(kFontFamily)));
    }
    const QDir output(options.output);
    for (const char* folder : {kSkinFolder, kSoundFolder}) {
        if (!output.mkpath(QString::fromLatin1(folder))) {
            return Fail(QStringLiteral("cannot create %1/%2").arg(options.output, folder));
        }
    }
    if (!options.preview.isEmpty() && !QDir().mkpath(options.preview)) {
        return Fail(QStringLiteral("cannot create %1").arg(options.preview));
    }
    return WriteEverything(options);
}
