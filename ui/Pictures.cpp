#include "ui/Pictures.h"

#include <QString>

// Resources in a static library must be registered by hand, and outside any namespace.
static void registerResources()
{
    Q_INIT_RESOURCE(quillbox);
}

namespace
{

void loadResources()
{
    static const bool loaded = [] {
        registerResources();
        return true;
    }();
    Q_UNUSED(loaded);
}

QPixmap picture(const char *name)
{
    loadResources();
    return QPixmap(QStringLiteral(":/pictures/%1.xpm").arg(QLatin1String(name)));
}

QIcon withDisabled(const char *normal, const char *disabled)
{
    QIcon icon(picture(normal));
    icon.addPixmap(picture(disabled), QIcon::Disabled);
    return icon;
}

} // namespace

namespace Pictures
{

QIcon windowIcon()
{
    loadResources();
    QIcon icon(QStringLiteral(":/icons/quillbox-32.xpm"));
    icon.addFile(QStringLiteral(":/icons/quillbox-16.xpm"));
    return icon;
}

QPixmap readingOn()
{
    return picture("stop");
}

QPixmap readingOff()
{
    return picture("start");
}

QIcon copy()
{
    return QIcon(picture("copy"));
}

QIcon save()
{
    return withDisabled("save", "save-disabled");
}

QIcon saveAs()
{
    return withDisabled("saveas", "saveas-disabled");
}

QIcon rename()
{
    return withDisabled("rename", "rename-disabled");
}

QIcon deleteFile()
{
    return QIcon(picture("delete"));
}

} // namespace Pictures
