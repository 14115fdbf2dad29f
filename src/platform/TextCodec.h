#pragma once

#include <QByteArray>
#include <QString>

// Script and data files are single-byte text in code page 1252. Every byte value
// maps to one character and back, the five values the code page leaves undefined
// included (they become the C1 control characters of the same number), so a file
// read and written unchanged keeps its bytes.
namespace TextCodec {

[[nodiscard]] QString DecodeCp1252(const QByteArray &bytes);
// Characters outside the code page become '?'.
[[nodiscard]] QByteArray EncodeCp1252(const QString &text);

// True for text that is valid UTF-8 and holds at least one byte above 127:
// such files are read and written as UTF-8, everything else as code page 1252.
[[nodiscard]] bool LooksLikeUtf8(const QByteArray &bytes);

} // namespace TextCodec
