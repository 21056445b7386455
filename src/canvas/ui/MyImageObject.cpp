#include "canvas/ui/MyImageObject.h"

MyImageObject::MyImageObject(const QString &path, const QString &image_Name, const QString &image_UID)
    : m_path(path), m_image_Name(image_Name), m_image_UID(image_UID)
{
}

MyImageObject::MyImageObject(const QImage &image, const QString &image_Name, const QString &image_UID)
    : m_image(image.copy()), m_image_Name(image_Name), m_image_UID(image_UID)
{
}
