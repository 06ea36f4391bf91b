#include "ui/main/LocalPath.h"

#include <QUrl>

namespace oplix::ui {

QString LocalPath(const QString& argument) {
    if (!argument.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        return argument;
    }
    QUrl url(argument);
    if (!url.isLocalFile()) {
        return argument;
    }
    // file://localhost/x names this machine's /x, not a share on a host called localhost.
    if (url.host().compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0) {
        url.setHost(QString());
    }
    return url.toLocalFile();
}

}  // namespace oplix::ui
