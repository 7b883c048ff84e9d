#include "ui/AppIcon.h"

#include <QString>

// Resources of a static library are registered by hand, once.
static void registerIconResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace quarvel {

QIcon applicationIcon()
{
    static const bool registered = (registerIconResources(), true);
    (void)registered;
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/quarvel-%1.png").arg(size), QSize(size, size));
    return QIcon::fromTheme(QString::fromLatin1(kDesktopFileName), icon);
}

} // namespace quarvel
