#include "members/memberpicture.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

namespace {

// The context under which this file's texts are translated.
class MemberPictureText
{
    Q_DECLARE_TR_FUNCTIONS(MemberPicture)
};

struct PictureKind
{
    const char* description;
    QStringList extensions;
};

// The kinds of picture offered in the open dialog, in the order shown.
const QList<PictureKind>& listedKinds()
{
    static const QList<PictureKind> kinds = {
        {QT_TRANSLATE_NOOP("MemberPicture", "Bitmap Files"), {QStringLiteral("bmp")}},
        {QT_TRANSLATE_NOOP("MemberPicture", "JPEG Files"), {QStringLiteral("jpg"), QStringLiteral("jpeg")}},
        {QT_TRANSLATE_NOOP("MemberPicture", "PCX Files"), {QStringLiteral("pcx")}},
        {QT_TRANSLATE_NOOP("MemberPicture", "PNG Files"), {QStringLiteral("png")}},
        {QT_TRANSLATE_NOOP("MemberPicture", "GIF Files"), {QStringLiteral("gif")}},
        {QT_TRANSLATE_NOOP("MemberPicture", "Wireless Bitmap Files"), {QStringLiteral("wbm"), QStringLiteral("wbmp")}},
        {QT_TRANSLATE_NOOP("MemberPicture", "Adobe Photoshop Files"), {QStringLiteral("psd")}},
        {QT_TRANSLATE_NOOP("MemberPicture", "TIFF Files"), {QStringLiteral("tif"), QStringLiteral("tiff")}},
    };
    return kinds;
}

bool canRead(const QString& extension)
{
    static const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    // ".wbm" files are read by the "wbmp" reader.
    const QString format = extension == QStringLiteral("wbm") ? QStringLiteral("wbmp") : extension;
    return formats.contains(format.toLower().toLatin1());
}

QStringList readableExtensions(const PictureKind& kind)
{
    QStringList out;
    for (const QString& extension : kind.extensions) {
        if (canRead(extension)) {
            out << extension;
        }
    }
    return out;
}

QString patterns(const QStringList& extensions)
{
    QStringList out;
    for (const QString& extension : extensions) {
        out << QStringLiteral("*.") + extension;
    }
    return out.join(u' ');
}

} // namespace

namespace MemberPicture {

QImage scaled(const QImage& image)
{
    if (image.isNull()) {
        return image;
    }
    if (image.width() < image.height()) {
        return image.scaledToHeight(kLongerSide, Qt::SmoothTransformation);
    }
    return image.scaledToWidth(kLongerSide, Qt::SmoothTransformation);
}

QString extensionOf(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot + 1);
}

QImage read(const QString& path, QString* error)
{
    QImageReader reader(path);
    // ".wbm" is a name of wireless bitmaps the reader does not know by itself.
    if (extensionOf(path).compare(QStringLiteral("wbm"), Qt::CaseInsensitive) == 0) {
        reader.setFormat("wbmp");
    }
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull() && error != nullptr) {
        *error = reader.errorString();
    }
    return image;
}

QString storedExtension(const QString& extension)
{
    static const QList<QByteArray> writable = QImageWriter::supportedImageFormats();
    if (!extension.isEmpty() && writable.contains(extension.toLower().toLatin1())) {
        return extension;
    }
    return QStringLiteral("png");
}

QString fileName(qint64 id, const QString& extension)
{
    return QString::number(id) + u'.' + extension;
}

QStringList dialogFilters()
{
    QStringList filters;
    for (const PictureKind& kind : listedKinds()) {
        const QStringList readable = readableExtensions(kind);
        if (readable.isEmpty()) {
            continue;
        }
        filters << MemberPictureText::tr(kind.description) + QStringLiteral(" (") + patterns(readable) + u')';
    }
    filters << allImagesFilter();
    return filters;
}

QString allImagesFilter()
{
    QStringList all;
    for (const PictureKind& kind : listedKinds()) {
        all << readableExtensions(kind);
    }
    return MemberPictureText::tr("All Image Files") + QStringLiteral(" (") + patterns(all) + u')';
}

QStringList unreadableListedExtensions()
{
    QStringList out;
    for (const PictureKind& kind : listedKinds()) {
        for (const QString& extension : kind.extensions) {
            if (!canRead(extension)) {
                out << extension;
            }
        }
    }
    return out;
}

} // namespace MemberPicture
