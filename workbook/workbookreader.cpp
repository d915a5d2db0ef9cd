#include "workbookreader.h"

#include "odsreader.h"
#include "xlsxparts.h"
#include "xlsxreader.h"
#include "ziparchive.h"

namespace {

const QString OdsMimeType = QStringLiteral("application/vnd.oasis.opendocument.spreadsheet");

// Whether a compound file holds a stream of the name; its directory writes
// names in UTF-16.
bool hasStream(const QByteArray &bytes, const char *name)
{
    QByteArray utf16;
    for (const char *c = name; *c; ++c)
        utf16.append(*c).append('\0');
    return bytes.contains(utf16);
}

// The workbook part the package's own relationships name, else the usual one.
QString xlsxWorkbookPart(ZipArchive &archive)
{
    const QString usual = QStringLiteral("xl/workbook.xml");
    const QString rootRelationships = QStringLiteral("_rels/.rels");
    QString error;
    const QByteArray data = archive.read(rootRelationships, 1 << 20, &error);
    if (!error.isEmpty())
        return usual;
    XmlPart part(rootRelationships, data);
    const auto relationships = XlsxParts::relationships(part, QString());
    for (const XlsxParts::Relationship &relationship : relationships) {
        if (relationship.type == QLatin1String("officeDocument")
            && archive.contains(relationship.part))
            return relationship.part;
    }
    return usual;
}

// The package's mimetype entry, as OpenDocument stores it first; empty when none.
QString mimeType(ZipArchive &archive)
{
    const QString name = QStringLiteral("mimetype");
    if (!archive.contains(name))
        return QString();
    QString error;
    return QString::fromLatin1(archive.read(name, 1024, &error)).trimmed();
}

std::unique_ptr<WorkbookReader> notRead(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return nullptr;
}

} // namespace

bool WorkbookReader::isCompoundFile(const QByteArray &bytes)
{
    return bytes.startsWith(QByteArray::fromHex("d0cf11e0a1b11ae1"));
}

bool WorkbookReader::isZip(const QByteArray &bytes)
{
    // A local file header, or the end of an archive without entries.
    return bytes.startsWith("PK\x03\x04") || bytes.startsWith("PK\x05\x06");
}

std::unique_ptr<WorkbookReader> WorkbookReader::open(const QByteArray &bytes, QString *error,
                                                     qint64 partLimit, std::function<bool()> goOn)
{
    if (isCompoundFile(bytes))
        return notRead(error,
                       hasStream(bytes, "EncryptedPackage")
                           ? tr("это книга Excel, защищённая паролем: её содержимое "
                                "зашифровано. Снимите пароль и сохраните журнал как .xlsx, .ods "
                                "или CSV.")
                           : tr("это книга Excel старого формата (.xls) или другой документ "
                                "Microsoft Office в старом формате. Сохраните журнал как .xlsx, "
                                ".ods или CSV."));
    if (!isZip(bytes))
        return notRead(error, tr("это не книга .xlsx или .ods: в файле нет архива ZIP"));
    auto archive = std::make_unique<ZipArchive>(bytes, partLimit, std::move(goOn));
    if (!archive->isOpen())
        return notRead(error, archive->error());

    const QString type = mimeType(*archive);
    if (type == OdsMimeType || type == OdsMimeType + QLatin1String("-template")) {
        auto reader = std::make_unique<OdsReader>(std::move(archive), partLimit);
        if (!reader->open())
            return notRead(error, reader->error());
        return reader;
    }
    const QString workbookPart = xlsxWorkbookPart(*archive);
    if (archive->contains(workbookPart)) {
        auto reader = std::make_unique<XlsxReader>(std::move(archive), partLimit);
        if (!reader->open(workbookPart))
            return notRead(error, reader->error());
        return reader;
    }
    return notRead(error, tr("это архив ZIP, но не книга .xlsx или .ods"));
}
