#pragma once

#include <QString>

namespace oplix::ui {

// The path of a test file handed to the program on its command line or in a drop. Some file
// managers pass a file:// address (percent-encoded, perhaps with a host); anything that is not
// one is a path already and comes back unchanged.
QString LocalPath(const QString& argument);

}  // namespace oplix::ui
