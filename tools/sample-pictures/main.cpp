// oplix-sample-pictures OUTPUT_FOLDER: paints the question pictures of the sample tests and
// writes each as the file its name says (.JPG, .GIF or .BMP), replacing files of those names.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <functional>
#include <vector>

#include "Drawings.h"
#include "PictureFiles.h"

namespace oplix::samples {
namespace {

struct SamplePicture {
    const char* fileName;
    std::function<QImage()> paint;
};

const QColor kRed(220, 20, 40);
const QColor kWhite(255, 255, 255);
const QColor kGreen(0, 140, 70);
const QColor kBlue(0, 60, 160);
const QColor kBlack(0, 0, 0);
const QColor kGold(255, 205, 0);
const QColor kYellow(253, 185, 19);
const QColor kOrange(255, 130, 0);

std::vector<SamplePicture> Catalogue() {
    return {
        {"ZEGAR1.JPG", [] { return ClockFace(3, 15); }},
        {"ZEGAR2.JPG", [] { return ClockFace(7, 30); }},
        {"ZEGAR3.JPG", [] { return ClockFace(10, 45); }},
        {"ZEGAR4.JPG", [] { return ClockFace(12, 20); }},
        {"KOLO1.GIF", [] { return PieFraction(4, 3); }},
        {"KOLO2.GIF", [] { return PieFraction(8, 3); }},
        {"KOLO3.GIF", [] { return PieFraction(3, 2); }},
        {"KOLO4.GIF", [] { return PieFraction(6, 5); }},
        {"WYKRES1.JPG",
         [] {
             return BarChart("Temperatura w południe (°C)",
                             {{"pon.", 12}, {"wt.", 15}, {"śr.", 9}, {"czw.", 18}, {"pt.", 14}}, 20,
                             2);
         }},
        {"WYKRES2.JPG",
         [] {
             return BarChart("Ulubione owoce uczniów klasy 4a",
                             {{"jabłka", 8}, {"banany", 5}, {"gruszki", 3}, {"śliwki", 6}}, 10, 1);
         }},
        {"TRAPEZ.BMP", [] { return PlaneFigure(Figure::Trapezoid); }},
        {"ROMB.BMP", [] { return PlaneFigure(Figure::Rhombus); }},
        {"ROWNOLEGLOBOK.BMP", [] { return PlaneFigure(Figure::Parallelogram); }},
        {"SZESCIOKAT.BMP", [] { return PlaneFigure(Figure::RegularHexagon); }},
        {"PIECIOKAT.GIF", [] { return PlaneFigure(Figure::RegularPentagon); }},
        {"PROSTOKAT.BMP", [] { return LabelledRectangle("7 cm", "3 cm"); }},
        {"KOLO_PROMIEN.JPG", [] { return CircleWithRadius("r = 4 cm"); }},
        {"TROJKAT1.BMP", [] { return RightTriangle("6 cm", "8 cm", "?"); }},
        {"TROJKAT2.JPG", [] { return RightTriangle("5 cm", "12 cm", "?"); }},
        {"TROJKAT3.GIF", [] { return RightTriangle("?", "8 cm", "17 cm"); }},
        {"TROJKAT4.BMP", [] { return RightTriangle("9 cm", "?", "15 cm"); }},
        {"FLAGA_FR.GIF", [] { return Tricolour(Stripes::Vertical, kBlue, kWhite, kRed); }},
        {"FLAGA_IT.GIF", [] { return Tricolour(Stripes::Vertical, kGreen, kWhite, kRed); }},
        {"FLAGA_DE.GIF", [] { return Tricolour(Stripes::Horizontal, kBlack, kRed, kGold); }},
        {"FLAGA_HU.GIF", [] { return Tricolour(Stripes::Horizontal, kRed, kWhite, kGreen); }},
        {"FLAGA_LT.GIF", [] { return Tricolour(Stripes::Horizontal, kYellow, kGreen, kRed); }},
        {"FLAGA_BE.GIF", [] { return Tricolour(Stripes::Vertical, kBlack, kYellow, kRed); }},
        {"FLAGA_IE.BMP", [] { return Tricolour(Stripes::Vertical, kGreen, kWhite, kOrange); }},
        {"FLAGA_NL.BMP", [] { return Tricolour(Stripes::Horizontal, kRed, kWhite, kBlue); }},
        {"FLAGA_AT.JPG", [] { return Tricolour(Stripes::Horizontal, kRed, kWhite, kRed); }},
        {"FLAGA_RO.GIF", [] { return Tricolour(Stripes::Vertical, kBlue, kYellow, kRed); }},
        {"FLAGA_BG.GIF", [] { return Tricolour(Stripes::Horizontal, kWhite, kGreen, kRed); }},
        {"FLAGA_EE.GIF",
         [] { return Tricolour(Stripes::Horizontal, QColor(0, 114, 206), kBlack, kWhite); }},
    };
}

bool WritePicture(const QDir& folder, const SamplePicture& picture) {
    const Result<Bytes> bytes = EncodeFor(picture.fileName, picture.paint());
    if (!bytes) {
        std::fprintf(stderr, "oplix-sample-pictures: %s: %s\n", picture.fileName,
                     bytes.error().message.c_str());
        return false;
    }
    QFile file(folder.filePath(picture.fileName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(bytes->data()),
                   static_cast<qint64>(bytes->size())) != static_cast<qint64>(bytes->size())) {
        std::fprintf(stderr, "oplix-sample-pictures: %s: %s\n",
                     file.fileName().toLocal8Bit().constData(),
                     file.errorString().toLocal8Bit().constData());
        return false;
    }
    return true;
}

}  // namespace
}  // namespace oplix::samples

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("usage: oplix-sample-pictures OUTPUT_FOLDER\n", stderr);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists()) {
        std::fprintf(stderr, "oplix-sample-pictures: %s: no such folder\n", argv[1]);
        return 1;
    }
    bool ok = true;
    for (const auto& picture : oplix::samples::Catalogue()) {
        ok = oplix::samples::WritePicture(folder, picture) && ok;
    }
    return ok ? 0 : 1;
}
