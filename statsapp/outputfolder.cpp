#include "outputfolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

OutputFolder::OutputFolder(const QString &path, const QString &option)
    : folder(path), option(option)
{
}

QString OutputFolder::nativePath() const
{
    return QDir::toNativeSeparators(QFileInfo(folder).absoluteFilePath());
}

QString OutputFolder::filePath(const QString &name) const
{
    return QDir(folder).filePath(name);
}

QString OutputFolder::check(const QVector<OutputFile> &files, bool replace) const
{
    const QFileInfo info(folder);
    if (!info.exists())
        return tr("папки %1 нет. Создайте её или укажите другую в %2.").arg(nativePath(), option);
    if (!info.isDir())
        return tr("%1 — не папка. Укажите папку в %2.").arg(nativePath(), option);
    if (!info.isWritable())
        return tr("в папку %1 нельзя записать файлы: нет прав на запись.").arg(nativePath());
    QStringList existing;
    for (const OutputFile &file : files) {
        const QFileInfo target(filePath(file.name));
        if (target.exists() && !target.isFile())
            return tr("в папке %1 под именем %2 находится не файл.").arg(nativePath(), file.name);
        if (target.exists())
            existing.append(file.name);
    }
    if (!existing.isEmpty() && !replace)
        return tr("в папке %1 уже есть %2. Чтобы заменить, добавьте --replace: прежние файлы "
                  "останутся рядом под именами со временем их изменения.")
            .arg(nativePath(), existing.join(QStringLiteral(", ")));
    return {};
}

QString OutputFolder::keptName(const QString &name) const
{
    const QFileInfo info(filePath(name));
    const QString time = info.lastModified().toString(QStringLiteral("yyyy-MM-dd'T'HH-mm-ss"));
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    QString kept = info.completeBaseName() + QLatin1Char('.') + time + suffix;
    for (int number = 2; QFileInfo::exists(filePath(kept)); ++number)
        kept = info.completeBaseName() + QLatin1Char('.') + time + QLatin1Char('-')
            + QString::number(number) + suffix;
    return kept;
}

QString OutputFolder::writeOne(const OutputFile &file, Step &step)
{
    const QString path = filePath(file.name);
    if (QFileInfo::exists(path)) {
        step.kept = keptName(file.name);
        if (!QFile::rename(path, filePath(step.kept))) {
            step.kept.clear();
            return tr("не удалось переименовать прежний %1.").arg(file.name);
        }
    }
    QSaveFile save(path);
    if (!save.open(QIODevice::WriteOnly) || save.write(file.bytes) != file.bytes.size()
        || !save.commit())
        return tr("не удалось записать %1: %2.").arg(file.name, save.errorString());
    step.written = true;
    return {};
}

void OutputFolder::undo(const QVector<Step> &steps)
{
    for (const Step &step : steps) {
        if (step.written)
            QFile::remove(filePath(step.name));
        if (!step.kept.isEmpty())
            QFile::rename(filePath(step.kept), filePath(step.name));
    }
}

QString OutputFolder::write(const QVector<OutputFile> &files, bool replace, QStringList *keptAs)
{
    const QString problem = check(files, replace);
    if (!problem.isEmpty())
        return problem;
    QVector<Step> steps;
    for (const OutputFile &file : files) {
        steps.append({file.name, {}, false});
        const QString error = writeOne(file, steps.last());
        if (!error.isEmpty()) {
            undo(steps);
            return error + QLatin1Char(' ')
                + tr("Все файлы в папке %1 оставлены как были.").arg(nativePath());
        }
    }
    for (const Step &step : steps) {
        if (!step.kept.isEmpty())
            keptAs->append(tr("прежний %1 сохранён как %2").arg(step.name, step.kept));
    }
    return {};
}
