#pragma once

#include <QString>
#include <QStringList>

#include "SkinPainter.h"
#include "storage/Bytes.h"
#include "storage/Result.h"

namespace oplix::artwork {

// Where the generated files go inside the output folder, and the prefixes the program's
// resource list gives them.
inline constexpr const char* kSkinFolder = "skin";
inline constexpr const char* kSoundFolder = "sounds";

// JPEG quality high enough to keep thin text and 1-pixel lines crisp.
inline constexpr int kJpegQuality = 92;

Status WriteBytes(const QString& path, const Bytes& bytes);

// <folder>/skin/<name>.jpg, encoded by the core's JPEG writer.
Status WriteSkinPicture(const QString& folder, const SkinPicture& picture);

// <folder>/oplix.qrc: every picture under /skin and every sound under /sounds, each with its
// resource name as alias.
Status WriteResourceList(const QString& folder, const QStringList& pictures,
                         const QStringList& sounds);

}  // namespace oplix::artwork
