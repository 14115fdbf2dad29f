#include "ApiFiles.h"

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
