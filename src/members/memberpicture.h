#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// How a person's picture is read, scaled, named and written.
namespace MemberPicture {

// The longer side of every stored picture, in pixels.
constexpr int kLongerSide = 165;

// The image scaled so that its longer side is kLongerSide pixels, keeping its proportions.
QImage scaled(const QImage& image);

// The part of the file name after its last ".", as written (case kept); empty when there is none.
QString extensionOf(const QString& path);

// Reads an image file. A file that is missing, unreadable or no image gives a null image and the
// reason in error.
QImage read(const QString& path, QString* error = nullptr);

// The extension a picture chosen from a file with this extension is stored under: the same one when
// this system can write that format, else "png".
QString storedExtension(const QString& extension);

// The stored file name: the person's ID, ".", the extension.
QString fileName(qint64 id, const QString& extension);

// The open dialog's type filter: Bitmap, JPEG, PCX, PNG, GIF, Wireless Bitmap, Adobe Photoshop,
// TIFF, then "All Image Files", leaving out the kinds this system cannot read.
QStringList dialogFilters();
// The filter preselected in the dialog ("All Image Files").
QString allImagesFilter();

// The listed kinds (by their extensions) this system cannot read.
QStringList unreadableListedExtensions();

} // namespace MemberPicture
