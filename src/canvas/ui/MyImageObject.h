// One picture in a picture browser: the file it shows, its title and an identifier unique within
// its browser. A picture made in memory can stand in for a file.
#pragma once

#include <QImage>
#include <QString>

class MyImageObject
{
public:
    MyImageObject() = default;
    MyImageObject(const QString &path, const QString &image_Name, const QString &image_UID);
    MyImageObject(const QImage &image, const QString &image_Name, const QString &image_UID);

    void setPath(const QString &path) { m_path = path; }

    // What the browser shows: the file at path(); image() only for pictures made in memory.
    QString path() const { return m_path; }
    QImage image() const { return m_image; }
    QString imageRepresentation() const { return m_path; }
    QString imageUID() const { return m_image_UID; }
    QString imageTitle() const { return m_image_Name; }
    QString imageSubtitle() const { return m_image_Name; }

private:
    QString m_path;
    QImage m_image;
    QString m_image_Name;
    QString m_image_UID;
};
