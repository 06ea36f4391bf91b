#pragma once

#include <QImage>
#include <QString>
#include <vector>

namespace oplix::artwork {

// The desktop's icons: the program's own and one per document type, in the sizes of the
// freedesktop hicolor theme.
inline constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

struct IconPicture {
    QString path;  // below the icon folder: hicolor/<size>x<size>/<context>/<name>.png
    QImage image;
};

// The program icon (apps/oplix-test) and the test, tests list, students list and result icons
// (mimetypes/application-x-oplix-*) at every size.
std::vector<IconPicture> PaintIcons();

}  // namespace oplix::artwork
