#pragma once

#include "analysis/Analysis.h"
#include "langdata/Configuration.h"

#include <QString>

// Where the script check finds the game's API: the compact API files the
// importer writes beside the language files. They are looked up beside the
// first function file of the configuration, so switching the patch in
// "JassConfig.txt" switches the check too.
inline const QString kApiFileName = QStringLiteral("Api.txt");
inline const QString kAIApiFileName = QStringLiteral("AIApi.txt");

struct ApiFiles {
    QString api; // the game's API for map scripts; empty when there is none
    QString aiApi; // what AI scripts see on top of the game's natives; empty when there is none
    QString folder; // where they were looked for, for messages; empty when no function file is named
};

[[nodiscard]] ApiFiles ApiFilesOf(const Configuration &config);

// The configuration of the current folder, as the editor reads it, but
// without writing the default file when it is missing.
[[nodiscard]] ApiFiles FindApiFiles();

// Reads the API for map scripts, or with `ai` the one for AI scripts. Raises
// TolvaneError naming the file and the reason: none found, not readable, or
// not an API file.
[[nodiscard]] Analysis::Api LoadApi(const ApiFiles &files, bool ai);
