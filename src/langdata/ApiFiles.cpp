#include "ApiFiles.h"

#include "platform/Errors.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFileInfo>

ApiFiles ApiFilesOf(const Configuration &config)
{
    ApiFiles files;
    if (config.FunctionFiles.isEmpty())
        return files;
    const QDir folder = QFileInfo(config.FunctionFiles.first()).dir();
    files.folder = folder.path();
    const auto existing = [&folder](const QString &name) {
        const QString path = folder.filePath(name);
        return TextFile::FileExists(path) ? path : QString();
    };
    files.api = existing(kApiFileName);
    files.aiApi = existing(kAIApiFileName);
    return files;
}

ApiFiles FindApiFiles()
{
    // A command that only reads should not leave a JassConfig.txt behind.
    const QStringList lines = TextFile::FileExists(kConfigFileName) ? TextFile::LoadLines(kConfigFileName)
                                                                    : DefaultConfigurationLines();
    return ApiFilesOf(ParseConfiguration(lines));
}

Analysis::Api LoadApi(const ApiFiles &files, bool ai)
{
    if (files.folder.isEmpty())
        throw TolvaneError(QStringLiteral("No API to check on: %1 names no function file that exists in %2.")
                               .arg(kConfigFileName, QDir::toNativeSeparators(QDir::currentPath())));
    const QString path = ai ? files.aiApi : files.api;
    if (path.isEmpty())
        throw TolvaneError(QStringLiteral("No API to check on: %1 is missing (tolvane-cli import makes it).")
                               .arg(QDir::toNativeSeparators(
                                   QDir(files.folder).filePath(ai ? kAIApiFileName : kApiFileName))));
    QString error;
    std::optional<Analysis::Api> api = Analysis::ReadApi(TextFile::ReadBytes(path), &error);
    if (!api)
        throw TolvaneError(
            QStringLiteral("%1 is not an API file: %2").arg(QDir::toNativeSeparators(path), error));
    return *std::move(api);
}
