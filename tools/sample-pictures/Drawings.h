#pragma once

#include <QImage>
#include <QString>
#include <vector>

namespace oplix::samples {

// Every drawing is antialiased on a white canvas; labels use "DejaVu Sans".
QImage NewCanvas(int width, int height);
QFont LabelFont(int pixelSize, bool bold = false);

// An analogue clock showing hours:minutes (hours 1 to 12).
QImage ClockFace(int hours, int minutes);

// A circle cut into `parts` equal slices from twelve o'clock clockwise, the first `shaded`
// of them shaded.
QImage PieFraction(int parts, int shaded);

struct Bar {
    QString label;
    int value;
};
// Bars with their values above them and a labelled vertical axis.
QImage BarChart(const QString& title, const std::vector<Bar>& bars, int axisMaximum, int step);

enum class Stripes { Vertical, Horizontal };
// Three equal stripes, first colour at the left or top.
QImage Tricolour(Stripes direction, QColor first, QColor second, QColor third);

// A right triangle with its legs and hypotenuse labelled; the right angle is marked.
QImage RightTriangle(const QString& legA, const QString& legB, const QString& hypotenuse);

// Plane figures without labels, to be named.
enum class Figure { Trapezoid, Rhombus, Parallelogram, RegularHexagon, RegularPentagon };
QImage PlaneFigure(Figure figure);

// A rectangle with two sides labelled, and a circle with its radius drawn and labelled.
QImage LabelledRectangle(const QString& width, const QString& height);
QImage CircleWithRadius(const QString& radius);

}  // namespace oplix::samples
