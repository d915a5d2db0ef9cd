#include "ziparchive.h"

#include "workbookreader.h"

#include <unzip.h>

ZipArchive::ZipArchive(const QByteArray &bytes, qint64 budget, std::function<bool()> goOn)
    : m_bytes(bytes), m_handle(bytes), m_budget(std::make_shared<ZipBudget>())
{
    m_budget->total = budget;
    m_budget->left = budget;
    m_budget->goOn = std::move(goOn);
    if (!m_handle.unzFile()) {
        m_error = WorkbookReader::tr("архив ZIP повреждён: его оглавление не читается");
        return;
    }
    m_zip = m_handle.unzFile();
    if (!readDirectory())
        m_zip = nullptr;
}

ZipArchive::~ZipArchive() = default;

// Every entry's position, by name, so that a part is found without a scan.
bool ZipArchive::readDirectory()
{
    int status = unzGoToFirstFile(m_zip);
    while (status == UNZ_OK) {
        // minizip leaves a name that fills its buffer unterminated: the buffer
        // is sized to the name the entry declares, and read with its length.
        unz_file_info64 info;
        if (unzGetCurrentFileInfo64(m_zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
            break;
        QByteArray name(int(info.size_filename), '\0');
        if (unzGetCurrentFileInfo64(m_zip, &info, name.data(), uLong(name.size()), nullptr, 0,
                                    nullptr, 0)
            != UNZ_OK)
            break;
        unz64_file_pos position;
        unzGetFilePos64(m_zip, &position);
        // With its length: a NUL inside must not make it another part's name.
        const QString key = QString::fromUtf8(name.constData(), name.size()).toLower();
        if (!m_entries.contains(key))
            m_entries.insert(key, {position.pos_in_zip_directory, position.num_of_file});
        status = unzGoToNextFile(m_zip);
    }
    if (status != UNZ_END_OF_LIST_OF_FILE) {
        m_error = WorkbookReader::tr("архив ZIP повреждён: его оглавление обрывается");
        return false;
    }
    return true;
}

bool ZipArchive::contains(const QString &name) const
{
    return m_entries.contains(name.toLower());
}

std::unique_ptr<ZipEntryDevice> ZipArchive::open(const QString &name, qint64 limit, QString *error)
{
    const auto entry = m_entries.constFind(name.toLower());
    if (!m_zip || entry == m_entries.constEnd()) {
        *error = WorkbookReader::tr("часть %1: её нет в архиве").arg(name);
        return nullptr;
    }
    auto device = std::make_unique<ZipEntryDevice>(m_bytes, entry->directoryOffset,
                                                   entry->entryNumber, name, limit, m_budget);
    if (!device->isOpen()) {
        *error = device->failure();
        return nullptr;
    }
    return device;
}

QByteArray ZipArchive::read(const QString &name, qint64 limit, QString *error)
{
    const std::unique_ptr<ZipEntryDevice> device = open(name, limit, error);
    if (!device)
        return QByteArray();
    QByteArray data = device->readAll();
    if (!device->failure().isEmpty()) {
        *error = device->failure();
        return QByteArray();
    }
    return data;
}
