#pragma once

#include <QImage>
#include <QString>

#include "storage/Bitmap.h"
#include "ui/widgets/SkinPictureId.h"

namespace oplix::ui {

// A skin picture of the program's resources, decoded by the core's JPEG decoder. A missing or
// damaged picture gives a null image, which draws as nothing.
QImage LoadSkinPicture(SkinPictureId picture);

// A decoded picture in the screen's own 32-bit form, so that making a pixmap of it converts
// nothing. An indexed picture is looked up in its palette.
QImage BitmapToImage(const Bitmap& picture);

// The resource path of a sound by name ("Final", "Ruch"), empty when there is none.
QString SoundResourcePath(const QString& name);

}  // namespace oplix::ui
