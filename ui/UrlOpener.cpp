#include "ui/UrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace quarvel {

bool DesktopUrlOpener::open(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

} // namespace quarvel
