#pragma once

#include <QStringList>

// The data files named by "JassConfig.txt", each list in file order with
// duplicates kept. Names are as written there, resolved against the current
// folder when read.
struct Configuration
{
    QStringList FunctionFiles;
    QStringList ConstantFiles;
    QStringList SyntaxFiles;
    QStringList AIFunctionFiles;
    QStringList AIConstantFiles;
};

inline const QString kConfigFileName = QStringLiteral("JassConfig.txt");
inline const QString kDefaultFunctionFile = QStringLiteral("Func.txt");
inline const QString kDefaultConstantFile = QStringLiteral("Const.txt");
inline const QString kDefaultSyntaxFile = QStringLiteral("Syn.txt");
inline const QString kDefaultAIFunctionFile = QStringLiteral("AIFunc.txt");
inline const QString kDefaultAIConstantFile = QStringLiteral("AIConst.txt");

// The 19 lines written when no configuration file exists.
[[nodiscard]] QStringList DefaultConfigurationLines();

// Reads the lines of a configuration; candidates are kept only when the file exists.
[[nodiscard]] Configuration ParseConfiguration(const QStringList &lines);

// Reads "JassConfig.txt" from the current folder, writing the default first
// when it is missing. Raises TolvaneError when the file cannot be read or created.
[[nodiscard]] Configuration LoadConfiguration();
