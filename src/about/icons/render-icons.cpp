// Renders the About box's images to the PNGs the program embeds: the
// program icon from dist/tolvane.svg and the hidden button's face. Needs the
// toolkit's SVG image plugin at build time only; see render-icons.sh.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <cstdio>

namespace {

bool Render(const QString &svg, int size, const QString &out)
{
    QImageReader reader(svg);
    reader.setScaledSize(QSize(size, size));
    const QImage image = reader.read();
    if (!image.isNull() && image.save(out))
        return true;
    std::fprintf(stderr, "%s: %s\n", qPrintable(svg), qPrintable(reader.errorString()));
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QDir here(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    const QString program = here.filePath(QStringLiteral("../../../dist/tolvane.svg"));
    bool ok = true;
    for (const int size : { 16, 32, 64, 128 })
        ok &= Render(program, size, here.filePath(QStringLiteral("tolvane-%1.png").arg(size)));
    ok &= Render(
        here.filePath(QStringLiteral("button.svg")), 16, here.filePath(QStringLiteral("button.png")));
    ok &= Render(
        here.filePath(QStringLiteral("button.svg")), 32, here.filePath(QStringLiteral("button@2x.png")));
    return ok ? 0 : 1;
}
