#include "u_picb01.h"

#include "platform/services.h"

#include <QFile>

QPixmap letterPicture(const QString &bareName)
{
    for (const QString &name : {bareName, QStringLiteral("001\\") + bareName})
        if (QFile::exists(services::pictureResource(name)))
            return services::picture(name);
    return {};
}

u_picb01::u_picb01(const QString &tag, const QString &picture, QWidget *parent)
    : ui::CommandButton(parent), m_tag(tag)
{
    // A missing picture leaves a plain button that still shows its tooltip.
    const QPixmap pixmap = letterPicture(picture);
    if (!pixmap.isNull()) {
        setIcon(QIcon(pixmap));
        setIconSize(pixmap.deviceIndependentSize().toSize());
    }
    setToolTip(tag);
}
