// Renders the toolbar icons' SVG masters to the PNGs the program embeds, at
// 16 and 32 pixels (name.png and name@2x.png). Needs the toolkit's SVG image
// plugin at build time only; see render-icons.sh.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    int failed = 0;
    for (const QString &svg : dir.entryList({QStringLiteral("*.svg")}, QDir::Files)) {
        const QString base = dir.filePath(svg.chopped(4));
        for (const int scale : {1, 2}) {
            QImageReader reader(dir.filePath(svg));
            reader.setScaledSize(QSize(16 * scale, 16 * scale));
            const QImage image = reader.read();
            const QString out = base + (scale == 1 ? QStringLiteral(".png") : QStringLiteral("@2x.png"));
            if (image.isNull() || !image.save(out)) {
                std::fprintf(stderr, "%s: %s\n", qPrintable(svg), qPrintable(reader.errorString()));
                ++failed;
            }
        }
    }
    return failed == 0 ? 0 : 1;
}
